#pragma once

// Unit LxFilUtl: the small file-system and machine helpers shared by the whole
// program. Free functions over UTF-8 path strings; none keeps state.
//
// Only ForceDirectories and CopyFile raise; every other function turns a
// failure into its neutral result (false, 0, empty text, the fallback folder).

#include <cstdint>
#include <string>
#include <string_view>

#include "LxDateTime.h"
#include "LxStrm.h"  // ELxInOutError

// The native path separator: "/" on POSIX, "\" on Windows.
#ifdef _WIN32
inline constexpr char kPathDelimiter = '\\';
#else
inline constexpr char kPathDelimiter = '/';
#endif

// Joins a folder and a name. The separator is "/" when the folder holds a "/",
// "\" when it holds a "\" (and no "/"), else the native one ("/" on POSIX). It
// is added only when the folder is non-empty and does not already end with it;
// the name is used unchanged, even if it begins with a separator.
//   PathJoin("C:\\Dados", "x.dat")    gives "C:\\Dados\\x.dat"
//   PathJoin("C:\\Dados\\", "x.dat")  gives "C:\\Dados\\x.dat"
//   PathJoin("//srv/dados", "x.dat")  gives "//srv/dados/x.dat"
//   PathJoin("/home/u/Dados/", "x")   gives "/home/u/Dados/x"
//   PathJoin("http://srv/tomo", "Doc1.dat") gives "http://srv/tomo/Doc1.dat"
//   PathJoin("Dados", "x.dat")        gives "Dados/x.dat" on POSIX
//   PathJoin("", "x.dat")             gives "x.dat"
std::string PathJoin(std::string_view folder, std::string_view name);

// True when the path (one trailing "/" or "\" removed) names an existing
// folder; false for a file or nothing.
bool DirectoryExists(const std::string& path);

// True when the path names an existing file that is not a folder.
bool FileExists(const std::string& path);

// True when the path itself (not what a link points to) is a plain file: the
// files that our own commits leave behind are never links, devices or pipes.
bool IsPlainFile(const std::string& path);

// Creates the folder and any missing parents. One trailing "/" or "\" is
// removed first; an empty path, "/" or a bare drive ("C:") does nothing;
// existing folders are left alone. A folder that cannot be created raises
// ELxInOutError with the system error code:
//   "Não foi possível criar o diretório "/ro/x": Permission denied (código 13)"
// On POSIX parents are split at "/" only ("\" is an ordinary character there).
void ForceDirectories(const std::string& path);

// Size in bytes of a file; 0 when it does not exist or is a folder. Files of
// 2 GiB or more read as 2147483647.
std::int32_t FileSize(const std::string& path);

// Last-write time of a file or folder as a local date-time, truncated to an
// even second (the two-second resolution of the directory entry): a file
// written at 10:00:05 reads 10:00:04. 0 when nothing is found.
TDateTime FileDateTime(const std::string& path);

// Copies a file, replacing an existing destination and keeping the source's
// last-write time. On failure raises ELxException
//   "Erro ao copiar arquivo "<source>" para "<destination>". "  (trailing blank).
void CopyFile(const std::string& source, const std::string& destination);

// The host name, cut to at most 15 characters; "" when the system gives none.
std::string ComputerName();

// Folder of the running executable with a trailing separator ("/opt/pandecta/"
// on POSIX, from /proc/self/exe); "" when it cannot be found.
std::string ApplicationFolder();

// The system's program-files folder. POSIX: "/opt" (the folder for add-on
// application packages). Windows: the registry value ProgramFilesDir under
// HKLM\Software\Microsoft\Windows\CurrentVersion, else
// "C:\\Arquivos de Programas".
std::string GetProgramFilesDir();

// Resolves a fixed file name in a folder without regard to case, for file
// systems that distinguish case: the exact name if it exists, else the first
// entry of the folder whose name equals `name` ignoring ASCII case, else the
// exact name anyway (so that a file about to be created gets the name as
// written). Always returns PathJoin(folder, <name found>).
//   FindFileIgnoringCase("/d", "TOMOIdx.dat") gives "/d/tomoidx.dat" when only
//   that file exists, "/d/TOMOIdx.dat" when both or neither exist.
std::string FindFileIgnoringCase(const std::string& folder, const std::string& name);
