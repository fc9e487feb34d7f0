// pandecta-tool config [NAME [VALUE]]
//
// Without arguments: every setting in table order, one per line, as
//   DataFolder<TAB>/opt/pandecta/Dados
// with defaults expanded as the program reads them. With NAME: that setting's
// value alone. With NAME VALUE: stores VALUE; an empty VALUE makes the setting
// read as its default again.
//
// The settings are the current user's; PANDECTA_SETTINGS_FILE names another
// settings file (an INI file) to read and write instead.

#include <cstdio>
#include <string>
#include <vector>

#include "ConfigUnit.h"
#include "LxExcept.h"
#include "ToolCommand.h"

namespace {

TTOMOSetting SettingNamed(const std::string& name) {
  const auto setting = FindSetting(name);
  if (!setting) throw ELxException(FormatMessage("Configuração desconhecida: %s", name.c_str()));
  return *setting;
}

void PrintAllSettings() {
  for (int index = 0; index < TOMOSettingCount; ++index) {
    const auto setting = static_cast<TTOMOSetting>(index);
    const std::string name(SettingName(setting));
    std::printf("%s\t%s\n", name.c_str(), Config().GetString(setting).c_str());
  }
}

int RunConfig(const std::vector<std::string>& arguments) {
  switch (arguments.size()) {
    case 0:
      PrintAllSettings();
      break;
    case 1:
      std::printf("%s\n", Config().GetString(SettingNamed(arguments[0])).c_str());
      break;
    case 2:
      Config().SetString(SettingNamed(arguments[0]), arguments[1]);
      break;
    default:
      throw EToolUsage{"Argumentos demais."};
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}

const bool registered = RegisterToolCommand({"config", "config [NOME [VALOR]]", RunConfig});

}  // namespace
