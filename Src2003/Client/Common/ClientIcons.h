#pragma once

#include <QIcon>

#include "TOMORecord.h"

// The node image list: image indexes the tree, the document list and the
// tool bar share.
enum TNodeImage : int {
  kTopFolderImage = 1,       // folders at the top level
  kFolderImage = 2,          // every deeper folder
  kDocumentImage = 3,        // a document that has been opened successfully
  kUnreadDocumentImage = 61  // a document never opened, or that failed to open
};

// The image of an entry shown at `itemLevel` (0 for top-level items):
// documents 3 once their size and date are known, else 61; folders
// itemLevel + 1, at most 2.
int NodeImageIndex(const TTOMORecordH& record, int itemLevel);

// Pictures of the program, from the desktop's icon theme (Tango, else the
// system's theme), or drawn by us where the theme has none.
enum class TClientIcon {
  TopFolder, Folder, Document, UnreadDocument,
  ShowTree, Back, Forward, Up, SearchDocuments, FindInText, NextHit, PreviousHit, Print, Copy, Help
};
QIcon ClientIcon(TClientIcon icon);
QIcon NodeImage(int imageIndex);

// Points Qt at the installed icon themes; call once after the application
// object exists.
void InstallIconTheme();
