// Line starts and link placement over real view documents, and the rules for
// the addresses a link may open.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTextCursor>
#include <QTextDocument>

#include "LinkAddress.h"
#include "LxExcept.h"
#include "PandectaApplication.h"
#include "RichTextEditing.h"
#include "RichTextPlainText.h"
#include "RichTextView.h"
#include "RtfReader.h"
#include "TextLinks.h"
#include "TextView.h"

namespace {

struct TShownText {
  std::unique_ptr<QTextDocument> view;
  std::vector<int> lineStarts;
};

TShownText Show(const std::string& rtf) {
  const TRichTextDocument model = ReadRichText(rtf);
  return {BuildTextDocument(model), BuildLineStarts(RichTextPlainText(model))};
}

// The text a version-1 link at `line`, `column`, `length` underlines.
QString LinkedText(const TShownText& shown, int line, int column, int length) {
  TBodyLink link;
  link.Version1 = true;
  link.Record.Line = line;
  link.Record.Position = column;
  link.Record.Length = length;
  link.Record.Target = 1;
  ApplyLinks(*shown.view, shown.lineStarts, {link}, [](int) { return true; });
  QString linked;
  for (int position = 0; position < shown.view->characterCount(); ++position) {
    if (LinkNumberAt(*shown.view, position) == 0) linked += shown.view->characterAt(position);
  }
  return linked;
}

}  // namespace

TEST(TextLinksTest, LineStartsCountLineBreaksAsOnePosition) {
  EXPECT_EQ(BuildLineStarts("ab\r\ncd\r\ne"), (std::vector<int>{0, 3, 6}));
  EXPECT_EQ(BuildLineStarts(""), (std::vector<int>{0}));
  EXPECT_EQ(BuildLineStarts("\r\nx"), (std::vector<int>{0, 1}));  // a break at the very start
  EXPECT_EQ(BuildLineStarts("a\r\n\r\n"), (std::vector<int>{0, 2, 3}));
}

// A table row is one line of the plain text, however many cells it has, as
// the collection's builder counts lines when it places version-1 links.
TEST(TextLinksTest, VersionOneLinksAfterATableLandOnTheirWords) {
  const TShownText shown = Show(
      R"({\rtf1 Antes\par)"
      R"(\trowd\cellx1000\cellx2000\cellx3000\intbl a\cell b\cell c\cell\row)"
      R"(\trowd\cellx1000\cellx2000\cellx3000\intbl d\cell e\cell f\cell\row)"
      R"(\pard Veja o artigo 5 da lei\par})");
  // Lines: "Antes", "a b c", "d e f", "Veja o artigo 5 da lei".
  EXPECT_EQ(shown.lineStarts.size(), 4u);
  EXPECT_EQ(LinkedText(shown, 3, 7, 9), "artigo 5 ");
}

TEST(TextLinksTest, VersionOneLinksAfterLineBreaksAndPicturesLandOnTheirWords) {
  const TShownText shown = Show(
      R"({\rtf1\line Primeira{\pict\wmetafile8\picwgoal100\pichgoal100 01}\line segunda linha\par terceira})");
  EXPECT_EQ(LinkedText(shown, 2, 0, 7), "segunda");
  EXPECT_EQ(Show(R"({\rtf1\line Primeira\line segunda linha\par terceira})").lineStarts,
            (std::vector<int>{0, 1, 10, 24}));
}

TEST(TextLinksTest, LinkAddressesOpenOnlyWhatIsSafeAndSaysWhatItIs) {
  EXPECT_EQ(ParseLinkAddress("https://www.sefaz.gov.br/a").verdict, TLinkAddressVerdict::Open);
  EXPECT_EQ(ParseLinkAddress(" mailto:fale@sefaz.gov.br ").verdict, TLinkAddressVerdict::Open);
  EXPECT_EQ(ParseLinkAddress("ftp://ftp.sefaz.gov.br/x.zip").verdict, TLinkAddressVerdict::Open);
  EXPECT_EQ(ParseLinkAddress("tel:+5511999999999").verdict, TLinkAddressVerdict::Open);

  const TLinkAddress document = ParseLinkAddress("file:///dados/anexos/Lei%201.PDF");
  EXPECT_EQ(document.verdict, TLinkAddressVerdict::Open);
  EXPECT_TRUE(document.url.isLocalFile());
  const TLinkAddress drive = ParseLinkAddress(R"(C:\Pandecta\anexos\tabela.xls)");
  EXPECT_EQ(drive.verdict, TLinkAddressVerdict::Open);
  EXPECT_EQ(drive.url.scheme(), "file");
  EXPECT_EQ(ParseLinkAddress(R"(\\servidor\anexos\tabela.pdf)").url.host(), "servidor");

  EXPECT_EQ(ParseLinkAddress("file:///usr/bin/setup.exe").verdict, TLinkAddressVerdict::Unsafe);
  EXPECT_EQ(ParseLinkAddress("file:///home/x/instalar.sh").verdict, TLinkAddressVerdict::Unsafe);
  EXPECT_EQ(ParseLinkAddress("file:///home/x/programa").verdict, TLinkAddressVerdict::Unsafe);
  EXPECT_EQ(ParseLinkAddress(R"(C:\Windows\system32\cmd.exe)").verdict, TLinkAddressVerdict::Unsafe);
  EXPECT_EQ(ParseLinkAddress("smb://srv/x/run.bat").verdict, TLinkAddressVerdict::Unsafe);
  EXPECT_EQ(ParseLinkAddress("JavaScript:alert(1)").verdict, TLinkAddressVerdict::Unsafe);
  EXPECT_EQ(ParseLinkAddress("data:text/html,<b>x</b>").verdict, TLinkAddressVerdict::Unsafe);

  // A bare name is not guessed to be a web address.
  EXPECT_EQ(ParseLinkAddress("x.pdf").verdict, TLinkAddressVerdict::NoScheme);
  EXPECT_EQ(ParseLinkAddress("www.sefaz.gov.br").verdict, TLinkAddressVerdict::NoScheme);
  EXPECT_EQ(ParseLinkAddress("   ").verdict, TLinkAddressVerdict::Empty);
}

TEST(TextLinksTest, OpeningALinkTellsWhyNothingOpened) {
  QUrl opened;
  OpenLinkAddress("https://www.sefaz.gov.br", [&](const QUrl& url) {
    opened = url;
    return true;
  });
  EXPECT_EQ(opened, QUrl("https://www.sefaz.gov.br"));

  auto messageOf = [](const QString& address, bool handled) {
    try {
      OpenLinkAddress(address, [handled](const QUrl&) { return handled; });
    } catch (const ELxException& error) {
      EXPECT_EQ(error.ClassName(), "ETOMOError");
      return error.Message();
    }
    return std::string();
  };
  EXPECT_EQ(messageOf("https://www.sefaz.gov.br", false),
            "Não há neste computador um programa que abra o endereço https://www.sefaz.gov.br.");
  EXPECT_EQ(messageOf("javascript:alert(1)", true), "Endereço não permitido: javascript:alert(1)");
  EXPECT_EQ(messageOf("x.pdf", true),
            "O endereço \"x.pdf\" não diz como deve ser aberto (por exemplo, \"http://\" ou \"file://\"); "
            "ele não foi aberto.");
  bool called = false;
  EXPECT_THROW(OpenLinkAddress("file:///tmp/a.exe", [&](const QUrl&) { return called = true; }), ELxException);
  EXPECT_FALSE(called);
}

TEST(TextLinksTest, TheReadOnlyViewShowsNoCaretNorAfterItsDocumentIsReplaced) {
  TTextView view;
  EXPECT_EQ(view.cursorWidth(), 0);
  EXPECT_TRUE(view.isReadOnly());
  auto* document = BuildTextDocumentFromBody(R"({\rtf1 outro texto})").release();
  document->setParent(&view);
  view.setDocument(document);
  view.resize(400, 300);
  view.show();
  view.grab();  // paints it
  EXPECT_EQ(view.cursorWidth(), 0);
}

TEST(TextLinksTest, QtsOwnDialogsSpeakPortuguese) {
  ASSERT_NE(dynamic_cast<TPandectaApplication*>(QCoreApplication::instance()), nullptr);
  EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print"), "Imprimir");
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancelar");
}
