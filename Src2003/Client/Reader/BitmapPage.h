#pragma once

#include <QImage>
#include <QWidget>

class QLabel;
class QScrollArea;
class TInstalledCollection;
class TTOMONode;

// The main window's page for bitmap entries ("BitmapTabSheet"): the picture
// in a scroll box, or a placeholder when it cannot be loaded. Reading the
// picture teaches the entry its date and size, and the tree is saved.
class TBitmapPage : public QWidget {
  Q_OBJECT

 public:
  explicit TBitmapPage(QWidget* parent = nullptr);

  // The collection that records what the entries learn (nullptr: none).
  void SetCollection(TInstalledCollection* collection) { collection_ = collection; }
  // Shows the bitmap entry's picture; a failure is reported and leaves the
  // placeholder, the entry forgetting its date.
  void Load(TTOMONode& entry);
  // The picture shown; null when none could be loaded.
  const QImage& Bitmap() const { return bitmap_; }

 signals:
  // The entry's document was read (or failed): its icon may have changed.
  void Loaded(TTOMONode* entry);

 private:
  QScrollArea* scrollBox_ = nullptr;
  QLabel* image_ = nullptr;
  QLabel* defaultImage_ = nullptr;
  QImage bitmap_;
  TInstalledCollection* collection_ = nullptr;
};
