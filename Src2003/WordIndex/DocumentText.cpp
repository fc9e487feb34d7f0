#include "DocumentText.h"

#include "LxExcept.h"
#include "RichTextPlainText.h"
#include "RtfReader.h"
#include "TOMODocumentBody.h"
#include "TOMODocumentSet.h"

std::string ReadDocumentText(TTOMODocumentSet& documents, std::int32_t documentNumber) {
  const std::unique_ptr<TTOMODocument> document = documents.GetDocument(documentNumber, false);
  // The body's "Tamanho" bytes after its header are the rich text; the link
  // section after them is not text.
  std::string content = ReadDocumentBody(document->OpenRead()).Content;
  document->CloseDocument();
  const TRichTextDocument rich = ReadRichText(content);
  if (!rich.damage.empty()) {
    throw ELxException(FormatMessage("Documento %d danificado: %s", static_cast<int>(documentNumber),
                                     rich.damage.c_str()));
  }
  return RichTextPlainText(rich);
}
