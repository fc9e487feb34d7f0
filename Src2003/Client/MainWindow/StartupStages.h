#pragma once

#include <QObject>
#include <QString>

class QWidget;

// The main window's start-up after it first shows: stages 0 to 10 each let
// the pending events run and post the next, 11 posts 12, and 12 asks for
// the update of a package named on the command line, once the window has
// painted completely. Later shows start nothing.
class TStartupStages : public QObject {
  Q_OBJECT

 public:
  // Watches `window`'s first show; lives as its child.
  explicit TStartupStages(QWidget& window);

  // The program was started with an update package to apply.
  void SetPackage(const QString& path) { package_ = path; }

 signals:
  // Stage 12 with a package named on the command line.
  void UpdateRequested(const QString& packagePath);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void customEvent(QEvent* event) override;

 private:
  void RunStage(int stage);

  QString package_;
  bool shownOnce_ = false;
};
