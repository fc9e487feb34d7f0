#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "LxStrm.h"
#include "LxText.h"

// Names of the properties of a document file's header, in Windows-1252.
const std::string& DocumentDateProperty();      // "Data"
const std::string& DocumentEncodingProperty();  // "Codificação"

// A document of the base: a header of "name: value" lines and a body.
// Subclasses say where the body lives (TTOMODocumentFile: one file).
//
// Property names compare without regard to case and are the exact text before
// a line's first colon, so "Data : x" is not a "Data" line. The last matching
// line wins:
//   line "Data:01/02/2003"   GetProperty("data") gives "01/02/2003"
//   SetProperty("Data", "x") rewrites that line as "Data: x"
class TTOMODocument {
 public:
  virtual ~TTOMODocument() = default;

  // The plain body, owned by the document until CloseDocument.
  virtual TLxStream& OpenRead() = 0;
  // A stream that takes the plain body, owned by the document.
  virtual TLxStream& OpenWrite() = 0;
  // Closes the streams; after writing, stores the document.
  virtual void CloseDocument() = 0;
  // CloseDocument a piece at a time, for a step of a long operation: each
  // call stores at most about `bytes` of a body written; true once the
  // document is closed. Documents that store at once just close.
  virtual bool CloseDocumentPart(std::int32_t /*bytes*/) {
    CloseDocument();
    return true;
  }
  // Takes over the other document when it is newer (by "Data").
  virtual void UpdateFrom(TTOMODocument& other) = 0;
  // Bytes the stored document takes; 0 when unknown.
  virtual std::int32_t GetFileSize() { return 0; }

  // The text after the first colon of the last line with that name, trimmed
  // of blanks and control characters; "" when there is none.
  std::string GetProperty(std::string_view name) const;
  // Replaces the last line with that name by "name: value", or appends one.
  void SetProperty(std::string_view name, std::string_view value);
  // GetProperty(name) equals value without regard to case.
  bool PropertyIs(std::string_view name, std::string_view value) const;

  // The header lines, in order.
  const TLxStringList& Properties() const { return properties_; }
  TLxStringList& Properties() { return properties_; }

 protected:
  // Index of the last line with that name, or -1.
  int FindProperty(std::string_view name) const;

  TLxStringList properties_;
};
