#include "TOMOFile.h"

#include "FileReplace.h"
#include "LxFilUtl.h"
#include "LxFileStream.h"
#include "TOMOFileError.h"
#include "TOMOIndexFormat.h"
#include "TOMORecord.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";

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
  block_.reserve(2 * kBlockBytes);
  WriteLine(IndexSignature());
  for (const std::string& line : IndexCommentBlock()) WriteLine(line);
}

TTOMOFile::~TTOMOFile() {
  if (!file_) return;
  file_.reset();
  DeleteFileQuietly(tempFileName_);
}

void TTOMOFile::WriteLine(std::string_view text) {
  block_ += text;
  block_ += kLineEnd;
  WriteBlockIfFull();
}

void TTOMOFile::WriteRecordLine(const TTOMORecordH& record) {
  AppendRecordLine(block_, record);
  block_ += kLineEnd;
  WriteBlockIfFull();
}

void TTOMOFile::WriteBlockIfFull() {
  if (block_.size() >= kBlockBytes) WriteBlock();
}

void TTOMOFile::WriteBlock() {
  file_->WriteBuffer(block_.data(), static_cast<std::int32_t>(block_.size()));
  block_.clear();
}

void TTOMOFile::Commit() {
  WriteBlock();
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
