#include "RichTextView.h"

#include <algorithm>
#include <deque>
#include <utility>

#include <QColor>
#include <QImage>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>

#include "RichTextLayout.h"
#include "RichTextTables.h"
#include "RichTextTabs.h"
#include "RichTextUnits.h"
#include "RtfReader.h"

namespace {

constexpr double kHalfPointsPerPoint = 2.0;
constexpr int kMaxPictureSidePixels = 4096;
constexpr char kPictureUrlScheme[] = "rtfpicture";
constexpr size_t kCachedCharFormats = 16;

QString ToQString(const std::u16string& text) { return QString::fromStdU16String(text); }

Qt::Alignment AlignmentOf(TRichAlignment alignment) {
  switch (alignment) {
    case TRichAlignment::Right: return Qt::AlignRight;
    case TRichAlignment::Center: return Qt::AlignHCenter;
    case TRichAlignment::Justify: return Qt::AlignJustify;
    case TRichAlignment::Left: break;
  }
  return Qt::AlignLeft;
}

// Tab stops only matter to a paragraph that has a tab, and most have none.
QTextBlockFormat BlockFormatOf(const TRichParagraphFormat& format, int defaultTabTwips, bool hasTab) {
  QTextBlockFormat block;
  if (hasTab) block.setTabPositions(TabStopsOf(format, defaultTabTwips));
  block.setAlignment(AlignmentOf(format.alignment));
  block.setLeftMargin(Pixels(format.leftIndent));
  block.setRightMargin(Pixels(format.rightIndent));
  block.setTextIndent(Pixels(format.firstLineIndent));
  block.setTopMargin(Pixels(format.spaceBefore));
  block.setBottomMargin(Pixels(format.spaceAfter));
  if (format.pageBreakBefore) block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
  return block;
}

class TTextDocumentWriter final : public TRichTextVisitor {
 public:
  TTextDocumentWriter(const TRichTextDocument& source, QTextDocument& target)
      : source_(source), target_(target), cursor_(&target) {
    fonts_.reserve(static_cast<int>(source.fonts.size()));
    for (const std::u16string& font : source.fonts) fonts_.push_back(ToQString(font));
    AddPictureResources();
  }

  void Paragraph(const TRichParagraph& paragraph) override {
    // A break already gave its block the format; blocks that QTextDocument
    // made itself (the first one, those in cells and after tables) need it.
    if (std::exchange(blockNeedsFormat_, false)) cursor_.setBlockFormat(CachedBlockFormat(paragraph));
    const QString text = ToQString(paragraph.text);
    for (const TRichRun& run : paragraph.runs) {
      if (run.picture >= 0) {
        cursor_.insertImage(ImageFormatOf(run));
      } else {
        cursor_.insertText(text.mid(run.start, run.length), CachedCharFormat(run.format));
      }
    }
  }

  void ParagraphBreak(const TRichParagraph& next) override {
    cursor_.insertBlock(CachedBlockFormat(next));
  }

  void TableStart(const TRichTable& table) override {
    table_ = cursor_.insertTable(static_cast<int>(table.rows.size()), table.columnCount, TableFormatOf(table));
    tableSource_ = &table;
  }

  void CellStart(int row, int column) override {
    const TRichTableRow& source = tableSource_->rows[row];
    QTextTableCell cell = table_->cellAt(row, column);
    cell.setFormat(CellFormatOf(source.format, source.cells[column].format));
    cursor_ = cell.firstCursorPosition();
    blockNeedsFormat_ = true;
  }

  void TableEnd() override {
    // The block that QTextDocument keeps after every table.
    cursor_ = QTextCursor(&target_);
    cursor_.setPosition(table_->lastPosition() + 1);
    table_ = nullptr;
    tableSource_ = nullptr;
    blockNeedsFormat_ = true;
  }

 private:
  // Documents use a handful of formats over and over, and building a
  // QTextCharFormat costs more than inserting the text it formats.
  const QTextCharFormat& CachedCharFormat(const TRichCharFormat& format) {
    for (const auto& [model, chars] : charFormats_) {
      if (model == format) return chars;
    }
    if (charFormats_.size() == kCachedCharFormats) charFormats_.pop_back();
    charFormats_.emplace_front(format, CharFormatOf(format));
    return charFormats_.front().second;
  }

  const QTextBlockFormat& CachedBlockFormat(const TRichParagraph& paragraph) {
    const bool hasTab = paragraph.text.find(kTabCharacter) != std::u16string::npos;
    if (!(lastBlockFormat_.format == paragraph.format) || lastBlockFormat_.hasTab != hasTab) {
      lastBlockFormat_ = {paragraph.format, hasTab, BlockFormatOf(paragraph.format, source_.defaultTabTwips, hasTab)};
    }
    return lastBlockFormat_.block;
  }

  QTextCharFormat CharFormatOf(const TRichCharFormat& format) const {
    QTextCharFormat chars;
    const int font = format.font >= 0 ? format.font : source_.defaultFont;
    if (font >= 0 && font < fonts_.size()) chars.setFontFamilies({fonts_[font]});
    chars.setFontPointSize(format.sizeHalfPoints / kHalfPointsPerPoint);
    if (format.bold) chars.setFontWeight(QFont::Bold);
    if (format.italic) chars.setFontItalic(true);
    if (format.underline) chars.setFontUnderline(true);
    if (format.strikeOut) chars.setFontStrikeOut(true);
    if (format.foreground != kAutoColor) chars.setForeground(ColorOf(format.foreground));
    if (format.background != kAutoColor) chars.setBackground(ColorOf(format.background));
    if (format.verticalAlign == TRichVerticalAlign::Superscript) {
      chars.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    } else if (format.verticalAlign == TRichVerticalAlign::Subscript) {
      chars.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    }
    if (format.link >= 0) {
      chars.setAnchor(true);
      chars.setAnchorHref(QString::fromStdString(source_.links[format.link].url));
    }
    return chars;
  }

  static QUrl PictureUrl(int index) {
    return QUrl(QString("%1:%2").arg(kPictureUrlScheme).arg(index));
  }

  // A picture the view decodes shows at its declared size, or its own when
  // it declares none; one it cannot decode is blank at its declared size and
  // takes no room without one, as a word processor shows a picture it
  // cannot draw.
  QTextImageFormat ImageFormatOf(const TRichRun& run) const {
    QTextImageFormat image;
    image.merge(CharFormatOf(run.format));
    image.setName(PictureUrl(run.picture).toString());
    const TRichPicture& picture = source_.pictures[run.picture];
    const bool declared = picture.widthTwips > 0 && picture.heightTwips > 0;
    if (declared) {
      image.setWidth(std::min<double>(Pixels(picture.widthTwips), kMaxPictureSidePixels));
      image.setHeight(std::min<double>(Pixels(picture.heightTwips), kMaxPictureSidePixels));
    } else if (!decoded_[run.picture]) {
      image.setWidth(0);
      image.setHeight(0);
    }
    return image;
  }

  void AddPictureResources() {
    decoded_.assign(source_.pictures.size(), false);
    for (size_t i = 0; i < source_.pictures.size(); ++i) {
      QImage image = DecodedPicture(source_.pictures[i]);
      decoded_[i] = !image.isNull();
      if (image.isNull()) image = BlankPicture();
      target_.addResource(QTextDocument::ImageResource, PictureUrl(static_cast<int>(i)), image);
    }
  }

  static QImage DecodedPicture(const TRichPicture& picture) {
    QImage image;
    if (!picture.data.empty()) {
      image.loadFromData(reinterpret_cast<const uchar*>(picture.data.data()),
                         static_cast<qsizetype>(picture.data.size()));
    }
    return image;
  }

  static QImage BlankPicture() {
    QImage image(1, 1, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
  }

  const TRichTextDocument& source_;
  QTextDocument& target_;
  QTextCursor cursor_;
  QTextTable* table_ = nullptr;  // owned by target_
  const TRichTable* tableSource_ = nullptr;
  std::vector<bool> decoded_;  // by picture index
  bool blockNeedsFormat_ = true;
  QStringList fonts_;
  std::deque<std::pair<TRichCharFormat, QTextCharFormat>> charFormats_;
  struct TCachedBlockFormat {
    TRichParagraphFormat format;
    bool hasTab = false;
    QTextBlockFormat block;
  };
  TCachedBlockFormat lastBlockFormat_{TRichParagraphFormat{}, false, BlockFormatOf({}, kDefaultTabTwips, false)};
};

}  // namespace

std::unique_ptr<QTextDocument> BuildTextDocument(const TRichTextDocument& document) {
  auto target = std::make_unique<QTextDocument>();
  target->setUndoRedoEnabled(false);
  // One edit block for the whole build: inside it QTextDocument defers the
  // per-insert bookkeeping (cursor x positions, change notices), which
  // otherwise lays out every block as it is written.
  QTextCursor editBlock(target.get());
  editBlock.beginEditBlock();
  {
    TTextDocumentWriter writer(document, *target);
    WalkRichText(document, writer);
  }
  editBlock.endEditBlock();
  return target;
}

std::unique_ptr<QTextDocument> BuildTextDocumentFromBody(std::string_view body) {
  return BuildTextDocument(ReadRichText(body));
}
