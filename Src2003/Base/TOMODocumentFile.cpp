#include "TOMODocumentFile.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <vector>

#include "DocumentFileFormat.h"
#include "FileReplace.h"
#include "LxFilUtl.h"
#include "LxFileStream.h"
#include "LxLineIO.h"
#include "LxStreamLayers.h"
#include "LxText.h"
#include "LxZLIBStream.h"
#include "TOMOStream.h"

namespace {

std::string FolderOf(const std::string& fileName) {
  const size_t separator = fileName.find_last_of("/\\");
  return separator == std::string::npos ? std::string() : fileName.substr(0, separator);
}

bool IsDocumentSignature(const std::string& line) { return LxSameText(line, kDocumentSignature); }

// No document of the collection comes near this: a scanned page in full colour
// is about 25 MiB. A header that promises more is damage, or a bomb that
// would keep the reader busy for seconds and take hundreds of megabytes.
constexpr std::int32_t kMaxDocumentBodyBytes = 64 * 1024 * 1024;
// CloseDocument encodes the whole body in one go.
constexpr std::int32_t kWholeBody = std::numeric_limits<std::int32_t>::max();

void CheckBodySize(const std::string& fileName, std::int64_t size) {
  if (size <= kMaxDocumentBodyBytes) return;
  throw ELxException(FormatMessage("Documento grande demais: o corpo de %s teria %lld bytes (o limite é %d)",
                                   fileName.c_str(), static_cast<long long>(size), kMaxDocumentBodyBytes));
}

}  // namespace

bool HasDocumentSignature(const std::string& path) {
  if (!FileExists(path)) return false;
  try {
    TLxFileStream file(path, TLxFileMode::OpenRead);
    return IsDocumentSignature(ReadLine(file));
  } catch (const std::exception&) {
    return false;
  }
}

TTOMODocumentFile::TTOMODocumentFile(std::string fileName, bool deleteExisting)
    : fileName_(std::move(fileName)), fileSize_(FileSize(fileName_)) {
  if (deleteExisting) DeleteFileQuietly(fileName_);
}

TTOMODocumentFile::~TTOMODocumentFile() {
  // A body left unclosed is nobody's document: the stored one stays.
  const bool unfinished = mode_ == TMode::Writing && (outer_ || encoding_);
  encoding_.reset();
  FreeStreams();
  if (unfinished) DeleteFileQuietly(fileName_ + kPlainBodySuffix);
  DeleteFileQuietly(fileName_ + kEncodingSuffix);
  // A complete .new is the newest version of the document (a commit whose
  // last rename failed); the next reader puts it in place.
  const std::string completed = fileName_ + kCompleteSuffix;
  if (FileExists(completed) && (!IsPlainFile(completed) || !HasDocumentSignature(completed))) {
    DeleteFileQuietly(completed);
  }
}

void TTOMODocumentFile::FreeStreams() {
  body_.reset();
  outer_.reset();
}

void TTOMODocumentFile::RaiseAlreadyOpen() const {
  throw ELxException(
      FormatMessage("Documento já aberto para %s.", mode_ == TMode::Reading ? "leitura" : "escrita"));
}

void TTOMODocumentFile::CompleteInterruptedCommit() {
  DeleteFileQuietly(fileName_ + kPlainBodySuffix);
  DeleteFileQuietly(fileName_ + kEncodingSuffix);
  const std::string completed = fileName_ + kCompleteSuffix;
  if (!IsPlainFile(completed) || !HasDocumentSignature(completed)) return;
  DeleteFileQuietly(fileName_);
  RenameFileQuietly(completed, fileName_);
}

TLxStream& TTOMODocumentFile::OpenRead() {
  if (outer_ || body_ || encoding_) RaiseAlreadyOpen();
  properties_.clear();
  CompleteInterruptedCommit();

  auto file = std::make_unique<TLxFileStream>(fileName_, TLxFileMode::OpenRead);
  if (!IsDocumentSignature(ReadLine(*file))) {
    throw ELxException(FormatMessage("Formato de arquivo inválido. Nome do arquivo: %s", fileName_.c_str()));
  }
  ReadLines(*file, properties_);

  std::unique_ptr<TLxStream> outer;
  std::unique_ptr<TLxStream> body;
  if (PropertyIs(DocumentEncodingProperty(), kEncodingZLib)) {
    auto block = std::make_unique<TLxZLIBStream>(*file);
    block->BeginRead();
    CheckBodySize(fileName_, block->ExpandedSize());
    outer = std::move(file);
    body = std::move(block);
  } else if (PropertyIs(DocumentEncodingProperty(), kEncodingScrambledBody)) {
    CheckBodySize(fileName_, file->Size() - file->Position());
    body = std::make_unique<TTOMOStream>(std::move(file));
  } else {
    // Old files scrambled the whole file, header included; the body is the
    // part after the header, still keyed from the file's first byte.
    const std::int32_t bodyStart = file->Position();
    const std::int32_t fileSize = file->Size();
    CheckBodySize(fileName_, fileSize - bodyStart);
    file->SetPosition(0);
    auto scrambled = std::make_unique<TTOMOStream>(std::move(file));
    body = std::make_unique<TLxSliceSubstream>(*scrambled, bodyStart, fileSize - bodyStart);
    outer = std::move(scrambled);
  }
  outer_ = std::move(outer);
  body_ = std::move(body);
  mode_ = TMode::Reading;
  return *body_;
}

TLxStream& TTOMODocumentFile::OpenWrite() {
  if (outer_ || body_ || encoding_) RaiseAlreadyOpen();
  ForceDirectories(FolderOf(fileName_));
  outer_ = std::make_unique<TLxFileStream>(fileName_ + kPlainBodySuffix, TLxFileMode::Create);
  mode_ = TMode::Writing;
  return *outer_;
}

void TTOMODocumentFile::CloseDocument() {
  while (!CloseDocumentPart(kWholeBody)) {
  }
}

bool TTOMODocumentFile::CloseDocumentPart(std::int32_t bytes) {
  if (!encoding_) {
    // A plain body whose bytes did not all reach the disk must not be committed.
    if (auto* file = dynamic_cast<TLxFileStream*>(outer_.get()); file && mode_ == TMode::Writing) {
      body_.reset();
      file->Close();
    }
    FreeStreams();
  }
  if (encoding_ || (mode_ == TMode::Writing && FileExists(fileName_ + kPlainBodySuffix))) {
    if (!CommitPart(bytes)) return false;
  }
  // After a commit whose last rename failed, the complete .new is the
  // document (its next reader puts it in place): its size is the one to record.
  const std::string completed = fileName_ + kCompleteSuffix;
  const bool completedPending = IsPlainFile(completed) && HasDocumentSignature(completed);
  fileSize_ = FileSize(completedPending ? completed : fileName_);
  return true;
}

struct TTOMODocumentFile::TEncoding {
  TEncoding(const std::string& plainName, const std::string& encodedName)
      : encoded(encodedName, TLxFileMode::Create), plain(plainName, TLxFileMode::OpenRead), block(encoded) {}
  TLxFileStream encoded;
  TLxFileStream plain;
  TLxZLIBStream block;  // writes into `encoded`, so it goes first
};

void TTOMODocumentFile::BeginEncoding() {
  SetProperty(DocumentEncodingProperty(), kEncodingZLib);
  encoding_ = std::make_unique<TEncoding>(fileName_ + kPlainBodySuffix, fileName_ + kEncodingSuffix);
  TLxFileStream& encoded = encoding_->encoded;
  WriteLine(encoded, kDocumentSignature);
  for (const std::string& line : properties_) WriteLine(encoded, line);
  WriteLine(encoded, "");
  encoding_->block.BeginWrite();
}

bool TTOMODocumentFile::EncodeSome(std::int32_t bytes) {
  TLxFileStream& plain = encoding_->plain;
  const std::int32_t left = plain.Size() - plain.Position();
  const std::int32_t count = std::min(left, bytes);
  if (count > 0) encoding_->block.CopyFrom(plain, count);
  return count == left;
}

void TTOMODocumentFile::EndEncoding() {
  encoding_->block.Finish();
  // A document that replaces another reaches the disk before it takes that
  // one's name, so that a power cut cannot leave an empty file in place of
  // both. A new document has nothing to lose, and bases are written by the
  // thousand: those are synced once, as a whole, by whoever writes them.
  if (FileExists(fileName_)) encoding_->encoded.Sync();
  encoding_->encoded.Close();
  encoding_.reset();
}

bool TTOMODocumentFile::CommitPart(std::int32_t bytes) {
  try {
    if (!encoding_) BeginEncoding();
    if (!EncodeSome(bytes)) return false;
    EndEncoding();
  } catch (...) {
    encoding_.reset();
    DeleteFileQuietly(fileName_ + kEncodingSuffix);
    throw;
  }
  PutEncodedInPlace();
  return true;
}

void TTOMODocumentFile::PutEncodedInPlace() {
  const std::string plainName = fileName_ + kPlainBodySuffix;
  const std::string encodedName = fileName_ + kEncodingSuffix;
  const std::string completedName = fileName_ + kCompleteSuffix;
  // Until the encoded file is complete under its .new name, the old document
  // stays; only then may it go.
  if (!RenameFileQuietly(encodedName, completedName)) {
    DeleteFileQuietly(encodedName);
    throw ELxException(FormatMessage("Não foi possível gravar o arquivo %s", completedName.c_str()));
  }
  DeleteFileQuietly(plainName);
  DeleteFileQuietly(fileName_);
  RenameFileQuietly(completedName, fileName_);
}

void TTOMODocumentFile::AbandonWrite() {
  FreeStreams();
  if (mode_ == TMode::Writing) DeleteFileQuietly(fileName_ + kPlainBodySuffix);
  mode_ = TMode::Reading;
}

TDateTime TTOMODocumentFile::DocumentDate() const {
  try {
    return StrToDateTime(GetProperty(DocumentDateProperty()));
  } catch (const ELxException&) {
    return 0;
  }
}

void TTOMODocumentFile::ReadHeaderIfUnknown() {
  if (!properties_.empty() || outer_ || body_) return;
  try {
    OpenRead();
  } catch (const std::exception&) {
    // A local document that cannot be read is simply the oldest one.
  }
  FreeStreams();
}

void TTOMODocumentFile::UpdateFrom(TTOMODocument& other) {
  ReadHeaderIfUnknown();
  const TDateTime localDate = DocumentDate();
  TLxStream& source = other.OpenRead();
  try {
    TDateTime otherDate = 0;
    try {
      otherDate = StrToDateTime(other.GetProperty(DocumentDateProperty()));
    } catch (const ELxException&) {
    }
    if (otherDate > localDate) {
      properties_ = other.Properties();
      TLxStream& target = OpenWrite();
      source.SetPosition(0);
      std::vector<char> chunk(TLxFileStream::kBufferSize);
      for (std::int32_t got; (got = source.Read(chunk.data(), static_cast<std::int32_t>(chunk.size()))) > 0;) {
        target.WriteBuffer(chunk.data(), got);
      }
      CloseDocument();
    }
  } catch (...) {
    AbandonWrite();
    other.CloseDocument();
    throw;
  }
  other.CloseDocument();
}
