#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "TOMODocument.h"

// Where documents come from. The most recently created set is the program's
// document source until it is destroyed:
//
//   TTOMODocumentFolder folder(dataFolder);       // now DocumentSource()
//   auto doc = DocumentSource()->GetDocument(1234, false);
//   TLxStream& body = doc->OpenRead();
class TTOMODocumentSet {
 public:
  TTOMODocumentSet();
  virtual ~TTOMODocumentSet();
  TTOMODocumentSet(const TTOMODocumentSet&) = delete;
  TTOMODocumentSet& operator=(const TTOMODocumentSet&) = delete;

  // Document `number`; with deleteExisting its stored form is removed first.
  virtual std::unique_ptr<TTOMODocument> GetDocument(std::int32_t number, bool deleteExisting) = 0;
};

// The documents of a data folder, one file each (DocumentFileName).
class TTOMODocumentFolder : public TTOMODocumentSet {
 public:
  // Also becomes the program's document folder.
  explicit TTOMODocumentFolder(const std::string& folder);
  ~TTOMODocumentFolder() override;

  // Raises ELxException "Diretório não existente" unless the folder exists.
  void SetFolder(const std::string& folder);
  const std::string& Folder() const { return folder_; }

  std::unique_ptr<TTOMODocument> GetDocument(std::int32_t number, bool deleteExisting) override;

 private:
  std::string folder_;
};

// The program-wide document source and document folder; nullptr when none
// exists.
TTOMODocumentSet* DocumentSource();
TTOMODocumentFolder* DocumentFolder();
