// The "Sobre" page's module list: the maps text of a process (outside input,
// so also broken and hostile) and versions from library file names.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ModuleVersions.h"

namespace {

using Files = std::vector<std::string>;

TEST(ModuleVersions, MapsLinesGiveEachMappedFileOnce) {
  const std::string maps =
      "55d0c000-55d0d000 r--p 00000000 08:01 1311 /opt/pandecta/Pandecta-client\n"
      "55d0d000-55d0e000 r-xp 00001000 08:01 1311 /opt/pandecta/Pandecta-client\n"
      "55d0f000-55d30000 rw-p 00000000 00:00 0          [heap]\n"
      "7f10a000-7f10b000 r-xp 00000000 08:01 2222 /usr/lib/x86_64-linux-gnu/libQt6Core.so.6.4.2\n"
      "7f10c000-7f10d000 rw-p 00000000 00:00 0 \n"
      "7f10e000-7f10f000 r-xp 00000000 08:01 3333 /home/ana/meus programas/liblexdex.so\n"
      "7f110000-7f111000 r-xp 00000000 08:01 4444 /usr/lib/libz.so.1.2.13 (deleted)\n"
      "7ffd0000-7ffd1000 r-xp 00000000 00:00 0          [vdso]\n";
  EXPECT_EQ(ParseMappedFiles(maps), (Files{"/opt/pandecta/Pandecta-client",
                                           "/usr/lib/x86_64-linux-gnu/libQt6Core.so.6.4.2",
                                           "/home/ana/meus programas/liblexdex.so", "/usr/lib/libz.so.1.2.13"}));
}

TEST(ModuleVersions, BrokenAndHostileMapsTextGivesNothingWrong) {
  EXPECT_TRUE(ParseMappedFiles("").empty());
  EXPECT_TRUE(ParseMappedFiles("\n\n\r\n").empty());
  // Not map lines: no address range, too few fields, a relative path.
  EXPECT_TRUE(ParseMappedFiles("/etc/passwd\n").empty());
  EXPECT_TRUE(ParseMappedFiles("-7f10 r-xp 0 08:01 1 /lib/a.so\n").empty());
  EXPECT_TRUE(ParseMappedFiles("7f10-7f11 r-xp 0 08:01\n").empty());
  EXPECT_TRUE(ParseMappedFiles("7f10-7f11 r-xp 0 08:01 1 lib/a.so\n").empty());
  EXPECT_TRUE(ParseMappedFiles("zz10-7f11 r-xp 0 08:01 1 /lib/a.so\n").empty());
  // A truncated last line, NULs and a very long line do no harm.
  EXPECT_EQ(ParseMappedFiles("7f10-7f11 r-xp 0 08:01 1 /lib/a.so"), (Files{"/lib/a.so"}));
  const std::string withNul("7f10-7f11 r-xp 0 08:01 1 /lib/\0b.so\n", 36);
  EXPECT_EQ(ParseMappedFiles(withNul).size(), 1u);
  const std::string longLine = "7f10-7f11 r-xp 0 08:01 1 /" + std::string(1 << 20, 'x') + "\n";
  EXPECT_EQ(ParseMappedFiles(longLine).size(), 1u);
  EXPECT_TRUE(ParseMappedFiles(std::string(1 << 16, ' ')).empty());
  EXPECT_TRUE(ParseMappedFiles(" (deleted)\n7f-7f r p 0 0 (deleted)\n").empty());
}

TEST(ModuleVersions, VersionsComeFromTheLibraryFileName) {
  EXPECT_EQ(FileNameVersion("libQt6Core.so.6.4.2"), "6.4.2.0");
  EXPECT_EQ(FileNameVersion("libc.so.6"), "6.0.0.0");
  EXPECT_EQ(FileNameVersion("ld-linux-x86-64.so.2"), "2.0.0.0");
  EXPECT_EQ(FileNameVersion("libstdc++.so.6.0.30"), "6.0.30.0");
  EXPECT_EQ(FileNameVersion("libx.so.1.2.3.4.5"), "1.2.3.4");
  EXPECT_EQ(FileNameVersion("libx.so.007"), "7.0.0.0");
  // No version, or none that is numbers.
  EXPECT_EQ(FileNameVersion("liblexdex.so"), "");
  EXPECT_EQ(FileNameVersion("libx.so."), "");
  EXPECT_EQ(FileNameVersion("libx.so.1..2"), "");
  EXPECT_EQ(FileNameVersion("libx.so.1a"), "");
  EXPECT_EQ(FileNameVersion("libx.so.-1"), "");
  EXPECT_EQ(FileNameVersion("libx.so.99999999999999999999"), "");
  EXPECT_EQ(FileNameVersion("Pandecta-client"), "");
}

TEST(ModuleVersions, TheExecutableComesFirstThenTheLibraries) {
  const std::vector<TModuleVersion> modules =
      ListModules("/opt/p/Pandecta-client", "2.0.0.0",
                  {"/opt/p/Pandecta-client", "/usr/lib/locale/locale-archive", "/usr/lib/libz.so.1.2.13",
                   "/opt/p/liblexdex.so", "/usr/share/fonts/x.sox"});
  ASSERT_EQ(modules.size(), 3u);
  EXPECT_EQ(ModuleLine(modules[0]), "\tPandecta-client: 2.0.0.0");
  EXPECT_EQ(ModuleLine(modules[1]), "\tlibz.so.1.2.13: 1.2.13.0");
  EXPECT_EQ(ModuleLine(modules[2]), "\tliblexdex.so: ");
}

TEST(ModuleVersions, ThisProcessListsItselfFirst) {
  const std::vector<TModuleVersion> modules = LoadedModules("2.0.0.0");
  ASSERT_FALSE(modules.empty());
  EXPECT_EQ(modules[0].Version, "2.0.0.0");
  EXPECT_GT(modules.size(), 1u);
}

}  // namespace
