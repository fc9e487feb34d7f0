#pragma once

// The program's read-only files (help, demo collection). A build or a copy in
// one folder keeps them beside the executable; an installed program finds them
// in the share folder of its prefix (/usr/bin/pandecta: /usr/share/pandecta).
//   ProgramSharedPath("ajuda/index.html")  gives "/usr/share/pandecta/ajuda/index.html"
//                                          or "<build>/bin/ajuda/index.html"

#include <string>

// The share folder of the program's prefix, from the executable's folder.
std::string InstalledShareFolder();

// `relative` beside the executable when it exists there, else below the
// share folder (whether it exists or not).
std::string ProgramSharedPath(const std::string& relative);
