#include "RichTextZoom.h"

#include <cmath>
#include <vector>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextTable>

#include "RichTextTables.h"

namespace {

// Kept in the root frame's format, which copies of the document take along.
constexpr int kZoomProperty = QTextFormat::UserProperty + 10;
constexpr double kSameZoom = 1e-9;

void ScaleFont(QFont& font, double ratio) {
  if (font.pixelSize() > 0) {
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pixelSize() * ratio))));
  } else if (font.pointSizeF() > 0) {
    font.setPointSizeF(font.pointSizeF() * ratio);
  }
}

QTextCharFormat ScaledCharFormat(QTextCharFormat format, double ratio) {
  if (format.hasProperty(QTextFormat::FontPointSize)) format.setFontPointSize(format.fontPointSize() * ratio);
  if (format.hasProperty(QTextFormat::FontPixelSize)) {
    format.setProperty(QTextFormat::FontPixelSize, format.doubleProperty(QTextFormat::FontPixelSize) * ratio);
  }
  if (format.isImageFormat()) {
    QTextImageFormat image = format.toImageFormat();
    if (image.hasProperty(QTextFormat::ImageWidth)) image.setWidth(image.width() * ratio);
    if (image.hasProperty(QTextFormat::ImageHeight)) image.setHeight(image.height() * ratio);
    return image;
  }
  return format;
}

QTextBlockFormat ScaledBlockFormat(QTextBlockFormat format, double ratio) {
  format.setLeftMargin(format.leftMargin() * ratio);
  format.setRightMargin(format.rightMargin() * ratio);
  format.setTopMargin(format.topMargin() * ratio);
  format.setBottomMargin(format.bottomMargin() * ratio);
  format.setTextIndent(format.textIndent() * ratio);
  QList<QTextOption::Tab> tabs = format.tabPositions();
  for (QTextOption::Tab& tab : tabs) tab.position *= ratio;
  if (!tabs.isEmpty()) format.setTabPositions(tabs);
  return format;
}

// Formats are collected first: changing a fragment's format merges and
// splits fragments under a running iterator.
struct TFragmentFormat {
  int position;
  int length;
  QTextCharFormat format;
};

void ScaleText(QTextDocument& document, double ratio) {
  std::vector<std::pair<int, QTextBlockFormat>> blocks;
  std::vector<TFragmentFormat> fragments;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    blocks.emplace_back(block.position(), ScaledBlockFormat(block.blockFormat(), ratio));
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      fragments.push_back({fragment.position(), fragment.length(), ScaledCharFormat(fragment.charFormat(), ratio)});
    }
  }
  QTextCursor cursor(&document);
  for (const auto& [position, format] : blocks) {
    cursor.setPosition(position);
    cursor.setBlockFormat(format);
  }
  for (const TFragmentFormat& fragment : fragments) {
    cursor.setPosition(fragment.position);
    cursor.setPosition(fragment.position + fragment.length, QTextCursor::KeepAnchor);
    cursor.setCharFormat(fragment.format);
  }
}

void ScaleTables(QTextFrame& frame, double ratio) {
  for (QTextFrame* child : frame.childFrames()) {
    if (auto* table = qobject_cast<QTextTable*>(child)) table->setFormat(ScaledTableFormat(table->format(), ratio));
    ScaleTables(*child, ratio);
  }
}

}  // namespace

double TextDocumentZoom(const QTextDocument& document) {
  const QTextFrameFormat root = document.rootFrame()->frameFormat();
  return root.hasProperty(kZoomProperty) ? root.doubleProperty(kZoomProperty) : 1.0;
}

void ZoomTextDocument(QTextDocument& document, double factor) {
  const double ratio = factor / TextDocumentZoom(document);
  if (std::abs(ratio - 1.0) < kSameZoom) return;
  QFont font = document.defaultFont();
  ScaleFont(font, ratio);
  document.setDefaultFont(font);
  QTextCursor edit(&document);
  edit.beginEditBlock();
  ScaleText(document, ratio);
  ScaleTables(*document.rootFrame(), ratio);
  QTextFrameFormat root = document.rootFrame()->frameFormat();
  root.setProperty(kZoomProperty, factor);
  document.rootFrame()->setFrameFormat(root);
  edit.endEditBlock();
}
