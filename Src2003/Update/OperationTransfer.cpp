#include "OperationTransfer.h"

#include <cstdio>

#include "ConfigUnit.h"
#include "ExpandIndexFile.h"
#include "HeaderLines.h"
#include "LxFileStream.h"
#include "LxLineIO.h"
#include "Operation.h"
#include "THttpCli.h"

namespace {

constexpr int kBytesPerKiB = 1024;
// The low 16 bits of a request's result are its error.
constexpr int kErrorBits = 0xFFFF;

int KiB(std::int64_t bytes) { return static_cast<int>(bytes / kBytesPerKiB); }

}  // namespace

TOperationTransfer::TOperationTransfer(TOperation& operation)
    : operation_(operation), httpCli_(std::make_unique<THttpCli>()) {
  THttpCli& http = *httpCli_;
  http.SetAgent(kAgent);
  http.SetAccept(kAccept);
  http.SetNoCache(false);
  http.SetProxy(Config().GetString(ProxyServer));
  http.SetProxyPort(Config().GetString(ProxyPort));
  http.SetProxyUsername(Config().GetString(ProxyUserName));
  http.SetProxyPassword(Config().GetString(ProxyPassword));
  QObject::connect(&http, &THttpCli::DocBegin, &operation, [this] { HttpCliDocBegin(); });
  QObject::connect(&http, &THttpCli::DocData, &operation,
                   [this](const char* buffer, int length) { HttpCliDocData(buffer, length); });
  QObject::connect(&http, &THttpCli::DocEnd, &operation, [this] { HttpCliDocEnd(); });
  QObject::connect(&http, &THttpCli::RequestDone, &operation,
                   [this](int kind, int error) { HttpCliRequestDone(kind, error); });
}

TOperationTransfer::~TOperationTransfer() {
  // The client lets go of the receive stream before it is freed.
  httpCli_.reset();
}

std::string TOperationTransfer::ErrorTextOf(int error) const {
  // The client's own words say more (a full disk names its file); a result
  // raised by someone else has only its number.
  return httpCli_->ErrorText().empty() ? HttpErrorText(error) : httpCli_->ErrorText();
}

void TOperationTransfer::HttpCliDocBegin() {
  try {
    receiveStream_ = std::make_unique<TLxFileStream>(localFile_, TLxFileMode::Create);
  } catch (const std::exception& error) {
    operation_.FailOperation(error);
    return;
  }
  receiveFileCreated_ = true;
  httpCli_->SetReceiveStream(receiveStream_.get());
  TOperationReport& report = operation_.Report();
  report.AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  URL: %s", httpCli_->URL().c_str());
  report.AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  Arquivo Local: %s", localFile_.c_str());
  report.AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  Tamanho: %d KiB", KiB(httpCli_->ContentLength()));
}

void TOperationTransfer::HttpCliDocData(const char*, int length) {
  TOperationReport& report = operation_.Report();
  report.SetProgress(report.ProgressPosition() + length);
  batchBytes_ += length;
  if (operation_.Cancelled()) httpCli_->Abort();
}

void TOperationTransfer::HttpCliDocEnd() {
  operation_.Report().AddLogFmt(TLogColour::Green, TLogStyle::Plain, "  Encerrado: %s", httpCli_->URL().c_str());
  operation_.Report().AddLog("", TLogColour::WindowText);
  try {
    CloseReceiveStream();
  } catch (const std::exception& error) {
    // The last bytes did not reach the disk: the file is not the document.
    operation_.FailOperation(error);
  }
}

void TOperationTransfer::HttpCliRequestDone(int requestKind, int error) {
  if (operation_.Failed()) {
    // Already reported where it failed (a step, or the local file).
    DiscardReceivedFile();
  } else if ((error & kErrorBits) == 0) {
    receiveFileCreated_ = false;
    operation_.PostStep(savedStep_.Msg, savedStep_.State, savedStep_.Parameter);
  } else {
    DiscardReceivedFile();
    if (requestKind != httpRequestGet && operation_.Cancelled()) {
      // A HEAD has no body whose failure would tell of the cancel.
      operation_.Report().AddLog(kCancelledLine, TLogColour::Red);
    } else {
      // A failed HEAD is told too: a silent stop leaves the user waiting.
      ReportFailedRequest(requestKind, error, ErrorTextOf(error & kErrorBits));
    }
  }
  operation_.EndChainUnlessRunning();
}

void TOperationTransfer::ReportFailedRequest(int requestKind, int error, const std::string& errorText) {
  operation_.MarkFailed();
  TOperationReport& report = operation_.Report();
  report.AddLogFmt(TLogColour::Red, TLogStyle::Plain, kDownloadErrorLineFormat, requestKind, error & kErrorBits);
  report.AddLog("  " + (errorText.empty() ? HttpErrorText(error & kErrorBits) : errorText), TLogColour::WindowText);
}

void TOperationTransfer::CloseReceiveStream() {
  httpCli_->SetReceiveStream(nullptr);
  if (!receiveStream_) return;
  std::unique_ptr<TLxFileStream> stream = std::move(receiveStream_);
  stream->Close();
}

void TOperationTransfer::DiscardReceivedFile() {
  httpCli_->SetReceiveStream(nullptr);
  receiveStream_.reset();  // closes without raising
  if (receiveFileCreated_) std::remove(localFile_.c_str());
  receiveFileCreated_ = false;
}

void TOperationTransfer::DecompressIndexFile() { DecompressIndexFile(Config().GetString(DownloadFolder)); }

void TOperationTransfer::DecompressIndexFile(const std::string& folder) {
  TOperationReport& report = operation_.Report();
  report.AddLog(": Descompactando arquivo de índice...", TLogColour::Blue);
  const TIndexFileSizes sizes = ExpandIndexFile(folder);
  report.AddLogFmt(TLogColour::Green, TLogStyle::Plain, ": Descompactado (%d KiB -> %d KiB)",
                   KiB(sizes.CompressedSize), KiB(sizes.ExpandedSize));
}

// --- Header block -------------------------------------------------------------------

void TOperationTransfer::SetInStream(std::unique_ptr<TLxStream> stream) { inStream_ = std::move(stream); }

void TOperationTransfer::ReadHeader() {
  header_.clear();
  if (!inStream_) throw ELxAssertionFailed("Nenhum arquivo aberto para leitura do cabeçalho", "UpdateBaseUnit");
  ReadLines(*inStream_, header_);
}

int TOperationTransfer::FindHeaderLine(std::string_view name) const { return ::FindHeaderLine(header_, name); }

std::string TOperationTransfer::HeaderValue(std::string_view name) const { return ::HeaderValue(header_, name); }
