#pragma once

// Where the update commands of the main window find what to apply on this
// system. The publisher's update programs ("????_??_?.exe") have no meaning
// here; what an office receives on a medium, or picks as a file, is the
// update package itself (atualizacao.dat), which the update window applies
// directly. An update program file found instead is started, as it was
// meant to be, when the system can run it.

#include <string>
#include <vector>

// The names of the publisher's update program files.
inline constexpr char kUpdateProgramPattern[] = "????_??_?.exe";

// True when the file begins with the package signature line.
bool IsUpdatePackageFile(const std::string& path);
// True when the file's name matches kUpdateProgramPattern.
bool IsUpdateProgramName(const std::string& fileName);

// The folders where removable media are mounted for this user:
// /media/$USER/*, /run/media/$USER/* and /media/* (each mounted medium).
std::vector<std::string> RemovableMediaFolders();
// The first update on the media below these folders, looked for at the top
// of each medium: a volume named atualizacao.dat, else an update program
// file; "" when there is none.
std::string FindUpdateOnMedia(const std::vector<std::string>& mediaFolders);
