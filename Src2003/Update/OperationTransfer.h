#pragma once

// TOperationTransfer: the transfers of an update (the Internet update's
// index file; any operation a test or a benchmark builds around one GET).
// It owns the HTTP client with the proxy of the settings, writes a response
// body into LocalFile, and posts SavedStep to its operation when the request
// succeeds; a failure ends the operation's chain. Only the operations that
// transfer compose one: the index build and the document list refresh do
// not.
//
//   TOperationTransfer transfer(operation);   // proxy read from the settings now
//   transfer.SetLocalFile(PathJoin(folder, "tomoidxz.dat"));
//   transfer.SavedStep() = {WM_OPERATIONSTEP, kNextState, 0, 0};
//   transfer.HttpCli().SetURL(url);
//   transfer.HttpCli().Get();                 // its success posts kNextState
//
// A failed GET logs "# Erro no download! Código do erro: 001.404".
//
// It also keeps a header block (lines up to the first empty one) read from
// a stream of its own, for the header lookups of HeaderLines.h.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "LxText.h"
#include "OperationStep.h"

class TLxFileStream;
class TLxStream;
class THttpCli;
class TOperation;

class TOperationTransfer {
 public:
  // What the requests of an operation send (the transfer window's settings).
  static constexpr char kAgent[] = "Mozilla/3.0 (compatible)";
  static constexpr char kAccept[] = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";

  // Reads the proxy of its requests from the settings (ProxyServer,
  // ProxyPort, ProxyUserName, ProxyPassword), now; an empty port is 80.
  explicit TOperationTransfer(TOperation& operation);
  ~TOperationTransfer();

  THttpCli& HttpCli() const { return *httpCli_; }
  // The file the next body is written to.
  const std::string& LocalFile() const { return localFile_; }
  void SetLocalFile(std::string file) { localFile_ = std::move(file); }
  // The step a successful request posts.
  TOperationStep& SavedStep() { return savedStep_; }
  // Body bytes received since the update last reset it: every chunk adds
  // its length, and the Internet update counts its batches by it.
  std::int64_t BatchBytes() const { return batchBytes_; }
  void SetBatchBytes(std::int64_t bytes) { batchBytes_ = bytes; }

  // The client's events. Begin: LocalFile is created (replacing a file of
  // that name) and receives the body; URL, file and size are logged.
  void HttpCliDocBegin();
  // A piece of the body: the operation's progress and BatchBytes move on by
  // `length`; a cancelled operation aborts the request.
  void HttpCliDocData(const char* buffer, int length);
  // The whole body: "  Encerrado: <URL>", an empty line, LocalFile closed.
  void HttpCliDocEnd();
  // Success posts SavedStep. A failure ends the chain, and a LocalFile
  // begun by this request is deleted: a torn body is nobody's document.
  void HttpCliRequestDone(int requestKind, int error);
  // A request that failed ends the chain: "# Erro no download! Código do
  // erro: 001.404" and the error in words on the detail line.
  void ReportFailedRequest(int requestKind, int error, const std::string& errorText);
  // Detaches the receive stream from the client and closes its file
  // (raising when the file system refuses the last bytes).
  void CloseReceiveStream();

  // Expands tomoidxz.dat of the download folder (setting DownloadFolder)
  // into tomoidx.dat beside it, logging both sizes in KiB.
  void DecompressIndexFile();
  // The same for the tomoidxz.dat of `folder`.
  void DecompressIndexFile(const std::string& folder);

  // --- Header block (HeaderLines.h) ------------------------------------------
  TLxStream* InStream() const { return inStream_.get(); }
  void SetInStream(std::unique_ptr<TLxStream> stream);
  // Clears Header and reads lines from InStream up to the first empty line or
  // the end of the stream.
  void ReadHeader();
  const TLxStringList& Header() const { return header_; }
  int FindHeaderLine(std::string_view name) const;
  std::string HeaderValue(std::string_view name) const;

 private:
  // After a failed transfer: closes the receive stream without raising and
  // deletes LocalFile if this request created it.
  void DiscardReceivedFile();
  // The words for a failed request's error.
  std::string ErrorTextOf(int error) const;

  TOperation& operation_;
  std::string localFile_;
  TOperationStep savedStep_;
  std::int64_t batchBytes_ = 0;
  std::unique_ptr<TLxStream> inStream_;
  TLxStringList header_;
  // The file a body is being written to, and whether the running request
  // created it. The client only borrows it, so the client goes first.
  std::unique_ptr<TLxFileStream> receiveStream_;
  bool receiveFileCreated_ = false;
  std::unique_ptr<THttpCli> httpCli_;
};
