#include "ModuleVersions.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <limits>
#include <set>
#include <sstream>

#include <QCoreApplication>

#include "LxExcept.h"

namespace {

constexpr int kVersionParts = 4;
// Address range, permissions, offset, device and inode come before the path.
constexpr int kFieldsBeforePath = 5;
constexpr std::string_view kDeletedSuffix = " (deleted)";
constexpr std::string_view kLibraryMarker = ".so";
// No process maps more than this; a larger text is not a maps file.
constexpr size_t kMaxMapsBytes = 64 * 1024 * 1024;

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// Skips one blank-separated field; false when the line ends first.
bool SkipField(std::string_view& line) {
  line = Trimmed(line);
  const size_t end = line.find_first_of(" \t");
  if (line.empty() || end == std::string_view::npos) return false;
  line.remove_prefix(end);
  return true;
}

// The path of one maps line, or empty.
std::string_view PathOfLine(std::string_view line) {
  // A map line starts with its address range "start-end" in hexadecimal.
  const size_t dash = line.find('-');
  if (dash == 0 || dash == std::string_view::npos || !std::isxdigit(static_cast<unsigned char>(line[0]))) return {};
  for (int field = 0; field < kFieldsBeforePath; ++field) {
    if (!SkipField(line)) return {};
  }
  std::string_view path = Trimmed(line);
  if (path.size() > kDeletedSuffix.size() && path.substr(path.size() - kDeletedSuffix.size()) == kDeletedSuffix) {
    path.remove_suffix(kDeletedSuffix.size());
  }
  if (path.empty() || path.front() != '/') return {};
  return path;
}

std::string_view BaseName(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::vector<std::string> ParseMappedFiles(std::string_view maps) {
  std::vector<std::string> files;
  std::set<std::string, std::less<>> seen;
  while (!maps.empty()) {
    const size_t end = maps.find('\n');
    const std::string_view line = maps.substr(0, end);
    maps.remove_prefix(end == std::string_view::npos ? maps.size() : end + 1);
    const std::string_view path = PathOfLine(line);
    if (path.empty() || seen.count(path)) continue;
    seen.emplace(path);
    files.emplace_back(path);
  }
  return files;
}

bool IsSharedLibraryName(std::string_view fileName) {
  const size_t marker = fileName.find(kLibraryMarker);
  if (marker == std::string_view::npos || marker == 0) return false;
  const size_t after = marker + kLibraryMarker.size();
  return after == fileName.size() || fileName[after] == '.';
}

std::string FileNameVersion(std::string_view fileName) {
  const size_t marker = fileName.find(kLibraryMarker);
  if (marker == std::string_view::npos) return {};
  std::string_view rest = fileName.substr(marker + kLibraryMarker.size());
  if (rest.size() < 2 || rest.front() != '.') return {};
  rest.remove_prefix(1);
  std::vector<std::string_view> parts;
  while (true) {
    const size_t dot = rest.find('.');
    parts.push_back(rest.substr(0, dot));
    if (dot == std::string_view::npos) break;
    rest.remove_prefix(dot + 1);
  }
  std::string version;
  for (int index = 0; index < kVersionParts; ++index) {
    std::string_view part = index < static_cast<int>(parts.size()) ? parts[static_cast<size_t>(index)] : "0";
    if (!AllDigits(part)) return {};
    // Leading zeros say nothing, and an absurdly long part is no version.
    while (part.size() > 1 && part.front() == '0') part.remove_prefix(1);
    if (part.size() > std::numeric_limits<unsigned>::digits10) return {};
    if (!version.empty()) version += '.';
    version += part;
  }
  return version;
}

std::vector<TModuleVersion> ListModules(const std::string& executable, const std::string& programVersion,
                                        const std::vector<std::string>& mappedFiles) {
  std::vector<TModuleVersion> modules{{std::string(BaseName(executable)), programVersion}};
  for (const std::string& file : mappedFiles) {
    const std::string_view name = BaseName(file);
    if (file == executable || !IsSharedLibraryName(name)) continue;
    modules.push_back({std::string(name), FileNameVersion(name)});
  }
  return modules;
}

std::vector<TModuleVersion> LoadedModules(const std::string& programVersion) {
  const std::string executable = QCoreApplication::applicationFilePath().toStdString();
  std::ifstream maps("/proc/self/maps", std::ios::binary);
  std::string text;
  if (maps) {
    // /proc files report no size: read them to the end, within reason.
    std::ostringstream buffer;
    buffer << maps.rdbuf();
    text = buffer.str();
    if (text.size() > kMaxMapsBytes) text.clear();
  }
  return ListModules(executable, programVersion, ParseMappedFiles(text));
}

std::string ModuleLine(const TModuleVersion& module) {
  return "\t" + FormatMessage("%s: %s", module.FileName.c_str(), module.Version.c_str());
}
