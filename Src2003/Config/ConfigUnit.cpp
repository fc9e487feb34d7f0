#include "ConfigUnit.h"

#include <array>
#include <cstdlib>
#include <mutex>
#include <utility>

#include "LxFilUtl.h"
#include "UserDataFolder.h"

namespace {

const char kWordIndexEngineFolder[] = "TOMOACL";

// Update server of the publisher. UpdateURL joins file names to it with "/".
const char kPublisherUpdateURL[] = "http://www.pandecta.example/atualizacao";
const char kPublisherServerHost[] = "www.pandecta.example";

// Folder defaults use the platform's separator: "%ProgramFolder%/Dados" on POSIX.
std::string Below(const char* variable, const char* relative) {
  std::string path = variable;
  path += kPathDelimiter;
  path += relative;
  return path;
}

struct TSettingRow {
  const char* Name;
  TLxConfigVariable Variable;
};

TLxConfigVariable CurrentUser(const char* keyPath, std::string defaultValue) {
  return {TLxRootKey::CurrentUser, keyPath, std::move(defaultValue)};
}

// Built on first use rather than at start-up, so that code running during
// static initialisation elsewhere may already read settings.
const std::array<TSettingRow, TOMOSettingCount>& SettingRows() {
  static const std::array<TSettingRow, TOMOSettingCount> rows = {{
      {"DataFolder", CurrentUser("Configurações\\Pasta de Dados", Below("%ProgramFolder%", "Dados"))},
      {"ExtraFolder", CurrentUser("Configurações\\Pasta de Índice de Busca", Below("%ProgramFolder%", "Extra"))},
      {"DownloadFolder", CurrentUser("Atualização\\Arquivos transferidos", Below("%ProgramFolder%", "Download"))},
      {"UpdateURL", CurrentUser("Atualização\\URL", kPublisherUpdateURL)},
      {"ExportFolder", CurrentUser("Atualização\\Arquivos de exportação", Below("%ProgramFolder%", "Upload"))},
      {"UpdateLatestDocument", CurrentUser("Atualização\\Documento mais recente", "")},
      {"ProxyServer", CurrentUser("Atualização\\Proxy\\Servidor", "")},
      {"ProxyPort", CurrentUser("Atualização\\Proxy\\Porta", "")},
      {"ProxyUserName", CurrentUser("Atualização\\Proxy\\Usuário", "")},
      {"ProxyPassword", CurrentUser("Atualização\\Proxy\\Senha", "")},
      {"ServerAddress", CurrentUser("Atualização\\Servidor\\Endereço", kPublisherServerHost)},
      {"ServerUserName", CurrentUser("Atualização\\Servidor\\Usuário", "")},
      {"ServerPassword", CurrentUser("Atualização\\Servidor\\Senha", "")},
      {"ServerBaseFolder", CurrentUser("Atualização\\Servidor\\Pasta base", "/atualizacao")},
      {"ServerTempFolder",
       CurrentUser("Atualização\\Servidor\\Pasta local temporária", Below("%ProgramFolder%", "Upload"))},
      {"ServerProxyServer", CurrentUser("Atualização\\Servidor\\Proxy\\Servidor", "")},
      {"ServerProxyPort", CurrentUser("Atualização\\Servidor\\Proxy\\Porta", "")},
      {"ServerProxyUserName", CurrentUser("Atualização\\Servidor\\Proxy\\Usuário", "")},
      {"ServerProxyPassword", CurrentUser("Atualização\\Servidor\\Proxy\\Senha", "")},
      {"ShowTree", CurrentUser("Preferências\\Exibir árvore", "false")},
      {"LatestDocument", CurrentUser("Configurações\\Documento mais recente", "")},
      {"ProgramFolder", CurrentUser("Configurações\\Arquivos de Programas", "%AppPath%")},
      {"ServerSourceExecutable",
       CurrentUser("Atualização\\Servidor\\Executável de Origem", Below("%ProgramFolder%", "TOMOAtualiza.exe"))},
      {"ServerMultipleVolumes", CurrentUser("Atualização\\Servidor\\Múltiplos Volumes", "false")},
      {"ServerCompressor",
       CurrentUser("Atualização\\Servidor\\Compactador",
                   Below("%ProgramFilesDir%", (std::string("WinRAR") + kPathDelimiter + "rar.exe").c_str()))},
  }};
  return rows;
}

std::mutex configMutex;
std::unique_ptr<TTOMOConfig> programConfig;

}  // namespace

std::span<const TLxConfigVariable> TOMOConfigVariables() {
  // The variables are laid out apart from their names, as TLxConfig expects.
  static const std::array<TLxConfigVariable, TOMOSettingCount> variables = [] {
    std::array<TLxConfigVariable, TOMOSettingCount> table;
    for (size_t i = 0; i < table.size(); ++i) table[i] = SettingRows()[i].Variable;
    return table;
  }();
  return variables;
}

std::string_view SettingName(TTOMOSetting setting) { return SettingRows().at(static_cast<size_t>(setting)).Name; }

std::optional<TTOMOSetting> FindSetting(std::string_view name) {
  for (int i = 0; i < TOMOSettingCount; ++i) {
    if (SettingRows()[static_cast<size_t>(i)].Name == name) return static_cast<TTOMOSetting>(i);
  }
  return std::nullopt;
}

TTOMOConfig::TTOMOConfig(std::unique_ptr<TLxConfigStore> store)
    : TLxConfig(kTOMORegistryKey, TOMOConfigVariables(), std::move(store)) {
  // The folder defaults lie beside the program unless it is installed there
  // where the user's data cannot be kept.
  PublishProperty("ProgramFolder", [this] { return DataRootFolder(ProgramFolder()); });
}

std::string TTOMOConfig::ProgramFolder() const { return GetString(TTOMOSetting::ProgramFolder); }

void TTOMOConfig::SetProgramFolder(const std::string& folder) { SetString(TTOMOSetting::ProgramFolder, folder); }

std::string TTOMOConfig::WordIndexPath() const { return PathJoin(GetString(ExtraFolder), kWordIndexEngineFolder); }

std::unique_ptr<TLxConfigStore> CreateProgramConfigStore() {
  const char* settingsFile = std::getenv(kSettingsFileVariable);
  if (settingsFile && *settingsFile) return std::make_unique<TLxSettingsConfigStore>(settingsFile);
  return std::make_unique<TLxSettingsConfigStore>();
}

TTOMOConfig& Config() {
  const std::lock_guard guard(configMutex);
  if (!programConfig) programConfig = std::make_unique<TTOMOConfig>(CreateProgramConfigStore());
  return *programConfig;
}

std::unique_ptr<TTOMOConfig> ReplaceConfig(std::unique_ptr<TTOMOConfig> config) {
  const std::lock_guard guard(configMutex);
  std::swap(programConfig, config);
  return config;
}
