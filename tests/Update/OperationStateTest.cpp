// What an operation keeps for its steps and shows: header lines, the node
// list, the stage list and the progress.
#include "HeaderLines.h"
#include "LxMemoryStream.h"
#include "OperationTestSupport.h"
#include "TOMOTree.h"

namespace {

class OperationStateTest : public OperationTest {
 protected:
  OperationStateTest() { operation_.SetView(&view_); }

  void ReadHeaderOf(const std::string& bytes) {
    operation_.Transfer().SetInStream(std::make_unique<TLxMemoryStream>(bytes));
    operation_.Transfer().ReadHeader();
  }

  TScriptedOperation operation_;
};

// --- Header lines (names and values in Windows-1252) ----------------------------

constexpr char kTitle[] = "T\xEDtulo";  // "Título"

TEST_F(OperationStateTest, TheLastHeaderLineOfANameWinsWhateverItsCase) {
  ReadHeaderOf("TOMO.Atualiza\xE7\xE3o\r\nT\xEDtulo: A\r\nSeq\xFC\xEAncia: 1\r\nT\xEDtulo:  B \r\n\r\npayload");
  EXPECT_EQ(operation_.Transfer().Header().size(), 4u);
  EXPECT_EQ(operation_.Transfer().FindHeaderLine(kTitle), 3);
  EXPECT_EQ(operation_.Transfer().HeaderValue(kTitle), "B");
  EXPECT_EQ(operation_.Transfer().HeaderValue("t\xEDtulo"), "B");
  EXPECT_EQ(operation_.Transfer().HeaderValue("T\xCDTULO"), "B");  // Í and í are one letter
  // The stream stands after the empty line.
  std::string rest(7, '\0');
  operation_.Transfer().InStream()->ReadBuffer(rest.data(), 7);
  EXPECT_EQ(rest, "payload");
}

TEST_F(OperationStateTest, ANameIsTheTextBeforeTheColonExactly) {
  ReadHeaderOf("T\xEDtulo : C\r\n Tamanho: 9\r\n");
  EXPECT_EQ(operation_.Transfer().FindHeaderLine(kTitle), -1);
  EXPECT_EQ(operation_.Transfer().HeaderValue(kTitle), "");
  EXPECT_EQ(operation_.Transfer().HeaderValue("T\xEDtulo "), "C");
  EXPECT_EQ(operation_.Transfer().HeaderValue("Tamanho"), "");
  EXPECT_EQ(operation_.Transfer().HeaderValue(" Tamanho"), "9");
}

TEST_F(OperationStateTest, AMissingNameGivesTheEmptyText) {
  ReadHeaderOf("Seq\xFC\xEAncia: 2\r\n\r\n");
  EXPECT_EQ(operation_.Transfer().Header().size(), 1u);
  EXPECT_EQ(operation_.Transfer().FindHeaderLine(kTitle), -1);
  EXPECT_EQ(operation_.Transfer().HeaderValue(kTitle), "");
  ReadHeaderOf("");
  EXPECT_TRUE(operation_.Transfer().Header().empty());
  EXPECT_EQ(operation_.Transfer().HeaderValue(kTitle), "");
}

TEST_F(OperationStateTest, HostileHeadersEndCleanly) {
  // No empty line: the header ends with the stream. Lines without a colon,
  // control bytes and a value holding colons are kept as they are.
  ReadHeaderOf(std::string("lixo sem dois pontos\r\n\x01\x02\xFF\x00:x\r\nURL: http://a:80/b\r\n", 50) +
               "\r:\r\n" + std::string(100000, 'x'));
  EXPECT_EQ(operation_.Transfer().HeaderValue("URL"), "http://a:80/b");
  EXPECT_EQ(operation_.Transfer().HeaderValue(std::string("\x01\x02\xFF\x00", 4)), "x");
  EXPECT_EQ(operation_.Transfer().Header().back().size(), 100000u);
  EXPECT_EQ(FindHeaderLine(operation_.Transfer().Header(), ""), 3);  // the line ":" names nothing
}

TEST_F(OperationStateTest, ReadingAHeaderWithoutAnOpenStreamIsRefused) {
  EXPECT_THROW(operation_.Transfer().ReadHeader(), ELxAssertionFailed);
}

// --- Node list -----------------------------------------------------------------

class NodeListTest : public OperationStateTest {
 protected:
  void SetUp() override {
    OperationStateTest::SetUp();
    Add(0, -1, "Boletim");
    Add(1, 0, "Legisla\xE7\xE3o");  // Windows-1252
    Add(2, 1, "ICMS");
    Add(3, 2, "Decreto 4.102");
    Add(4, 1, "Portaria 112");
    Add(5, 0, "Pareceres");
  }

  void Add(int id, int parentId, const std::string& title) {
    TTOMORecordH record;
    record.Id = id;
    record.ParentId = parentId;
    record.Title = title;
    tree_.AddNode(record);
  }
  TTOMONode* Node(int id) { return tree_.FindNode(id); }
  std::vector<int> IdsInDisplayOrder() {
    std::vector<int> ids;
    TNodeList& list = operation_.Report().Nodes();
    for (int item = list.FirstItem(); item != TNodeList::kNoItem; item = list.NextItem(item)) {
      ids.push_back(list.Node(item) ? list.Node(item)->Id() : -1);
    }
    return ids;
  }

  TTOMOTree tree_;
};

TEST_F(NodeListTest, ANodeBringsTheFoldersAboveIt) {
  EXPECT_EQ(operation_.Report().Nodes().AddNodeItem(Node(3)), 3);
  EXPECT_EQ(view_.Calls, (std::vector<std::string>{"Add 0 under -1 Boletim", "Add 1 under 0 Legislação",
                                                   "Add 2 under 1 ICMS", "Add 3 under 2 Decreto 4.102"}));
  // Known nodes keep their items and show nothing new.
  EXPECT_EQ(operation_.Report().Nodes().AddNodeItem(Node(3)), 3);
  EXPECT_EQ(operation_.Report().Nodes().AddNodeItem(Node(1)), 1);
  EXPECT_EQ(operation_.Report().Nodes().AddNodeItem(nullptr), TNodeList::kNoItem);
  EXPECT_EQ(view_.Calls.size(), 4u);
}

TEST_F(NodeListTest, DisplayOrderFollowsTheFoldersNotTheOrderOfAdding) {
  operation_.Report().Nodes().BeginNodeList();
  operation_.Report().Nodes().AddNodeItem(Node(3));
  operation_.Report().Nodes().AddNodeItem(Node(5));
  operation_.Report().Nodes().AddNodeItem(Node(4));  // item 5, shown before item 4
  operation_.Report().Nodes().EndNodeList();

  EXPECT_EQ(IdsInDisplayOrder(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
  // The selection walks the same order, from the first item.
  TNodeList& list = operation_.Report().Nodes();
  std::vector<int> walked{list.SelectedNode()->Id()};
  while (list.SelectNextItem()) walked.push_back(list.SelectedNode()->Id());
  EXPECT_EQ(walked, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(list.SelectedNode()->Id(), 5);  // stays on the last
}

TEST_F(NodeListTest, AnEmptyListShowsThePlaceholder) {
  operation_.Report().Nodes().BeginNodeList();
  operation_.Report().Nodes().EndNodeList();
  TNodeList& list = operation_.Report().Nodes();
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Caption(0), "<- vazio ->");
  EXPECT_EQ(list.Node(0), nullptr);
  EXPECT_EQ(list.SelectedItem(), 0);
  EXPECT_EQ(view_.Calls, (std::vector<std::string>{"Begin", "Add 0 under -1 <- vazio ->", "End", "Select 0"}));

  list.SetCaption(0, "Nada a atualizar");
  EXPECT_EQ(list.Caption(0), "Nada a atualizar");
  EXPECT_EQ(view_.Calls.back(), "Caption 0 Nada a atualizar");
}

TEST_F(NodeListTest, SelectingANodeAddsItFirst) {
  operation_.Report().Nodes().SelectNodeItem(Node(4));
  EXPECT_EQ(operation_.Report().Nodes().SelectedNode(), Node(4));
  EXPECT_EQ(view_.Calls.back(), "Select 2");
  EXPECT_EQ(operation_.Report().Nodes().Count(), 3);
}

TEST_F(NodeListTest, ParentsInACircleEndAtTheTop) {
  // A damaged base: 7 hangs from 8 and 8 from 7.
  Add(7, 8, "Sete");
  Add(8, 7, "Oito");
  ASSERT_EQ(Node(7)->Parent(), Node(8));
  ASSERT_EQ(Node(8)->Parent(), Node(7));

  EXPECT_EQ(operation_.Report().Nodes().AddNodeItem(Node(7)), 1);
  EXPECT_EQ(view_.Calls, (std::vector<std::string>{"Add 0 under -1 Oito", "Add 1 under 0 Sete"}));
}

// --- Stages and progress --------------------------------------------------------

TEST_F(OperationStateTest, NextStageMovesTheBoldLineDownAndOffTheEnd) {
  operation_.Report().SetStages({"Verificando", "Transferindo", "Concluída"});
  EXPECT_EQ(view_.CurrentStage, 0);
  operation_.Report().NextStage();
  EXPECT_EQ(view_.CurrentStage, 1);
  operation_.Report().SetStageLine(0, "Copiando");
  EXPECT_EQ(view_.StageLines, (std::vector<std::string>{"Copiando", "Transferindo", "Concluída"}));
  operation_.Report().NextStage();
  operation_.Report().NextStage();
  EXPECT_EQ(view_.CurrentStage, 3);  // none bold
  operation_.Report().NextStage();
  EXPECT_EQ(operation_.Report().CurrentStage(), 3);
}

TEST_F(OperationStateTest, ProgressStartsAgainAtEachReset) {
  operation_.Report().ResetProgress(1000);
  operation_.Report().SetProgress(500);
  operation_.Report().SetProgress(1500);
  EXPECT_EQ(operation_.Report().ProgressMax(), 1000);
  EXPECT_EQ(operation_.Report().ProgressPosition(), 1500);
  operation_.Report().ResetProgress(10);
  EXPECT_EQ(operation_.Report().ProgressPosition(), 0);
  EXPECT_EQ(view_.Resets, (std::vector<int>{1000, 10}));
  EXPECT_EQ(view_.Positions, (std::vector<int>{500, 1500}));
}

TEST_F(NodeListTest, AViewLetGoOfSeesNothingMoreAndTheReportKeepsItsState) {
  // What a window's end does: the operation goes on, shown by nothing.
  operation_.SetView(nullptr);
  TOperationReport& report = operation_.Report();
  report.AddLog(": Contando", TLogColour::Blue);
  report.SetStages({"Contando", "Concluído"});
  report.NextStage();
  report.ResetProgress(10);
  report.SetProgress(4);
  report.Nodes().AddNodeItem(Node(3));
  EXPECT_TRUE(view_.Lines.empty());
  EXPECT_TRUE(view_.Calls.empty());
  EXPECT_TRUE(view_.Resets.empty());
  EXPECT_EQ(report.CurrentStage(), 1);
  EXPECT_EQ(report.ProgressPosition(), 4);
  EXPECT_EQ(report.Nodes().Count(), 4);
}

// --- Log kinds --------------------------------------------------------------------

TEST(LogKindTest, TheFirstCharactersTellTheKindAndColour) {
  EXPECT_EQ(LogKindOf(": Contando documentos"), TLogKind::Stage);
  EXPECT_EQ(LogKindOf("! Ok."), TLogKind::Result);
  EXPECT_EQ(LogKindOf("!! Atualização concluída com êxito."), TLogKind::Success);
  EXPECT_EQ(LogKindOf("# Erro no download!"), TLogKind::Error);
  EXPECT_EQ(LogKindOf("  URL: x"), TLogKind::Detail);
  EXPECT_EQ(LogKindOf("! Ignorado"), TLogKind::Skipped);
  EXPECT_EQ(LogKindOf(""), TLogKind::Detail);
  EXPECT_EQ(LogColourOf(TLogKind::Skipped), TLogColour::Olive);
  EXPECT_EQ(LogStyleOf(TLogKind::Success), TLogStyle::Bold);
  const TLogRgb green = LogColourRgb(LogColourOf(TLogKind::Result));
  EXPECT_EQ(green.Red, 0);
  EXPECT_EQ(green.Green, 128);
  EXPECT_EQ(green.Blue, 0);
}

}  // namespace
