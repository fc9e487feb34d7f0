#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "LxDateTime.h"
#include "TOMODocument.h"

// A document stored as one file:
//
//   TOMO.Documento            signature
//   Data: 01/02/2003          header lines "name: value"
//   Codificação: ZLib
//                             empty line
//   <body>                    one zlib block ("ZLib"), or scrambled bytes
//
// The body is scrambled from its first byte when the encoding is "2", and
// from the first byte of the file under any other encoding or none (old
// files). Everything written here is "ZLib".
//
// Writing goes through a commit: the plain body into name.lck, the encoded
// file into name.tmp, renamed to name.new and then to name. OpenRead cleans a
// leftover .lck and .tmp and completes a .new, so a crash at any stage leaves
// either the old document or the new one.
class TTOMODocumentFile : public TTOMODocument {
 public:
  // Measures the file (0 when absent); deletes it when asked.
  TTOMODocumentFile(std::string fileName, bool deleteExisting);
  // Frees the streams and removes this document's leftover .tmp (and a .new
  // that is not a complete document), and the plain body of a write never
  // closed. Never raises.
  ~TTOMODocumentFile() override;
  TTOMODocumentFile(const TTOMODocumentFile&) = delete;
  TTOMODocumentFile& operator=(const TTOMODocumentFile&) = delete;

  // Reads the header and returns the decoded body. Raises ELxException
  // "Formato de arquivo inválido. Nome do arquivo: %s" for a wrong signature,
  // ELxInOutError for a missing file, "Documento já aberto para %s." when the
  // document is already open.
  TLxStream& OpenRead() override;
  // Returns a stream for the plain body (name.lck). Raises "Documento já
  // aberto para leitura." / "... escrita." when the document is open.
  TLxStream& OpenWrite() override;
  // Closes the streams; after OpenWrite, encodes the body with the current
  // properties (Codificação set to ZLib) and puts the file in place.
  void CloseDocument() override;
  // The same, encoding at most `bytes` of the plain body a call; false while
  // some is left. A document being closed is still open for OpenRead and
  // OpenWrite.
  bool CloseDocumentPart(std::int32_t bytes) override;
  // Replaces this document by the other when the other's "Data" is later
  // (a missing or unreadable local document counts as oldest).
  void UpdateFrom(TTOMODocument& other) override;
  // The file's size when created and after each CloseDocument.
  std::int32_t GetFileSize() override { return fileSize_; }

  const std::string& FileName() const { return fileName_; }

 private:
  enum class TMode { Reading, Writing };

  void FreeStreams();
  [[noreturn]] void RaiseAlreadyOpen() const;
  void CompleteInterruptedCommit();
  // The commit's encoded file (name.tmp), written a piece at a time.
  struct TEncoding;
  void BeginEncoding();
  // Encodes up to `bytes` more of the plain body; true once all of it is.
  bool EncodeSome(std::int32_t bytes);
  void EndEncoding();
  // The commit, up to `bytes` of its encoding a call; true once committed.
  bool CommitPart(std::int32_t bytes);
  // The complete encoded file replaces the stored document.
  void PutEncodedInPlace();
  // Drops a body being written, leaving the stored document as it was.
  void AbandonWrite();
  // The document's "Data" as a date-time; 0 when missing or not a date.
  TDateTime DocumentDate() const;
  void ReadHeaderIfUnknown();

  std::string fileName_;
  std::int32_t fileSize_ = 0;
  std::unique_ptr<TLxStream> outer_;
  std::unique_ptr<TLxStream> body_;
  TMode mode_ = TMode::Reading;
  std::unique_ptr<TEncoding> encoding_;
};
