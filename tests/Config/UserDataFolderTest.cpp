#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "ConfigUnit.h"
#include "TempFolder.h"
#include "UserDataFolder.h"

namespace {

// Sets (or unsets) an environment variable for the scope, then restores it.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnvironment() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class UserDataFolderTest : public ::testing::Test {
 protected:
  TempFolder home;
  ScopedEnvironment homeVariable{"HOME", home.Path().string()};
  TTOMOConfig config{std::make_unique<TLxMemoryConfigStore>()};
};

TEST_F(UserDataFolderTest, AnInstalledProgramKeepsItsFolderDefaultsInTheUserDataFolder) {
  ScopedEnvironment dataHome("XDG_DATA_HOME", "/srv/ana/dados");
  config.SetProgramFolder("/usr/bin");
  EXPECT_EQ(config.GetString(DataFolder), "/srv/ana/dados/Pandecta/Dados");
  EXPECT_EQ(config.GetString(ExtraFolder), "/srv/ana/dados/Pandecta/Extra");
  EXPECT_EQ(config.GetString(DownloadFolder), "/srv/ana/dados/Pandecta/Download");
  EXPECT_EQ(config.WordIndexPath(), "/srv/ana/dados/Pandecta/Extra/TOMOACL");
  // The program folder itself, and what the user stored, stay as they are.
  EXPECT_EQ(config.ProgramFolder(), "/usr/bin");
  config.SetString(ExtraFolder, "/rede/indice");
  EXPECT_EQ(config.GetString(ExtraFolder), "/rede/indice");
  config.SetString(ExtraFolder, "");
  EXPECT_EQ(config.GetString(ExtraFolder), "/srv/ana/dados/Pandecta/Extra");
}

TEST_F(UserDataFolderTest, WithoutAnAbsoluteXdgDataHomeTheDataLieBelowHome) {
  const std::string expected = home.File(".local/share/Pandecta");
  {
    ScopedEnvironment unset("XDG_DATA_HOME", std::nullopt);
    EXPECT_EQ(UserDataFolder(), expected);
  }
  ScopedEnvironment relative("XDG_DATA_HOME", "dados");
  EXPECT_EQ(UserDataFolder(), expected);
  config.SetProgramFolder("/usr/local/bin");
  EXPECT_EQ(config.GetString(DataFolder), expected + "/Dados");
}

TEST_F(UserDataFolderTest, OnlySystemOrUnwritableProgramFoldersMoveTheDefaults) {
  ScopedEnvironment dataHome("XDG_DATA_HOME", home.File("dados"));
  TempFolder program;
  EXPECT_TRUE(ProgramFolderHoldsData(program.Path().string()));
  EXPECT_EQ(DataRootFolder(program.Path().string()), program.Path().string());
  // Not created yet: the user's to create, as a fresh copy of the program.
  EXPECT_TRUE(ProgramFolderHoldsData("/opt/pandecta"));
  // Below the system's folders, even for a user who may write there.
  EXPECT_FALSE(ProgramFolderHoldsData("/usr"));
  EXPECT_FALSE(ProgramFolderHoldsData("/bin"));
  EXPECT_TRUE(ProgramFolderHoldsData("/usrlocal/pandecta"));
  EXPECT_EQ(DataRootFolder("/usr/bin"), home.File("dados/Pandecta"));

  if (::geteuid() == 0) GTEST_SKIP() << "root writes in a read-only folder";
  ASSERT_EQ(::chmod(program.Path().c_str(), 0555), 0);
  EXPECT_FALSE(ProgramFolderHoldsData(program.Path().string()));
  EXPECT_EQ(DataRootFolder(program.Path().string()), home.File("dados/Pandecta"));
  ::chmod(program.Path().c_str(), 0755);
}

}  // namespace
