#include <memory>

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSplitter>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextTable>

#include "ClientTestBase.h"
#include "ConfigUnit.h"
#include "LxConfigStore.h"
#include "RichTextZoom.h"
#include "TextSearchPanel.h"
#include "TextZoom.h"

namespace {

// A paragraph, a table of two 100-pixel columns and a declared 96 x 48 picture.
constexpr char kTableDocument[] =
    "{\\rtf1\\ansi\\fs24 Lei do imposto\\par "
    "\\trowd\\cellx1500\\cellx3000 \\intbl a\\cell \\intbl b\\cell \\row "
    "{\\pict\\emfblip\\picwgoal1440\\pichgoal720 0102}\\par fim}";

class ZoomAndFindTest : public ClientTest {
 protected:
  void OpenDocument(const std::string& rtf) {
    AddDocument(1, 0, "Texto");
    SaveIndex();
    WriteBody(1, TextBody(rtf));
    OpenWindow();
    ShowId(1);
  }
  QTextDocument& Text() { return *Window().findChild<QTextEdit*>("TextEdit")->document(); }
  double FirstPointSize() { return Text().begin().begin().fragment().charFormat().fontPointSize(); }
  QTextTable* Table() {
    for (QTextFrame* frame : Text().rootFrame()->childFrames()) {
      if (auto* table = qobject_cast<QTextTable*>(frame)) return table;
    }
    return nullptr;
  }
  double PictureWidth() {
    for (QTextBlock block = Text().begin(); block.isValid(); block = block.next()) {
      for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().charFormat().isImageFormat()) return it.fragment().charFormat().toImageFormat().width();
      }
    }
    return 0;
  }
  void Find(const QString& text, bool up = false) {
    Window().findChild<QLineEdit*>("TextSearchEdit")->setText(text);
    Window().findChild<QRadioButton*>(up ? "TextDirectionUpRadio" : "TextDirectionDownRadio")->setChecked(true);
    Window().Actions().TextFindNextAction->trigger();
  }
  int SelectionStart() { return Window().findChild<QTextEdit*>("TextEdit")->textCursor().selectionStart(); }
  QString Status() { return Window().findChild<QLabel*>("TextSearchStatus")->text(); }
};

TEST_F(ZoomAndFindTest, ZoomScalesTextTablesAndPicturesAndIsRememberedAcrossRuns) {
  OpenDocument(kTableDocument);
  ASSERT_NE(Table(), nullptr);
  EXPECT_DOUBLE_EQ(FirstPointSize(), 12.0);
  EXPECT_DOUBLE_EQ(PictureWidth(), 96.0);
  EXPECT_DOUBLE_EQ(Table()->format().columnWidthConstraints()[0].rawValue(), 100.0);

  Window().Actions().ZoomInAction->trigger();  // 110 %
  Window().Actions().ZoomInAction->trigger();  // 125 %
  EXPECT_DOUBLE_EQ(FirstPointSize(), 15.0);
  EXPECT_DOUBLE_EQ(PictureWidth(), 120.0);
  EXPECT_NEAR(Table()->format().columnWidthConstraints()[0].rawValue(), 125.0, 1e-6);
  // A printed copy goes back to the natural size.
  std::unique_ptr<QTextDocument> copy(Text().clone());
  EXPECT_DOUBLE_EQ(TextDocumentZoom(*copy), 1.25);
  ZoomTextDocument(*copy, 1.0);
  EXPECT_DOUBLE_EQ(copy->begin().begin().fragment().charFormat().fontPointSize(), 12.0);

  // The next run opens the document at the zoom left behind.
  EXPECT_EQ(ReadTextZoom(Config().Store()), 125);
  OpenWindow();
  ShowId(1);
  EXPECT_DOUBLE_EQ(FirstPointSize(), 15.0);
  Window().Actions().ZoomResetAction->trigger();
  EXPECT_DOUBLE_EQ(FirstPointSize(), 12.0);
  EXPECT_DOUBLE_EQ(PictureWidth(), 96.0);
  for (int i = 0; i < 20; ++i) Window().Actions().ZoomOutAction->trigger();
  EXPECT_EQ(ReadTextZoom(Config().Store()), 50);  // the smallest step holds

  // Something else in the store reads as the natural size.
  Config().Store().WriteValue(TLxRootKey::CurrentUser, std::string(kTOMORegistryKey) + "\\Configurações\\Leitura",
                              "ZoomTexto", "enorme");
  EXPECT_EQ(ReadTextZoom(Config().Store()), kNaturalZoomPercent);
}

TEST_F(ZoomAndFindTest, FindWrapsAroundCountsMatchesAndKeepsThePanes) {
  OpenDocument(RtfLines({"lei um; lei dois; lei tres"}));
  Window().resize(700, 500);
  Window().Actions().ShowTreeAction->trigger();
  QCoreApplication::processEvents();
  const QList<int> panes = Window().findChild<QSplitter*>("Splitter")->sizes();
  Window().Actions().SearchInCurrentDocAction->trigger();
  QCoreApplication::processEvents();
  EXPECT_EQ(Window().findChild<QSplitter*>("Splitter")->sizes(), panes);

  Find("lei");
  EXPECT_EQ(Status(), "1 de 3");
  Find("lei");
  Find("lei");
  EXPECT_EQ(SelectionStart(), 18);
  EXPECT_EQ(Status(), "3 de 3");
  Find("lei");
  EXPECT_EQ(SelectionStart(), 0);
  EXPECT_EQ(Status(), QString::fromUtf8("Fim do documento; continuando do início (1 de 3)"));
  Find("lei", true);
  EXPECT_EQ(SelectionStart(), 18);
  EXPECT_EQ(Status(), QString::fromUtf8("Início do documento; continuando do fim (3 de 3)"));
  EXPECT_TRUE(prompts_.Notices().empty());
  Find("decreto");
  EXPECT_EQ(prompts_.Notices().size(), 1u);
  EXPECT_EQ(Status(), "");
}

}  // namespace
