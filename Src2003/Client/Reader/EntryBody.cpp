#include "EntryBody.h"

#include <memory>

#include "DocumentBaseUnit.h"
#include "TOMODocument.h"
#include "TOMODocumentSet.h"
#include "ErrorDisplay.h"
#include "InstalledCollection.h"
#include "LxExcept.h"
#include "LxText.h"
#include "TOMONode.h"
#include "WaitCursor.h"

namespace {

// The document source hands out documents that must be closed whatever happens.
class TOpenDocument {
 public:
  explicit TOpenDocument(std::int32_t number) {
    if (!DocumentSource()) throw ELxException("Diretório não existente");
    document_ = DocumentSource()->GetDocument(number, false);
  }
  ~TOpenDocument() {
    try {
      document_->CloseDocument();
    } catch (...) {
    }
  }
  TOpenDocument(const TOpenDocument&) = delete;
  TOpenDocument& operator=(const TOpenDocument&) = delete;
  TTOMODocument* operator->() const { return document_.get(); }

 private:
  std::unique_ptr<TTOMODocument> document_;
};

}  // namespace

TTOMODocumentBody ReadEntryBody(TTOMONode& entry, bool factsRequired) {
  TOpenDocument document(entry.Record().DocumentNumber);
  TTOMODocumentBody body = ReadDocumentBody(document->OpenRead());
  if (factsRequired || body.Values.Count() > 0) {
    entry.SetDocumentDate(StrToDateTime(body.Values.Values(kBodyDateValue)));
    entry.SetDocumentSize(document->GetFileSize());
  }
  return body;
}

void SaveLearnedFacts(TInstalledCollection* collection) {
  if (!collection) return;
  try {
    TWaitCursor wait;
    collection->SaveTreeIfChanged();
  } catch (...) {
    ShowCurrentError();
  }
}
