// The text view's document: a document body read and built into the view's
// QTextDocument (fonts, tables, tab stops, pictures decoded by Qt), then laid
// out at a window's width, on Qt's offscreen platform. Every character of the
// word index's plain text has its position in the view, so hits are marked
// where they were found: the two lengths must agree.

#include <QGuiApplication>
#include <QSizeF>
#include <QTextDocument>

#include <cstdlib>
#include <memory>

#include "FuzzSupport.h"
#include "RichTextPlainText.h"
#include "RichTextView.h"
#include "RtfReader.h"

namespace {
constexpr double kViewWidthPixels = 640;

// Positions of the plain text, a CR LF counting as one.
int ViewPositions(const std::string& plain) {
  int positions = 0;
  for (size_t i = 0; i < plain.size(); ++i) {
    if (plain[i] == '\r' && i + 1 < plain.size() && plain[i + 1] == '\n') ++i;
    ++positions;
  }
  return positions;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication application(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const TRichTextDocument model = ReadRichText(AsText(data, size));
  const std::unique_ptr<QTextDocument> view = BuildTextDocument(model);
  view->setTextWidth(kViewWidthPixels);
  (void)view->size();  // lays the whole document out
  // QTextDocument always ends with one paragraph separator of its own.
  if (view->characterCount() - 1 != ViewPositions(RichTextPlainText(model))) std::abort();
  return 0;
}
