#include "RichTextTables.h"

#include <algorithm>
#include <numeric>

#include <QBrush>
#include <QColor>
#include <QList>
#include <QTextFrame>
#include <QTextLength>
#include <QTextTable>
#include <QVariant>

#include "RichTextUnits.h"

namespace {

// What the RTF gave the table, kept in its format for fitting it to a width:
// the columns' widths and the left edge in pixels, and the alignment.
constexpr int kNaturalColumnWidthsProperty = QTextFormat::UserProperty + 2;
constexpr int kNaturalLeftEdgeProperty = QTextFormat::UserProperty + 3;
constexpr int kAlignmentProperty = QTextFormat::UserProperty + 4;
// A border the RTF draws thinner than this would vanish on screen.
constexpr double kMinBorderPixels = 1.0;
// A double line needs room for two lines and the gap between them.
constexpr double kMinDoubleBorderPixels = 3.0;
constexpr double kDoubleBorderLines = 3.0;

// The column widths of the first row whose cell edges all increase from the
// row's left edge; none when no row has them.
QList<qreal> NaturalColumnWidths(const TRichTable& table) {
  for (const TRichTableRow& row : table.rows) {
    QList<qreal> widths;
    int left = row.format.leftEdge;
    for (const TRichTableCell& cell : row.cells) {
      if (cell.format.rightEdge <= left) break;
      widths.append(Pixels(cell.format.rightEdge - left));
      left = cell.format.rightEdge;
    }
    if (widths.size() == static_cast<qsizetype>(row.cells.size())) return widths;
  }
  return {};
}

qreal TotalOf(const QList<qreal>& widths) { return std::accumulate(widths.begin(), widths.end(), qreal(0)); }

// Fixed columns, and the table as wide as they are: a table of unset width
// takes the whole line, which moves a centred or right-aligned one.
void SetColumnWidths(QTextTableFormat& format, const QList<qreal>& widths, qreal scale) {
  QVector<QTextLength> lengths;
  lengths.reserve(widths.size());
  for (qreal width : widths) lengths.append(QTextLength(QTextLength::FixedLength, width * scale));
  format.setColumnWidthConstraints(lengths);
  format.setWidth(QTextLength(QTextLength::FixedLength, TotalOf(widths) * scale));
}

QTextFrameFormat::BorderStyle BorderStyleOf(TRichBorderStyle style) {
  switch (style) {
    case TRichBorderStyle::None: return QTextFrameFormat::BorderStyle_None;
    case TRichBorderStyle::Double: return QTextFrameFormat::BorderStyle_Double;
    case TRichBorderStyle::Dotted: return QTextFrameFormat::BorderStyle_Dotted;
    case TRichBorderStyle::Dashed: return QTextFrameFormat::BorderStyle_Dashed;
    case TRichBorderStyle::Single: break;
  }
  return QTextFrameFormat::BorderStyle_Solid;
}

struct TBorderLook {
  qreal width;
  QTextFrameFormat::BorderStyle style;
  QBrush brush;
};

TBorderLook BorderLookOf(const TRichBorder& border) {
  if (border.style == TRichBorderStyle::None) return {0, QTextFrameFormat::BorderStyle_None, QBrush()};
  qreal width = std::max(Pixels(border.widthTwips), kMinBorderPixels);
  if (border.style == TRichBorderStyle::Double) {
    width = std::max(width * kDoubleBorderLines, kMinDoubleBorderPixels);
  }
  const QColor color = border.color == kAutoColor ? QColor(Qt::black) : ColorOf(border.color);
  return {width, BorderStyleOf(border.style), QBrush(color)};
}

int PaddingOf(int cell, int row, int halfGap) {
  if (cell != kUnsetPadding) return cell;
  if (row != kUnsetPadding) return row;
  return halfGap;
}

// Where the table starts: a centred or right-aligned one is placed here
// rather than by the frame's alignment, which measures from the wrong edge
// on a page with margins.
qreal LeftEdgeOf(const QTextTableFormat& format, qreal width, qreal available) {
  switch (static_cast<TRichAlignment>(format.intProperty(kAlignmentProperty))) {
    case TRichAlignment::Center: return std::max(qreal(0), (available - width) / 2);
    case TRichAlignment::Right: return std::max(qreal(0), available - width);
    case TRichAlignment::Left:
    case TRichAlignment::Justify: break;
  }
  return format.doubleProperty(kNaturalLeftEdgeProperty);
}

void FitTable(QTextTable& table, qreal available) {
  QTextTableFormat format = table.format();
  const QList<qreal> natural = format.property(kNaturalColumnWidthsProperty).value<QList<qreal>>();
  if (natural.isEmpty()) return;
  const qreal total = TotalOf(natural);
  const qreal room = available - std::max(format.doubleProperty(kNaturalLeftEdgeProperty), qreal(0));
  const qreal scale = total > room && total > 0 && room > 0 ? room / total : 1.0;
  QTextTableFormat fitted = format;
  SetColumnWidths(fitted, natural, scale);
  fitted.setLeftMargin(LeftEdgeOf(format, total * scale, available));
  if (fitted == format) return;
  table.setFormat(fitted);
}

void FitTablesIn(QTextFrame& frame, qreal available) {
  for (QTextFrame* child : frame.childFrames()) {
    if (auto* table = qobject_cast<QTextTable*>(child)) FitTable(*table, available);
  }
}

}  // namespace

QTextTableFormat TableFormatOf(const TRichTable& table) {
  QTextTableFormat format;
  format.setBorderCollapse(true);
  format.setBorder(0);
  format.setCellSpacing(0);
  format.setCellPadding(0);
  format.setMargin(0);
  const QList<qreal> widths = NaturalColumnWidths(table);
  if (widths.isEmpty()) return format;
  // \trleft places the first cell's edge; its text starts one inner margin
  // further in, so a row at -108 with a gap of 108 has its text on the margin.
  const TRichRowFormat& row = table.rows.front().format;
  format.setLeftMargin(Pixels(row.leftEdge));
  format.setProperty(kNaturalLeftEdgeProperty, Pixels(row.leftEdge));
  format.setProperty(kAlignmentProperty, static_cast<int>(row.alignment));
  format.setProperty(kNaturalColumnWidthsProperty, QVariant::fromValue(widths));
  SetColumnWidths(format, widths, 1.0);
  return format;
}

QTextTableCellFormat CellFormatOf(const TRichRowFormat& row, const TRichCellFormat& cell) {
  QTextTableCellFormat format;
  const TBorderLook top = BorderLookOf(cell.top);
  const TBorderLook left = BorderLookOf(cell.left);
  const TBorderLook bottom = BorderLookOf(cell.bottom);
  const TBorderLook right = BorderLookOf(cell.right);
  // A word processor draws the border on the cell's edge and starts the text
  // one inner margin from that edge; the view starts the padding after the
  // border, so the border comes out of the padding.
  const qreal leftPadding = Pixels(PaddingOf(cell.paddingLeft, row.paddingLeft, row.halfGap));
  const qreal rightPadding = Pixels(PaddingOf(cell.paddingRight, row.paddingRight, row.halfGap));
  format.setLeftPadding(std::max(qreal(0), leftPadding - left.width));
  format.setRightPadding(std::max(qreal(0), rightPadding - right.width));
  format.setTopPadding(0);
  format.setBottomPadding(0);
  format.setTopBorder(top.width);
  format.setTopBorderStyle(top.style);
  format.setTopBorderBrush(top.brush);
  format.setLeftBorder(left.width);
  format.setLeftBorderStyle(left.style);
  format.setLeftBorderBrush(left.brush);
  format.setBottomBorder(bottom.width);
  format.setBottomBorderStyle(bottom.style);
  format.setBottomBorderBrush(bottom.brush);
  format.setRightBorder(right.width);
  format.setRightBorderStyle(right.style);
  format.setRightBorderBrush(right.brush);
  if (cell.background != kAutoColor) format.setBackground(ColorOf(cell.background));
  switch (cell.verticalAlignment) {
    case TRichCellAlignment::Center: format.setVerticalAlignment(QTextCharFormat::AlignMiddle); break;
    case TRichCellAlignment::Bottom: format.setVerticalAlignment(QTextCharFormat::AlignBottom); break;
    case TRichCellAlignment::Top: break;
  }
  return format;
}

QTextTableFormat ScaledTableFormat(QTextTableFormat format, qreal ratio) {
  QList<qreal> natural = format.property(kNaturalColumnWidthsProperty).value<QList<qreal>>();
  for (qreal& width : natural) width *= ratio;
  if (!natural.isEmpty()) format.setProperty(kNaturalColumnWidthsProperty, QVariant::fromValue(natural));
  if (format.hasProperty(kNaturalLeftEdgeProperty)) {
    format.setProperty(kNaturalLeftEdgeProperty, format.doubleProperty(kNaturalLeftEdgeProperty) * ratio);
  }
  QVector<QTextLength> columns = format.columnWidthConstraints();
  for (QTextLength& column : columns) {
    if (column.type() == QTextLength::FixedLength) column = QTextLength(QTextLength::FixedLength, column.rawValue() * ratio);
  }
  format.setColumnWidthConstraints(columns);
  if (format.width().type() == QTextLength::FixedLength) {
    format.setWidth(QTextLength(QTextLength::FixedLength, format.width().rawValue() * ratio));
  }
  format.setLeftMargin(format.leftMargin() * ratio);
  return format;
}

void FitTablesToWidth(QTextDocument& document) {
  const qreal width = document.textWidth();
  if (width <= 0) return;
  const QTextFrameFormat root = document.rootFrame()->frameFormat();
  const qreal available = width - root.leftMargin() - root.rightMargin() - 2 * (root.border() + root.padding());
  FitTablesIn(*document.rootFrame(), available);
}
