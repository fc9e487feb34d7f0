#pragma once

// TfrmBuildIndex: the window of the word index build (TIndexBuildOperation),
// not modal. The program has at most one: the main window's command shows
// the existing one again instead of starting another.
//
//   if (!TfrmBuildIndex::Instance()) new TfrmBuildIndex(*WordIndex, collection, mainWindow);
//   TfrmBuildIndex::Instance()->show();
//
// While it exists it holds the process's one open index, so searching and
// updating in this program report the index as already open until the user
// closes it ("Fechar" once finished), which writes the engine's cached blocks
// back and releases the folder's lock.

#include "UpdateBaseUnit.h"

class TIndexBuildOperation;
class TInstalledCollection;
class TWordIndex;

class TfrmBuildIndex : public TfrmUpdateBase {
  Q_OBJECT

 public:
  static constexpr char kCaption[] = "Geração do índice de palavras";

  // Takes the create lock (the old index is removed, an empty one created)
  // and starts the build. When the index cannot be opened the error
  // propagates and no window exists: there would be nothing to show but the
  // error itself.
  TfrmBuildIndex(TWordIndex& index, TInstalledCollection& collection, QWidget* parent = nullptr);
  ~TfrmBuildIndex() override;

  // The build window, or nullptr when none exists.
  static TfrmBuildIndex* Instance();

  TIndexBuildOperation& Build() const;
};
