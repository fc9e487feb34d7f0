#include "LxFilUtl.h"
#include "LxFileStream.h"
#include "LxSystemError.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <filesystem>

#include "TempFolder.h"

TEST(LxFilUtl, PathJoinKeepsTheFolderSeparator) {
  EXPECT_EQ(PathJoin("C:\\Dados", "x.dat"), "C:\\Dados\\x.dat");
  EXPECT_EQ(PathJoin("C:\\Dados\\", "x.dat"), "C:\\Dados\\x.dat");
  EXPECT_EQ(PathJoin("//srv/dados", "x.dat"), "//srv/dados/x.dat");
  EXPECT_EQ(PathJoin("/home/u/Dados/", "x.dat"), "/home/u/Dados/x.dat");
  EXPECT_EQ(PathJoin("http://srv/tomo", "Doc1.dat"), "http://srv/tomo/Doc1.dat");
  EXPECT_EQ(PathJoin("", "x.dat"), "x.dat");
  EXPECT_EQ(PathJoin("/d", "/x"), "/d//x");  // the name is used unchanged
  EXPECT_EQ(PathJoin("Dados", "x.dat"), std::string("Dados") + kPathDelimiter + "x.dat");
}

TEST(LxFilUtl, DirectoryExistsWithOrWithoutTrailingSeparator) {
  TempFolder folder;
  const std::string path = folder.Path().string();
  EXPECT_TRUE(DirectoryExists(path));
  EXPECT_TRUE(DirectoryExists(path + "/"));
  EXPECT_TRUE(DirectoryExists("/"));
  WriteWholeFile(folder.File("f.txt"), "x");
  EXPECT_FALSE(DirectoryExists(folder.File("f.txt")));
  EXPECT_FALSE(DirectoryExists(folder.File("none")));
  EXPECT_FALSE(DirectoryExists(""));
  EXPECT_TRUE(FileExists(folder.File("f.txt")));
  EXPECT_FALSE(FileExists(path));
}

TEST(LxFilUtl, ForceDirectoriesCreatesEveryMissingLevel) {
  TempFolder folder;
  const std::string deep = PathJoin(PathJoin(PathJoin(folder.Path().string(), "a"), "b"), "c");
  ForceDirectories(deep + "/");
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_NO_THROW(ForceDirectories(deep));  // existing: left alone
  EXPECT_NO_THROW(ForceDirectories(""));
  EXPECT_NO_THROW(ForceDirectories("C:"));
  EXPECT_NO_THROW(ForceDirectories("/"));
}

TEST(LxFilUtl, ForceDirectoriesRaisesWithTheSystemCode) {
  TempFolder folder;
  WriteWholeFile(folder.File("file"), "x");
  const std::string blocked = folder.File("file") + "/sub";
  try {
    ForceDirectories(blocked);
    FAIL();
  } catch (const ELxInOutError& error) {
    EXPECT_EQ(error.ErrorCode(), EEXIST);  // the file stands where a parent folder should be
    EXPECT_NE(error.Message().find("Não foi possível criar o diretório"), std::string::npos);
    EXPECT_NE(error.Message().find(folder.File("file")), std::string::npos);
  }
  try {
    ForceDirectories(folder.File("file"));  // a file stands where the folder should be
    FAIL();
  } catch (const ELxInOutError& error) {
    EXPECT_EQ(error.ErrorCode(), EEXIST);
  }
  // A folder nobody can write to, root included.
  EXPECT_THROW(ForceDirectories("/proc/pandecta-nao-existe/x"), ELxInOutError);
  if (::geteuid() != 0) {
    const std::string locked = folder.File("locked");
    ForceDirectories(locked);
    ::chmod(locked.c_str(), 0500);
    try {
      ForceDirectories(locked + "/x/y");
      ADD_FAILURE();
    } catch (const ELxInOutError& error) {
      EXPECT_EQ(error.ErrorCode(), EACCES);
    }
    ::chmod(locked.c_str(), 0700);
  }
}

TEST(LxFilUtl, FileSizeOfFilesOnly) {
  TempFolder folder;
  WriteWholeFile(folder.File("f.dat"), std::string(1234, 'x'));
  EXPECT_EQ(FileSize(folder.File("f.dat")), 1234);
  EXPECT_EQ(FileSize(folder.File("none")), 0);
  EXPECT_EQ(FileSize(folder.Path().string()), 0);
}

TEST(LxFilUtl, FileDateTimeHasTwoSecondResolution) {
  TempFolder folder;
  const std::string name = folder.File("t.dat");
  WriteWholeFile(name, "x");
  const std::time_t odd = LocalDateTimeToUnixTime(EncodeDateTime({2024, 5, 12, 10, 0, 5, 0}));
  struct utimbuf times = {odd, odd};
  ASSERT_EQ(::utime(name.c_str(), &times), 0);
  EXPECT_EQ(DateTimeToStr(FileDateTime(name)), "12/05/2024 10:00:04");
  times.actime = times.modtime = odd + 1;
  ::utime(name.c_str(), &times);
  EXPECT_EQ(DateTimeToStr(FileDateTime(name)), "12/05/2024 10:00:06");
  EXPECT_EQ(FileDateTime(folder.File("none")), 0.0);
  EXPECT_GT(FileDateTime(folder.Path().string()), 0.0);  // folders too
}

TEST(LxFilUtl, CopyFileReplacesTheDestination) {
  TempFolder folder;
  WriteWholeFile(folder.File("a"), "new contents");
  WriteWholeFile(folder.File("b"), "old");
  CopyFile(folder.File("a"), folder.File("b"));
  EXPECT_EQ(ReadWholeFile(folder.File("b")), "new contents");
  EXPECT_EQ(FileDateTime(folder.File("b")), FileDateTime(folder.File("a")));
}

TEST(LxFilUtl, CopyFileFailureNamesBothFiles) {
  TempFolder folder;
  const std::string source = folder.File("missing");
  const std::string target = folder.File("b");
  try {
    CopyFile(source, target);
    FAIL();
  } catch (const ELxException& error) {
    EXPECT_EQ(error.Message(), "Erro ao copiar arquivo \"" + source + "\" para \"" + target + "\". ");
  }
  WriteWholeFile(folder.File("a"), "x");
  EXPECT_THROW(CopyFile(folder.File("a"), folder.File("no/such/folder/b")), ELxException);
  EXPECT_THROW(CopyFile(folder.Path().string(), target), ELxException);  // a folder is no file
}

TEST(LxFilUtl, ComputerNameIsAtMostFifteenCharacters) {
  const std::string name = ComputerName();
  EXPECT_LE(name.size(), 15u);
  char host[256] = {};
  ::gethostname(host, sizeof host - 1);
  EXPECT_EQ(name, std::string(host).substr(0, 15));
}

TEST(LxFilUtl, ApplicationFolderEndsWithASeparator) {
  const std::string folder = ApplicationFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(DirectoryExists(folder));
  EXPECT_TRUE(FileExists(PathJoin(folder, "lx_tests")));
}

TEST(LxFilUtl, ProgramFilesDirOnPosix) { EXPECT_EQ(GetProgramFilesDir(), "/opt"); }

TEST(LxFilUtl, FindFileIgnoringCase) {
  TempFolder folder;
  const std::string dir = folder.Path().string();
  EXPECT_EQ(FindFileIgnoringCase(dir, "TOMOIdx.dat"), PathJoin(dir, "TOMOIdx.dat"));  // neither: as written
  WriteWholeFile(folder.File("tomoidx.dat"), "x");
  EXPECT_EQ(FindFileIgnoringCase(dir, "TOMOIdx.dat"), PathJoin(dir, "tomoidx.dat"));
  WriteWholeFile(folder.File("TOMOIdx.dat"), "y");
  EXPECT_EQ(FindFileIgnoringCase(dir, "TOMOIdx.dat"), PathJoin(dir, "TOMOIdx.dat"));  // exact wins
  EXPECT_EQ(FindFileIgnoringCase(folder.File("none"), "a.dat"), PathJoin(folder.File("none"), "a.dat"));
}

// The common causes read in Portuguese, whatever the system's language; other
// codes still give no text of the system's own.
TEST(LxFilUtl, SystemErrorsReadInPortuguese) {
  EXPECT_EQ(SystemErrorText(ENOENT), "arquivo ou diretório não encontrado (código 2)");
  EXPECT_EQ(SystemErrorText(EACCES), "permissão negada (código 13)");
  EXPECT_EQ(SystemErrorText(ENOSPC), "não há espaço livre no disco (código 28)");
  EXPECT_EQ(SystemErrorText(EROFS), "o disco é somente para leitura (código 30)");
  EXPECT_EQ(SystemErrorText(ENAMETOOLONG), "nome de arquivo longo demais (código 36)");
  EXPECT_EQ(SystemErrorText(EDOM), "o sistema recusou a operação (código 33)");

  TempFolder folder;
  const std::string tooLong = folder.File(std::string(300, 'n'));
  try {
    ForceDirectories(tooLong);
    FAIL();
  } catch (const ELxInOutError& error) {
    EXPECT_NE(error.Message().find(": nome de arquivo longo demais (código 36)"), std::string::npos);
  }
  try {
    TLxFileStream missing(folder.File("nada.dat"), TLxFileMode::OpenRead);
    FAIL();
  } catch (const ELxInOutError& error) {
    EXPECT_NE(error.Message().find(": arquivo ou diretório não encontrado (código 2)"), std::string::npos);
  }
}
