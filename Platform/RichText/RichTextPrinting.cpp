#include "RichTextPrinting.h"

#include <memory>

#include <QPageLayout>
#include <QTextFrame>
#include <QTextFrameFormat>

#include "RichTextTables.h"
#include "RichTextZoom.h"

namespace {

constexpr double kViewPixelsPerInch = 96.0;
constexpr double kPointsPerInch = 72.0;
constexpr double kMillimetresPerInch = 25.4;

}  // namespace

void PrintRichTextDocument(const QTextDocument& document, QPagedPaintDevice& device) {
  // A document with a page size counts as paginated: QTextDocument::print then
  // keeps its layout and scales the painter from view pixels to the device,
  // where an unpaginated one would be laid out again in device pixels with
  // every pixel measure left unscaled.
  std::unique_ptr<QTextDocument> copy(document.clone());
  ZoomTextDocument(*copy, 1.0);  // paper takes the natural size, whatever the screen's zoom
  const QRectF page = device.pageLayout().paintRect(QPageLayout::Point);
  copy->setPageSize(page.size() * (kViewPixelsPerInch / kPointsPerInch));
  QTextFrameFormat root = copy->rootFrame()->frameFormat();
  root.setMargin(kRichTextPrintMarginMillimetres / kMillimetresPerInch * kViewPixelsPerInch);
  copy->rootFrame()->setFrameFormat(root);
  FitTablesToWidth(*copy);
  copy->print(&device);
}
