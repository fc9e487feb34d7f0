// The RTF reader: the document model and the plain text the word index takes.

#include "FuzzSupport.h"
#include "RichTextPlainText.h"
#include "RtfReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const TRichTextDocument document = ReadRichText(AsText(data, size));
  (void)RichTextPlainText(document);
  return 0;
}
