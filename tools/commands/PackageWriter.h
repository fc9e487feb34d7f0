#pragma once

// The publisher's side of update packages (UpdatePackageFormat.h): from the
// installed base and the new base, the package that brings one to the other.

#include <cstdint>
#include <limits>
#include <string>

struct TPackageRequest {
  std::string OldFolder;
  std::string NewFolder;
  std::string OutFolder;
  std::string Title;  // UTF-8
  std::string Id;     // UTF-8
  // Payload bytes of one volume at most.
  std::int64_t VolumeSize = std::numeric_limits<std::int32_t>::max();
  // A plain file name; the volume's name on every medium.
  std::string VolumeName = "atualizacao.dat";
  // Every document of the new base, whatever the installed one holds (the
  // installed base need not exist).
  bool AllDocuments = false;
};

struct TPackageSummary {
  int Volumes = 0;
  int Documents = 0;
  std::int64_t PayloadBytes = 0;
};

// Writes the volumes; raises ELxException for a bad name, a base that does
// not load or a document that cannot be read. Files are written under a
// temporary name and renamed once complete.
TPackageSummary WritePackage(const TPackageRequest& request);
