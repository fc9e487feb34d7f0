#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QThread>

#include "StartupStages.h"
#include "ClientEvents.h"
#include "ClientTestBase.h"
#include "ConfigUnit.h"
#include "DocumentListDelegate.h"
#include "DocumentListView.h"
#include "LoadingGLUnit.h"
#include "TOMONode.h"
#include "WindowPlacement.h"

namespace {

class WindowBehaviourTest : public ClientTest {
 protected:
  TDocumentListView& List() { return *Window().findChild<TDocumentListView*>("ListBox"); }
};

TEST_F(WindowBehaviourTest, HotRowFollowsTheMouseAndAPressOpensIt) {
  AddFolder(1, 0, "Leis", "Todas as leis do estado");
  AddFolder(2, 0, "Decretos");
  AddFolder(3, 2, "Decretos de 2020");
  SaveIndex();
  OpenWindow();
  TDocumentListView& list = List();
  const QRect second = list.visualRect(list.model()->index(1, 0));
  list.SetHotRowAt(second.center());
  EXPECT_EQ(list.HotRow(), 1);
  EXPECT_EQ(list.viewport()->cursor().shape(), Qt::PointingHandCursor);
  list.SetHotRowAt(QPoint(second.center().x(), list.viewport()->height() - 1));
  EXPECT_EQ(list.HotRow(), -1);
  EXPECT_EQ(list.viewport()->cursor().shape(), Qt::ArrowCursor);

  list.SetHotRowAt(second.center());
  QMouseEvent press(QEvent::MouseButtonPress, second.center(), list.viewport()->mapToGlobal(second.center()),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(list.viewport(), &press);
  EXPECT_EQ(Window().CurrentNode()->Id(), 2);
  EXPECT_EQ(Window().findChild<QLabel*>("TitleLabel")->text(), " Decretos");

  // The refilled list is pressed again at the same spot, without a move.
  const QPoint first = list.visualRect(list.model()->index(0, 0)).center();
  QMouseEvent again(QEvent::MouseButtonPress, first, list.viewport()->mapToGlobal(first), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(list.viewport(), &again);
  EXPECT_EQ(Window().CurrentNode()->Id(), 3);
}

TEST_F(WindowBehaviourTest, NarrowingTheWindowReMeasuresTheRows) {
  AddFolder(1, 0, "Leis", std::string(40, 'x') + " " + std::string(40, 'y') + " " + std::string(40, 'z'));
  SaveIndex();
  OpenWindow();
  Window().resize(1400, 600);
  for (int round = 0; round < 10; ++round) QCoreApplication::processEvents();
  const int wide = List().visualRect(List().model()->index(0, 0)).height();
  Window().resize(450, 600);
  for (int round = 0; round < 10; ++round) QCoreApplication::processEvents();
  EXPECT_GT(List().visualRect(List().model()->index(0, 0)).height(), wide);
}

TEST_F(WindowBehaviourTest, RowsAreAsTallAsTitleAndWrappedSummary) {
  const QFont font;
  const int oneLine = TDocumentListDelegate::RowHeight(font, "Lei", "curto", 2000);
  const int empty = TDocumentListDelegate::RowHeight(font, "Lei", "", 2000);
  EXPECT_EQ(empty, std::max(QFontMetrics(font).height(), 16) + TDocumentListDelegate::kMinimumSummaryHeight);
  const QString longSummary = QString("palavra ").repeated(60);
  EXPECT_GT(TDocumentListDelegate::RowHeight(font, "Lei", longSummary, 300), oneLine);
  EXPECT_EQ(TDocumentListDelegate::RowHeight(font, "Lei", longSummary, 100000), oneLine);
}

TEST_F(WindowBehaviourTest, StartupStagesEndWithTheUpdateOfAPackageArgument) {
  SaveIndex();
  TfrmClientMain window;
  window.Startup().SetPackage("/tmp/pacote.dat");
  QStringList requested;
  QObject::connect(&window.Startup(), &TStartupStages::UpdateRequested,
                   [&](const QString& package) { requested << package; });
  window.show();
  // Each stage posts the next; a bounded number of rounds runs them all.
  for (int round = 0; round < 4 * kFinalStartupStage && requested.isEmpty(); ++round) {
    QCoreApplication::processEvents();
  }
  EXPECT_EQ(requested, QStringList{"/tmp/pacote.dat"});
  window.hide();
  window.show();  // only the first show starts the stages
  for (int round = 0; round < 4 * kFinalStartupStage; ++round) QCoreApplication::processEvents();
  EXPECT_EQ(requested.size(), 1);
}

TEST_F(WindowBehaviourTest, WindowPlacementIsSavedAndRestored) {
  SaveIndex();
  TfrmClientMain& window = OpenWindow();
  window.setGeometry(40, 50, 900, 600);
  window.close();
  TfrmClientMain& again = OpenWindow();
  EXPECT_EQ(again.geometry().size(), QSize(900, 600));
}

TEST(SplashTest, ShowsLoadingTextAtItsSizeAndFinishesAfterItsTime) {
  TfrmLoading splash(0);
  EXPECT_EQ(splash.size(), QSize(TfrmLoading::kWidth, TfrmLoading::kHeight));
  EXPECT_EQ(splash.findChild<QLabel*>("LoadingLabel")->text(), "Carregando...");
  EXPECT_TRUE(splash.findChild<QLabel*>("LoadingLabel")->font().italic());
  while (!splash.Finished()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  TfrmLoading waiting;
  EXPECT_FALSE(waiting.Finished());
}

}  // namespace
