#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "ConfigUnit.h"
#include "TempFolder.h"

namespace {

std::string ExecutableFolder() { return std::filesystem::canonical("/proc/self/exe").parent_path().string(); }

class TOMOConfigTest : public ::testing::Test {
 protected:
  TTOMOConfig config{std::make_unique<TLxMemoryConfigStore>()};
};

TEST(TOMOSettingsTable, HasEveryEntryInItsOrderWithItsKeyAndDefault) {
  const auto table = TOMOConfigVariables();
  ASSERT_EQ(table.size(), static_cast<size_t>(TOMOSettingCount));
  ASSERT_EQ(TOMOSettingCount, 25);
  for (int i = 0; i < TOMOSettingCount; ++i) {
    const auto setting = static_cast<TTOMOSetting>(i);
    EXPECT_EQ(FindSetting(SettingName(setting)), setting) << i;
    EXPECT_EQ(table[static_cast<size_t>(i)].RootKey, TLxRootKey::CurrentUser);
  }
  EXPECT_EQ(SettingName(DataFolder), "DataFolder");
  EXPECT_EQ(table[DataFolder].KeyPath, "Configurações\\Pasta de Dados");
  EXPECT_EQ(table[DataFolder].DefaultValue, "%ProgramFolder%/Dados");
  EXPECT_EQ(SettingName(UpdateURL), "UpdateURL");
  EXPECT_EQ(table[UpdateURL].KeyPath, "Atualização\\URL");
  EXPECT_EQ(SettingName(ShowTree), "ShowTree");
  EXPECT_EQ(table[ShowTree].KeyPath, "Preferências\\Exibir árvore");
  EXPECT_EQ(table[ShowTree].DefaultValue, "false");
  EXPECT_EQ(SettingName(ProgramFolder), "ProgramFolder");
  EXPECT_EQ(table[ProgramFolder].KeyPath, "Configurações\\Arquivos de Programas");
  EXPECT_EQ(table[ProgramFolder].DefaultValue, "%AppPath%");
  EXPECT_EQ(SettingName(ServerCompressor), "ServerCompressor");
  EXPECT_EQ(table[ServerCompressor].DefaultValue, "%ProgramFilesDir%/WinRAR/rar.exe");
  EXPECT_EQ(table[ServerBaseFolder].DefaultValue, "/atualizacao");
  EXPECT_EQ(FindSetting("datafolder"), std::nullopt);
  EXPECT_EQ(FindSetting(""), std::nullopt);
}

TEST_F(TOMOConfigTest, OnAFreshMachineTheFoldersLieBelowTheProgramFolder) {
  const std::string program = ExecutableFolder();
  EXPECT_EQ(config.ProgramFolder(), program);
  EXPECT_EQ(config.GetString(DataFolder), program + "/Dados");
  EXPECT_EQ(config.GetString(ExtraFolder), program + "/Extra");
  EXPECT_EQ(config.GetString(DownloadFolder), program + "/Download");
  EXPECT_EQ(config.WordIndexPath(), program + "/Extra/TOMOACL");
}

TEST_F(TOMOConfigTest, FolderDefaultsFollowAMovedProgramButStoredFoldersStay) {
  config.SetProgramFolder("/apps/pandecta");
  config.SetString(DownloadFolder, "/srv/transferidos");
  EXPECT_EQ(config.GetString(DataFolder), "/apps/pandecta/Dados");

  config.SetProgramFolder("/opt/pandecta");
  EXPECT_EQ(config.GetString(DataFolder), "/opt/pandecta/Dados");
  EXPECT_EQ(config.GetString(ServerSourceExecutable), "/opt/pandecta/TOMOAtualiza.exe");
  EXPECT_EQ(config.WordIndexPath(), "/opt/pandecta/Extra/TOMOACL");
  EXPECT_EQ(config.GetString(DownloadFolder), "/srv/transferidos");
}

TEST_F(TOMOConfigTest, ClearingAFolderBringsItsDefaultBack) {
  config.SetProgramFolder("/apps/pandecta");
  config.SetString(ExtraFolder, "/rede/indice");
  EXPECT_EQ(config.WordIndexPath(), "/rede/indice/TOMOACL");
  config.SetString(ExtraFolder, "");
  EXPECT_EQ(config.GetString(ExtraFolder), "/apps/pandecta/Extra");
}

TEST_F(TOMOConfigTest, ShowTreeReadsFalseUntilStored) {
  EXPECT_FALSE(config.GetBoolean(ShowTree));
  config.SetBoolean(ShowTree, true);
  EXPECT_TRUE(config.GetBoolean(ShowTree));
  EXPECT_EQ(config.GetString(ShowTree), "true");
}

TEST_F(TOMOConfigTest, ProgramFolderIsAPublishedVariable) {
  config.SetProgramFolder("/apps/pandecta");
  EXPECT_EQ(config.ReadProperty("ProgramFolder"), "/apps/pandecta");
  EXPECT_EQ(config.ExpandVariables("%ProgramFolder%|%AppPath%"), "/apps/pandecta|" + ExecutableFolder());
}

TEST_F(TOMOConfigTest, PublisherAddressesAreDefaults) {
  EXPECT_EQ(config.GetString(UpdateURL), "http://www.pandecta.example/atualizacao");
  EXPECT_EQ(config.GetString(ServerAddress), "www.pandecta.example");
  EXPECT_EQ(config.GetString(ProxyPort), "");
}

TEST(ProgramWideConfig, UsesTheSettingsFileNamedByTheEnvironment) {
  TempFolder folder;
  const std::string file = folder.File("config.ini");
  ASSERT_EQ(::setenv(kSettingsFileVariable, file.c_str(), 1), 0);
  auto previous = ReplaceConfig(nullptr);

  Config().SetString(ProxyPort, "3128");
  EXPECT_EQ(Config().GetString(ProxyPort), "3128");
  EXPECT_NE(ReadWholeFile(file).find("Proxy\\Porta=3128"), std::string::npos);
  EXPECT_EQ(TTOMOConfig(std::make_unique<TLxSettingsConfigStore>(file)).GetString(ProxyPort), "3128");

  ReplaceConfig(std::move(previous));
  ::unsetenv(kSettingsFileVariable);
}

}  // namespace
