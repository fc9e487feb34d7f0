#include "IndexBuildSequence.h"

#include "DocumentText.h"
#include "LxCodePage.h"
#include "LxExcept.h"
#include "LxFilUtl.h"
#include "TOMOTree.h"
#include "WordIndex.h"
#include "WordIndexLockWrite.h"

TIndexBuildSequence::TIndexBuildSequence(TWordIndex& index, const TTOMOTree& tree,
                                         TTOMODocumentSet& documents, TIndexBuildReport& report)
    : index_(index), tree_(tree), documentSet_(documents), report_(report), lock_(index.OpenRebuild()) {}

namespace {

constexpr char kPassedOverFormat[] = "# Documento não indexado: %s (%.4d): %s";
constexpr char kPassedOverCountFormat[] = "# %d documento(s) não puderam ser lidos e ficaram fora do índice.";
constexpr char kWriteFailedLine[] = "# Erro ao gravar o índice de palavras; gere o índice novamente.";

}  // namespace

TIndexBuildSequence::~TIndexBuildSequence() = default;

void TIndexBuildSequence::ReleaseIndex() { lock_.reset(); }

bool TIndexBuildSequence::Step() {
  switch (state_) {
    case TState::Start:
      StartCounting();
      break;
    case TState::Counting:
      CountOneEntry();
      break;
    case TState::Indexing:
      IndexOneDocument();
      break;
    case TState::Finishing:
      Finish();
      break;
    case TState::Finished:
      break;
  }
  return !Finished();
}

void TIndexBuildSequence::StartCounting() {
  report_.AddLog(TIndexBuildReport::TLineKind::Stage, ": Contando documentos");
  iterator_ = std::make_unique<TTOMOTreeIterator>(tree_.Iterator());
  state_ = TState::Counting;
}

void TIndexBuildSequence::CountOneEntry() {
  if (!iterator_->Eof()) {
    const TTOMORecordH& record = iterator_->Current()->Record();
    if (record.Kind == kKindRichText) documents_.push_back(record);
    if (record.DocumentNumber != 0) titledEntries_.push_back(record);
    iterator_->Next();
    return;
  }
  iterator_.reset();
  report_.AddLog(TIndexBuildReport::TLineKind::Result,
                 FormatMessage("! Concluído. %d documentos a processar.", DocumentCount()));
  report_.ResetProgress(DocumentCount());
  report_.AddLog(TIndexBuildReport::TLineKind::Stage, ": Processando documentos");
  ForceDirectories(index_.EngineFolder());
  state_ = TState::Indexing;
}

void TIndexBuildSequence::IndexOneDocument() {
  if (nextDocument_ == DocumentCount()) {
    state_ = TState::Finishing;
    return;
  }
  const TTOMORecordH& entry = documents_[static_cast<size_t>(nextDocument_)];
  ++nextDocument_;
  report_.AddLog(TIndexBuildReport::TLineKind::Detail, "  " + Win1252ToUtf8(entry.Title));
  report_.SetProgress(nextDocument_);
  std::string text;
  try {
    text = ReadDocumentText(documentSet_, entry.DocumentNumber);
  } catch (const std::exception& error) {
    // One missing or damaged file must not keep the rest out of the index.
    ++passedOver_;
    report_.AddLog(TIndexBuildReport::TLineKind::Error,
                   FormatMessage(kPassedOverFormat, Win1252ToUtf8(entry.Title).c_str(), entry.DocumentNumber,
                                 error.what()));
    return;
  }
  words_ += lock_->IndexText(entry.Id, std::move(text));
}

void TIndexBuildSequence::Finish() {
  // A fresh index must also find titles: the title group is part of a
  // complete build, not left for the next save of the tree.
  lock_->IndexTitles(std::move(titledEntries_));
  titledEntries_.clear();
  CloseIndex();
  report_.AddLog(TIndexBuildReport::TLineKind::Result, "! Processamento concluído");
  if (passedOver_ > 0) {
    report_.AddLog(TIndexBuildReport::TLineKind::Error, FormatMessage(kPassedOverCountFormat, passedOver_));
  }
  state_ = TState::Finished;
}

void TIndexBuildSequence::CloseIndex() {
  const std::unique_ptr<TWordIndexLockCreate> lock = std::move(lock_);
  // Hint blocks reach the disk only as the engine closes: the marker goes
  // once everything is there, never before.
  bool whole = false;
  try {
    whole = lock->Finish();
    if (whole) index_.MarkUpToDate();
  } catch (const std::exception&) {
    whole = false;
  }
  if (!whole) report_.AddLog(TIndexBuildReport::TLineKind::Error, kWriteFailedLine);
}
