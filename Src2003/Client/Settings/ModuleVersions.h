#pragma once

// The modules the "Sobre" page lists: the executable and the shared
// libraries this process has loaded, each with a version. Linux keeps no
// version resource in its files, so the version is the one a library's file
// name carries after ".so." (the soname suffix and, for the real file a
// link points to, the full release); the executable gets the program's own.
//
//   ParseMappedFiles("7f..-7f.. r-xp 0 08:01 42 /usr/lib/libz.so.1.2.13\n")   gives {"/usr/lib/libz.so.1.2.13"}
//   FileNameVersion("libQt6Core.so.6.4.2")   gives "6.4.2.0"
//   FileNameVersion("liblexdex.so")          gives ""

#include <string>
#include <string_view>
#include <vector>

struct TModuleVersion {
  std::string FileName;  // without folder
  std::string Version;   // "major.minor.release.build", or empty
};

// The files mapped into a process, in order of first appearance and each
// once, from the text of /proc/<pid>/maps. Lines without a path, pseudo
// entries ("[heap]", "[vdso]") and lines that are not map lines are skipped;
// a path may hold blanks; a " (deleted)" suffix is dropped.
std::vector<std::string> ParseMappedFiles(std::string_view maps);

// Whether a file name is a shared library's ("libz.so", "libz.so.1.2").
bool IsSharedLibraryName(std::string_view fileName);

// The version a shared library's file name carries, as four numbers joined
// by "." (missing ones are 0, a fifth and later are dropped); empty when the
// name carries none or a part is not a number.
std::string FileNameVersion(std::string_view fileName);

// The executable first (with `programVersion`), then the shared libraries
// among `mappedFiles` in order; `executable` is the executable's full path.
std::vector<TModuleVersion> ListModules(const std::string& executable, const std::string& programVersion,
                                        const std::vector<std::string>& mappedFiles);

// ListModules for this process, from /proc/self/maps; only the executable
// when that cannot be read.
std::vector<TModuleVersion> LoadedModules(const std::string& programVersion);

// The page's line for a module: a tab, then "name: version".
std::string ModuleLine(const TModuleVersion& module);
