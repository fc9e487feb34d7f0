// The transfer side of an operation: the HTTP client's events write one
// response body into LocalFile, and a finished transfer posts SavedStep.
#include <cstdio>

#include "ConfigUnit.h"
#include "ExpandIndexFile.h"
#include "LxFileStream.h"
#include "Operation.h"
#include "THttpCli.h"

namespace {

constexpr int kBytesPerKiB = 1024;
// The low 16 bits of a request's result are its error.
constexpr int kErrorBits = 0xFFFF;

int KiB(std::int64_t bytes) { return static_cast<int>(bytes / kBytesPerKiB); }

}  // namespace

std::string TOperation::ErrorTextOf(int error) const {
  // The client's own words say more (a full disk names its file); a result
  // raised by someone else has only its number.
  return httpCli_->ErrorText().empty() ? HttpErrorText(error) : httpCli_->ErrorText();
}

void TOperation::HttpCliDocBegin() {
  try {
    receiveStream_ = std::make_unique<TLxFileStream>(localFile_, TLxFileMode::Create);
  } catch (const std::exception& error) {
    FailOperation(error);
    return;
  }
  receiveFileCreated_ = true;
  httpCli_->SetReceiveStream(receiveStream_.get());
  AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  URL: %s", httpCli_->URL().c_str());
  AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  Arquivo Local: %s", localFile_.c_str());
  AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  Tamanho: %d KiB", KiB(httpCli_->ContentLength()));
}

void TOperation::HttpCliDocData(const char*, int length) {
  SetProgress(progressPosition_ + length);
  batchBytes_ += length;
  if (cancelled_) httpCli_->Abort();
}

void TOperation::HttpCliDocEnd() {
  AddLogFmt(TLogColour::Green, TLogStyle::Plain, "  Encerrado: %s", httpCli_->URL().c_str());
  AddLog("", TLogColour::WindowText);
  try {
    CloseReceiveStream();
  } catch (const std::exception& error) {
    // The last bytes did not reach the disk: the file is not the document.
    FailOperation(error);
  }
}

void TOperation::HttpCliRequestDone(int requestKind, int error) {
  if (failed_) {
    // Already reported where it failed (a step, or the local file).
    DiscardReceivedFile();
  } else if ((error & kErrorBits) == 0) {
    receiveFileCreated_ = false;
    PostStep(savedStep_.Msg, savedStep_.State, savedStep_.Parameter);
  } else {
    DiscardReceivedFile();
    if (requestKind != httpRequestGet && cancelled_) {
      // A HEAD has no body whose failure would tell of the cancel.
      AddLog(kCancelledLine, TLogColour::Red);
    } else {
      // A failed HEAD is told too: a silent stop leaves the user waiting.
      ReportFailedRequest(requestKind, error, ErrorTextOf(error & kErrorBits));
    }
  }
  EndChainUnlessRunning();
}

void TOperation::ReportFailedRequest(int requestKind, int error, const std::string& errorText) {
  failed_ = true;
  AddLogFmt(TLogColour::Red, TLogStyle::Plain, kDownloadErrorLineFormat, requestKind, error & kErrorBits);
  AddLog("  " + (errorText.empty() ? HttpErrorText(error & kErrorBits) : errorText), TLogColour::WindowText);
}

void TOperation::CloseReceiveStream() {
  httpCli_->SetReceiveStream(nullptr);
  if (!receiveStream_) return;
  std::unique_ptr<TLxFileStream> stream = std::move(receiveStream_);
  stream->Close();
}

void TOperation::DiscardReceivedFile() {
  httpCli_->SetReceiveStream(nullptr);
  receiveStream_.reset();  // closes without raising
  if (receiveFileCreated_) std::remove(localFile_.c_str());
  receiveFileCreated_ = false;
}

void TOperation::DecompressIndexFile() { DecompressIndexFile(Config().GetString(DownloadFolder)); }

void TOperation::DecompressIndexFile(const std::string& folder) {
  AddLog(": Descompactando arquivo de índice...", TLogColour::Blue);
  const TIndexFileSizes sizes = ExpandIndexFile(folder);
  AddLogFmt(TLogColour::Green, TLogStyle::Plain, ": Descompactado (%d KiB -> %d KiB)", KiB(sizes.CompressedSize),
            KiB(sizes.ExpandedSize));
}
