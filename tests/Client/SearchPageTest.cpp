#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTreeView>
#include <QTreeWidget>

#include "SearchSession.h"
#include "StartupStages.h"
#include "ClientTestBase.h"
#include "ConfigUnit.h"
#include "DocumentListModel.h"
#include "IndexBuildSequence.h"
#include "LxCodePage.h"
#include "LxDateTime.h"
#include "LxDirectoryLock.h"
#include "PackageTestSupport.h"
#include "ResultListModel.h"
#include "ResultListView.h"
#include "TOMOTree.h"
#include "TempFolder.h"
#include "UpdateOperation.h"
#include "UpdateUnit.h"
#include "WordIndex.h"
#include "WordIndexLockWrite.h"
#include "WordIndexMessages.h"

namespace {

class TSilentReport : public TIndexBuildReport {
 public:
  void AddLog(TLineKind, const std::string&) override {}
  void ResetProgress(int) override {}
  void SetProgress(int) override {}
};

// A small base indexed by the real engine:
//   Legislação (1)            Pareceres (2)
//     Decretos (3)              Parecer sobre mercadoria (20)
//       Decreto B (10)          Consulta sobre Substituição tributária (21)
//       Decreto A (11)
//     Atos (4)
//       Ato único (12)
class SearchPageTest : public ClientTest {
 protected:
  void SetUp() override {
    ClientTest::SetUp();
    WordIndex = std::make_unique<TWordIndex>([] { return Config().GetString(ExtraFolder); });
    AddFolder(1, 0, Utf8ToWin1252("Legislação"));
    AddFolder(2, 0, "Pareceres");
    AddFolder(3, 1, "Decretos", "Decretos do estado");
    AddFolder(4, 1, "Atos");
    AddDocument(10, 3, "Decreto B");
    AddDocument(11, 3, "Decreto A");
    AddDocument(12, 4, Utf8ToWin1252("Ato único"));
    AddDocument(20, 2, "Parecer sobre mercadoria");
    AddDocument(21, 2, Utf8ToWin1252("Consulta sobre Substituição tributária"));
    SetPublishedDate(10, EncodeDate(2003, 6, 15));
    SetPublishedDate(11, EncodeDate(2004, 1, 2));
    SetPublishedDate(20, EncodeDate(2003, 10, 10));
    SetPublishedDate(21, EncodeDate(2003, 10, 11));
    SaveIndex();
    WriteBody(10, TextBody(RtfLines({"O imposto de renda devido", Utf8ToWin1252("no exercício")})));
    WriteBody(11, TextBody(RtfLines({Utf8ToWin1252("Tabela de alíquotas do imposto")})));
    WriteBody(12, TextBody(RtfLines({Utf8ToWin1252("renda tributável e renda isenta"), "e mais renda"})));
    WriteBody(20, TextBody(RtfLines({"mercadoria importada"})));
    WriteBody(21, TextBody(RtfLines({"consulta sobre prazo"})));
    TTOMOTree tree(DataFolder());
    TSilentReport report;
    TIndexBuildSequence build(*WordIndex, tree, *DocumentSource(), report);
    while (build.Step()) {
    }
    OpenWindow();
  }
  void TearDown() override {
    ClientTest::TearDown();
    WordIndex.reset();
  }

  template <class TWidget>
  TWidget& Find(const char* name) {
    auto* widget = Window().findChild<TWidget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return *widget;
  }
  QAction& Action(const char* name) { return Find<QAction>(name); }
  TResultListView& List() { return Find<TResultListView>("SearchDocListBox"); }
  QTreeView& ResultTree() { return Find<QTreeView>("SearchTreeView"); }
  QTextEdit& Text() { return Find<QTextEdit>("TextEdit"); }

  // Types a query and presses "Procurar"; a second phrase opens the
  // advanced settings first.
  void Search(const std::string& phrase, const std::string& more = "", bool orCombination = false) {
    Action("SearchDocumentsAction").trigger();
    Find<QLineEdit>("SearchDocText").setText(QString::fromStdString(phrase));
    if (!more.empty()) {
      Find<QPushButton>("SearchAdvancedBtn").setChecked(true);
      Find<QLineEdit>("SearchDocMoreText").setText(QString::fromStdString(more));
      Find<QRadioButton>(orCombination ? "SearchMoreOrRadio" : "SearchMoreAndRadio").setChecked(true);
    }
    Find<QPushButton>("SearchDocButton").click();
    QCoreApplication::processEvents();
  }
  // The result list's rows: titles indented two blanks per level.
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    QAbstractItemModel& model = *List().model();
    for (int row = 0; row < model.rowCount(); ++row) {
      const QModelIndex index = model.index(row, 0);
      const int level = index.data(TDocumentListModel::kLevelRole).toInt();
      rows.push_back(std::string(static_cast<size_t>(2 * (level - 1)), ' ') +
                     index.data(Qt::DisplayRole).toString().toStdString());
    }
    return rows;
  }
  // The result tree depth-first, in the same form.
  std::vector<std::string> TreeItems(const QModelIndex& parent = {}, int level = 0) {
    std::vector<std::string> items;
    QAbstractItemModel& model = *ResultTree().model();
    for (int row = 0; row < model.rowCount(parent); ++row) {
      const QModelIndex index = model.index(row, 0, parent);
      items.push_back(std::string(static_cast<size_t>(2 * level), ' ') + index.data().toString().toStdString());
      for (const std::string& below : TreeItems(index, level + 1)) items.push_back(below);
    }
    return items;
  }
  int RowOf(const std::string& title) {
    const std::vector<std::string> rows = Rows();
    for (size_t row = 0; row < rows.size(); ++row) {
      if (QString::fromStdString(rows[row]).trimmed().toStdString() == title) return static_cast<int>(row);
    }
    ADD_FAILURE() << title;
    return -1;
  }
  void DoubleClickRow(int row) {
    QWidget* viewport = List().viewport();
    const QPoint at = List().visualRect(List().model()->index(row, 0)).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease}) {
      QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton,
                        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(viewport, &event);
    }
    QCoreApplication::processEvents();
  }
  std::string Selected() { return Text().textCursor().selectedText().toStdString(); }
  bool MarkedAsHit(int position) {
    QTextCursor cursor(Text().document());
    cursor.setPosition(position + 1);
    const QTextCharFormat format = cursor.charFormat();
    return format.background().color() == QColor(Qt::yellow) && format.fontWeight() == QFont::Bold;
  }
  QTreeWidgetItem* FilterItem(const std::string& title) {
    const QList<QTreeWidgetItem*> found = Find<QTreeWidget>("SearchFilterTree").findItems(
        QString::fromStdString(title), Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
  }
};

TEST_F(SearchPageTest, OpeningTheSearchPageAndEnablingProcurar) {
  EXPECT_FALSE(Action("SearchDocumentsNowAction").isEnabled());
  EXPECT_FALSE(Action("SearchNextWordAction").isEnabled());
  Action("SearchDocumentsAction").trigger();
  EXPECT_EQ(Find<QTabWidget>("TreePageControl").currentWidget(), &ResultTree());
  EXPECT_EQ(Find<QStackedWidget>("PageControl").currentWidget()->objectName(), "SearchDocTabSheet");
  EXPECT_EQ(Find<QLabel>("TitleLabel").text(), " Pesquisa");
  EXPECT_EQ(Find<QStackedWidget>("SearchPageControl").currentWidget()->objectName(), "SearchResultsTabSheet");

  Find<QLineEdit>("SearchDocText").setText("   ");
  EXPECT_FALSE(Find<QPushButton>("SearchDocButton").isEnabled());
  Find<QLineEdit>("SearchDocText").setText("renda");
  EXPECT_TRUE(Action("SearchDocumentsNowAction").isEnabled());
  EXPECT_TRUE(Find<QPushButton>("SearchDocButton").isEnabled());

  Find<QPushButton>("SearchAdvancedBtn").setChecked(true);
  EXPECT_EQ(Find<QStackedWidget>("SearchPageControl").currentWidget()->objectName(), "SearchAdvancedTabSheet");
  EXPECT_FALSE(Find<QDateEdit>("SearchDateFilterFrom").isEnabled());
  EXPECT_EQ(Find<QDateEdit>("SearchDateFilterTo").date(), QDate(2004, 3, 26));
  EXPECT_FALSE(Find<QTreeWidget>("SearchFilterTree").isEnabled());

  // Back on the index tab, the shown entry's title and page return.
  Find<QTabWidget>("TreePageControl").setCurrentIndex(0);
  EXPECT_EQ(Find<QLabel>("TitleLabel").text(), " Boletim");
  EXPECT_EQ(Find<QStackedWidget>("PageControl").currentWidget()->objectName(), "ListBoxTabSheet");
}

TEST_F(SearchPageTest, PhraseFoundOnlyInTitlesNeedsTitulos) {
  Search("substituição");
  EXPECT_TRUE(Rows().empty());
  ASSERT_NE(Session().Results(), nullptr);

  Find<QRadioButton>("SearchWhereTitlesRadio").setChecked(true);
  Search("substituição");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Pareceres", "  Consulta sobre Substituição tributária"}));

  Find<QRadioButton>("SearchWhereBothRadio").setChecked(true);
  Search("imposto renda");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Legislação", "  Decretos", "    Decreto B"}));
  EXPECT_TRUE(errors_.empty());
}

TEST_F(SearchPageTest, SecondPhraseWithEAndOu) {
  Search("imposto", "renda");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Legislação", "  Decretos", "    Decreto B"}));
  // The search brings the results back and releases the advanced button.
  EXPECT_FALSE(Find<QPushButton>("SearchAdvancedBtn").isChecked());
  EXPECT_EQ(Find<QStackedWidget>("SearchPageControl").currentWidget()->objectName(), "SearchResultsTabSheet");

  Search("imposto", "renda", true);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Legislação", "  Atos", "    Ato único", "  Decretos",
                                              "    Decreto A", "    Decreto B"}));
  // With the button up, the second phrase is left out.
  Find<QLineEdit>("SearchDocText").setText("imposto");
  Find<QPushButton>("SearchDocButton").click();
  EXPECT_EQ(Rows().size(), 4u);
}

TEST_F(SearchPageTest, DateWindowKeepsTheYearAndUndatedEntries) {
  Action("SearchDocumentsAction").trigger();
  Find<QPushButton>("SearchAdvancedBtn").setChecked(true);
  Find<QCheckBox>("SearchDateFilterChk").setChecked(true);
  EXPECT_TRUE(Find<QDateEdit>("SearchDateFilterFrom").isEnabled());
  Find<QDateEdit>("SearchDateFilterFrom").setDate(QDate(2003, 1, 1));
  Find<QDateEdit>("SearchDateFilterTo").setDate(QDate(2003, 12, 31));
  // Entry 12 has no publication date; 11 was published on 02/01/2004.
  Search("imposto", "renda", true);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Legislação", "  Atos", "    Ato único", "  Decretos", "    Decreto B"}));
}

TEST_F(SearchPageTest, FilterTreeTicksPropagateAndFilterByTitles) {
  Action("SearchDocumentsAction").trigger();
  Find<QPushButton>("SearchAdvancedBtn").setChecked(true);
  auto& filter = Find<QTreeWidget>("SearchFilterTree");
  EXPECT_EQ(filter.topLevelItemCount(), 0);
  Find<QCheckBox>("SearchFilterTreeChk").setChecked(true);
  ASSERT_EQ(filter.topLevelItemCount(), 2);
  QTreeWidgetItem& legislacao = *filter.topLevelItem(0);
  EXPECT_EQ(legislacao.childCount(), 0);  // made when first expanded
  EXPECT_EQ(legislacao.childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);

  legislacao.setExpanded(true);
  ASSERT_EQ(legislacao.childCount(), 2);
  legislacao.child(0)->setExpanded(true);
  QTreeWidgetItem* decretoB = FilterItem("Decreto B");
  ASSERT_NE(decretoB, nullptr);
  decretoB->setCheckState(0, Qt::Checked);
  EXPECT_EQ(FilterItem("Decretos")->checkState(0), Qt::Checked);
  EXPECT_EQ(legislacao.checkState(0), Qt::Checked);
  EXPECT_EQ(FilterItem("Decreto A")->checkState(0), Qt::Unchecked);
  decretoB->setCheckState(0, Qt::Unchecked);
  EXPECT_EQ(FilterItem("Decretos")->checkState(0), Qt::Unchecked);
  EXPECT_EQ(legislacao.checkState(0), Qt::Unchecked);

  // A ticked folder ticks what is made below it, now and when expanded later.
  legislacao.setCheckState(0, Qt::Checked);
  EXPECT_EQ(FilterItem("Decreto A")->checkState(0), Qt::Checked);
  FilterItem("Atos")->setExpanded(true);
  EXPECT_EQ(FilterItem("Ato único")->checkState(0), Qt::Checked);
  FilterItem("Decreto A")->setCheckState(0, Qt::Unchecked);
  EXPECT_EQ(legislacao.checkState(0), Qt::Checked);  // Decreto B still is

  Search("imposto", "mercadoria", true);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Legislação", "  Decretos", "    Decreto B"}));
}

TEST_F(SearchPageTest, TreeIsAlphabeticalAtEachLevelAndTheListFollowsIt) {
  Search("renda", "mercadoria", true);
  const std::vector<std::string> expected = {"Legislação", "  Atos", "    Ato único", "  Decretos", "    Decreto B",
                                             "Pareceres", "  Parecer sobre mercadoria"};
  EXPECT_EQ(TreeItems(), expected);
  EXPECT_EQ(Rows(), expected);
  QAbstractItemModel& rows = *List().model();
  EXPECT_TRUE(rows.index(RowOf("Decretos"), 0).data(TDocumentListModel::kBoldRole).toBool());
  EXPECT_FALSE(rows.index(RowOf("Decreto B"), 0).data(TDocumentListModel::kBoldRole).toBool());
}

TEST_F(SearchPageTest, DoubleClickShowsTheHitsAndStepsThroughThem) {
  Search("renda");
  DoubleClickRow(RowOf("Ato único"));
  ASSERT_NE(Window().CurrentNode(), nullptr);
  EXPECT_EQ(Window().CurrentNode()->Id(), 12);
  // The left pane stays on "Pesquisa".
  EXPECT_EQ(Find<QTabWidget>("TreePageControl").currentIndex(), 1);
  EXPECT_EQ(Find<QStackedWidget>("PageControl").currentWidget()->objectName(), "TextTabSheet");
  // "renda tributável e renda isenta\ne mais renda": hits at 0, 19 and 39.
  EXPECT_TRUE(MarkedAsHit(0));
  EXPECT_TRUE(MarkedAsHit(19));
  EXPECT_TRUE(MarkedAsHit(39));
  EXPECT_FALSE(MarkedAsHit(8));
  EXPECT_EQ(Text().textCursor().selectionStart(), 0);
  EXPECT_EQ(Selected(), "renda");

  QAction& next = Action("SearchNextWordAction");
  QAction& previous = Action("SearchPrevWordAction");
  ASSERT_TRUE(next.isEnabled());
  ASSERT_TRUE(previous.isEnabled());
  next.trigger();
  EXPECT_EQ(Text().textCursor().selectionStart(), 19);
  next.trigger();
  EXPECT_EQ(Text().textCursor().selectionStart(), 39);
  // Past the last hit the step goes on to the next entry of the list,
  // Decreto B ("O imposto de renda devido"), and the list and tree follow.
  next.trigger();
  ASSERT_EQ(Window().CurrentNode()->Id(), 10);
  EXPECT_EQ(Text().textCursor().selectionStart(), 13);
  EXPECT_EQ(List().currentIndex().row(), RowOf("Decreto B"));
  EXPECT_EQ(ResultTree().currentIndex().data().toString(), "Decreto B");
  next.trigger();  // the list's last hit: nothing moves
  EXPECT_EQ(Window().CurrentNode()->Id(), 10);
  EXPECT_EQ(Text().textCursor().selectionStart(), 13);
  // Back before the first hit: the previous entry at its last hit.
  previous.trigger();
  ASSERT_EQ(Window().CurrentNode()->Id(), 12);
  EXPECT_EQ(Text().textCursor().selectionStart(), 39);
  EXPECT_TRUE(MarkedAsHit(0));
  previous.trigger();
  EXPECT_EQ(Text().textCursor().selectionStart(), 19);

  // Opening it again while shown marks the hits anew on a fresh text.
  DoubleClickRow(RowOf("Ato único"));
  EXPECT_EQ(Text().textCursor().selectionStart(), 0);
  EXPECT_TRUE(MarkedAsHit(39));

  // An entry that is no hit leaves the commands off.
  ShowId(11);
  EXPECT_FALSE(next.isEnabled());
  EXPECT_FALSE(MarkedAsHit(0));
  EXPECT_TRUE(errors_.empty());
}

TEST_F(SearchPageTest, ResultTreeItemsShowTheirEntryOrFolder) {
  Search("renda");
  QTreeView& tree = ResultTree();
  QAbstractItemModel& model = *tree.model();
  const QModelIndex legislacao = model.index(0, 0);
  const QModelIndex atos = model.index(0, 0, legislacao);
  const QModelIndex ato = model.index(0, 0, atos);
  tree.setCurrentIndex(ato);
  ASSERT_NE(Window().CurrentNode(), nullptr);
  EXPECT_EQ(Window().CurrentNode()->Id(), 12);
  EXPECT_TRUE(MarkedAsHit(19));
  tree.setCurrentIndex(atos);
  EXPECT_EQ(Window().CurrentNode()->Id(), 4);
  EXPECT_EQ(Find<QStackedWidget>("PageControl").currentWidget()->objectName(), "ListBoxTabSheet");

  // A click on a folder row finds it in the tree and keeps the list shown.
  Action("SearchDocumentsAction").trigger();
  emit List().clicked(List().model()->index(RowOf("Decretos"), 0));
  EXPECT_EQ(tree.currentIndex().data().toString(), "Decretos");
  EXPECT_EQ(Find<QStackedWidget>("PageControl").currentWidget()->objectName(), "SearchDocTabSheet");
  EXPECT_EQ(Window().CurrentNode()->Id(), 4);
}

TEST_F(SearchPageTest, SearchErrorsAreShownAndThePreviousResultsStay) {
  Search("imposto");
  const std::vector<std::string> before = Rows();
  ASSERT_EQ(before.size(), 4u);
  const TSearchResultList* results = Session().Results();

  {
    // The index is held open by this program (a build or an update).
    auto held = WordIndex->OpenUpdate();
    Search("renda");
  }
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].Message, kIndexAlreadyOpenMessage);
  EXPECT_EQ(Rows(), before);
  EXPECT_EQ(Session().Results(), results);

  Action("ClearIndexAction").trigger();
  Search("renda");
  ASSERT_EQ(errors_.size(), 2u);
  EXPECT_EQ(errors_[1].ClassName, "EWordIndexError");
  EXPECT_EQ(errors_[1].Message, kIndexCannotOpenMessage);
  EXPECT_EQ(Rows(), before);
}

TEST_F(SearchPageTest, EmptyResultAfterASearchSaysSo) {
  Search("inexistente");
  EXPECT_TRUE(Rows().empty());
  // The note is painted over the empty list of a search, not over a list
  // that simply holds nothing yet.
  auto picture = [&] {
    QImage image(List().viewport()->size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    List().viewport()->render(&image);
    return image;
  };
  const QImage searched = picture();
  List().SetSearched(false);
  EXPECT_NE(picture(), searched);
}

TEST_F(SearchPageTest, CountAboveTheResults) {
  auto& count = Find<QLabel>("SearchResultCountLabel");
  Search("renda");
  EXPECT_EQ(count.text(), "2 documentos encontrados");
  EXPECT_FALSE(count.isHidden());
  Search("mercadoria");
  EXPECT_EQ(count.text(), "1 documento encontrado");
  Search("inexistente");
  EXPECT_TRUE(count.isHidden());
}

TEST_F(SearchPageTest, ActiveFiltersShowInOneLineUntilCleared) {
  Action("SearchDocumentsAction").trigger();
  QWidget& line = Find<QWidget>("SearchActiveFiltersLine");
  auto& text = Find<QLabel>("SearchActiveFiltersLabel");
  EXPECT_TRUE(line.isHidden());

  Find<QPushButton>("SearchAdvancedBtn").setChecked(true);
  Find<QCheckBox>("SearchDateFilterChk").setChecked(true);
  Find<QDateEdit>("SearchDateFilterFrom").setDate(QDate(2003, 1, 1));
  Find<QDateEdit>("SearchDateFilterTo").setDate(QDate(2003, 12, 31));
  Find<QRadioButton>("SearchWhereBothRadio").setChecked(true);
  Find<QCheckBox>("SearchFilterTreeChk").setChecked(true);
  EXPECT_EQ(text.text().toStdString(),
            "Filtros ativos: data de 01/01/2003 a 31/12/2003; títulos: nenhum ramo marcado; "
            "buscar em Conteúdo e Títulos");
  // An empty title filter keeps nothing, and the empty list says why.
  Search("renda");
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(List().EmptyNote().toStdString(), "Nenhum ramo está marcado em \"Filtrar por Títulos\".");

  // With the advanced page closed the line stays, naming the chosen branch.
  FilterItem("Legislação")->setExpanded(true);
  FilterItem("Atos")->setCheckState(0, Qt::Checked);
  Search("renda");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Legislação", "  Atos", "    Ato único"}));
  EXPECT_FALSE(line.isHidden());
  EXPECT_NE(text.text().indexOf("títulos: Atos;"), -1) << text.text().toStdString();

  // The date window leaves out Decreto B (2003) as well: the note counts it.
  FilterItem("Atos")->setCheckState(0, Qt::Unchecked);
  FilterItem("Decretos")->setExpanded(true);
  FilterItem("Decreto A")->setCheckState(0, Qt::Checked);
  Search("renda");
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(List().EmptyNote().toStdString(), "2 documentos encontrados foram deixados de fora pelos filtros ativos.");

  // "Limpar filtros" puts the defaults back and shows the search again.
  Find<QPushButton>("SearchClearFiltersBtn").click();
  EXPECT_TRUE(line.isHidden());
  EXPECT_FALSE(Find<QCheckBox>("SearchDateFilterChk").isChecked());
  EXPECT_FALSE(Find<QCheckBox>("SearchFilterTreeChk").isChecked());
  EXPECT_TRUE(Find<QRadioButton>("SearchWhereContentRadio").isChecked());
  EXPECT_EQ(Rows().size(), 5u);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(SearchPageTest, EmptyResultNamesTheSkippedShortWords) {
  Search("de a inexistente de");
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(List().EmptyNote().toStdString(), "Palavras de uma ou duas letras não são procuradas: \"de\", \"a\".");
  Search("inexistente");
  EXPECT_TRUE(List().EmptyNote().isEmpty());
}

TEST_F(SearchPageTest, HitRowsShowASnippetOnceOnScreen) {
  Find<QRadioButton>("SearchWhereBothRadio").setChecked(true);
  Search("renda", "tributária", true);
  QAbstractItemModel& model = *List().model();
  const QModelIndex ato = model.index(RowOf("Ato único"), 0);
  const QModelIndex consulta = model.index(RowOf("Consulta sobre Substituição tributária"), 0);
  EXPECT_TRUE(ato.data(TResultListModel::kHasSnippetRole).toBool());
  // Found by its title only, and folders: no text to show.
  EXPECT_FALSE(consulta.data(TResultListModel::kHasSnippetRole).toBool());
  EXPECT_FALSE(model.index(RowOf("Atos"), 0).data(TResultListModel::kHasSnippetRole).toBool());

  // Asking (as a paint does) queues the row; the snippet follows the paint.
  ato.data(TResultListModel::kSnippetRole);
  QCoreApplication::processEvents();
  const TRowSnippet snippet = ato.data(TResultListModel::kSnippetRole).value<TRowSnippet>();
  EXPECT_EQ(snippet.Text.toStdString(), "renda tributável e renda isenta e mais renda");
  ASSERT_EQ(snippet.Hits.size(), 3u);
  EXPECT_EQ(snippet.Text.mid(snippet.Hits[2].Start, snippet.Hits[2].Length), "renda");
  // The row is a line taller than its title and summary.
  const QModelIndex decreto = model.index(RowOf("Decreto B"), 0);
  EXPECT_GT(List().visualRect(decreto).height(), List().visualRect(model.index(RowOf("Pareceres"), 0)).height());
  EXPECT_TRUE(errors_.empty());
}

TEST_F(SearchPageTest, IndexOutOfDateOrHeldElsewhere) {
  WordIndex->MarkOutOfDate();
  Search("imposto");
  // The notice is given and the search goes on.
  ASSERT_EQ(prompts_.Notices().size(), 1u);
  EXPECT_EQ(Rows().size(), 4u);
  WordIndex->MarkUpToDate();

  // Another holder of the folder's lock, as a build on another machine.
  WordIndex->SetPause([](std::chrono::milliseconds) {});
  TLxDirectoryLock other(Config().GetString(ExtraFolder), TWordIndex::kLockRefreshInterval);
  ASSERT_TRUE(other.LockExclusive());
  prompts_.AddAnswer(false);
  Search("renda");
  EXPECT_EQ(prompts_.Questions().size(), 1u);
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].Message, kIndexInUseMessage);
  EXPECT_EQ(Rows().size(), 4u);
}

// An update replaces the document tree under the search page: the results,
// the query and the page stay, built anew on the new tree.
class SearchAcrossUpdateTest : public SearchPageTest {
 protected:
  void SetUp() override {
    SearchPageTest::SetUp();
    Config().SetString(::DownloadFolder, DataFolder() + "-download");
  }

  // A package whose tree renames "Decreto B" (its Changed date is newer).
  std::string WriteRenamingPackage() {
    const std::string updated = DataFolder() + "-novo";
    CopyFolder(DataFolder(), updated);
    ChangeEntry(updated, 10, NewerDate(), "Decreto B revisto");
    const std::string tree = ReadWholeFile(std::filesystem::path(updated) / "TOMOIdx.dat");
    const std::string payload = ZlibBlock(Fixed32(static_cast<std::int32_t>(tree.size())) + tree);
    const std::string package = DataFolder() + "-pacote.dat";
    WriteWholeFile(package, Volume("Seqüência: 1\nTamanho Total: " + std::to_string(payload.size()) +
                                       "\nTítulo: Revisão\nIdentificador: R-1\n",
                                   payload));
    return package;
  }

  // Runs the update window on `package` to its end and closes it.
  void ApplyAndClose(const std::string& package, bool completes) {
    emit Window().Startup().UpdateRequested(QString::fromStdString(package));
    TfrmUpdate* update = TfrmUpdate::Instance();
    ASSERT_NE(update, nullptr);
    ASSERT_TRUE(RunUntil([&] { return update->Update().Finished(); }));
    EXPECT_EQ(update->Update().Completed(), completes);
    update->findChild<QPushButton*>("HideButton")->click();
    ASSERT_TRUE(RunUntil([] { return TfrmUpdate::Instance() == nullptr; }));
  }


  int ListChosenRow() {
    const QModelIndexList chosen = List().selectionModel()->selectedIndexes();
    return chosen.isEmpty() ? -1 : chosen.first().row();
  }
  std::string TreeChosen() {
    const QModelIndexList chosen = ResultTree().selectionModel()->selectedIndexes();
    return chosen.isEmpty() ? "" : chosen.first().data().toString().toStdString();
  }
  std::string PageShown() { return Find<QStackedWidget>("PageControl").currentWidget()->objectName().toStdString(); }
};

TEST_F(SearchAcrossUpdateTest, AppliedPackageKeepsTheResultsQueryAndPageAndTheyOpenTheRightEntries) {
  Search("renda");
  const std::vector<std::string> before = Rows();
  ASSERT_EQ(before, (std::vector<std::string>{"Legislação", "  Atos", "    Ato único", "  Decretos", "    Decreto B"}));
  // A folder chosen in the result tree shows it; "Nova pesquisa" brings the
  // search page back, where a row is chosen.
  ResultTree().setCurrentIndex(ResultTree().model()->index(0, 0));
  Action("SearchDocumentsAction").trigger();
  List().setCurrentIndex(List().model()->index(RowOf("Ato único"), 0));

  ApplyAndClose(WriteRenamingPackage(), true);

  // The same rows, the renamed entry under its new title: built on the new tree.
  std::vector<std::string> expected = before;
  expected.back() = "    Decreto B revisto";
  EXPECT_EQ(Rows(), expected);
  EXPECT_EQ(Find<QLabel>("SearchResultCountLabel").text(), "2 documentos encontrados");
  EXPECT_EQ(Find<QLineEdit>("SearchDocText").text(), "renda");
  EXPECT_EQ(PageShown(), "SearchDocTabSheet");
  EXPECT_EQ(Find<QLabel>("TitleLabel").text(), " Pesquisa");
  EXPECT_EQ(ListChosenRow(), RowOf("Ato único"));
  EXPECT_EQ(TreeChosen(), "Legislação");
  EXPECT_EQ(Window().CurrentNode()->Id(), 1);

  DoubleClickRow(RowOf("Decreto B revisto"));
  ASSERT_NE(Window().CurrentNode(), nullptr);
  EXPECT_EQ(Window().CurrentNode()->Id(), 10);
  EXPECT_EQ(Selected(), "renda");
  EXPECT_TRUE(Action("SearchNextWordAction").isEnabled());
  EXPECT_TRUE(errors_.empty());
}

TEST_F(SearchAcrossUpdateTest, AFailedUpdateReloadsTheTreeAndARemovedEntryDropsOut) {
  Search("renda");
  DoubleClickRow(RowOf("Ato único"));
  ASSERT_EQ(Window().CurrentNode()->Id(), 12);
  List().setCurrentIndex(List().model()->index(RowOf("Ato único"), 0));
  // The installed tree loses the entry while the window still shows it.
  RemoveEntry(12);
  SaveIndex();
  WriteWholeFile(DataFolder() + "-pacote.dat", "não é pacote\n\n");

  ApplyAndClose(DataFolder() + "-pacote.dat", false);

  EXPECT_EQ(Rows(), (std::vector<std::string>{"Legislação", "  Decretos", "    Decreto B"}));
  EXPECT_EQ(Find<QLabel>("SearchResultCountLabel").text(), "1 documento encontrado");
  EXPECT_EQ(ListChosenRow(), -1);
  EXPECT_EQ(Find<QLineEdit>("SearchDocText").text(), "renda");
  // The entry shown is gone: the text page gave way to an empty list.
  EXPECT_EQ(Window().CurrentNode(), nullptr);
  DoubleClickRow(RowOf("Decreto B"));
  EXPECT_EQ(Window().CurrentNode()->Id(), 10);
  EXPECT_EQ(Selected(), "renda");
}

}  // namespace
