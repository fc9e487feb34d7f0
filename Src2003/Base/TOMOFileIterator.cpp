#include "TOMOFileIterator.h"

#include <string_view>

#include "FileReplace.h"
#include "LxFilUtl.h"
#include "LxFileStream.h"
#include "LxLineIO.h"
#include "LxText.h"
#include "TOMOFileError.h"
#include "TOMOIndexFormat.h"

namespace {

// A commit stops between deleting the index and renaming its successor into
// place only if the program died there; the successor is then complete and
// finishing the rename recovers the base. A ".new" without a valid signature
// never finished its own writing, so it is left alone and the index stays.
void CompleteInterruptedCommit(const std::string& folder) {
  const std::string newFile = IndexFilePath(folder, kIndexNewFileName);
  // Only a plain file is ours: a link renamed over the index would replace
  // the base with whatever it points to.
  if (!IsPlainFile(newFile) || !HasIndexSignature(newFile)) return;
  const std::string datFile = IndexFilePath(folder, kIndexFileName);
  DeleteFileQuietly(datFile);
  RenameFileQuietly(newFile, PathJoin(folder, kIndexFileName));
}

}  // namespace

TTOMOFileIterator::TTOMOFileIterator(const std::string& folder) {
  CompleteInterruptedCommit(folder);
  fileName_ = IndexFilePath(folder, kIndexFileName);
  file_ = std::make_unique<TLxFileStream>(fileName_, TLxFileMode::OpenRead);
  if (!LxSameText(LxTrim(ReadLine(*file_)), IndexSignature())) {
    throw ETOMOFileError(FormatMessage("Formato de arquivo inválido para %s", fileName_.c_str()));
  }
  Next();
}

TTOMOFileIterator::~TTOMOFileIterator() = default;

void TTOMOFileIterator::Next() {
  eof_ = true;
  while (ReadLine(*file_, line_)) {
    if (line_.empty() || line_.front() != kRecordLineMark) continue;
    current_ = ParseRecordItems(std::string_view(line_).substr(1));
    eof_ = false;
    return;
  }
}
