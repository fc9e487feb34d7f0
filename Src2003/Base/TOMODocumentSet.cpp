#include "TOMODocumentSet.h"

#include "DocumentFileName.h"
#include "LxExcept.h"
#include "LxFilUtl.h"
#include "TOMODocumentFile.h"

namespace {

TTOMODocumentSet* documentSource = nullptr;
TTOMODocumentFolder* documentFolder = nullptr;

}  // namespace

TTOMODocumentSet* DocumentSource() { return documentSource; }
TTOMODocumentFolder* DocumentFolder() { return documentFolder; }

TTOMODocumentSet::TTOMODocumentSet() { documentSource = this; }

TTOMODocumentSet::~TTOMODocumentSet() {
  if (documentSource == this) documentSource = nullptr;
}

TTOMODocumentFolder::TTOMODocumentFolder(const std::string& folder) {
  SetFolder(folder);
  documentFolder = this;
}

TTOMODocumentFolder::~TTOMODocumentFolder() {
  if (documentFolder == this) documentFolder = nullptr;
}

void TTOMODocumentFolder::SetFolder(const std::string& folder) {
  if (!DirectoryExists(folder)) throw ELxException("Diretório não existente");
  folder_ = folder;
}

std::unique_ptr<TTOMODocument> TTOMODocumentFolder::GetDocument(std::int32_t number, bool deleteExisting) {
  return std::make_unique<TTOMODocumentFile>(DocumentFileName(folder_, number), deleteExisting);
}
