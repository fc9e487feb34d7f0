#include "DocumentPrinting.h"

#include <QPainter>
#include <QPrinter>
#include <QTextDocument>

#include "LxExcept.h"
#include "RichTextPrinting.h"

QRectF BitmapPrintRect(QSizeF imagePixels, QSizeF printableTwips) {
  QSizeF size = imagePixels * kTwipsPerBitmapPixel;
  const double usableWidth = printableTwips.width() - kRightReserve - kBitmapMargin;
  const double usableHeight = printableTwips.height() - kBottomReserve - kBitmapMargin;
  if (size.width() > usableWidth && size.width() > 0) size *= usableWidth / size.width();
  if (size.height() > usableHeight && size.height() > 0) size *= usableHeight / size.height();
  return {QPointF(kBitmapMargin, kBitmapMargin), size};
}

void PrintTextDocument(const QTextDocument& document, const QString& title, QPrinter& printer) {
  printer.setDocName(title);
  PrintRichTextDocument(document, printer);
}

void PrintBitmap(const QImage& image, const QString& title, QPrinter& printer) {
  printer.setDocName(title);
  QPainter painter;
  if (!painter.begin(&printer)) throw ELxException("Não foi possível iniciar a impressão.");
  const double devicePerTwip = printer.resolution() / kTwipsPerInch;
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  const QSizeF printableTwips(page.width() / devicePerTwip, page.height() / devicePerTwip);
  const QRectF twips = BitmapPrintRect(image.size(), printableTwips);
  const QRectF target(twips.x() * devicePerTwip, twips.y() * devicePerTwip, twips.width() * devicePerTwip,
                      twips.height() * devicePerTwip);
  painter.drawImage(target, image);
  painter.end();
}
