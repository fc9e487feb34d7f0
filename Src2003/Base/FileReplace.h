#pragma once

#include <string>

// The quiet file operations of the commit protocols: write name.tmp, rename
// it to name.new, delete name, rename name.new to name. Each step reports only
// whether it worked; the protocols decide what a failure means.

// Deletes a file; true when it is gone afterwards (also when it never existed).
bool DeleteFileQuietly(const std::string& path);

// Renames a file, replacing an existing target; false when it failed.
bool RenameFileQuietly(const std::string& from, const std::string& to);

// Puts what is stored of a file, or of a folder (the names in it), on the
// disk, so that a power cut cannot take it back; false when the system
// failed to. A file system that cannot sync at all (some network shares)
// counts as success: it has nothing better to offer.
bool SyncQuietly(const std::string& path);
