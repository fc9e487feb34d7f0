#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "LxConfig.h"
#include "LxExcept.h"
#include "LxFilUtl.h"

namespace {

const char kKey[] = "Software\\Orvalho\\Teste\\1.0";
constexpr TLxRootKey kUser = TLxRootKey::CurrentUser;

enum TTestSetting { kProgramFolder, kData, kPercent, kUnknownVariable, kUnclosed, kPort, kFlag, kAtRoot, kLoop };

const TLxConfigVariable kTable[] = {
    {kUser, "Configurações\\Arquivos de Programas", "%AppPath%"},
    {kUser, "Configurações\\Pasta de Dados", "%ProgramFolder%\\Dados"},
    {kUser, "Teste\\Percentual", "100%% seguro"},
    {kUser, "Teste\\Desconhecida", "%NaoPublicada%\\x"},
    {kUser, "Teste\\Aberta", "abc%def"},
    {kUser, "Atualização\\Proxy\\Porta", ""},
    {kUser, "Teste\\Marca", ""},
    {kUser, "NaRaiz", "r"},
    {kUser, "Teste\\Ciclo", "<%Ciclo%>"},
};

// A program's settings class: publishes ProgramFolder as a setting, a property
// whose getter fails, and one whose default names itself.
class TTestConfig : public TLxConfig {
 public:
  explicit TTestConfig(std::unique_ptr<TLxMemoryConfigStore> store) : TLxConfig(kKey, kTable, std::move(store)) {
    PublishProperty("ProgramFolder", [this] { return GetString(kProgramFolder); });
    PublishProperty("Quebrada", []() -> std::string { throw std::runtime_error("falhou"); });
    PublishProperty("Ciclo", [this] { return GetString(kLoop); });
  }
  TLxMemoryConfigStore& Memory() const { return static_cast<TLxMemoryConfigStore&>(Store()); }
};

class LxConfigTest : public ::testing::Test {
 protected:
  TTestConfig config{std::make_unique<TLxMemoryConfigStore>()};
};

std::string ExecutableFolder() { return std::filesystem::canonical("/proc/self/exe").parent_path().string(); }

TEST_F(LxConfigTest, DefaultReadsAnotherSettingThroughItsGetter) {
  config.SetString(kProgramFolder, "C:\\Apps\\Pandecta");
  EXPECT_EQ(config.GetString(kData), "C:\\Apps\\Pandecta\\Dados");
}

TEST_F(LxConfigTest, NestedDefaultsEndAtTheExecutableFolder) {
  EXPECT_EQ(config.AppPath(), ExecutableFolder());
  EXPECT_EQ(config.GetString(kProgramFolder), ExecutableFolder());
  EXPECT_EQ(config.GetString(kData), ExecutableFolder() + "\\Dados");
}

TEST_F(LxConfigTest, DefaultsFollowTheExpansionRules) {
  EXPECT_EQ(config.GetString(kPercent), "100% seguro");
  EXPECT_EQ(config.GetString(kUnknownVariable), "\\x");
  EXPECT_EQ(config.GetString(kUnclosed), "abc");

  const std::string app = config.AppPath();
  const struct {
    const char* text;
    std::string expanded;
  } cases[] = {
      {"", ""},
      {"%", ""},
      {"%%", "%"},
      {"%%%%", "%%"},
      {"a%%", "a%"},
      {"%AppPath", ""},
      {"%AppPath%", app},
      {"%appPATH%/x", app + "/x"},  // property names ignore letter case
      {"x%%%AppPath%", "x%" + app},
      {"[%%AppPath%%]", "[%AppPath%]"},
      {"%Quebrada%y", "y"},  // a getter that fails expands to nothing
      {"%ProgramFilesDir%", GetProgramFilesDir()},
      {"%%ProgramFolder%", "%ProgramFolder"},
  };
  for (const auto& c : cases) EXPECT_EQ(config.ExpandVariables(c.text), c.expanded) << c.text;
}

TEST_F(LxConfigTest, StoredTextIsReturnedExactlyWithoutExpansion) {
  config.SetString(kData, "%AppPath%\\meus dados");
  EXPECT_EQ(config.GetString(kData), "%AppPath%\\meus dados");
}

TEST_F(LxConfigTest, StoringEmptyTextBringsTheDefaultBack) {
  config.SetString(kAtRoot, "guardado");
  EXPECT_EQ(config.GetString(kAtRoot), "guardado");
  config.SetString(kAtRoot, "");
  EXPECT_EQ(config.GetString(kAtRoot), "r");
}

TEST_F(LxConfigTest, ValuesLiveUnderTheStoreKeyAndTheirSubKey) {
  config.SetString(kPort, "8080");
  EXPECT_TRUE(config.Memory().HasValue(kUser, std::string(kKey) + "\\Atualização\\Proxy", "Porta"));
  config.SetString(kAtRoot, "x");
  EXPECT_TRUE(config.Memory().HasValue(kUser, kKey, "NaRaiz"));
}

TEST_F(LxConfigTest, EveryReadGoesToTheStore) {
  EXPECT_EQ(config.GetString(kPort), "");
  config.Memory().WriteValue(kUser, std::string(kKey) + "\\Atualização\\Proxy", "Porta", "3128");
  EXPECT_EQ(config.GetString(kPort), "3128");
}

TEST_F(LxConfigTest, NumbersReadAsUnsignedTextAndOtherTypesAsTheDefault) {
  const std::string key = std::string(kKey) + "\\Atualização\\Proxy";
  config.Memory().WriteDword(kUser, key, "Porta", 0xFFFFFFFFu);
  EXPECT_EQ(config.GetString(kPort), "4294967295");
  config.Memory().WriteBinary(kUser, kKey, "NaRaiz", std::string("\x01\x02", 2));
  EXPECT_EQ(config.GetString(kAtRoot), "r");
}

TEST_F(LxConfigTest, BooleansReadTrueForTrueYAndNonZeroNumbers) {
  for (const char* text : {"TRUE", "true", "Y", "y", "1", "-3", "+7", "2147483647"}) {
    config.SetString(kFlag, text);
    EXPECT_TRUE(config.GetBoolean(kFlag)) << text;
  }
  for (const char* text : {"false", "0", "", "sim", "yes", "0x1", "99999999999", "-0"}) {
    config.SetString(kFlag, text);
    EXPECT_FALSE(config.GetBoolean(kFlag)) << text;
  }
}

TEST_F(LxConfigTest, BooleansAreStoredAsText) {
  config.SetBoolean(kFlag, true);
  EXPECT_EQ(config.GetString(kFlag), "true");
  config.SetBoolean(kFlag, false);
  EXPECT_EQ(config.GetString(kFlag), "false");
  EXPECT_FALSE(config.GetBoolean(kFlag));
}

TEST_F(LxConfigTest, RefusedWritesAreSilentAndLeaveTheDefault) {
  config.Memory().SetWritesFail(true);
  EXPECT_NO_THROW(config.SetString(kAtRoot, "perdido"));
  EXPECT_EQ(config.GetString(kAtRoot), "r");
}

TEST_F(LxConfigTest, PublishedPropertiesAreFoundByName) {
  EXPECT_EQ(config.ReadProperty("AppPath"), config.AppPath());
  EXPECT_EQ(config.ReadProperty("ProgramFilesDir"), GetProgramFilesDir());
  EXPECT_EQ(config.ReadProperty("programfolder"), config.GetString(kProgramFolder));
  EXPECT_EQ(config.ReadProperty("Inexistente"), std::nullopt);
}

TEST_F(LxConfigTest, ADefaultThatNamesItselfEndsInsteadOfOverflowing) {
  const std::string value = config.GetString(kLoop);
  EXPECT_EQ(value.front(), '<');
  EXPECT_EQ(value.size() % 2, 0u);  // balanced: every level adds "<" and ">"
}

TEST_F(LxConfigTest, AnIndexOutsideTheTableIsACallerError) {
  EXPECT_THROW(config.GetString(-1), ELxAssertionFailed);
  EXPECT_THROW(config.SetString(static_cast<int>(std::size(kTable)), "x"), ELxAssertionFailed);
}

}  // namespace
