#pragma once

#include <vector>

#include <QObject>

class QAbstractItemView;
class QWidget;

// Lists whose row heights follow their width: each resize of the watched
// pane posts the window's width, and only when the width is still the same
// on arrival (the last of a burst of resizes) are the rows measured again.
class TRowRelayout : public QObject {
  Q_OBJECT

 public:
  // Lives as a child of `window`.
  TRowRelayout(QWidget& watched, QWidget& window, std::vector<QAbstractItemView*> lists);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void customEvent(QEvent* event) override;

 private:
  QWidget& watched_;
  QWidget& window_;
  std::vector<QAbstractItemView*> lists_;
};
