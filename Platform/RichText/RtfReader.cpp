#include "RtfReader.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "RichTextBuilder.h"
#include "RtfCodePages.h"
#include "RtfControlWords.h"
#include "RtfFieldInstruction.h"
#include "RtfTokenizer.h"

namespace {

// Limits that keep absurd parameters harmless; real documents stay far inside.
constexpr int kMinFontSizeHalfPoints = 2;
constexpr int kMaxFontSizeHalfPoints = 3276;  // 1638 pt, the largest Word offers
constexpr int kMaxMeasureTwips = 31680;       // 22 inches, the largest Word page
constexpr int kMaxUnicodeSkip = 255;
constexpr int kMaxColorComponent = 255;
constexpr int kMaxPictureScalePercent = 1000;
constexpr int kFullScalePercent = 100;
constexpr size_t kMaxFieldInstructionLength = 4096;
constexpr int kUnicodeUnitCount = 0x10000;
// A row definition or a paragraph holds no more than a word processor offers;
// past these, input is hostile and the rest is dropped.
constexpr size_t kMaxRowCells = 64;
constexpr size_t kMaxTabStops = 64;
constexpr int kMaxBorderTwips = 1440;
// \picw and \pich of a metafile are in hundredths of a millimetre.
constexpr double kTwipsPerHimetric = 1440.0 / 2540.0;
// The header a BMP file puts before a device-independent bitmap.
constexpr size_t kBmpFileHeaderSize = 14;
constexpr size_t kBmpInfoHeaderSizeField = 4;
constexpr char16_t kReplacement = 0xFFFD;

enum class TDestination : std::uint8_t {
  Body,
  FontTable,
  ColorTable,
  FieldInstruction,
  Picture,
};

// What RTF scopes to a group: entering a group copies it, leaving restores it.
struct TGroupState {
  TDestination destination = TDestination::Body;
  TRichCharFormat format;
  TRichParagraphFormat paragraph;
  bool inTable = false;
  bool hidden = false;
  int unicodeSkip = 1;
  int codePage = kDefaultRtfCodePage;
  int field = -1;  // index into fields_
};

struct TFieldInProgress {
  std::u16string instruction;
};

struct TFontInfo {
  int index = -1;    // into TRichTextDocument::fonts
  int codePage = 0;  // 0: the document's
};

struct TFontEntry {
  int number = 0;
  int codePage = 0;
  std::u16string name;
  size_t groupLevel = 0;  // the state index of the group the entry began in
};

struct TPictureInProgress {
  TRichPicture picture;
  size_t groupLevel = 0;  // the state index of the \pict group
  int widthGoal = 0;
  int heightGoal = 0;
  int scaleX = kFullScalePercent;
  int scaleY = kFullScalePercent;
  int width = 0;   // \picw, \pich
  int height = 0;
  int pendingNibble = -1;
};

int Clamp(int value, int low, int high) { return std::clamp(value, low, high); }

bool IsOn(const TRtfToken& token) { return !token.hasParameter || token.parameter != 0; }

int HexNibble(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class TRtfReader {
 public:
  explicit TRtfReader(std::string_view rtf) : tokenizer_(rtf) {}

  TRichTextDocument Read();

 private:
  TGroupState& State() { return states_.back(); }

  void StartGroup();
  // False once the outermost group has closed: the document is over.
  bool EndGroup();
  void SkipRestOfGroup();

  void HandleWord(const TRtfToken& token, bool afterStar);
  void HandleDestination(TRtfWord word);
  bool HandleTextWord(TRtfWord word, const TRtfToken& token);
  bool HandleCharacterFormat(TRtfWord word, const TRtfToken& token);
  bool HandleParagraphFormat(TRtfWord word, const TRtfToken& token);
  bool HandleTableWord(TRtfWord word);
  bool HandleRowDefinition(TRtfWord word, const TRtfToken& token);
  bool HandleBorderWord(TRtfWord word, const TRtfToken& token);
  void AddTabStop(int position);
  bool HandleDocumentWord(TRtfWord word, const TRtfToken& token);
  void HandlePictureWord(TRtfWord word, const TRtfToken& token);
  void HandleSymbol(char symbol);
  void HandleText(std::string_view bytes);
  void HandleHexByte(unsigned char byte);

  void EmitUnit(char16_t unit);
  void EmitBreak(char16_t breakCharacter);
  bool ShowsBody() { return State().destination == TDestination::Body && !State().hidden; }

  void AddFontTableText(std::string_view bytes);
  void CommitFontEntry();
  void AddColorTableText(std::string_view bytes);
  void SelectFont(int number);
  void ResetCharacterFormat();
  int ColorAt(int index) const;
  void StartFieldResult();
  void StartPicture();
  void AddPictureHex(std::string_view hex);
  void FinishPicture();

  TRtfTokenizer tokenizer_;
  TRichTextBuilder builder_;
  std::vector<TGroupState> states_;
  bool finished_ = false;     // the outermost group has closed
  bool starPending_ = false;  // the last token was \*
  int pendingSkip_ = 0;       // \uN fallback bytes still to drop

  int documentCodePage_ = kDefaultRtfCodePage;
  std::string damage_;
  int defaultFontNumber_ = -1;
  std::unordered_map<int, TFontInfo> fontsByNumber_;
  std::optional<TFontEntry> fontEntry_;
  std::vector<std::int32_t> colors_;
  int red_ = -1, green_ = -1, blue_ = -1;
  std::vector<TFieldInProgress> fields_;
  std::optional<TPictureInProgress> picture_;
  // The row definition being read (\trowd ... \cellx) and the cell it is at.
  TRichRowFormat rowFormat_;
  std::vector<TRichCellFormat> rowCells_;
  TRichCellFormat pendingCell_;
  TRichBorder* border_ = nullptr;  // the border that \brdr words describe now, if any
  TRichBorder ignoredBorder_;      // paragraph and row borders are read into this
  TRichTabKind pendingTabKind_ = TRichTabKind::Left;
};

TRichTextDocument TRtfReader::Read() {
  states_.emplace_back();  // outside every group
  while (!finished_) {
    const TRtfToken token = tokenizer_.Next();
    if (token.kind == TRtfTokenKind::End) break;
    // \* speaks only to the control word right after it.
    const bool afterStar = std::exchange(starPending_, false);
    switch (token.kind) {
      case TRtfTokenKind::GroupStart:
        StartGroup();
        break;
      case TRtfTokenKind::GroupEnd:
        EndGroup();
        break;
      case TRtfTokenKind::ControlWord:
        HandleWord(token, afterStar);
        break;
      case TRtfTokenKind::ControlSymbol:
        HandleSymbol(token.symbol);
        break;
      case TRtfTokenKind::HexByte:
        HandleHexByte(token.byte);
        break;
      case TRtfTokenKind::Text:
        HandleText(token.text);
        break;
      case TRtfTokenKind::End:
        break;
    }
  }
  // Truncated input: close what is open as if the braces had come.
  while (states_.size() > 1) EndGroup();
  TRichTextDocument document = builder_.Finish(State().paragraph, State().inTable);
  document.damage = damage_;
  return document;
}

void TRtfReader::StartGroup() {
  pendingSkip_ = 0;
  if (states_.size() > kMaxRtfGroupDepth) {
    damage_ = "grupos aninhados em mais de " + std::to_string(kMaxRtfGroupDepth) + " níveis";
    SkipRestOfGroup();
    return;
  }
  states_.push_back(State());
}

bool TRtfReader::EndGroup() {
  pendingSkip_ = 0;
  if (states_.size() <= 1) {
    finished_ = true;
    return false;
  }
  if (picture_ && picture_->groupLevel == states_.size() - 1) FinishPicture();
  // A font entry ends with its own group (or its ';'); the groups inside it,
  // such as \panose before the name or \falt after it, do not end it.
  if (fontEntry_ && fontEntry_->groupLevel == states_.size() - 1) CommitFontEntry();
  // The last paragraph ends with the document in the outermost group's formats.
  if (states_.size() == 2) states_.front() = State();
  states_.pop_back();
  if (states_.size() == 1) finished_ = true;
  return !finished_;
}

// Consumes tokens up to the brace that closes the current group, honouring
// \bin so that braces inside binary data do not count.
void TRtfReader::SkipRestOfGroup() {
  int depth = 1;
  while (depth > 0) {
    const TRtfToken token = tokenizer_.Next();
    switch (token.kind) {
      case TRtfTokenKind::End:
        return;
      case TRtfTokenKind::GroupStart:
        ++depth;
        break;
      case TRtfTokenKind::GroupEnd:
        --depth;
        break;
      case TRtfTokenKind::ControlWord:
        if (token.text == "bin") tokenizer_.TakeBinary(token.parameter);
        break;
      default:
        break;
    }
  }
}

void TRtfReader::HandleWord(const TRtfToken& token, bool afterStar) {
  const TRtfWord word = FindRtfWord(token.text);
  if (pendingSkip_ > 0) {
    --pendingSkip_;
    if (word == TRtfWord::Binary) tokenizer_.TakeBinary(token.parameter);
    return;
  }
  if (afterStar && word == TRtfWord::Unknown) {
    SkipRestOfGroup();
    EndGroup();
    return;
  }
  if (State().destination == TDestination::Picture) {
    HandlePictureWord(word, token);
    return;
  }
  if (HandleTextWord(word, token) || HandleCharacterFormat(word, token) ||
      HandleParagraphFormat(word, token) || HandleTableWord(word) ||
      HandleRowDefinition(word, token) || HandleBorderWord(word, token) || HandleDocumentWord(word, token)) {
    return;
  }
  HandleDestination(word);
}

void TRtfReader::HandleDestination(TRtfWord word) {
  TGroupState& state = State();
  switch (word) {
    case TRtfWord::SkippedDestination:
    case TRtfWord::NonShapePicture:
      SkipRestOfGroup();
      EndGroup();
      break;
    case TRtfWord::FontTable:
      state.destination = TDestination::FontTable;
      break;
    case TRtfWord::ColorTable:
      state.destination = TDestination::ColorTable;
      colors_.clear();
      break;
    case TRtfWord::Field:
      fields_.emplace_back();
      state.field = static_cast<int>(fields_.size() - 1);
      break;
    case TRtfWord::FieldInstruction:
      state.destination = TDestination::FieldInstruction;
      break;
    case TRtfWord::FieldResult:
      StartFieldResult();
      break;
    case TRtfWord::Picture:
      StartPicture();
      break;
    default:
      break;  // \listtext, \shppict and unknown words: the text stays visible
  }
}

bool TRtfReader::HandleTextWord(TRtfWord word, const TRtfToken& token) {
  TGroupState& state = State();
  switch (word) {
    case TRtfWord::Par:
    case TRtfWord::Sect:
      if (state.destination == TDestination::Body) builder_.EndParagraph(state.paragraph, state.inTable);
      return true;
    case TRtfWord::Page:
      if (state.destination == TDestination::Body) builder_.EndPage(state.paragraph, state.inTable);
      return true;
    case TRtfWord::Line: EmitBreak(kLineBreakCharacter); return true;
    case TRtfWord::Tab:
    case TRtfWord::NestedCell: EmitBreak(kTabCharacter); return true;
    case TRtfWord::EmDash: EmitUnit(0x2014); return true;
    case TRtfWord::EnDash: EmitUnit(0x2013); return true;
    case TRtfWord::Bullet: EmitUnit(0x2022); return true;
    case TRtfWord::LeftQuote: EmitUnit(0x2018); return true;
    case TRtfWord::RightQuote: EmitUnit(0x2019); return true;
    case TRtfWord::LeftDoubleQuote: EmitUnit(0x201C); return true;
    case TRtfWord::RightDoubleQuote: EmitUnit(0x201D); return true;
    case TRtfWord::EmSpace:
    case TRtfWord::EnSpace:
    case TRtfWord::QuarterEmSpace: EmitUnit(u' '); return true;
    case TRtfWord::ZeroWidth: return true;
    case TRtfWord::Unicode: {
      const int value = token.parameter < 0 ? token.parameter + kUnicodeUnitCount : token.parameter;
      const bool valid = value >= 0 && value < kUnicodeUnitCount;
      EmitUnit(valid ? static_cast<char16_t>(value) : kReplacement);
      pendingSkip_ = state.unicodeSkip;
      return true;
    }
    case TRtfWord::UnicodeSkip:
      state.unicodeSkip = Clamp(token.parameter, 0, kMaxUnicodeSkip);
      return true;
    case TRtfWord::Binary:
      tokenizer_.TakeBinary(token.parameter);  // binary data outside a picture shows nothing
      return true;
    default:
      return false;
  }
}

bool TRtfReader::HandleCharacterFormat(TRtfWord word, const TRtfToken& token) {
  TGroupState& state = State();
  TRichCharFormat& format = state.format;
  switch (word) {
    case TRtfWord::Plain: ResetCharacterFormat(); return true;
    case TRtfWord::Font: SelectFont(token.parameter); return true;
    case TRtfWord::FontSize:
      format.sizeHalfPoints = token.parameter <= 0
                                  ? kDefaultFontSizeHalfPoints
                                  : Clamp(token.parameter, kMinFontSizeHalfPoints, kMaxFontSizeHalfPoints);
      return true;
    case TRtfWord::Bold: format.bold = IsOn(token); return true;
    case TRtfWord::Italic: format.italic = IsOn(token); return true;
    case TRtfWord::Underline: format.underline = IsOn(token); return true;
    case TRtfWord::UnderlineNone: format.underline = false; return true;
    case TRtfWord::Strike: format.strikeOut = IsOn(token); return true;
    case TRtfWord::ForegroundColor: format.foreground = ColorAt(token.parameter); return true;
    case TRtfWord::BackgroundColor:
    case TRtfWord::Highlight: format.background = ColorAt(token.parameter); return true;
    case TRtfWord::Superscript: format.verticalAlign = TRichVerticalAlign::Superscript; return true;
    case TRtfWord::Subscript: format.verticalAlign = TRichVerticalAlign::Subscript; return true;
    case TRtfWord::NoSuperSub: format.verticalAlign = TRichVerticalAlign::Normal; return true;
    case TRtfWord::Up:
      format.verticalAlign = token.parameter > 0 || !token.hasParameter ? TRichVerticalAlign::Superscript
                                                                        : TRichVerticalAlign::Normal;
      return true;
    case TRtfWord::Down:
      format.verticalAlign = token.parameter > 0 || !token.hasParameter ? TRichVerticalAlign::Subscript
                                                                        : TRichVerticalAlign::Normal;
      return true;
    case TRtfWord::Hidden: state.hidden = IsOn(token); return true;
    default: return false;
  }
}

bool TRtfReader::HandleParagraphFormat(TRtfWord word, const TRtfToken& token) {
  TGroupState& state = State();
  TRichParagraphFormat& paragraph = state.paragraph;
  const int measure = Clamp(token.parameter, -kMaxMeasureTwips, kMaxMeasureTwips);
  const int spacing = Clamp(token.parameter, 0, kMaxMeasureTwips);
  switch (word) {
    case TRtfWord::Pard:
      paragraph = TRichParagraphFormat{};
      state.inTable = false;
      return true;
    case TRtfWord::AlignLeft: paragraph.alignment = TRichAlignment::Left; return true;
    case TRtfWord::AlignRight: paragraph.alignment = TRichAlignment::Right; return true;
    case TRtfWord::AlignCenter: paragraph.alignment = TRichAlignment::Center; return true;
    case TRtfWord::AlignJustify: paragraph.alignment = TRichAlignment::Justify; return true;
    case TRtfWord::LeftIndent: paragraph.leftIndent = measure; return true;
    case TRtfWord::RightIndent: paragraph.rightIndent = measure; return true;
    case TRtfWord::FirstIndent: paragraph.firstLineIndent = measure; return true;
    case TRtfWord::SpaceBefore: paragraph.spaceBefore = spacing; return true;
    case TRtfWord::SpaceAfter: paragraph.spaceAfter = spacing; return true;
    case TRtfWord::PageBreakBefore: paragraph.pageBreakBefore = IsOn(token); return true;
    case TRtfWord::InTable: state.inTable = true; return true;
    case TRtfWord::TabCenter: pendingTabKind_ = TRichTabKind::Center; return true;
    case TRtfWord::TabRight: pendingTabKind_ = TRichTabKind::Right; return true;
    case TRtfWord::TabDecimal: pendingTabKind_ = TRichTabKind::Decimal; return true;
    case TRtfWord::TabPosition: AddTabStop(Clamp(token.parameter, 0, kMaxMeasureTwips)); return true;
    default: return false;
  }
}

// Tab stops are kept in order of position; a second stop at the same place
// replaces the first.
void TRtfReader::AddTabStop(int position) {
  std::vector<TRichTabStop>& tabs = State().paragraph.tabs;
  const TRichTabStop stop{position, std::exchange(pendingTabKind_, TRichTabKind::Left)};
  const auto at = std::lower_bound(tabs.begin(), tabs.end(), position,
                                   [](const TRichTabStop& tab, int value) { return tab.position < value; });
  if (at != tabs.end() && at->position == position) {
    *at = stop;
  } else if (tabs.size() < kMaxTabStops) {
    tabs.insert(at, stop);
  }
}

bool TRtfReader::HandleTableWord(TRtfWord word) {
  TGroupState& state = State();
  switch (word) {
    case TRtfWord::Cell:
      if (state.destination == TDestination::Body) builder_.EndCell(state.paragraph);
      return true;
    case TRtfWord::Row:
      if (state.destination == TDestination::Body) builder_.EndRow(rowFormat_, rowCells_);
      return true;
    default: return false;
  }
}

bool TRtfReader::HandleRowDefinition(TRtfWord word, const TRtfToken& token) {
  const int measure = Clamp(token.parameter, -kMaxMeasureTwips, kMaxMeasureTwips);
  const int padding = Clamp(token.parameter, 0, kMaxMeasureTwips);
  switch (word) {
    case TRtfWord::RowDefaults:
      rowFormat_ = TRichRowFormat{};
      rowCells_.clear();
      pendingCell_ = TRichCellFormat{};
      border_ = nullptr;
      return true;
    case TRtfWord::CellRightEdge:
      pendingCell_.rightEdge = measure;
      if (rowCells_.size() < kMaxRowCells) rowCells_.push_back(pendingCell_);
      pendingCell_ = TRichCellFormat{};
      border_ = nullptr;
      return true;
    case TRtfWord::RowLeft: rowFormat_.leftEdge = measure; return true;
    case TRtfWord::RowHalfGap: rowFormat_.halfGap = padding; return true;
    case TRtfWord::RowPaddingLeft: rowFormat_.paddingLeft = padding; return true;
    case TRtfWord::RowPaddingRight: rowFormat_.paddingRight = padding; return true;
    case TRtfWord::RowAlignLeft: rowFormat_.alignment = TRichAlignment::Left; return true;
    case TRtfWord::RowAlignCenter: rowFormat_.alignment = TRichAlignment::Center; return true;
    case TRtfWord::RowAlignRight: rowFormat_.alignment = TRichAlignment::Right; return true;
    case TRtfWord::CellAlignTop: pendingCell_.verticalAlignment = TRichCellAlignment::Top; return true;
    case TRtfWord::CellAlignCenter: pendingCell_.verticalAlignment = TRichCellAlignment::Center; return true;
    case TRtfWord::CellAlignBottom: pendingCell_.verticalAlignment = TRichCellAlignment::Bottom; return true;
    case TRtfWord::CellBackground: pendingCell_.background = ColorAt(token.parameter); return true;
    case TRtfWord::CellPaddingLeft: pendingCell_.paddingLeft = padding; return true;
    case TRtfWord::CellPaddingRight: pendingCell_.paddingRight = padding; return true;
    default: return false;
  }
}

// A border word opens a border (a cell's, or one we do not draw) that the
// \brdr words after it describe; drawn as single until they say otherwise.
bool TRtfReader::HandleBorderWord(TRtfWord word, const TRtfToken& token) {
  auto open = [this](TRichBorder& border) {
    border = TRichBorder{TRichBorderStyle::Single, 0, kAutoColor};
    border_ = &border;
  };
  switch (word) {
    case TRtfWord::CellBorderTop: open(pendingCell_.top); return true;
    case TRtfWord::CellBorderLeft: open(pendingCell_.left); return true;
    case TRtfWord::CellBorderBottom: open(pendingCell_.bottom); return true;
    case TRtfWord::CellBorderRight: open(pendingCell_.right); return true;
    case TRtfWord::OtherBorder: open(ignoredBorder_); return true;
    default: break;
  }
  if (!border_) {
    return word == TRtfWord::BorderNone || word == TRtfWord::BorderSingle || word == TRtfWord::BorderDouble ||
           word == TRtfWord::BorderDotted || word == TRtfWord::BorderDashed || word == TRtfWord::BorderWidth ||
           word == TRtfWord::BorderColor;
  }
  switch (word) {
    case TRtfWord::BorderNone: border_->style = TRichBorderStyle::None; return true;
    case TRtfWord::BorderSingle: border_->style = TRichBorderStyle::Single; return true;
    case TRtfWord::BorderDouble: border_->style = TRichBorderStyle::Double; return true;
    case TRtfWord::BorderDotted: border_->style = TRichBorderStyle::Dotted; return true;
    case TRtfWord::BorderDashed: border_->style = TRichBorderStyle::Dashed; return true;
    case TRtfWord::BorderWidth: border_->widthTwips = Clamp(token.parameter, 0, kMaxBorderTwips); return true;
    case TRtfWord::BorderColor: border_->color = ColorAt(token.parameter); return true;
    default: return false;
  }
}

bool TRtfReader::HandleDocumentWord(TRtfWord word, const TRtfToken& token) {
  TGroupState& state = State();
  switch (word) {
    case TRtfWord::AnsiCodePage:
      documentCodePage_ = token.parameter;
      state.codePage = token.parameter;
      return true;
    case TRtfWord::Pc: documentCodePage_ = state.codePage = 437; return true;
    case TRtfWord::Pca: documentCodePage_ = state.codePage = 850; return true;
    case TRtfWord::DefaultFont: defaultFontNumber_ = token.parameter; return true;
    case TRtfWord::DefaultTab:
      builder_.Document().defaultTabTwips =
          token.parameter > 0 ? Clamp(token.parameter, 1, kMaxMeasureTwips) : kDefaultTabTwips;
      return true;
    case TRtfWord::FontCharset:
      if (fontEntry_) fontEntry_->codePage = CodePageOfCharset(token.parameter);
      return true;
    case TRtfWord::FontCodePage:
      if (fontEntry_) fontEntry_->codePage = token.parameter;
      return true;
    case TRtfWord::Red: red_ = Clamp(token.parameter, 0, kMaxColorComponent); return true;
    case TRtfWord::Green: green_ = Clamp(token.parameter, 0, kMaxColorComponent); return true;
    case TRtfWord::Blue: blue_ = Clamp(token.parameter, 0, kMaxColorComponent); return true;
    default: return false;
  }
}

void TRtfReader::HandleSymbol(char symbol) {
  if (pendingSkip_ > 0) {
    --pendingSkip_;
    return;
  }
  switch (symbol) {
    case '*': starPending_ = true; break;
    case '\\':
    case '{':
    case '}': HandleText(std::string_view(&symbol, 1)); break;
    case '~': EmitUnit(0xA0); break;
    case '_': EmitUnit(u'-'); break;  // non-breaking hyphen: shown and indexed as a hyphen
    case '\n':
      if (State().destination == TDestination::Body) builder_.EndParagraph(State().paragraph, State().inTable);
      break;
    default: break;  // \- optional hyphen, \: and the rest show nothing
  }
}

void TRtfReader::HandleText(std::string_view bytes) {
  if (pendingSkip_ > 0) {
    const size_t skipped = std::min<size_t>(pendingSkip_, bytes.size());
    pendingSkip_ -= static_cast<int>(skipped);
    bytes.remove_prefix(skipped);
  }
  if (bytes.empty()) return;
  TGroupState& state = State();
  switch (state.destination) {
    case TDestination::Body:
      if (!state.hidden) builder_.AppendBytes(bytes, state.codePage, state.format);
      break;
    case TDestination::FontTable: AddFontTableText(bytes); break;
    case TDestination::ColorTable: AddColorTableText(bytes); break;
    case TDestination::FieldInstruction:
      for (char byte : bytes) EmitUnit(DecodeCodePageByte(state.codePage, static_cast<unsigned char>(byte)));
      break;
    case TDestination::Picture: AddPictureHex(bytes); break;
  }
}

void TRtfReader::HandleHexByte(unsigned char byte) {
  if (pendingSkip_ > 0) {
    --pendingSkip_;
    return;
  }
  const char raw = static_cast<char>(byte);
  if (State().destination == TDestination::Body || State().destination == TDestination::FontTable) {
    HandleText(std::string_view(&raw, 1));
  } else {
    EmitUnit(DecodeCodePageByte(State().codePage, byte));
  }
}

void TRtfReader::EmitUnit(char16_t unit) {
  TGroupState& state = State();
  switch (state.destination) {
    case TDestination::Body:
      if (!state.hidden) builder_.AppendUnit(unit, state.format);
      break;
    case TDestination::FieldInstruction:
      if (state.field >= 0 && fields_[state.field].instruction.size() < kMaxFieldInstructionLength) {
        fields_[state.field].instruction.push_back(unit);
      }
      break;
    case TDestination::FontTable:
      if (fontEntry_) fontEntry_->name.push_back(unit);
      break;
    default:
      break;
  }
}

void TRtfReader::EmitBreak(char16_t breakCharacter) {
  if (ShowsBody()) builder_.AppendBreak(breakCharacter, State().format);
}

void TRtfReader::AddFontTableText(std::string_view bytes) {
  for (char byte : bytes) {
    if (byte == ';') {
      CommitFontEntry();
      continue;
    }
    if (!fontEntry_) continue;
    const int codePage = fontEntry_->codePage ? fontEntry_->codePage : documentCodePage_;
    fontEntry_->name.push_back(DecodeCodePageByte(codePage, static_cast<unsigned char>(byte)));
  }
}

void TRtfReader::CommitFontEntry() {
  if (!fontEntry_) return;
  TRichTextDocument& document = builder_.Document();
  document.fonts.push_back(fontEntry_->name);
  const int index = static_cast<int>(document.fonts.size() - 1);
  fontsByNumber_[fontEntry_->number] = TFontInfo{index, fontEntry_->codePage};
  if (fontEntry_->number == defaultFontNumber_) document.defaultFont = index;
  fontEntry_.reset();
}

void TRtfReader::AddColorTableText(std::string_view bytes) {
  for (char byte : bytes) {
    if (byte != ';') continue;
    const bool automatic = red_ < 0 && green_ < 0 && blue_ < 0;
    colors_.push_back(automatic ? kAutoColor
                                : (std::max(red_, 0) << 16) | (std::max(green_, 0) << 8) |
                                      std::max(blue_, 0));
    red_ = green_ = blue_ = -1;
  }
}

int TRtfReader::ColorAt(int index) const {
  if (index < 0 || index >= static_cast<int>(colors_.size())) return kAutoColor;
  return colors_[index];
}

void TRtfReader::SelectFont(int number) {
  TGroupState& state = State();
  if (state.destination == TDestination::FontTable) {
    CommitFontEntry();
    fontEntry_ = TFontEntry{number, 0, {}, states_.size() - 1};
    return;
  }
  const auto found = fontsByNumber_.find(number);
  if (found == fontsByNumber_.end()) {
    state.format.font = -1;
    state.codePage = documentCodePage_;
    return;
  }
  state.format.font = found->second.index;
  state.codePage = found->second.codePage ? found->second.codePage : documentCodePage_;
}

void TRtfReader::ResetCharacterFormat() {
  TGroupState& state = State();
  const int link = state.format.link;  // \plain inside a link's result keeps the link
  state.format = TRichCharFormat{};
  state.format.link = link;
  state.hidden = false;
  SelectFont(defaultFontNumber_);
}

void TRtfReader::StartFieldResult() {
  TGroupState& state = State();
  state.destination = TDestination::Body;
  if (state.field < 0) return;
  const std::optional<std::string> target = HyperlinkTarget(fields_[state.field].instruction);
  if (!target) return;
  std::vector<TRichLink>& links = builder_.Document().links;
  links.push_back(TRichLink{*target});
  state.format.link = static_cast<int>(links.size() - 1);
}

void TRtfReader::StartPicture() {
  // A picture needs an enclosing group to show in.
  if (picture_ || !ShowsBody() || states_.size() < 2) {
    SkipRestOfGroup();
    EndGroup();
    return;
  }
  picture_.emplace();
  picture_->groupLevel = states_.size() - 1;
  State().destination = TDestination::Picture;
}

void TRtfReader::HandlePictureWord(TRtfWord word, const TRtfToken& token) {
  TPictureInProgress& picture = *picture_;
  switch (word) {
    case TRtfWord::PngBlip: picture.picture.kind = TRichPictureKind::Png; break;
    case TRtfWord::JpegBlip: picture.picture.kind = TRichPictureKind::Jpeg; break;
    case TRtfWord::DibBitmap: picture.picture.kind = TRichPictureKind::Bitmap; break;
    case TRtfWord::Metafile: picture.picture.kind = TRichPictureKind::Metafile; break;
    case TRtfWord::PictureWidth: picture.width = Clamp(token.parameter, 0, kMaxMeasureTwips); break;
    case TRtfWord::PictureHeight: picture.height = Clamp(token.parameter, 0, kMaxMeasureTwips); break;
    case TRtfWord::PictureWidthGoal: picture.widthGoal = Clamp(token.parameter, 0, kMaxMeasureTwips); break;
    case TRtfWord::PictureHeightGoal: picture.heightGoal = Clamp(token.parameter, 0, kMaxMeasureTwips); break;
    case TRtfWord::PictureScaleX: picture.scaleX = Clamp(token.parameter, 1, kMaxPictureScalePercent); break;
    case TRtfWord::PictureScaleY: picture.scaleY = Clamp(token.parameter, 1, kMaxPictureScalePercent); break;
    case TRtfWord::Binary: picture.picture.data.append(tokenizer_.TakeBinary(token.parameter)); break;
    default: break;
  }
}

void TRtfReader::AddPictureHex(std::string_view hex) {
  TPictureInProgress& picture = *picture_;
  for (char c : hex) {
    const int nibble = HexNibble(c);
    if (nibble < 0) continue;
    if (picture.pendingNibble < 0) {
      picture.pendingNibble = nibble;
    } else {
      picture.picture.data.push_back(static_cast<char>(picture.pendingNibble * 16 + nibble));
      picture.pendingNibble = -1;
    }
  }
}

// A device-independent bitmap is a BMP file without its file header, whose
// one needed field tells where the pixels start: after the info header, the
// colour masks of a 40-byte header with bit fields, and the colour table.
std::string BmpFileOf(const std::string& dib) {
  constexpr size_t kInfoHeaderColorsField = 32;
  constexpr size_t kInfoHeaderBitCountField = 14;
  constexpr size_t kInfoHeaderCompressionField = 16;
  constexpr std::uint32_t kBitFieldsCompression = 3;
  constexpr std::uint32_t kPlainInfoHeaderSize = 40;
  constexpr std::uint64_t kColorMasksSize = 12;
  constexpr int kMaxIndexedBits = 8;
  constexpr size_t kBytesPerColor = 4;
  auto readLittle = [&dib](size_t at, size_t bytes) {
    std::uint32_t value = 0;
    for (size_t i = 0; i < bytes && at + i < dib.size(); ++i) {
      value |= static_cast<std::uint32_t>(static_cast<unsigned char>(dib[at + i])) << (8 * i);
    }
    return value;
  };
  if (dib.size() < kBmpInfoHeaderSizeField) return {};
  const std::uint32_t infoSize = readLittle(0, kBmpInfoHeaderSizeField);
  const std::uint32_t bitCount = readLittle(kInfoHeaderBitCountField, 2);
  std::uint32_t colors = readLittle(kInfoHeaderColorsField, 4);
  if (colors == 0 && bitCount > 0 && bitCount <= kMaxIndexedBits) colors = 1u << bitCount;
  std::uint64_t pixelsAt = kBmpFileHeaderSize + std::uint64_t{infoSize} + std::uint64_t{colors} * kBytesPerColor;
  if (infoSize == kPlainInfoHeaderSize && readLittle(kInfoHeaderCompressionField, 4) == kBitFieldsCompression) {
    pixelsAt += kColorMasksSize;
  }
  const std::uint64_t fileSize = kBmpFileHeaderSize + dib.size();
  std::string file = "BM";
  auto writeLittle = [&file](std::uint64_t value, size_t bytes) {
    for (size_t i = 0; i < bytes; ++i) file.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  };
  writeLittle(fileSize, 4);
  writeLittle(0, 4);  // reserved
  writeLittle(pixelsAt, 4);
  return file + dib;
}

void TRtfReader::FinishPicture() {
  TPictureInProgress picture = std::move(*picture_);
  picture_.reset();
  TRichPicture& shown = picture.picture;
  switch (shown.kind) {
    case TRichPictureKind::Bitmap: shown.data = BmpFileOf(shown.data); break;
    case TRichPictureKind::Png:
    case TRichPictureKind::Jpeg: break;
    case TRichPictureKind::Metafile:
    case TRichPictureKind::Other: shown.data.clear(); break;
  }
  // Without a goal a metafile still declares its extent; a bitmap's own
  // pixels give its size in the view.
  if (shown.kind == TRichPictureKind::Metafile && picture.widthGoal == 0 && picture.heightGoal == 0) {
    picture.widthGoal = static_cast<int>(picture.width * kTwipsPerHimetric);
    picture.heightGoal = static_cast<int>(picture.height * kTwipsPerHimetric);
  }
  shown.widthTwips = picture.widthGoal * picture.scaleX / kFullScalePercent;
  shown.heightTwips = picture.heightGoal * picture.scaleY / kFullScalePercent;
  // The picture shows where its group stands, in the format around it.
  const TGroupState& outer = states_[picture.groupLevel - 1];
  if (outer.destination == TDestination::Body && !outer.hidden) {
    builder_.AppendPicture(std::move(picture.picture), outer.format);
  }
}

}  // namespace

TRichTextDocument ReadRtf(std::string_view rtf) { return TRtfReader(rtf).Read(); }

bool LooksLikeRtf(std::string_view body) {
  const size_t start = body.find_first_not_of(" \t\r\n");
  return start != std::string_view::npos && body.substr(start, 5) == "{\\rtf";
}

TRichTextDocument ReadRichText(std::string_view body) {
  if (LooksLikeRtf(body)) return ReadRtf(body);
  TRichTextDocument document = ReadPlainTextBody(body);
  // Windows-1252 text never holds a zero byte; UTF-16 and binary data do.
  if (body.find('\0') != std::string_view::npos) document.damage = "o texto não está na codificação Windows-1252";
  return document;
}
