// Prints one RTF file through the program's text printing to PDF, on a page of
// the size and margins the RTF asks for, and writes beside it a JSON list of
// the document's paragraphs (words, indents, table cell) so that the layout
// can be compared with another renderer's PDF of the same file.
//
//   fidelity_print IN.rtf OUT.pdf OUT.json
#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTextDocument>

#include "DocumentPrinting.h"
#include "RichTextPrinting.h"
#include "RichTextLayout.h"
#include "RichTextView.h"
#include "RtfReader.h"

namespace {

// The page LibreOffice gives a document that does not set its own (as its
// PDFs show): US Letter with 1-inch margins.
constexpr int kDefaultPaperWidthTwips = 12240;
constexpr int kDefaultPaperHeightTwips = 15840;
constexpr int kDefaultSideMarginTwips = 1440;
constexpr int kDefaultTopMarginTwips = 1440;
constexpr double kTwipsPerMillimetre = 1440.0 / 25.4;
constexpr int kWordsKept = 8;

int FirstMeasure(const std::string& rtf, const char* word, int fallback) {
  const std::regex pattern(std::string("\\\\") + word + "(-?[0-9]+)");
  std::smatch match;
  return std::regex_search(rtf, match, pattern) ? std::stoi(match[1]) : fallback;
}

struct TPage {
  double widthMm, heightMm, leftMm, rightMm, topMm, bottomMm;
};

TPage PageOf(const std::string& rtf) {
  auto mm = [](int twips) { return twips / kTwipsPerMillimetre; };
  return {mm(FirstMeasure(rtf, "paperw", kDefaultPaperWidthTwips)),
          mm(FirstMeasure(rtf, "paperh", kDefaultPaperHeightTwips)),
          mm(FirstMeasure(rtf, "margl", kDefaultSideMarginTwips)),
          mm(FirstMeasure(rtf, "margr", kDefaultSideMarginTwips)),
          mm(FirstMeasure(rtf, "margt", kDefaultTopMarginTwips)),
          mm(FirstMeasure(rtf, "margb", kDefaultTopMarginTwips))};
}

QJsonArray WordsOf(const std::u16string& text) {
  QJsonArray words;
  QString word;
  auto flush = [&] {
    if (!word.isEmpty() && words.size() < kWordsKept) words.append(word);
    word.clear();
  };
  for (char16_t unit : text) {
    if (unit == u' ' || unit == u'\t' || unit == 0xA0 || unit == kLineBreakCharacter) {
      flush();
    } else if (unit != kPictureCharacter) {
      word.append(QChar(unit));
    }
  }
  flush();
  return words;
}

int CountWords(const std::u16string& text) {
  int count = 0;
  bool inWord = false;
  for (char16_t unit : text) {
    const bool space = unit == u' ' || unit == u'\t' || unit == 0xA0 || unit == kLineBreakCharacter ||
                       unit == kPictureCharacter;
    if (!space && !inWord) ++count;
    inWord = !space;
  }
  return count;
}

// The index of the first word after the paragraph's first tab (the text
// after a list's number), or -1 when no word follows a tab.
int FirstWordAfterTab(const std::u16string& text) {
  const size_t tab = text.find(u'\t');
  if (tab == std::u16string::npos) return -1;
  const int before = CountWords(text.substr(0, tab));
  return before < CountWords(text) ? before : -1;
}

class TParagraphLister final : public TRichTextVisitor {
 public:
  void Paragraph(const TRichParagraph& paragraph) override {
    QJsonObject entry;
    entry["words"] = WordsOf(paragraph.text);
    entry["firstIndent"] = paragraph.format.firstLineIndent;
    entry["leftIndent"] = paragraph.format.leftIndent;
    entry["wordCount"] = CountWords(paragraph.text);
    entry["afterTab"] = FirstWordAfterTab(paragraph.text);
    entry["alignment"] = static_cast<int>(paragraph.format.alignment);
    if (inTable_) {
      entry["table"] = table_;
      entry["row"] = row_;
      entry["column"] = column_;
      entry["firstInCell"] = firstInCell_;
      firstInCell_ = false;
    }
    paragraphs.append(entry);
  }
  void ParagraphBreak(const TRichParagraph&) override {}
  void TableStart(const TRichTable&) override {
    ++table_;
    inTable_ = true;
  }
  void CellStart(int row, int column) override {
    row_ = row;
    column_ = column;
    firstInCell_ = true;
  }
  void TableEnd() override { inTable_ = false; }

  QJsonArray paragraphs;

 private:
  bool inTable_ = false;
  bool firstInCell_ = false;
  int table_ = -1, row_ = 0, column_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: fidelity_print IN.rtf OUT.pdf OUT.json\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  std::ifstream in(argv[1], std::ios::binary);
  const std::string rtf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const TRichTextDocument model = ReadRichText(rtf);
  std::unique_ptr<QTextDocument> document = BuildTextDocument(model);

  const TPage page = PageOf(rtf);
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromLocal8Bit(argv[2]));
  printer.setPageSize(QPageSize(QSizeF(page.widthMm, page.heightMm), QPageSize::Millimeter));
  auto inner = [](double margin) { return std::max(0.0, margin - kRichTextPrintMarginMillimetres); };
  printer.setPageMargins(QMarginsF(inner(page.leftMm), inner(page.topMm), inner(page.rightMm), inner(page.bottomMm)),
                         QPageLayout::Millimeter);
  PrintTextDocument(*document, QStringLiteral("fidelity"), printer);

  TParagraphLister lister;
  WalkRichText(model, lister);
  QJsonObject out;
  // Where unindented text starts on our page and on a word processor's.
  out["marginMm"] = std::max(page.leftMm, kRichTextPrintMarginMillimetres);
  out["sourceMarginMm"] = page.leftMm;
  out["paragraphs"] = lister.paragraphs;
  std::ofstream json(argv[3], std::ios::binary);
  json << QJsonDocument(out).toJson().toStdString();
  return 0;
}
