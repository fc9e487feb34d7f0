#pragma once

// Helpers for tests that look at and prepare lock.dat themselves.

#include <string>
#include <vector>

// The lines of a lock file as written, CR LF ends removed.
std::vector<std::string> LockFileLines(const std::string& path);
// Writes lines ended by CR LF.
void WriteLockFile(const std::string& path, const std::vector<std::string>& lines);
// Sets the file's last-write time the given number of seconds (an even number,
// so that the two-second resolution of the protocol keeps differences exact)
// before the current whole second.
void AgeFile(const std::string& path, long seconds);
// Seconds since the file was last written, by the system clock.
long SecondsSinceWritten(const std::string& path);
