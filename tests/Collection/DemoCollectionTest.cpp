#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "DemoCollection.h"
#include "LxExcept.h"
#include "TempFolder.h"

namespace fs = std::filesystem;

namespace {

void WriteFileMakingFolders(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  WriteWholeFile(path, bytes);
}

// A demo folder as the package installs it: documents, tree file, index.
class DemoCollectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFileMakingFolders(demo.Path() / "Dados/TOMOIdx.dat", "arvore");
    WriteFileMakingFolders(demo.Path() / "Dados/Doc00000/Doc00001.dat", "documento 1");
    WriteFileMakingFolders(demo.Path() / "Extra/TOMOACL/hint.il", "indice");
    WriteFileMakingFolders(demo.Path() / "Extra/TOMOACL/grp00/03.sl", "grupo");
  }

  std::string Data() const { return user.File("Pandecta/Dados"); }
  std::string Extra() const { return user.File("Pandecta/Extra"); }

  TempFolder demo;
  TempFolder user;
};

TEST_F(DemoCollectionTest, FillsMissingFoldersAndReplacesAStaleIndex) {
  WriteFileMakingFolders(user.Path() / "Pandecta/Extra/TOMOACL/hint.il", "antigo");
  EXPECT_FALSE(HoldsCollection(Data()));
  ASSERT_TRUE(HoldsCollection(DemoCollectionData(demo.Path().string())));

  InstallDemoCollection(demo.Path().string(), Data(), Extra());

  EXPECT_TRUE(HoldsCollection(Data()));
  EXPECT_EQ(ReadWholeFile(user.Path() / "Pandecta/Dados/TOMOIdx.dat"), "arvore");
  EXPECT_EQ(ReadWholeFile(user.Path() / "Pandecta/Dados/Doc00000/Doc00001.dat"), "documento 1");
  EXPECT_EQ(ReadWholeFile(user.Path() / "Pandecta/Extra/TOMOACL/hint.il"), "indice");
  EXPECT_EQ(ReadWholeFile(user.Path() / "Pandecta/Extra/TOMOACL/grp00/03.sl"), "grupo");
}

TEST_F(DemoCollectionTest, AMissingDemoOrAnUnwritableTargetFailsClearlyAndLeavesNoCollection) {
  TempFolder empty;
  try {
    InstallDemoCollection(empty.File("demo"), Data(), Extra());
    FAIL() << "no demo collection to install";
  } catch (const ELxException& error) {
    EXPECT_NE(error.Message().find("Não foi possível instalar a coleção de demonstração"), std::string::npos);
  }
  EXPECT_FALSE(fs::exists(Data()));

  // A file where the document folder's subfolder must go: the documents
  // cannot all be copied, so the tree file must not be there either.
  WriteFileMakingFolders(user.Path() / "Pandecta/Dados/Doc00000", "um arquivo");
  EXPECT_THROW(InstallDemoCollection(demo.Path().string(), Data(), Extra()), ELxException);
  EXPECT_FALSE(HoldsCollection(Data()));
}

}  // namespace
