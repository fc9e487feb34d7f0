#include "RichTextPlainText.h"

#include <variant>

#include "LxCodePage.h"
#include "RichTextLayout.h"
#include "RtfReader.h"

namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr char kCellSeparator = '\t';
constexpr char kPictureByte = ' ';
constexpr char kMissingCharacter = '?';

class TPlainTextWriter final : public TRichTextVisitor {
 public:
  explicit TPlainTextWriter(std::string& out) : out_(out) {}

  void Paragraph(const TRichParagraph& paragraph) override {
    for (char16_t unit : paragraph.text) AppendUnit(unit);
  }
  void ParagraphBreak(const TRichParagraph&) override { out_ += kLineBreak; }
  void TableStart(const TRichTable&) override {}
  void CellStart(int, int column) override {
    if (column == 0) {
      out_ += kLineBreak;
    } else {
      out_ += kCellSeparator;
    }
  }
  void TableEnd() override { out_ += kLineBreak; }

 private:
  void AppendUnit(char16_t unit) {
    // Latin-1 letters are the common case and map to themselves.
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
      out_.push_back(static_cast<char>(unit));
      return;
    }
    switch (unit) {
      case kLineBreakCharacter: out_ += kLineBreak; return;
      case kPictureCharacter: out_.push_back(kPictureByte); return;
      default: break;
    }
    const int code = UnicodeToWin1252(unit);
    out_.push_back(code < 0 ? kMissingCharacter : static_cast<char>(code));
  }

  std::string& out_;
};

// One byte per code unit plus two per separator is the usual size; growing
// the text by doubling instead copies it again and again on long documents.
size_t ExpectedSize(const TRichTextDocument& document) {
  constexpr size_t kBytesPerSeparator = 2;
  size_t size = 0;
  for (const TRichBlock& block : document.blocks) {
    if (const auto* paragraph = std::get_if<TRichParagraph>(&block)) {
      size += paragraph->text.size() + kBytesPerSeparator;
    }
  }
  return size;
}

}  // namespace

std::string RichTextPlainText(const TRichTextDocument& document) {
  std::string out;
  out.reserve(ExpectedSize(document));
  TPlainTextWriter writer(out);
  WalkRichText(document, writer);
  return out;
}

std::string RtfToPlainText(std::string_view body) { return RichTextPlainText(ReadRichText(body)); }
