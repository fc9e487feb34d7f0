#pragma once

// Unit ConfigUnit: the program's settings and the one settings object that the
// whole program reads them through. Settings are addressed by the names below
// (their positions in the settings table):
//   Config().GetString(DataFolder)   gives "/opt/pandecta/Dados" on a fresh machine
//   Config().GetBoolean(ShowTree)    gives false until the main window stores it
//
// The settings live per user under the key Software\Orvalho\Pandecta\2.0 (the
// registry on Windows, the user's settings file elsewhere). For tests and
// scripts the environment variable PANDECTA_SETTINGS_FILE names an INI file
// that the program-wide object uses instead.

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "LxConfig.h"

// The positions of the settings table, in table order.
enum TTOMOSetting : int {
  DataFolder,
  ExtraFolder,
  DownloadFolder,
  UpdateURL,
  ExportFolder,
  UpdateLatestDocument,
  ProxyServer,
  ProxyPort,
  ProxyUserName,
  ProxyPassword,
  ServerAddress,
  ServerUserName,
  ServerPassword,
  ServerBaseFolder,
  ServerTempFolder,
  ServerProxyServer,
  ServerProxyPort,
  ServerProxyUserName,
  ServerProxyPassword,
  ShowTree,
  LatestDocument,
  ProgramFolder,
  ServerSourceExecutable,
  ServerMultipleVolumes,
  ServerCompressor,
  TOMOSettingCount
};

// The key of the program's settings below the current user's root.
inline constexpr char kTOMORegistryKey[] = "Software\\Orvalho\\Pandecta\\2.0";
// Names an INI file that replaces the user's settings for the program-wide object.
inline constexpr char kSettingsFileVariable[] = "PANDECTA_SETTINGS_FILE";

// The settings table, TOMOSettingCount entries in the order of TTOMOSetting.
std::span<const TLxConfigVariable> TOMOConfigVariables();
// The name of a setting as the code spells it: SettingName(UpdateURL) is "UpdateURL".
std::string_view SettingName(TTOMOSetting setting);
// The setting of a name (exact spelling), or nothing.
std::optional<TTOMOSetting> FindSetting(std::string_view name);

class TTOMOConfig : public TLxConfig {
 public:
  explicit TTOMOConfig(std::unique_ptr<TLxConfigStore> store);

  // The program folder, recorded by the main window at every start. Defaults
  // to the executable's folder. The variable %ProgramFolder% of the folder
  // defaults reads DataRootFolder() of it (UserDataFolder.h).
  std::string ProgramFolder() const;
  void SetProgramFolder(const std::string& folder);

  // The base path of the word index engine: ExtraFolder joined with "TOMOACL".
  std::string WordIndexPath() const;
};

// The store the program-wide object uses: the file named by
// PANDECTA_SETTINGS_FILE when that is set and non-empty, else the platform's.
std::unique_ptr<TLxConfigStore> CreateProgramConfigStore();

// The program-wide settings object, created on first use on
// CreateProgramConfigStore().
TTOMOConfig& Config();
// Puts another object in its place (tests); returns the previous one, which
// may be null if none had been created yet.
std::unique_ptr<TTOMOConfig> ReplaceConfig(std::unique_ptr<TTOMOConfig> config);
