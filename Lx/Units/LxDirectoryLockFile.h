#pragma once

// The contents of lock.dat, the file through which the processes sharing a
// folder agree on who may use it (see LxDirectoryLock.h). Pure text work: no
// file access and no clock, so that every rule can be checked exactly.
//
// The file is three lines, each ended by CR LF:
//   SERVIDOR.1234.7       the identity of the last writer: machine.process.object
//   WRITE DENIED          its mode: "NONE", "WRITE DENIED" or "EXCLUSIVE"
//   5000                  milliseconds its lock has left; checkers count it down
// Fewer lines (a new, empty or damaged file) mean the folder is free; lines
// after the third are kept as read but carry no meaning.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "LxDateTime.h"

enum TLxLockMode : std::uint8_t { lmNone = 0, lmWriteDenied = 1, lmExclusive = 2 };

inline constexpr char kLockFileName[] = "lock.dat";
// Nothing the protocol writes comes near this size; a bigger file is damaged
// and, having no lines we trust, counts as free.
inline constexpr std::size_t kMaxLockFileBytes = 64 * 1024;
// A holder that has not refreshed for its interval plus this long has gone.
inline constexpr std::int64_t kLockGraceMilliseconds = 3000;
// A file last written longer ago than this is stale whatever it announces.
inline constexpr TDateTime kLockStaleAfterDays = 1.0;

// "NONE", "WRITE DENIED" or "EXCLUSIVE".
const char* LockModeText(TLxLockMode mode);
// The mode of a text, letter case ignored; lmNone for any other text.
TLxLockMode LockModeFromText(std::string_view text);

// Lines split at CR LF, lone CR or lone LF; a last line without an ending
// still counts. "a\r\nb\r\n" gives {"a", "b"}. A file over kMaxLockFileBytes
// gives no lines.
std::vector<std::string> ParseLockLines(std::string_view bytes);
// Each line followed by CR LF.
std::string FormatLockLines(const std::vector<std::string>& lines);

// The machine part of an identity: "SERVIDOR.1234.9568256" gives "SERVIDOR";
// an identity without a dot gives "".
std::string MachineOfIdentity(std::string_view identity);
// The holder identity "machine.process.object", e.g. "ESTACAO3.4120.1".
std::string LockIdentity(std::string_view machine, std::uint32_t processId, std::int32_t objectNumber);
// Identities compare without regard to letter case.
bool SameIdentity(std::string_view a, std::string_view b);

// A signed 32-bit decimal number with an optional sign, nothing around it.
std::optional<std::int32_t> ParseLockInteger(std::string_view text);

// Judges a file of at least three lines written by someone else, `age` days
// after its last write as measured on the file's own clock. Line 3 (not a
// number: `ownInterval`) is counted down by the age; when the record has
// outlived its countdown by more than kLockGraceMilliseconds, or is older than
// kLockStaleAfterDays, it is stale and the result is lmNone with the lines left
// alone. Otherwise line 3 is replaced by the remaining milliseconds and the
// result is the mode of line 2 (lmNone for an unknown text).
//   {"X.1.1", "EXCLUSIVE", "5000"}, age 8000 ms: lmExclusive, line 3 "-3000"
//   {"X.1.1", "EXCLUSIVE", "5000"}, age 8002 ms: lmNone (stale)
TLxLockMode CountDownForeignLock(std::vector<std::string>& lines, std::int32_t ownInterval, TDateTime age);
