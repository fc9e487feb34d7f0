#include <QBuffer>
#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QPrinter>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextEdit>

#include "ClientTestBase.h"
#include "DocumentPrinting.h"

namespace {

class FindAndPrintTest : public ClientTest {
 protected:
  void OpenText(const std::string& rtf) {
    AddDocument(1, 0, "Texto");
    AddDocument(2, 0, "Figura", kKindBitmap);
    SaveIndex();
    WriteBody(1, TextBody(rtf));
    WriteBody(2, TextBody(SmallBitmap()));
    OpenWindow();
    ShowId(1);
    Window().Actions().SearchInCurrentDocAction->trigger();
  }
  static std::string SmallBitmap() {
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes.toStdString();
  }
  void Find(const QString& text, bool up = false) {
    Window().findChild<QLineEdit*>("TextSearchEdit")->setText(text);
    Window().findChild<QRadioButton*>(up ? "TextDirectionUpRadio" : "TextDirectionDownRadio")->setChecked(true);
    Window().Actions().TextFindNextAction->trigger();
  }
  int SelectionStart() { return Window().findChild<QTextEdit*>("TextEdit")->textCursor().selectionStart(); }
  std::string PrintToPdf() {
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    const std::string path = DataFolder() + "/impresso.pdf";
    printer.setOutputFileName(QString::fromStdString(path));
    Window().PrintCurrent(printer);
    return ReadWholeFile(path);
  }
};

TEST_F(FindAndPrintTest, FindsForwardsAndBackwardsAndTellsWhenNothingIsFound) {
  OpenText(RtfLines({"lei um; lei dois; lei tres"}));
  EXPECT_FALSE(Window().findChild<QWidget*>("TextSearchPanel")->isHidden());
  EXPECT_TRUE(Window().Actions().SearchInCurrentDocAction->isChecked());
  Find("lei");
  EXPECT_EQ(SelectionStart(), 0);
  Find("lei");
  EXPECT_EQ(SelectionStart(), 8);
  Find("LEI");
  EXPECT_EQ(SelectionStart(), 18);
  // Backwards with the selection on the word finds the one before it.
  Find("lei", true);
  EXPECT_EQ(SelectionStart(), 8);
  Find("lei", true);
  EXPECT_EQ(SelectionStart(), 0);
  EXPECT_TRUE(prompts_.Notices().empty());
  Find("lei", true);  // past the start it goes on from the end
  EXPECT_EQ(SelectionStart(), 18);
  EXPECT_TRUE(prompts_.Notices().empty());
  Find("decreto");
  ASSERT_EQ(prompts_.Notices().size(), 1u);
  EXPECT_EQ(prompts_.Notices()[0], "Texto não encontrado");
  EXPECT_EQ(SelectionStart(), 18);  // the selection stays
}

TEST_F(FindAndPrintTest, WholeWordAndCaseOptionsNarrowTheSearch) {
  OpenText(RtfLines({"Leitura da lei"}));
  Window().findChild<QCheckBox*>("TextWholeWordChk")->setChecked(true);
  Find("lei");
  EXPECT_EQ(SelectionStart(), 11);
  Window().findChild<QCheckBox*>("TextWholeWordChk")->setChecked(false);
  Window().findChild<QCheckBox*>("TextMatchCaseChk")->setChecked(true);
  Window().findChild<QTextEdit*>("TextEdit")->moveCursor(QTextCursor::Start);
  Find("Lei");
  EXPECT_EQ(SelectionStart(), 0);
  Find("Lei");  // the only match, found again from the start
  EXPECT_EQ(SelectionStart(), 0);
  EXPECT_TRUE(prompts_.Notices().empty());
  Window().Actions().TextHideSearchAction->trigger();
  EXPECT_TRUE(Window().findChild<QWidget*>("TextSearchPanel")->isHidden());
}

TEST_F(FindAndPrintTest, PrintsTheTextAndTheBitmapToPdfFiles) {
  OpenText(RtfLines({"Texto para imprimir"}));
  EXPECT_TRUE(Window().Actions().PrintAction->isEnabled());
  EXPECT_EQ(PrintToPdf().substr(0, 4), "%PDF");
  ShowId(2);
  ASSERT_TRUE(errors_.empty()) << errors_[0].Message;
  EXPECT_TRUE(Window().Actions().PrintAction->isEnabled());
  EXPECT_EQ(PrintToPdf().substr(0, 4), "%PDF");
}

TEST(BitmapPrintRectTest, PlacesAtTwentyTwipsPerPixelAndShrinksToTheUsableArea) {
  const QSizeF page(12000, 16000);  // printable area in twips
  EXPECT_EQ(BitmapPrintRect(QSizeF(100, 50), page), QRectF(360, 360, 2000, 1000));
  // 1000 pixels are 20000 twips; the usable width is 12000 - 180 - 360.
  const QRectF wide = BitmapPrintRect(QSizeF(1000, 100), page);
  EXPECT_DOUBLE_EQ(wide.width(), 11460);
  EXPECT_DOUBLE_EQ(wide.height(), 1146);
  const QRectF tall = BitmapPrintRect(QSizeF(100, 2000), page);
  EXPECT_DOUBLE_EQ(tall.height(), 16000 - 720 - 360);
  EXPECT_DOUBLE_EQ(tall.width(), (16000 - 720 - 360) / 20.0);
}

}  // namespace
