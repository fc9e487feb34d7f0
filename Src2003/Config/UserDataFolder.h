#pragma once

// Where the folders that the settings' defaults place beside the program lie
// (the variable %ProgramFolder% of Dados, Extra, Download). A program run from
// a folder of its own (build/bin, /opt/pandecta) keeps them beside itself; an
// installed program's folder belongs to the system (/usr/bin) or cannot be
// written, so they lie in the user's data folder instead:
//   DataRootFolder("/opt/pandecta")  gives "/opt/pandecta"
//   DataRootFolder("/usr/bin")       gives "/home/ana/.local/share/Pandecta"
// Only defaults move: a folder stored in the settings is used as stored.

#include <string>

// $XDG_DATA_HOME/Pandecta, or ~/.local/share/Pandecta when XDG_DATA_HOME is
// unset or not an absolute path.
std::string UserDataFolder();

// True when the program folder may hold the data folders: it is not below the
// system's folders (/usr, /bin, /sbin) and, when it exists, the user may write
// in it. A folder not created yet counts as the user's to create.
bool ProgramFolderHoldsData(const std::string& programFolder);

// The program folder when it may hold the data folders, else UserDataFolder().
std::string DataRootFolder(const std::string& programFolder);
