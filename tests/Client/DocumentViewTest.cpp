#include <filesystem>

#include <QCoreApplication>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTreeView>

#include "ShownDocument.h"
#include "TextView.h"
#include "ClientIcons.h"
#include "ClientTestBase.h"
#include "RichTextEditing.h"
#include "TOMOTree.h"
#include "TOMOTreeModel.h"

namespace {

class DocumentViewTest : public ClientTest {
 protected:
  int ImageOf(int id) {
    auto* model = static_cast<TTOMOTreeModel*>(Window().findChild<QTreeView*>("TreeView")->model());
    return model->IndexOf(Window().Tree()->FindNode(id)).data(TTOMOTreeModel::kImageIndexRole).toInt();
  }
  QTextEdit& Text() { return *Window().findChild<QTextEdit*>("TextEdit"); }
  QTextCharFormat FormatAt(int position) {
    QTextCursor cursor(Text().document());
    cursor.setPosition(position + 1);
    return cursor.charFormat();
  }
};

TEST_F(DocumentViewTest, OpeningADocumentChangesItsIconAndRewritesTheIndexOnce) {
  AddFolder(1, 0, "Leis");
  AddDocument(2, 1, "Lei 1");
  AddDocument(3, 1, "Lei 2");
  SaveIndex();
  WriteBody(2, TextBody(RtfLines({"Primeira linha", "Segunda linha"})));
  WriteBody(3, TextBody("texto simples"));
  OpenWindow();
  EXPECT_EQ(ImageOf(1), kTopFolderImage);
  EXPECT_EQ(ImageOf(2), kUnreadDocumentImage);

  ShowId(2);
  EXPECT_EQ(Window().findChild<QStackedWidget*>("PageControl")->currentWidget()->objectName(), "TextTabSheet");
  EXPECT_TRUE(Text().toPlainText().startsWith("Primeira linha"));
  EXPECT_EQ(ImageOf(2), kDocumentImage);
  EXPECT_FALSE(Window().Tree()->Modified());
  TTOMOTree saved(DataFolder());
  EXPECT_GT(saved.FindNode(2)->Record().DocumentSize, 0);
  EXPECT_NE(saved.FindNode(2)->Record().DocumentDate, 0);

  // Opening it again finds nothing new, so the index file stays as it is.
  const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
  std::filesystem::last_write_time(IndexFile(), old);
  ShowId(3);
  const auto afterOther = std::filesystem::last_write_time(IndexFile());
  EXPECT_NE(afterOther, old);  // document 3 was new
  std::filesystem::last_write_time(IndexFile(), old);
  ShowId(2);
  EXPECT_EQ(std::filesystem::last_write_time(IndexFile()), old);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(DocumentViewTest, AnIndexFileThatCannotBeWrittenIsReportedAndTheDocumentStays) {
  AddDocument(1, 0, "Lei");
  SaveIndex();
  WriteBody(1, TextBody("texto da lei"));
  OpenWindow();
  // A folder in place of the index file's temporary copy blocks the save.
  std::filesystem::create_directories(std::filesystem::path(DataFolder()) / "TOMOIdx.tmp" / "x");
  ShowId(1);
  EXPECT_EQ(errors_.size(), 1u);
  EXPECT_TRUE(Text().toPlainText().contains("texto da lei"));
  EXPECT_TRUE(Window().Tree()->Modified());
  EXPECT_EQ(Window().CurrentNode()->Id(), 1);
}

TEST_F(DocumentViewTest, BodyWithoutPropertyBlockShowsWholeBody) {
  AddDocument(1, 0, "Nota");
  SaveIndex();
  WriteBody(1, "\r\nsem cabe\xE7" "alho\r\nHyperlinks\r\n\r\nv2,0,0,3,0\r\n");
  OpenWindow();
  ShowId(1);
  EXPECT_TRUE(Text().toPlainText().contains(QString::fromUtf8("sem cabeçalho")));
  EXPECT_TRUE(Reader().Shown().Links().empty());
}

TEST_F(DocumentViewTest, BrokenDocumentShowsTheErrorTextAndKeepsTheUnreadIcon) {
  AddDocument(7, 0, "Quebrado");
  SaveIndex();
  std::filesystem::create_directories(std::filesystem::path(DataFolder()) / "Doc00000");
  WriteWholeFile(std::filesystem::path(DataFolder()) / "Doc00000" / "Doc00007.dat", "lixo\r\n");
  OpenWindow();
  ShowId(7);
  const QString text = Text().toPlainText();
  EXPECT_TRUE(text.startsWith(QString::fromUtf8(
      "    Houve um erro ao acessar este documento.Tente atualizar o Pandecta para corrigir o problema.")));
  EXPECT_TRUE(text.contains(QString::fromUtf8("Informações técnicas")));
  EXPECT_TRUE(text.contains("Documento: 7"));
  EXPECT_TRUE(text.contains(QString::fromUtf8("Exceção: ")));
  EXPECT_TRUE(text.contains(QString::fromUtf8("Formato de arquivo inválido")));
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(ImageOf(7), kUnreadDocumentImage);
}

TEST_F(DocumentViewTest, LinksAreMarkedPlacedAndStruckThroughWhenTheTargetIsMissing) {
  AddDocument(1, 0, "Com atalhos");
  AddDocument(2, 0, "Destino");
  SaveIndex();
  // Lines: "abcdef" (0-5), "ghij" (7-10), "klmnop" (12-17).
  WriteBody(1, TextBody(RtfLines({"abcdef", "ghij", "klmnop"}),
                        {"v1,1,1,20,2", "v1,2,2,20,99", "v2,0,0,2,0,\"http://www.pandecta.example/x\"",
                         "v9,0,0,1,2"}));
  WriteBody(2, TextBody("destino"));
  OpenWindow();
  ShowId(1);
  ASSERT_TRUE(errors_.empty()) << errors_[0].Message;
  EXPECT_EQ(Reader().Shown().LineStarts(), (std::vector<int>{0, 7, 12}));
  ASSERT_EQ(Reader().Shown().Links().size(), 3u);

  // v1 on line 1 is cut at its line's end: "hij" (8-10).
  EXPECT_EQ(LinkNumberAt(*Text().document(), 8), 0);
  EXPECT_EQ(LinkNumberAt(*Text().document(), 10), 0);
  EXPECT_EQ(LinkNumberAt(*Text().document(), 11), -1);
  EXPECT_FALSE(FormatAt(8).fontStrikeOut());
  EXPECT_TRUE(FormatAt(8).fontUnderline());
  // v1 on the last line keeps its full length, to the end of the text.
  EXPECT_EQ(LinkNumberAt(*Text().document(), 14), 1);
  EXPECT_EQ(LinkNumberAt(*Text().document(), 17), 1);
  EXPECT_TRUE(FormatAt(14).fontStrikeOut());
  // An address with Target 0 is not struck through: entry 0 exists.
  EXPECT_EQ(LinkNumberAt(*Text().document(), 0), 2);
  EXPECT_FALSE(FormatAt(0).fontStrikeOut());
  EXPECT_EQ(FormatAt(0).foreground().color(), QColor(Qt::blue));
}

TEST_F(DocumentViewTest, LinkToAMissingEntryReportsItsNumberInFourDigits) {
  AddDocument(1, 0, "Com atalho");
  AddDocument(2, 0, "Destino");
  SaveIndex();
  WriteBody(1, TextBody(RtfLines({"abc def"}), {"v2,0,0,3,42", "v2,0,4,3,2"}));
  WriteBody(2, TextBody("destino"));
  OpenWindow();
  ShowId(1);
  try {
    Reader().Shown().FollowLink(0);
    FAIL() << "a missing target must raise";
  } catch (const ELxException& error) {
    EXPECT_EQ(error.ClassName(), "ETOMOError");
    EXPECT_EQ(error.Message(),
              "Destino do atalho (0042) não encontrado. \r\nTente atualizar novamente sua base de dados e "
              "provavelmente este problema será corrigido.");
  }
  EXPECT_EQ(Window().CurrentNode()->Id(), 1);
  Reader().Shown().FollowLink(1);
  EXPECT_EQ(Window().CurrentNode()->Id(), 2);
  EXPECT_THROW(Reader().Shown().FollowLink(5), ELxException);
}

TEST_F(DocumentViewTest, LinkLineWithANonNumberOrALineBeyondTheTextFailsTheLoad) {
  AddDocument(1, 0, "Atalho ruim");
  AddDocument(2, 0, "Linha ruim");
  SaveIndex();
  WriteBody(1, TextBody(RtfLines({"abc"}), {"v2,0,x,3,0"}));
  WriteBody(2, TextBody(RtfLines({"abc"}), {"v1,5,0,3,0"}));
  OpenWindow();
  ShowId(1);
  EXPECT_TRUE(Text().toPlainText().contains("Houve um erro"));
  ShowId(2);
  EXPECT_TRUE(Text().toPlainText().contains("Houve um erro"));
  EXPECT_EQ(errors_.size(), 2u);
}

TEST_F(DocumentViewTest, ScrollPositionComesBackProportionally) {
  AddDocument(1, 0, "Longo");
  AddDocument(2, 0, "Curto");
  SaveIndex();
  std::vector<std::string> lines;
  for (int i = 0; i < 400; ++i) lines.push_back("linha " + std::to_string(i));
  WriteBody(1, TextBody(RtfLines(lines)));
  WriteBody(2, TextBody("curto"));
  OpenWindow();
  ShowId(1);
  QCoreApplication::processEvents();
  QScrollBar* bar = Text().verticalScrollBar();
  ASSERT_GT(bar->maximum(), 100);
  bar->setValue(bar->maximum() / 2);
  ShowId(2);
  QCoreApplication::processEvents();
  EXPECT_EQ(Text().verticalScrollBar()->value(), 0);
  ShowId(1);
  QCoreApplication::processEvents();
  // The range may differ once the text is laid out again; the proportion stays.
  const QScrollBar* back = Text().verticalScrollBar();
  EXPECT_NEAR(static_cast<double>(back->value()) / (back->maximum() + 1), 0.5, 0.01);
}

}  // namespace
