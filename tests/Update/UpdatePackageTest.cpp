// Applying update packages without a window: joining volumes, the disk
// prompt, the update list, installing and indexing documents, and packages
// that are damaged or hostile.

#include <algorithm>
#include <filesystem>
#include <limits>
#include <memory>

#include <gtest/gtest.h>

#include "IndexBuildSequence.h"
#include "InstalledCollection.h"
#include "LxCodePage.h"
#include "OperationTestSupport.h"
#include "PackageTestSupport.h"
#include "PackageWriter.h"
#include "PowerCut.h"
#include "Prompts.h"
#include "TOMODocumentSet.h"
#include "TOMOTree.h"
#include "UpdateList.h"
#include "PackageUpdate.h"
#include "UpdatePackageFormat.h"
#include "UpdateSources.h"
#include "WordIndex.h"
#include "WordIndexLockSearch.h"

namespace {

constexpr char kPackageTitle[] = "Atualização de maio";

class TQuietBuildReport : public TIndexBuildReport {
 public:
  void AddLog(TLineKind, const std::string&) override {}
  void ResetProgress(int) override {}
  void SetProgress(int) override {}
};

// The prompts of a user who swaps the medium when asked: each question puts
// the next file in place of the volume path and answers OK.
class TDiskSwapPrompts : public TScriptedPrompts {
 public:
  TDiskSwapPrompts(std::string drivePath, std::vector<std::string> nextVolumes)
      : drivePath_(std::move(drivePath)), nextVolumes_(std::move(nextVolumes)) {}
  bool AskOkCancel(const std::string& message) override {
    TScriptedPrompts::AskOkCancel(message);
    if (next_ >= nextVolumes_.size()) return false;
    std::filesystem::copy_file(nextVolumes_[next_++], drivePath_, std::filesystem::copy_options::overwrite_existing);
    return true;
  }

 private:
  std::string drivePath_;
  std::vector<std::string> nextVolumes_;
  size_t next_ = 0;
};

// The number a piece of a document's install carries in its step message.
constexpr int kDocumentBodyState = static_cast<int>(TPackageUpdate::TState::DocumentBody);

// An update that records the state of every step it runs, and cancels
// itself after the n-th step of state 18 (a piece of a document's install).
class TWatchedUpdate : public TPackageUpdate {
 public:
  using TPackageUpdate::TPackageUpdate;
  std::vector<int> States;
  int CancelAfterBodyStep = 0;

 protected:
  void Step(const TOperationStep& message, int& nextState, int& nextParameter) override {
    States.push_back(message.State);
    TPackageUpdate::Step(message, nextState, nextParameter);
    if (message.State == kDocumentBodyState &&
        std::count(States.begin(), States.end(), kDocumentBodyState) == CancelAfterBodyStep) {
      CancelOperation();
    }
  }
};

class UpdatePackageTest : public OperationTest {
 protected:
  void SetUp() override {
    OperationTest::SetUp();
    GenerateSmallBase(Old());
    CopyFolder(Old(), New());
    CopyFolder(Old(), Data());
    entries_ = DocumentEntries(Old());
    ASSERT_GE(entries_.size(), 5u);
  }
  void TearDown() override {
    index_.reset();
    OperationTest::TearDown();
  }

  std::string Old() const { return folder_.File("old"); }
  std::string New() const { return folder_.File("new"); }
  std::string Data() const { return folder_.File("data"); }
  std::string Extra() const { return folder_.File("extra"); }
  std::string Out() const { return folder_.File("out"); }
  // The Id of the n-th entry with a document.
  std::int32_t EntryWithDocument(int n) const { return std::next(entries_.begin(), n)->first; }

  // Makes the package OLD -> NEW; returns the summary.
  TPackageSummary MakePackage(std::int64_t volumeSize = std::numeric_limits<std::int32_t>::max()) {
    TPackageRequest request;
    request.OldFolder = Old();
    request.NewFolder = New();
    request.OutFolder = Out();
    request.Title = kPackageTitle;
    request.Id = "2026-05";
    request.VolumeSize = volumeSize;
    return WritePackage(request);
  }

  void BuildIndex() {
    index_ = std::make_unique<TWordIndex>(Extra());
    TTOMODocumentFolder documents(Data());
    TTOMOTree tree(Data());
    TQuietBuildReport report;
    TIndexBuildSequence build(*index_, tree, documents, report);
    while (build.Step()) {
    }
  }

  // Applies the package named by `argument` to DATA; the operation is gone
  // (and the word index free) when this returns.
  bool Apply(const std::string& argument, TPrompts* prompts = nullptr) {
    TScriptedPrompts unattended;
    TScopedPrompts scoped(prompts ? *prompts : unattended);
    TTOMODocumentFolder documents(Data());
    TInstalledCollection collection([this] { return Data(); }, [this] { return index_.get(); });
    collection.LoadTree();
    TPackageUpdate update(collection, index_.get());
    update.SetView(&view_);
    update.StartPackage(argument);
    EXPECT_TRUE(RunChain(update));
    failed_ = update.Failed();
    cancelled_ = update.Cancelled();
    return update.Completed();
  }

  // Apply through a TWatchedUpdate; the states it ran.
  std::vector<int> ApplyWatched(const std::string& argument, int cancelAfterBodyStep) {
    TTOMODocumentFolder documents(Data());
    TInstalledCollection collection([this] { return Data(); }, [this] { return index_.get(); });
    collection.LoadTree();
    TWatchedUpdate update(collection, index_.get());
    update.CancelAfterBodyStep = cancelAfterBodyStep;
    update.SetView(&view_);
    update.StartPackage(argument);
    EXPECT_TRUE(RunChain(update));
    cancelled_ = update.Cancelled();
    return update.States;
  }

  void ExpectDataEqualsNew() {
    EXPECT_EQ(TreeDump(Data()), TreeDump(New()));
    for (const auto& [id, number] : DocumentEntries(New())) {
      EXPECT_EQ(DocumentBody(Data(), number), DocumentBody(New(), number)) << "document " << number;
    }
  }

  int Found(const std::string& word) {
    if (!index_) index_ = std::make_unique<TWordIndex>(Extra());
    return index_->Search(Utf8ToWin1252(word)).Count();
  }

  std::map<std::int32_t, std::int32_t> entries_;
  std::unique_ptr<TWordIndex> index_;
  bool failed_ = false;
  bool cancelled_ = false;
};

TEST_F(UpdatePackageTest, OneVolumeIsJoinedWithoutPromptAndTurnsOldIntoNew) {
  for (int n = 0; n < 3; ++n) ReplaceDocument(New(), EntryWithDocument(n), "zebrafish quimera", NewerDate());
  AddDocumentEntry(New(), "Resolução ornitorrinco", "capivara tamanduá", NewerDate());
  BuildIndex();
  ASSERT_EQ(Found("zebrafish"), 0);
  const TPackageSummary summary = MakePackage();
  EXPECT_EQ(summary.Volumes, 1);
  EXPECT_EQ(summary.Documents, 4);

  TScriptedPrompts prompts;
  EXPECT_TRUE(Apply("\"" + Out() + "/atualizacao.dat\"", &prompts));
  EXPECT_TRUE(prompts.Questions().empty());
  ExpectDataEqualsNew();
  EXPECT_EQ(view_.CountOf("! Atualizado"), 4);
  EXPECT_EQ(view_.CountOf(": Copiando arquivo 1..."), 1);
  EXPECT_EQ(view_.Texts().back(), "! Concluído.");
  EXPECT_EQ(Found("zebrafish"), 3);
  EXPECT_EQ(Found("capivara"), 1);
  // The new title reaches the title words although the update held the index.
  EXPECT_EQ(Found("ornitorrinco"), 1);
}

TEST_F(UpdatePackageTest, TheIndexIsFreeOnceTheUpdateEndsAndNothingToDoNeverTakesIt) {
  ReplaceDocument(New(), EntryWithDocument(0), "zebrafish", NewerDate());
  BuildIndex();
  MakePackage();
  const std::string package = Out() + "/atualizacao.dat";
  {
    TTOMODocumentFolder documents(Data());
    TInstalledCollection collection([this] { return Data(); }, [this] { return index_.get(); });
    collection.LoadTree();
    TPackageUpdate update(collection, index_.get());
    update.SetView(&view_);
    update.StartPackage(package);
    ASSERT_TRUE(RunChain(update));
    ASSERT_TRUE(update.Completed());
    // The operation still exists (its window would be open): the index is free.
    EXPECT_FALSE(update.Installer().IndexLockHeld());
    EXPECT_EQ(index_->Lock(), nullptr);
    EXPECT_EQ(index_->Search("zebrafish").Count(), 1);
  }
  // The same package again changes nothing: it must not need the index,
  // which a search holds meanwhile.
  const auto search = index_->OpenSearch("zebrafish");
  EXPECT_TRUE(Apply(package));
  EXPECT_FALSE(index_->IsOutOfDate());
}

TEST_F(UpdatePackageTest, SecondVolumeIsAskedForAtTheSamePathAndSwapped) {
  for (int n = 0; n < 4; ++n) ReplaceDocument(New(), EntryWithDocument(n), "segunda mídia", NewerDate());
  const TPackageSummary whole = MakePackage();
  std::filesystem::remove_all(Out());
  const TPackageSummary split = MakePackage(whole.PayloadBytes / 2 + 1);
  ASSERT_EQ(split.Volumes, 2);
  const std::string drive = folder_.File("drive");
  std::filesystem::create_directories(drive);
  const std::string volumePath = drive + "/atualizacao.dat";
  std::filesystem::copy_file(Out() + "/1/atualizacao.dat", volumePath);

  TDiskSwapPrompts prompts(volumePath, {Out() + "/2/atualizacao.dat"});
  EXPECT_TRUE(Apply(volumePath, &prompts));
  ASSERT_EQ(prompts.Questions().size(), 1u);
  EXPECT_EQ(prompts.Questions()[0], "Insira o disco n° 2 da atualização \"Atualização de maio\".");
  EXPECT_EQ(view_.CountOf(": Arquivo 2 copiado"), 1);
  ExpectDataEqualsNew();
}

TEST_F(UpdatePackageTest, VolumeIsCopiedIn2048ByteSteps) {
  const std::string path = folder_.File("steps.dat");
  WriteWholeFile(path, Volume("Seqüência: 1\nTamanho Total: 5000\n", std::string(5000, 'x')));
  const auto before = Snapshot(Data());
  EXPECT_FALSE(Apply(path));
  ASSERT_GE(view_.Positions.size(), 3u);
  EXPECT_EQ(std::vector<int>(view_.Positions.begin(), view_.Positions.begin() + 3), (std::vector<int>{2048, 4096, 5000}));
  EXPECT_EQ(view_.Resets.front(), 5000);
  EXPECT_TRUE(failed_);  // the payload is no zlib block
  EXPECT_EQ(Snapshot(Data()), before);
}

TEST_F(UpdatePackageTest, RecordsNotInTheUpdateListArePassedOver) {
  ReplaceDocument(New(), EntryWithDocument(1), "primeira vez", NewerDate());
  MakePackage();
  ASSERT_TRUE(Apply(Out() + "/atualizacao.dat"));
  const auto applied = Snapshot(Data());
  view_.Lines.clear();
  // Applied again, the installed document is as new as the package's.
  EXPECT_TRUE(Apply(Out() + "/atualizacao.dat"));
  EXPECT_EQ(view_.CountOf("! Ignorado"), 1);
  EXPECT_EQ(view_.CountOf("! Atualizado"), 0);
  EXPECT_EQ(Snapshot(Data()), applied);
}

TEST_F(UpdatePackageTest, EntryChangedTodayIsMergedWithoutItsDocumentWhenNotNewer) {
  const std::int32_t id = EntryWithDocument(2);
  ChangeEntry(New(), id, Today(), "Título mudado hoje");
  // The installed entry even looks newer: only the date rule takes it.
  ChangeEntry(Data(), id, Today() + 1, "Título antigo");
  MakePackage();
  EXPECT_TRUE(Apply(Out() + "/atualizacao.dat"));
  EXPECT_EQ(view_.CountOf("! Atualizado"), 0);
  EXPECT_EQ(TTOMOTree(Data()).FindNode(id)->Record().Title, Utf8ToWin1252("Título mudado hoje"));
}

TEST_F(UpdatePackageTest, BitmapIsInstalled) {
  const std::int32_t id = EntryWithDocument(3);
  ReplaceWithBitmap(New(), id, NewerDate());
  BuildIndex();
  MakePackage();
  EXPECT_TRUE(Apply(Out() + "/atualizacao.dat"));
  EXPECT_EQ(view_.CountOf("! Atualizado"), 1);
  ExpectDataEqualsNew();
}

TEST_F(UpdatePackageTest, UpdateKindIsReadAtClassLevelWhileTheUpdateLives) {
  int changes = 0;
  const QMetaObject::Connection counting =
      QObject::connect(&UpdateKindNotifier(), &TUpdateKindNotifier::UpdateKindChanged, [&] { ++changes; });
  EXPECT_EQ(TUpdateOperation::ActiveUpdateKind(), TUpdateKind::None);
  {
    TInstalledCollection collection([this] { return Data(); }, [] { return nullptr; });
    TPackageUpdate update(collection, nullptr);
    EXPECT_EQ(TUpdateOperation::ActiveUpdateKind(), TUpdateKind::None);
    update.SetUpdateKind(TUpdateKind::Package);
    EXPECT_EQ(TUpdateOperation::ActiveUpdateKind(), TUpdateKind::Package);
    EXPECT_EQ(changes, 1);
  }
  EXPECT_EQ(TUpdateOperation::ActiveUpdateKind(), TUpdateKind::None);
  EXPECT_EQ(changes, 2);
  QObject::disconnect(counting);
}

TEST_F(UpdatePackageTest, ALargeDocumentTakesManyShortStepsAndACancelAmongThemKeepsTheOldOne) {
  std::string words;
  while (words.size() < 300'000) words += "texto longo ";
  const std::int32_t id = EntryWithDocument(1);
  const std::int32_t number = entries_.at(id);
  ReplaceDocument(New(), id, words + "ornitorrinco", NewerDate());
  BuildIndex();
  MakePackage();
  const auto before = Snapshot(Data());

  const std::vector<int> cancelled = ApplyWatched(Out() + "/atualizacao.dat", 3);
  EXPECT_TRUE(cancelled_);
  EXPECT_EQ(Snapshot(Data()), before);
  EXPECT_EQ(view_.Texts().back(), "# Operação cancelada pelo usuário!");

  view_.Lines.clear();
  const std::vector<int> states = ApplyWatched(Out() + "/atualizacao.dat", 0);
  // At most 64 KiB copied, then encoded, a step: 300 KB in about ten steps.
  EXPECT_GE(std::count(states.begin(), states.end(), kDocumentBodyState), 9);
  ExpectDataEqualsNew();
  EXPECT_EQ(Found("ornitorrinco"), 1);
  // The log is that of a document installed in one step.
  const std::vector<std::string> texts = view_.Texts();
  const auto title = std::find_if(texts.begin(), texts.end(),
                                  [&](const std::string& text) { return text.rfind(FormatMessage(": (%.4d)", number), 0) == 0; });
  ASSERT_NE(title, texts.end());
  EXPECT_EQ(*(title + 1), "! Atualizado");
}

TEST(UpdatePackageArgument, QuotesAroundThePathAreDropped) {
  EXPECT_EQ(TPackageUpdate::PackagePathOfArgument("\"/mídia/a b.dat\""), "/mídia/a b.dat");
  EXPECT_EQ(TPackageUpdate::PackagePathOfArgument("\""), "\"");
  EXPECT_EQ(TPackageUpdate::PackagePathOfArgument("\"\""), "");
  EXPECT_EQ(TPackageUpdate::PackagePathOfArgument("/a/\"b"), "/a/\"b");
}

// --- Power cut ------------------------------------------------------------------

// Replaced and new documents alike reach the disk before the tree that lists
// them: a power cut at any change of the update leaves no tree ahead of its
// documents.
TEST_F(UpdatePackageTest, APowerCutNeverLeavesTheTreeAheadOfItsDocuments) {
  for (int n : {1, 2, 3}) ReplaceDocument(New(), EntryWithDocument(n), "texto novo " + std::to_string(n), NewerDate());
  AddDocumentEntry(New(), "Documento novo", "um documento que a base não tinha", NewerDate());
  MakePackage();
  TCutDriver driver;
  driver.Prepare = [&] {
    std::filesystem::remove_all(Data());
    CopyFolder(Old(), Data());
    std::filesystem::remove_all(DownloadFolder());
  };
  driver.Commit = [&] { Apply(Out() + "/atualizacao.dat"); };
  driver.Check = [&](const std::string& where) {
    SCOPED_TRACE(where);
    ExpectTreeNotAheadOfDocuments(Data(), Old(), New());
  };
  driver.RunUnderCut = [&](TCutPlan& plan, const std::function<void()>& run) {
    RunUnderLxPowerCut(plan, Data(), run);
  };
  driver.CutBudget = 30;
  EXPECT_GT(driver.RunEveryCut(), 0);
}

// --- Damaged and hostile packages ------------------------------------------------

class HostilePackageTest : public UpdatePackageTest {
 protected:
  // Applies a volume of these bytes: it must not complete, and nothing
  // outside the download folder may change.
  void ExpectRefused(const std::string& bytes, const std::string& errorPart = {}) {
    const std::string path = folder_.File("hostile.dat");
    WriteWholeFile(path, bytes);
    const auto data = Snapshot(Data());
    const auto old = Snapshot(Old());
    EXPECT_FALSE(Apply(path));
    EXPECT_TRUE(failed_ || cancelled_);
    EXPECT_EQ(Snapshot(Data()), data);
    EXPECT_EQ(Snapshot(Old()), old);
    if (!errorPart.empty()) {
      ASSERT_FALSE(view_.Errors.empty());
      EXPECT_NE(view_.Errors.back().find(errorPart), std::string::npos) << view_.Errors.back();
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder_.Path())) {
      const std::string name = entry.path().filename().string();
      EXPECT_TRUE(name == "old" || name == "new" || name == "data" || name == "Download" || name == "hostile.dat")
          << name;
    }
  }

  std::string TreeFile() const { return ReadWholeFile(std::filesystem::path(New()) / "TOMOIdx.dat"); }
  std::string Package(const std::string& expanded) {
    const std::string payload = ZlibBlock(expanded);
    return Volume("Seqüência: 1\nTamanho Total: " + std::to_string(payload.size()) + "\nTítulo: X\n", payload);
  }
};

TEST_F(HostilePackageTest, HeadersThatAreNotAPackage) {
  ExpectRefused("", "Formato de arquivo inválido");
  ExpectRefused("TOMO.Documento\nSeqüência: 1\n\nxx", "Formato de arquivo inválido");
  ExpectRefused(Volume("Seqüência: 1\n", "abc"), "Tamanho Total");
  ExpectRefused(Volume("Seqüência: 1\nTamanho Total: muito\n", "abc"), "Tamanho Total");
  ExpectRefused(Volume("Seqüência: 1\nTamanho Total: -3\n", "abc"), "Tamanho Total");
  ExpectRefused(Volume("Seqüência: 1\nTamanho Total: 99999999999\n", "abc"), "Tamanho Total");
  ExpectRefused(Volume("Tamanho Total: 3\n", "abc"), "Seqüência");
  ExpectRefused(Volume("Seqüência: um\nTamanho Total: 3\n", "abc"), "Seqüência");
  ExpectRefused(PackageSignature() + "\n" + std::string(100 * 1024, 'L'), "longa demais");
}

TEST_F(HostilePackageTest, TotalSizeThatLiesAsksForMoreDisksUntilCancel) {
  const std::string payload = ZlibBlock(Fixed32(0));
  ExpectRefused(Volume("Seqüência: 1\nTamanho Total: " + std::to_string(payload.size() + 10) + "\n", payload));
  EXPECT_TRUE(cancelled_);
}

TEST_F(HostilePackageTest, DamagedPayloads) {
  const std::string tree = TreeFile();
  std::string good = ZlibBlock(Fixed32(static_cast<std::int32_t>(tree.size())) + tree);
  const std::string truncated = good.substr(0, good.size() / 2);
  ExpectRefused(Volume("Seqüência: 1\nTamanho Total: " + std::to_string(truncated.size()) + "\n", truncated));
  std::string corrupt = good;
  for (size_t i = 12; i < corrupt.size(); i += 7) corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5A);
  ExpectRefused(Volume("Seqüência: 1\nTamanho Total: " + std::to_string(corrupt.size()) + "\n", corrupt));
}

TEST_F(HostilePackageTest, LengthsThatRunPastTheEnd) {
  const std::string tree = TreeFile();
  ExpectRefused(Package(Fixed32(999999) + "abc"), "além do fim");
  ExpectRefused(Package(Fixed32(-1) + "abc"), "além do fim");
  const std::int32_t number = entries_.begin()->second;
  const std::string record = Fixed32(number) + "Título: x\n\n" + Fixed32(1000000) + "abc";
  ExpectRefused(Package(Fixed32(static_cast<std::int32_t>(tree.size())) + tree + record), "além do fim");
  ExpectRefused(Package(Fixed32(static_cast<std::int32_t>(tree.size())) + tree + Fixed32(number) + "Título"));
}

TEST_F(HostilePackageTest, ATreeThatExpandsPastItsBoundIsRefusedBeforeItIsWritten) {
  constexpr std::int32_t kBombBytes = 32 * 1024 * 1024;
  ExpectRefused(Package(Fixed32(kBombBytes) + std::string(kBombBytes, '\n')), "Arquivo de índice grande demais");
  EXPECT_FALSE(std::filesystem::exists(DownloadFolder() + "/tomoidx.dat"));
}

TEST_F(HostilePackageTest, TreeThatDoesNotParse) {
  const std::string garbage = ".1,1,Laço\n";
  ExpectRefused(Package(Fixed32(static_cast<std::int32_t>(garbage.size())) + garbage));
}

TEST_F(HostilePackageTest, DocumentNumbersNeverLeaveTheDataFolder) {
  // Entries that name a negative and the largest document number: the first
  // names no document and is passed over, the second lands inside the folder.
  const std::int32_t negative = EntryWithDocument(0);
  const std::int32_t largest = EntryWithDocument(1);
  const std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();
  EditRecord(New(), negative, [](TTOMORecordH& r) { r.DocumentNumber = -7; r.DocumentDate = NewerDate(); });
  EditRecord(New(), largest, [&](TTOMORecordH& r) { r.DocumentNumber = kLargest; r.DocumentDate = NewerDate(); });
  const std::string tree = TreeFile();
  const std::string body = DocumentBody(Old(), entries_.begin()->second);
  auto record = [&](std::int32_t number) {
    return Fixed32(number) + "Título: t\n\n" + Fixed32(static_cast<std::int32_t>(body.size())) + body;
  };
  const std::string path = folder_.File("numbers.dat");
  WriteWholeFile(path, Package(Fixed32(static_cast<std::int32_t>(tree.size())) + tree + record(-7) + record(kLargest)));
  EXPECT_TRUE(Apply(path));
  EXPECT_EQ(view_.CountOf("! Ignorado"), 1);
  EXPECT_EQ(view_.CountOf("! Atualizado"), 1);
  EXPECT_EQ(DocumentBody(Data(), kLargest), body);
  for (const auto& entry : std::filesystem::directory_iterator(folder_.Path())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "old" || name == "new" || name == "data" || name == "Download" || name == "numbers.dat")
        << name;
  }
}

}  // namespace

namespace {

TEST(UpdateSources, MediaAreSearchedForAPackageThenForAnUpdateProgram) {
  EXPECT_TRUE(IsUpdateProgramName("0526_05_1.exe"));
  EXPECT_TRUE(IsUpdateProgramName("0526_05_1.EXE"));
  EXPECT_FALSE(IsUpdateProgramName("setup.exe"));
  EXPECT_FALSE(IsUpdateProgramName("0526_05_12.exe"));

  TempFolder media;
  std::filesystem::create_directories(media.Path() / "A");
  std::filesystem::create_directories(media.Path() / "B");
  std::filesystem::create_directories(media.Path() / "C");
  WriteWholeFile(media.Path() / "A" / "0526_05_1.exe", "MZ");
  WriteWholeFile(media.Path() / "B" / "atualizacao.dat", "não é um pacote");
  const std::vector<std::string> folders = {media.File("A"), media.File("B"), media.File("C")};
  EXPECT_EQ(FindUpdateOnMedia(folders), media.File("A/0526_05_1.exe"));
  WriteWholeFile(media.Path() / "C" / "atualizacao.dat", PackageSignature() + "\nSeqüência: 1\n\n");
  EXPECT_EQ(FindUpdateOnMedia(folders), media.File("C/atualizacao.dat"));
  EXPECT_EQ(FindUpdateOnMedia({media.File("nenhuma")}), "");
}

}  // namespace
