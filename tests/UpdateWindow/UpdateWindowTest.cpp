// TfrmUpdateBase with the real widgets: its form, the progress bar, the
// stage and node lists, the log, hiding and closing, cancel and failures.
#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>
#include <QTreeWidget>

#include "ErrorDisplay.h"
#include "InstallLabel.h"
#include "InstalledCollection.h"
#include "OperationTestSupport.h"
#include "PackageUpdate.h"
#include "ProgressPaintBox.h"
#include "TOMOFileError.h"
#include "TOMOTree.h"
#include "UpdateBaseUnit.h"
#include "UpdateTrayIcon.h"

namespace {

// The window with the desktop's notification area decided by the test.
class TTestWindow : public TfrmUpdateBase {
 public:
  using TfrmUpdateBase::TfrmUpdateBase;
  bool Tray = true;

 protected:
  bool TrayAvailable() const override { return Tray; }
};

void Wait(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

class UpdateWindowTest : public OperationTest {
 protected:
  void SetUp() override {
    OperationTest::SetUp();
    SetErrorPresenter([this](const TErrorReport& report) { errors_.push_back(report); });
    auto operation = std::make_unique<TScriptedOperation>();
    operation_ = operation.get();
    window_ = new TTestWindow(std::move(operation));
  }
  void TearDown() override {
    delete window_.data();
    SetErrorPresenter({});
    OperationTest::TearDown();
  }

  template <class T>
  T* Find(const char* name) {
    T* widget = window_->findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QPushButton* Button(const char* name) { return Find<QPushButton>(name); }
  TProgressPaintBox* Bar() { return Find<TProgressPaintBox>("ProgressPaintBox"); }
  QPlainTextEdit* Log() { return Find<QPlainTextEdit>("RichEdit"); }
  QTextCharFormat LineFormat(int line) {
    return Log()->document()->findBlockByNumber(line).begin().fragment().charFormat();
  }
  bool StageBold(int line) { return Find<QLabel>(qPrintable(QStringLiteral("StageLine%1").arg(line)))->font().bold(); }
  void RunChainToItsEnd() { ASSERT_TRUE(RunChain(*operation_)); }

  QPointer<TTestWindow> window_;
  TScriptedOperation* operation_ = nullptr;
  std::vector<TErrorReport> errors_;
};

// --- The form --------------------------------------------------------------------

TEST_F(UpdateWindowTest, TheFormStartsWithoutItsDetails) {
  window_->show();
  EXPECT_EQ(window_->windowTitle(), "Transferência de arquivos");
  EXPECT_EQ(window_->size(), QSize(532, 257));
  EXPECT_TRUE(Find<QWidget>("DetailPanel")->isHidden());
  EXPECT_EQ(Button("DetailButton")->text(), "Detalhes >>");
  EXPECT_EQ(Button("HideButton")->text(), "Ocultar");
  EXPECT_EQ(Button("CancelButton")->text(), "Cancelar");
  EXPECT_TRUE(Button("CancelButton")->isEnabled());
  // The buttons are 75 x 25 at least, wide enough for every caption they
  // show; the stage list and the bar end before them.
  for (const char* name : {"HideButton", "CancelButton", "DetailButton"}) {
    QPushButton* button = Button(name);
    EXPECT_GE(button->width(), 75);
    EXPECT_GE(button->height(), 25);
    for (const char* caption : {"Ocultar", "Fechar", "Cancelar", "<< Detalhes", "Detalhes >>"}) {
      button->setText(caption);
      EXPECT_GE(button->width(), button->sizeHint().width()) << caption;
    }
  }
  const int buttonsLeft = Button("HideButton")->x();
  EXPECT_EQ(Find<QWidget>("JvInstallLabel")->height(), 79);
  EXPECT_LT(Find<QWidget>("JvInstallLabel")->geometry().right(), buttonsLeft);
  EXPECT_EQ(Find<QWidget>("ProgressPanel")->height(), 13);
  EXPECT_LT(Find<QWidget>("ProgressPanel")->geometry().right(), buttonsLeft);
  EXPECT_EQ(Bar()->width(), Find<QWidget>("ProgressPanel")->width() - 4);
  EXPECT_EQ(Find<QTreeWidget>("TreeView")->indentation(), 19);
  QPlainTextEdit* log = Log();
  EXPECT_TRUE(log->isReadOnly());
  EXPECT_EQ(log->lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_EQ(log->font().family(), "Courier New");
  EXPECT_EQ(log->font().pixelSize(), 12);
  EXPECT_FALSE(window_->windowFlags() & Qt::WindowCloseButtonHint);
}

TEST_F(UpdateWindowTest, DetailsChangeTheHeightAndTheCaption) {
  window_->show();
  Button("DetailButton")->click();
  EXPECT_EQ(window_->height(), 416);
  EXPECT_FALSE(Find<QWidget>("DetailPanel")->isHidden());
  EXPECT_EQ(Button("DetailButton")->text(), "<< Detalhes");
  EXPECT_TRUE(Find<QAction>("DetailVisibleAction")->isChecked());
  Button("DetailButton")->click();
  EXPECT_EQ(window_->height(), 257);
  EXPECT_EQ(Button("DetailButton")->text(), "Detalhes >>");
}

TEST_F(UpdateWindowTest, TheStageListBoldsTheCurrentLine) {
  operation_->Report().SetStages({"Verificando atualizações disponíveis", "Transferindo arquivos", "Operação concluída"});
  EXPECT_TRUE(StageBold(0));
  EXPECT_FALSE(StageBold(1));
  operation_->Report().NextStage();
  EXPECT_FALSE(StageBold(0));
  EXPECT_TRUE(StageBold(1));
  operation_->Report().NextStage();
  operation_->Report().NextStage();
  EXPECT_FALSE(StageBold(0) || StageBold(1) || StageBold(2));
  EXPECT_EQ(Find<QLabel>("StageLine2")->text(), "Operação concluída");
}

// --- The progress bar ---------------------------------------------------------------

TEST(ProgressBarWidthTest, WholeBlocksBelowTheMaximumAndFullBeyondIt) {
  EXPECT_EQ(ProgressBarWidth(500, 1000, 436), 216);   // 218 down to a block
  EXPECT_EQ(ProgressBarWidth(1000, 1000, 436), 436);
  EXPECT_EQ(ProgressBarWidth(4000, 1000, 436), 436);
  EXPECT_EQ(ProgressBarWidth(999, 1000, 436), 432);   // 435.6 -> 436, still below the maximum
  EXPECT_EQ(ProgressBarWidth(0, 1000, 436), 0);
  EXPECT_EQ(ProgressBarWidth(-50, 1000, 436), 0);
  EXPECT_EQ(ProgressBarWidth(10, 0, 436), 0);         // no maximum: nothing
  EXPECT_EQ(ProgressBarWidth(10, -1, 436), 0);
  EXPECT_EQ(ProgressBarWidth(2'000'000'000, 2'000'000'001, 436), 432);  // no overflow
  EXPECT_EQ(ProgressBarWidth(3, 2, 5), 5);
}

TEST_F(UpdateWindowTest, TheBarWaitsForTheTimerAndGrowsInBlocks) {
  window_->show();
  operation_->Report().ResetProgress(1000);
  operation_->Report().SetProgress(500);
  EXPECT_EQ(Bar()->PaintedWidth(), 0);
  QTimer* timer = Find<QTimer>("ProgressTimer");
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(timer->interval(), 500);
  window_->ProgressTimerTimer();
  const int full = Bar()->width();
  const int half = ProgressBarWidth(500, 1000, full);
  EXPECT_EQ(Bar()->PaintedWidth(), half);

  // At the maximum the bar is painted at once.
  operation_->Report().SetProgress(1000);
  EXPECT_EQ(Bar()->PaintedWidth(), full);
  // Going down is not erased.
  operation_->Report().SetProgress(500);
  window_->ProgressTimerTimer();
  EXPECT_EQ(Bar()->PaintedWidth(), half);
  EXPECT_EQ(Bar()->DrawnWidth(), full);
  const QImage drawn = Bar()->grab().toImage();
  EXPECT_EQ(drawn.pixelColor(full - 6, 4), Bar()->ProgressTile().toImage().pixelColor(6, 4));

  operation_->Report().ResetProgress(10);
  EXPECT_EQ(Bar()->DrawnWidth(), 0);
  EXPECT_FALSE(timer->isActive());
}

TEST_F(UpdateWindowTest, PiecesFasterThanTheTimerStillMoveTheBar) {
  window_->show();
  operation_->Report().ResetProgress(1000);
  // Every 100 ms a new position: a timer restarted by each would never tick.
  for (int step = 1; step <= 12; ++step) {
    operation_->Report().SetProgress(step * 40);
    Wait(100);
  }
  EXPECT_GT(Bar()->PaintedWidth(), 0);
}

TEST_F(UpdateWindowTest, ChunksOfABodyMoveBatchBytesAndTheBar) {
  window_->show();
  operation_->Report().ResetProgress(2048);
  const std::string chunk(1000, 'x');
  operation_->Transfer().HttpCliDocData(chunk.data(), 1000);
  operation_->Transfer().HttpCliDocData(chunk.data(), 1000);
  operation_->Transfer().HttpCliDocData(chunk.data(), 48);
  EXPECT_EQ(operation_->Transfer().BatchBytes(), 2048);
  EXPECT_EQ(Bar()->PaintedWidth(), Bar()->width());
}

TEST_F(UpdateWindowTest, TheTileLeavesAOnePixelGapPerBlock) {
  const QImage tile = Bar()->ProgressTile().toImage();
  ASSERT_EQ(tile.size(), QSize(8, 8));
  const QColor face = Bar()->palette().color(QPalette::Button);
  const QColor caption = Bar()->palette().color(QPalette::Active, QPalette::Highlight);
  for (int y = 0; y < 8; ++y) {
    EXPECT_EQ(tile.pixelColor(0, y), face);
    for (int x = 1; x < 8; ++x) EXPECT_EQ(tile.pixelColor(x, y), caption);
  }
}

// --- The log ---------------------------------------------------------------------

TEST_F(UpdateWindowTest, LogLinesKeepTheirColoursAndTheLastOneComesIntoView) {
  window_->show();
  Button("DetailButton")->click();
  operation_->Report().AddLog(": Transferindo arquivo de índice...", TLogColour::Blue);
  operation_->Report().AddLog("  URL: http://servidor/atualizacao/tomoidxz.dat", TLogColour::WindowText);
  operation_->Report().AddLog("! Ignorado", TLogColour::Olive);
  operation_->Report().AddLog("# Erro no download! Código do erro: 001.404", TLogColour::Red);
  operation_->Report().AddLog("", TLogColour::WindowText);
  operation_->Report().AddLog("!! Atualização concluída com êxito.", TLogColour::Green, TLogStyle::Bold);
  for (int line = 0; line < 60; ++line) operation_->Report().AddLogFmt(TLogColour::GrayText, TLogStyle::Plain, "  %d", line);

  QTextDocument* document = Log()->document();
  ASSERT_EQ(document->blockCount(), 66);
  EXPECT_EQ(document->findBlockByNumber(0).text(), ": Transferindo arquivo de índice...");
  EXPECT_EQ(document->findBlockByNumber(4).text(), "");
  EXPECT_EQ(LineFormat(0).foreground().color(), QColor(0, 0, 255));
  EXPECT_EQ(LineFormat(1).foreground().color(), Log()->palette().color(QPalette::Active, QPalette::Text));
  EXPECT_EQ(LineFormat(2).foreground().color(), QColor(128, 128, 0));
  EXPECT_EQ(LineFormat(3).foreground().color(), QColor(255, 0, 0));
  EXPECT_EQ(LineFormat(5).foreground().color(), QColor(0, 128, 0));
  EXPECT_EQ(LineFormat(5).fontWeight(), QFont::Bold);
  EXPECT_EQ(LineFormat(3).fontWeight(), QFont::Normal);

  // The scroll is posted: it happens once the events are handled.
  QScrollBar* bar = Log()->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(bar->value(), bar->maximum());
}

// --- The node list -------------------------------------------------------------------

TEST_F(UpdateWindowTest, AnEmptyNodeListShowsThePlaceholder) {
  operation_->Report().Nodes().BeginNodeList();
  operation_->Report().Nodes().EndNodeList();
  QTreeWidget* tree = Find<QTreeWidget>("TreeView");
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  EXPECT_EQ(tree->topLevelItem(0)->text(0), "<- vazio ->");
  EXPECT_EQ(tree->currentItem(), tree->topLevelItem(0));
  operation_->Report().Nodes().SetCaption(0, "Nada a atualizar");
  EXPECT_EQ(tree->topLevelItem(0)->text(0), "Nada a atualizar");
}

TEST_F(UpdateWindowTest, NodesHangUnderTheirFoldersExpanded) {
  TTOMOTree tree;
  for (auto [id, parent, title] : {std::tuple{0, -1, "Boletim"}, {1, 0, "Legisla\xE7\xE3o"}, {2, 1, "Decreto"}}) {
    TTOMORecordH record;
    record.Id = id;
    record.ParentId = parent;
    record.Title = title;
    tree.AddNode(record);
  }
  operation_->Report().Nodes().BeginNodeList();
  operation_->Report().Nodes().AddNodeItem(tree.FindNode(2));
  operation_->Report().Nodes().EndNodeList();
  operation_->Report().Nodes().SelectNodeItem(tree.FindNode(2));

  QTreeWidget* view = Find<QTreeWidget>("TreeView");
  ASSERT_EQ(view->topLevelItemCount(), 1);
  QTreeWidgetItem* folder = view->topLevelItem(0)->child(0);
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(folder->text(0), "Legislação");
  EXPECT_TRUE(folder->isExpanded());
  EXPECT_EQ(view->currentItem(), folder->child(0));
  EXPECT_FALSE(folder->icon(0).isNull());
}

// --- Hiding, closing, cancelling ---------------------------------------------------------

TEST_F(UpdateWindowTest, HideLeavesTheTrayIconWhoseDoubleClickBringsItBack) {
  window_->show();
  Button("HideButton")->click();
  EXPECT_FALSE(window_->isVisible());
  TUpdateTrayIcon* tray = window_->findChild<TUpdateTrayIcon*>("JvTrayIcon");
  ASSERT_NE(tray, nullptr);
  emit tray->activated(QSystemTrayIcon::DoubleClick);
  EXPECT_TRUE(window_->isVisible());
  EXPECT_TRUE(Find<QAction>("WindowVisibleAction")->isChecked());
}

TEST_F(UpdateWindowTest, WithoutANotificationAreaHideMinimizes) {
  window_->Tray = false;
  window_->show();
  Button("HideButton")->click();
  EXPECT_TRUE(window_->isMinimized());
  // The same button brings it back.
  Button("HideButton")->click();
  EXPECT_FALSE(window_->isMinimized());
  EXPECT_TRUE(window_->isVisible());
}

TEST_F(UpdateWindowTest, TheTrayIconCarriesItsHintAndAnimates) {
  TUpdateTrayIcon* tray = window_->findChild<TUpdateTrayIcon*>("JvTrayIcon");
  ASSERT_NE(tray, nullptr);
  EXPECT_EQ(tray->toolTip(), "Atualizando dados do Pandecta");
  EXPECT_EQ(tray->AnimationTimer()->interval(), 1500);
  EXPECT_TRUE(tray->AnimationTimer()->isActive());
  ASSERT_GT(tray->FrameCount(), 1);
  tray->NextFrame();
  EXPECT_EQ(tray->CurrentFrame(), 1);
  for (int frame = 1; frame < tray->FrameCount(); ++frame) tray->NextFrame();
  EXPECT_EQ(tray->CurrentFrame(), 0);
  ASSERT_NE(tray->PopupMenu(), nullptr);
  EXPECT_EQ(tray->PopupMenu()->actions().front()->text(), "Janela informativa visível");
}

TEST_F(UpdateWindowTest, AfterTheLastStepTheButtonReadsFecharAndFreesTheWindow) {
  operation_->On(1, [this](const TOperationStep&, int&, int&) {
    operation_->Report().AddLog("!! Concluído.", TLogColour::Green, TLogStyle::Bold);
    operation_->SetFinished(true);
  });
  window_->show();
  operation_->PostStep(WM_OPERATIONSTEP, 1, 0);
  RunChainToItsEnd();
  EXPECT_EQ(Button("HideButton")->text(), "Fechar");
  EXPECT_FALSE(Button("CancelButton")->isEnabled());

  Button("HideButton")->click();
  EXPECT_FALSE(window_->isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window_.isNull());
}

TEST_F(UpdateWindowTest, CancelWithAStepQueuedLogsOnceAndEndsTheChain) {
  operation_->On(1, [](const TOperationStep&, int& next, int&) { next = 1; });
  window_->show();
  operation_->PostStep(WM_OPERATIONSTEP, 1, 0);
  Button("CancelButton")->click();
  RunChainToItsEnd();

  EXPECT_TRUE(operation_->Ran().empty());
  QTextDocument* document = Log()->document();
  EXPECT_EQ(document->blockCount(), 1);
  EXPECT_EQ(document->findBlockByNumber(0).text(), "# Operação cancelada pelo usuário!");
  EXPECT_FALSE(Button("CancelButton")->isEnabled());
  EXPECT_EQ(Button("HideButton")->text(), "Fechar");
}

TEST_F(UpdateWindowTest, AFailingStepShowsTheErrorBoxAndPostsNothing) {
  operation_->On(1, [](const TOperationStep&, int& next, int&) {
    next = 2;
    throw ETOMOFileError("Formato de arquivo inválido");
  });
  window_->show();
  operation_->PostStep(WM_OPERATIONSTEP, 1, 0);
  RunChainToItsEnd();

  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].ClassName, "ETOMOFileError");
  EXPECT_EQ(errors_[0].Message, "Formato de arquivo inválido");
  EXPECT_EQ(operation_->Ran(), (std::vector<std::string>{"1:0"}));
  EXPECT_EQ(Log()->document()->findBlockByNumber(0).text(), "# Exceção ETOMOFileError");
  EXPECT_EQ(LineFormat(0).fontWeight(), QFont::Bold);
  EXPECT_EQ(Log()->document()->findBlockByNumber(1).text(), "Formato de arquivo inválido");
  EXPECT_EQ(Button("HideButton")->text(), "Fechar");
}

TEST_F(UpdateWindowTest, UpdateKindIsReadWithoutAWindowAtHand) {
  TInstalledCollection collection([this] { return folder_.File("data"); }, [] { return nullptr; });
  auto update = std::make_unique<TPackageUpdate>(collection, nullptr);
  TPackageUpdate& shown = *update;
  QPointer<TfrmUpdateBase> window = new TfrmUpdateBase(std::move(update));
  EXPECT_EQ(TfrmUpdateBase::UpdateKind(), TUpdateKind::None);
  shown.SetUpdateKind(TUpdateKind::Internet);
  EXPECT_EQ(TfrmUpdateBase::UpdateKind(), TUpdateKind::Internet);
  delete window.data();
  EXPECT_EQ(TfrmUpdateBase::UpdateKind(), TUpdateKind::None);
}

TEST_F(UpdateWindowTest, EscapeDoesNotCloseARunningOperation) {
  window_->show();
  window_->reject();
  EXPECT_TRUE(window_->isVisible());
  window_->close();  // what a window manager's close does: hide, keep running
  EXPECT_FALSE(window_.isNull());
}

}  // namespace
