#pragma once

// The documents an update installed since it last committed the tree file.
// The tree is the commit point: before it may list a document, the
// document's bytes and its name must be on the disk, or a power cut could
// leave a tree that records a new date for an empty file, which no later
// update fetches again. Flush() puts them there, once per tree save: every
// file still unsynced, then every folder that gained or changed a name.
//
//   installs.FileWritten(DocumentFileName(data, 7));  // written, not synced
//   installs.FileSynced(DocumentFileName(data, 8));   // synced before its rename
//   installs.SyncFile(DocumentFileName(data, 9));     // written, synced here
//   installs.Flush();                                 // then save the tree

#include <set>
#include <string>

class TDurableInstalls {
 public:
  void FileWritten(const std::string& path);
  void FileSynced(const std::string& path);
  // Syncs a written file now (raising as Flush does), so that Flush has
  // only its folder left to sync.
  void SyncFile(const std::string& path);
  // Raises ELxException "Não foi possível gravar o arquivo %s" naming the
  // first file or folder the system failed to sync; forgets them all on
  // success.
  void Flush();

 private:
  std::set<std::string> files_;
  std::set<std::string> folders_;
};
