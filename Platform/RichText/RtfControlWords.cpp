#include "RtfControlWords.h"

#include <array>
#include <cstddef>

namespace {

struct TNamedWord {
  std::string_view name;
  TRtfWord word;
};

using W = TRtfWord;

// Destinations a word processor keeps out of the body text: tables of fonts,
// styles and lists, document properties, headers and footers, notes and
// comments, list-number templates (\pn; the number itself is \pntext, which
// is shown), bookmarks and index entries, and embedded data.
constexpr TNamedWord kWords[] = {
    {"rtf", W::Rtf}, {"ansi", W::Ansi}, {"mac", W::Mac}, {"pc", W::Pc}, {"pca", W::Pca},
    {"ansicpg", W::AnsiCodePage}, {"deff", W::DefaultFont}, {"deftab", W::DefaultTab},

    {"fonttbl", W::FontTable}, {"colortbl", W::ColorTable},
    {"stylesheet", W::SkippedDestination}, {"info", W::SkippedDestination},
    {"listtable", W::SkippedDestination}, {"listoverridetable", W::SkippedDestination},
    {"revtbl", W::SkippedDestination}, {"rsidtbl", W::SkippedDestination},
    {"header", W::SkippedDestination}, {"headerl", W::SkippedDestination},
    {"headerr", W::SkippedDestination}, {"headerf", W::SkippedDestination},
    {"footer", W::SkippedDestination}, {"footerl", W::SkippedDestination},
    {"footerr", W::SkippedDestination}, {"footerf", W::SkippedDestination},
    {"footnote", W::SkippedDestination}, {"annotation", W::SkippedDestination},
    {"atnid", W::SkippedDestination}, {"atnauthor", W::SkippedDestination},
    {"pn", W::SkippedDestination}, {"xe", W::SkippedDestination}, {"tc", W::SkippedDestination},
    {"bkmkstart", W::SkippedDestination}, {"bkmkend", W::SkippedDestination},
    {"objdata", W::SkippedDestination}, {"do", W::SkippedDestination},
    {"template", W::SkippedDestination}, {"filetbl", W::SkippedDestination},
    {"pgdsctbl", W::SkippedDestination}, {"generator", W::SkippedDestination},
    {"ftnsep", W::SkippedDestination}, {"ftnsepc", W::SkippedDestination},
    {"ftncn", W::SkippedDestination}, {"aftnsep", W::SkippedDestination},
    {"aftnsepc", W::SkippedDestination}, {"aftncn", W::SkippedDestination},
    {"txe", W::SkippedDestination}, {"rxe", W::SkippedDestination},
    {"xmlnstbl", W::SkippedDestination}, {"mmathPr", W::SkippedDestination},
    {"themedata", W::SkippedDestination}, {"colorschememapping", W::SkippedDestination},
    {"datastore", W::SkippedDestination}, {"latentstyles", W::SkippedDestination},
    {"listpicture", W::SkippedDestination}, {"pnseclvl", W::SkippedDestination},
    {"docvar", W::SkippedDestination}, {"userprops", W::SkippedDestination},
    {"fchars", W::SkippedDestination}, {"lchars", W::SkippedDestination},
    {"pgptbl", W::SkippedDestination}, {"protusertbl", W::SkippedDestination},
    {"wgrffmtfilter", W::SkippedDestination}, {"keywords", W::SkippedDestination},

    {"pntext", W::ListText}, {"listtext", W::ListText},
    {"shppict", W::ShapePicture}, {"nonshppict", W::NonShapePicture},
    {"field", W::Field}, {"fldinst", W::FieldInstruction}, {"fldrslt", W::FieldResult},
    {"pict", W::Picture},

    {"fcharset", W::FontCharset}, {"cpg", W::FontCodePage},
    {"red", W::Red}, {"green", W::Green}, {"blue", W::Blue},

    {"par", W::Par}, {"line", W::Line}, {"tab", W::Tab}, {"page", W::Page}, {"sect", W::Sect},
    {"cell", W::Cell}, {"row", W::Row}, {"nestcell", W::NestedCell},
    {"u", W::Unicode}, {"uc", W::UnicodeSkip}, {"bin", W::Binary},
    {"emdash", W::EmDash}, {"endash", W::EnDash}, {"bullet", W::Bullet},
    {"lquote", W::LeftQuote}, {"rquote", W::RightQuote},
    {"ldblquote", W::LeftDoubleQuote}, {"rdblquote", W::RightDoubleQuote},
    {"emspace", W::EmSpace}, {"enspace", W::EnSpace}, {"qmspace", W::QuarterEmSpace},
    {"zwj", W::ZeroWidth}, {"zwnj", W::ZeroWidth}, {"zwbo", W::ZeroWidth},
    {"zwnbo", W::ZeroWidth}, {"ltrmark", W::ZeroWidth}, {"rtlmark", W::ZeroWidth},

    {"plain", W::Plain}, {"f", W::Font}, {"fs", W::FontSize}, {"b", W::Bold}, {"i", W::Italic},
    {"ul", W::Underline}, {"uld", W::Underline}, {"uldash", W::Underline},
    {"uldashd", W::Underline}, {"uldashdd", W::Underline}, {"uldb", W::Underline},
    {"ulhwave", W::Underline}, {"ulldash", W::Underline}, {"ulth", W::Underline},
    {"ulthd", W::Underline}, {"ulthdash", W::Underline}, {"ulw", W::Underline},
    {"ulwave", W::Underline}, {"ululdbwave", W::Underline}, {"ulnone", W::UnderlineNone},
    {"strike", W::Strike}, {"striked", W::Strike},
    {"cf", W::ForegroundColor}, {"cb", W::BackgroundColor}, {"chcbpat", W::BackgroundColor},
    {"highlight", W::Highlight},
    {"super", W::Superscript}, {"sub", W::Subscript}, {"nosupersub", W::NoSuperSub},
    {"up", W::Up}, {"dn", W::Down}, {"v", W::Hidden},

    {"pard", W::Pard}, {"ql", W::AlignLeft}, {"qr", W::AlignRight}, {"qc", W::AlignCenter},
    {"qj", W::AlignJustify}, {"qd", W::AlignJustify},
    {"li", W::LeftIndent}, {"lin", W::LeftIndent}, {"ri", W::RightIndent},
    {"rin", W::RightIndent}, {"fi", W::FirstIndent}, {"sb", W::SpaceBefore},
    {"sa", W::SpaceAfter}, {"intbl", W::InTable}, {"pagebb", W::PageBreakBefore},
    {"tx", W::TabPosition}, {"tqc", W::TabCenter}, {"tqr", W::TabRight}, {"tqdec", W::TabDecimal},

    {"trowd", W::RowDefaults}, {"cellx", W::CellRightEdge}, {"trleft", W::RowLeft},
    {"trgaph", W::RowHalfGap}, {"trpaddl", W::RowPaddingLeft}, {"trpaddr", W::RowPaddingRight},
    {"trql", W::RowAlignLeft}, {"trqc", W::RowAlignCenter}, {"trqr", W::RowAlignRight},
    {"clbrdrt", W::CellBorderTop}, {"clbrdrl", W::CellBorderLeft},
    {"clbrdrb", W::CellBorderBottom}, {"clbrdrr", W::CellBorderRight},
    {"brdrt", W::OtherBorder}, {"brdrb", W::OtherBorder}, {"brdrl", W::OtherBorder},
    {"brdrr", W::OtherBorder}, {"brdrbtw", W::OtherBorder}, {"brdrbar", W::OtherBorder},
    {"box", W::OtherBorder}, {"trbrdrt", W::OtherBorder}, {"trbrdrl", W::OtherBorder},
    {"trbrdrb", W::OtherBorder}, {"trbrdrr", W::OtherBorder}, {"trbrdrh", W::OtherBorder},
    {"trbrdrv", W::OtherBorder}, {"chbrdr", W::OtherBorder},
    {"clvertalt", W::CellAlignTop}, {"clvertalc", W::CellAlignCenter}, {"clvertalb", W::CellAlignBottom},
    {"clcbpat", W::CellBackground}, {"clpadl", W::CellPaddingLeft}, {"clpadr", W::CellPaddingRight},
    {"brdrnone", W::BorderNone}, {"brdrnil", W::BorderNone}, {"brdrtbl", W::BorderNone},
    {"brdrs", W::BorderSingle}, {"brdrth", W::BorderSingle}, {"brdrsh", W::BorderSingle},
    {"brdrhair", W::BorderSingle}, {"brdrinset", W::BorderSingle}, {"brdroutset", W::BorderSingle},
    {"brdremboss", W::BorderSingle}, {"brdrengrave", W::BorderSingle},
    {"brdrdb", W::BorderDouble}, {"brdrtriple", W::BorderDouble},
    {"brdrdot", W::BorderDotted}, {"brdrdash", W::BorderDashed}, {"brdrdashsm", W::BorderDashed},
    {"brdrdashd", W::BorderDashed}, {"brdrdashdd", W::BorderDashed},
    {"brdrw", W::BorderWidth}, {"brdrcf", W::BorderColor},

    {"pngblip", W::PngBlip}, {"jpegblip", W::JpegBlip}, {"dibitmap", W::DibBitmap},
    {"wmetafile", W::Metafile}, {"emfblip", W::Metafile}, {"macpict", W::Metafile},
    {"pmmetafile", W::Metafile}, {"picw", W::PictureWidth}, {"pich", W::PictureHeight},
    {"picwgoal", W::PictureWidthGoal}, {"pichgoal", W::PictureHeightGoal},
    {"picscalex", W::PictureScaleX}, {"picscaley", W::PictureScaleY},
};

// Open addressing over a power-of-two table at most a third full, so a
// lookup costs one hash and about one comparison: control words are the most
// frequent token of machine-written RTF.
constexpr std::size_t kSlotCount = 1024;
static_assert(std::size(kWords) * 3 < kSlotCount);

constexpr std::size_t Hash(std::string_view name) {
  std::size_t hash = 2166136261u;
  for (char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return hash;
}

struct TWordTable {
  std::array<const TNamedWord*, kSlotCount> slots{};

  TWordTable() {
    for (const TNamedWord& entry : kWords) {
      std::size_t slot = Hash(entry.name) & (kSlotCount - 1);
      while (slots[slot]) slot = (slot + 1) & (kSlotCount - 1);
      slots[slot] = &entry;
    }
  }

  TRtfWord Find(std::string_view name) const {
    for (std::size_t slot = Hash(name) & (kSlotCount - 1); slots[slot];
         slot = (slot + 1) & (kSlotCount - 1)) {
      if (slots[slot]->name == name) return slots[slot]->word;
    }
    return TRtfWord::Unknown;
  }
};

}  // namespace

TRtfWord FindRtfWord(std::string_view name) {
  static const TWordTable table;
  return table.Find(name);
}
