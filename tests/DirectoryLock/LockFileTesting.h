#pragma once

// Helpers for tests that look at and prepare lock.dat themselves.

#include <string>
#include <vector>

// The lines of a lock file, CR LF ends removed. Read under the file's lock,
// as a checker would, so a rewrite in progress is never seen half done.
std::vector<std::string> LockFileLines(const std::string& path);
// One line (0-based) of the file, "" when the file has fewer.
std::string LockFileLine(const std::string& path, size_t index);
// Writes lines ended by CR LF, under the file's lock.
void WriteLockFile(const std::string& path, const std::vector<std::string>& lines);
// Sets the file's last-write time the given number of seconds (an even number,
// so that the two-second resolution of the protocol keeps differences exact)
// before the current whole second.
void AgeFile(const std::string& path, long seconds);
// Seconds since the file was last written, by the system clock.
long SecondsSinceWritten(const std::string& path);
