// The step chain under a plain QCoreApplication: order of steps, cancel,
// silent abort, failing steps, and the class-level update kind.
#include <stdexcept>

#include "OperationRunner.h"
#include "OperationTestSupport.h"
#include "StepTimer.h"
#include "TOMOFileError.h"
#include "THttpCli.h"

namespace {

class OperationChainTest : public OperationTest {
 protected:
  OperationChainTest() { operation_.SetView(&view_); }

  TScriptedOperation operation_;
};

TEST_F(OperationChainTest, StepsRunInOrderUntilANextStateOfZero) {
  operation_.On(1, [](const TOperationStep&, int& next, int& parameter) {
    next = 2;
    parameter = 7;
  });
  // A state may repeat itself with a new parameter.
  operation_.On(2, [](const TOperationStep& message, int& next, int& parameter) {
    next = message.Parameter < 9 ? 2 : 3;
    parameter = message.Parameter < 9 ? message.Parameter + 1 : 0;
  });
  operation_.On(3, [this](const TOperationStep&, int&, int&) { operation_.SetFinished(true); });

  operation_.PostStep(WM_OPERATIONSTEP, 1, 0);
  EXPECT_EQ(RunOperation(operation_), 0);

  EXPECT_EQ(operation_.Ran(), (std::vector<std::string>{"1:0", "2:7", "2:8", "2:9", "3:0"}));
  EXPECT_TRUE(operation_.Finished());
  EXPECT_FALSE(operation_.Failed());
  EXPECT_FALSE(operation_.Running());
  EXPECT_TRUE(view_.Lines.empty());
}

TEST_F(OperationChainTest, AChainThatStopsUnfinishedIsNoSuccessForAScript) {
  operation_.PostStep(WM_OPERATIONSTEP, 6, 0);  // no state 6: the chain just ends
  EXPECT_EQ(RunOperation(operation_), 1);
  EXPECT_EQ(operation_.Ran(), (std::vector<std::string>{"6:0"}));
}

TEST_F(OperationChainTest, CancelWhileAStepIsQueuedLogsOnceAndRunsNoFurtherStep) {
  operation_.PostStep(WM_OPERATIONSTEP, 1, 0);
  operation_.CancelOperation();
  operation_.CancelOperation();  // a second press changes nothing

  EXPECT_EQ(RunOperation(operation_), 1);
  EXPECT_TRUE(operation_.Ran().empty());
  ASSERT_EQ(view_.Lines.size(), 1u);
  EXPECT_EQ(view_.Lines[0].Text, "# Operação cancelada pelo usuário!");
  EXPECT_EQ(view_.Lines[0].Colour, TLogColour::Red);
  EXPECT_EQ(view_.Lines[0].Style, TLogStyle::Plain);
  EXPECT_TRUE(operation_.Cancelled());
  EXPECT_TRUE(operation_.Finished());
}

TEST_F(OperationChainTest, ACancelHandledBetweenStepsStopsTheNextOne) {
  operation_.On(1, [this](const TOperationStep&, int& next, int&) {
    // A click on Cancel that waits in the event queue behind this step.
    QMetaObject::invokeMethod(&operation_, [this] { operation_.CancelOperation(); }, Qt::QueuedConnection);
    next = 2;
  });
  operation_.PostStep(WM_OPERATIONSTEP, 1, 0);
  ASSERT_TRUE(RunChain(operation_));

  EXPECT_EQ(operation_.Ran(), (std::vector<std::string>{"1:0"}));
  EXPECT_EQ(view_.CountOf("# Operação cancelada pelo usuário!"), 1);
}

TEST_F(OperationChainTest, SilentAbortCancelsWithoutALine) {
  operation_.On(1, [](const TOperationStep&, int&, int&) { throw ELxAbort(); });
  operation_.PostStep(WM_OPERATIONSTEP, 1, 0);
  ASSERT_TRUE(RunChain(operation_));

  EXPECT_TRUE(view_.Lines.empty());
  EXPECT_TRUE(view_.Errors.empty());
  EXPECT_TRUE(operation_.Cancelled());
  EXPECT_TRUE(operation_.Finished());
  EXPECT_FALSE(operation_.Failed());
}

TEST_F(OperationChainTest, SilentAbortStillPostsTheNextStateWhichLogsTheCancel) {
  operation_.On(1, [](const TOperationStep&, int& next, int&) {
    next = 2;
    throw ELxAbort("Operação cancelada.");
  });
  operation_.PostStep(WM_OPERATIONSTEP, 1, 0);
  ASSERT_TRUE(RunChain(operation_));

  EXPECT_EQ(operation_.Ran(), (std::vector<std::string>{"1:0"}));
  EXPECT_EQ(view_.Texts(), (std::vector<std::string>{"# Operação cancelada pelo usuário!"}));
}

TEST_F(OperationChainTest, AFailingStepShowsTheErrorAndPostsNothing) {
  operation_.On(1, [](const TOperationStep&, int& next, int&) {
    next = 2;  // set before the failure: never posted
    throw ETOMOFileError("Formato de arquivo inválido");
  });
  operation_.PostStep(WM_OPERATIONSTEP, 1, 0);
  EXPECT_EQ(RunOperation(operation_), 1);

  EXPECT_EQ(operation_.Ran(), (std::vector<std::string>{"1:0"}));
  ASSERT_EQ(view_.Lines.size(), 2u);
  EXPECT_EQ(view_.Lines[0].Text, "# Exceção ETOMOFileError");
  EXPECT_EQ(view_.Lines[0].Colour, TLogColour::Red);
  EXPECT_EQ(view_.Lines[0].Style, TLogStyle::Bold);
  EXPECT_EQ(view_.Lines[1].Text, "Formato de arquivo inválido");
  EXPECT_EQ(view_.Lines[1].Colour, TLogColour::Red);
  EXPECT_EQ(view_.Lines[1].Style, TLogStyle::Plain);
  EXPECT_EQ(view_.Errors, (std::vector<std::string>{"Formato de arquivo inválido"}));
  EXPECT_TRUE(operation_.Finished());
  EXPECT_TRUE(operation_.Failed());
  EXPECT_FALSE(operation_.Cancelled());
  EXPECT_GT(view_.StateChanges, 0);
}

TEST_F(OperationChainTest, AForeignErrorIsNamedByItsType) {
  operation_.On(1, [](const TOperationStep&, int&, int&) { throw std::runtime_error("boom"); });
  operation_.PostStep(WM_OPERATIONSTEP, 1, 0);
  ASSERT_TRUE(RunChain(operation_));
  EXPECT_EQ(view_.Texts(), (std::vector<std::string>{"# Exceção std::runtime_error", "boom"}));
}

TEST_F(OperationChainTest, AFailingStepAbortsTheRequestItStarted) {
  operation_.On(1, [this](const TOperationStep&, int&, int&) {
    operation_.Transfer().SavedStep().State = 2;
    operation_.Transfer().HttpCli().SetURL("http://127.0.0.1:9/nada");
    operation_.Transfer().HttpCli().Get();
    throw ETOMOFileError("falhou depois de pedir");
  });
  operation_.PostStep(WM_OPERATIONSTEP, 1, 0);
  ASSERT_TRUE(RunChain(operation_));

  EXPECT_EQ(operation_.Ran(), (std::vector<std::string>{"1:0"}));
  EXPECT_EQ(view_.Texts(), (std::vector<std::string>{"# Exceção ETOMOFileError", "falhou depois de pedir"}));
  EXPECT_FALSE(operation_.Transfer().HttpCli().Busy());
}

TEST_F(OperationChainTest, EveryStepIsTimedEvenOneThatRaises) {
  operation_.On(1, [](const TOperationStep&, int& next, int&) { next = 2; });
  operation_.On(2, [](const TOperationStep&, int& next, int&) { next = 3; });
  operation_.On(3, [](const TOperationStep&, int&, int&) { throw std::runtime_error("falhou"); });
  operation_.PostStep(WM_OPERATIONSTEP, 1, 0);
  EXPECT_EQ(RunOperation(operation_), 1);

  const TStepTimer& times = operation_.StepTimes();
  EXPECT_EQ(times.Steps(), 3);
  EXPECT_GE(times.LongestState(), 1);
  EXPECT_LE(times.LongestState(), 3);
}

TEST(StepTimerTest, KeepsTheLongestStepItsStateAndTheStepsOverTheGoal) {
  using std::chrono::milliseconds;
  TStepTimer timer;
  EXPECT_EQ(timer.LongestState(), 0);
  timer.Record(7, milliseconds(0));  // a first step of no measurable time still names its state
  EXPECT_EQ(timer.LongestState(), 7);
  timer.Record(16, milliseconds(283));
  timer.Record(23, TStepTimer::kStepGoal);  // at the goal is not over it
  timer.Record(24, milliseconds(51));
  timer.Record(16, milliseconds(283));  // a tie keeps the first

  EXPECT_EQ(timer.Steps(), 5);
  EXPECT_EQ(timer.StepsOverGoal(), 3);
  EXPECT_EQ(timer.Longest(), milliseconds(283));
  EXPECT_EQ(timer.LongestState(), 16);
  EXPECT_EQ(timer.Summary(), "Passos: 5; o mais longo: 283.0 ms (estado 16); acima de 50 ms: 3");
  EXPECT_EQ(timer.StateTotals(), "Tempo por estado: 7: 0.000 s (máx. 0.0 ms); 16: 0.566 s (máx. 283.0 ms); 23: 0.050 s (máx. 50.0 ms); "
            "24: 0.051 s (máx. 51.0 ms)");
}

}  // namespace
