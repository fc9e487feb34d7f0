#include "LxDirectoryLockFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "LxExcept.h"

namespace {

constexpr std::int64_t kMillisecondsPerDay = 24LL * 60 * 60 * 1000;

// In the order a file's mode text is matched.
constexpr const char* kModeTexts[] = {"NONE", "WRITE DENIED", "EXCLUSIVE"};

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace

const char* LockModeText(TLxLockMode mode) {
  switch (mode) {
    case lmWriteDenied:
      return kModeTexts[lmWriteDenied];
    case lmExclusive:
      return kModeTexts[lmExclusive];
    case lmNone:
      break;
  }
  return kModeTexts[lmNone];
}

TLxLockMode LockModeFromText(std::string_view text) {
  for (int mode = lmNone; mode <= lmExclusive; ++mode) {
    if (EqualsIgnoringCase(text, kModeTexts[mode])) return static_cast<TLxLockMode>(mode);
  }
  return lmNone;
}

std::vector<std::string> ParseLockLines(std::string_view bytes) {
  std::vector<std::string> lines;
  if (bytes.size() > kMaxLockFileBytes) return lines;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(bytes.substr(start));
      break;
    }
    lines.emplace_back(bytes.substr(start, end - start));
    const bool crLf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
    start = end + (crLf ? 2 : 1);
  }
  return lines;
}

std::string FormatLockLines(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) {
    bytes += line;
    bytes += "\r\n";
  }
  return bytes;
}

std::string MachineOfIdentity(std::string_view identity) {
  const size_t dot = identity.find('.');
  if (dot == std::string_view::npos) return {};
  return std::string(identity.substr(0, dot));
}

std::string LockIdentity(std::string_view machine, std::uint32_t processId, std::int32_t objectNumber) {
  // The process identifier is written as a signed number, as every writer of
  // the file has always done.
  return FormatMessage("%.*s.%d.%d", static_cast<int>(machine.size()), machine.data(), static_cast<int>(processId),
                       objectNumber);
}

bool SameIdentity(std::string_view a, std::string_view b) { return EqualsIgnoringCase(a, b); }

std::optional<std::int32_t> ParseLockInteger(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

TLxLockMode CountDownForeignLock(std::vector<std::string>& lines, std::int32_t ownInterval, TDateTime age) {
  if (lines.size() < 3) return lmNone;
  const std::int64_t countdown = ParseLockInteger(lines[2]).value_or(ownInterval);
  if (age > kLockStaleAfterDays) return lmNone;
  // A file clock that went back (a server's clock set back, a change of
  // daylight-saving time) must not lengthen a silent holder's lease.
  const std::int64_t elapsed = std::llround(std::max(age, 0.0) * kMillisecondsPerDay);
  const std::int64_t remaining = countdown - elapsed;
  if (remaining < -kLockGraceMilliseconds) return lmNone;
  lines[2] = std::to_string(remaining);
  return LockModeFromText(lines[1]);
}
