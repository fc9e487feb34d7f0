#include "TOMOFile.h"

#include "FileReplace.h"
#include "LxFilUtl.h"
#include "LxFileStream.h"
#include "LxLineIO.h"
#include "TOMOFileError.h"
#include "TOMOIndexFormat.h"

namespace {

// Every case variant of a fixed name goes, so that a reader that looks the
// name up without regard to case can only find the file just committed.
void DeleteAllCaseVariants(const std::string& folder, const char* name) {
  for (;;) {
    const std::string path = IndexFilePath(folder, name);
    if (!FileExists(path) || !DeleteFileQuietly(path)) return;
  }
}

}  // namespace

TTOMOFile::TTOMOFile(const std::string& folder)
    : folder_(folder), tempFileName_(PathJoin(folder, kIndexTempFileName)) {
  ForceDirectories(folder);
  file_ = std::make_unique<TLxFileStream>(tempFileName_, TLxFileMode::Create);
  ::WriteLine(*file_, IndexSignature());
  for (const std::string& line : IndexCommentBlock()) ::WriteLine(*file_, line);
}

TTOMOFile::~TTOMOFile() {
  if (!file_) return;
  file_.reset();
  DeleteFileQuietly(tempFileName_);
}

void TTOMOFile::WriteLine(std::string_view text) { ::WriteLine(*file_, text); }

void TTOMOFile::Commit() {
  // On the disk before its name changes: a power cut after the rename must
  // find the new index whole, not an empty file under the index's name.
  file_->Sync();
  file_->Close();
  file_.reset();
  const std::string newFileName = PathJoin(folder_, kIndexNewFileName);
  DeleteAllCaseVariants(folder_, kIndexNewFileName);
  if (!RenameFileQuietly(tempFileName_, newFileName)) {
    DeleteFileQuietly(tempFileName_);
    throw ETOMOFileError(FormatMessage("Não foi possível gravar o arquivo %s", newFileName.c_str()));
  }
  DeleteAllCaseVariants(folder_, kIndexFileName);
  RenameFileQuietly(newFileName, PathJoin(folder_, kIndexFileName));
}
