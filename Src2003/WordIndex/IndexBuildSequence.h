#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "TOMORecord.h"

class TTOMODocumentSet;
class TTOMOTree;
class TTOMOTreeIterator;
class TWordIndex;
class TWordIndexLockCreate;

// Where a build reports to. The build window shows the lines in its log (the
// kind picks the colour) and moves its progress bar; the command-line tool
// prints them.
class TIndexBuildReport {
 public:
  enum class TLineKind {
    Stage,   // ": " a stage begins
    Result,  // "! " a result
    Detail,  // "  " the document being indexed
    Error,   // "# " something went wrong, and the build goes on
  };

  virtual ~TIndexBuildReport() = default;
  // `text` (UTF-8) already begins with its kind marker.
  virtual void AddLog(TLineKind kind, const std::string& text) = 0;
  virtual void ResetProgress(int total) = 0;
  virtual void SetProgress(int position) = 0;
};

// Rebuilds the whole word index from a document base, one bounded piece of
// work per Step, so that a window stays responsive and can cancel between
// steps:
//   0 start, 1 count the rich-text entries (one tree entry per step),
//   2 index one document per step, 3 build the title group.
// Constructing it takes the create lock, which marks the index out of date
// and empties it. The last step closes the index and, if every change
// reached the disk, marks it up to date before "! Processamento concluído".
// A sequence cut short holds the lock until ReleaseIndex or its end, and
// leaves the marker. A document that cannot be read is passed over with a
// line naming it and its reason; the end counts them.
class TIndexBuildSequence {
 public:
  enum class TState { Start, Counting, Indexing, Finishing, Finished };

  // The tree is read only while counting: the entries to index are copied,
  // so that the main window may replace its tree meanwhile. Errors of
  // opening the index (EWordIndexError) propagate.
  TIndexBuildSequence(TWordIndex& index, const TTOMOTree& tree, TTOMODocumentSet& documents,
                      TIndexBuildReport& report);
  ~TIndexBuildSequence();
  TIndexBuildSequence(const TIndexBuildSequence&) = delete;
  TIndexBuildSequence& operator=(const TIndexBuildSequence&) = delete;

  // Does the work of the current state; false once the sequence is finished.
  // An exception leaves the documents indexed so far in the index and the
  // index marked out of date.
  bool Step();
  // Lets go of the index at once (a finished sequence already has).
  void ReleaseIndex();

  TState State() const { return state_; }
  bool Finished() const { return state_ == TState::Finished; }
  // Documents to index (known once counting is over) and documents done.
  int DocumentCount() const { return static_cast<int>(documents_.size()); }
  int DocumentsIndexed() const { return nextDocument_; }
  // Words handed to the engine so far.
  std::int64_t WordsIndexed() const { return words_; }
  // Documents that could not be read, and stay out of the index.
  int DocumentsPassedOver() const { return passedOver_; }

 private:
  void StartCounting();
  void CountOneEntry();
  void IndexOneDocument();
  void Finish();
  // Closes the index, marking it up to date when it reached the disk whole.
  void CloseIndex();

  TWordIndex& index_;
  const TTOMOTree& tree_;
  TTOMODocumentSet& documentSet_;
  TIndexBuildReport& report_;
  std::unique_ptr<TWordIndexLockCreate> lock_;
  std::unique_ptr<TTOMOTreeIterator> iterator_;
  // Rich-text entries to index, and every entry with a document (for the
  // title group), copied while counting.
  std::vector<TTOMORecordH> documents_;
  std::vector<TTOMORecordH> titledEntries_;
  TState state_ = TState::Start;
  int nextDocument_ = 0;
  int passedOver_ = 0;
  std::int64_t words_ = 0;
};
