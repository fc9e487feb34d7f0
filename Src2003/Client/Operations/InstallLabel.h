#pragma once

// The stage list of the operation window: one line per stage of the work,
// the current one in bold. Lines are labels named StageLine0, StageLine1, ...

#include <string>
#include <vector>

#include <QWidget>

class QLabel;
class QVBoxLayout;

class TInstallLabel : public QWidget {
  Q_OBJECT

 public:
  explicit TInstallLabel(QWidget* parent = nullptr);

  // The lines (UTF-8) and the current one; a current line past the last
  // leaves none bold.
  void SetLines(const std::vector<std::string>& lines, int current);
  // The operation stopped at `stage` without completing: that line turns red.
  void MarkStageFailed(int stage);
  int LineCount() const { return static_cast<int>(labels_.size()); }
  QLabel* Line(int index) const { return labels_.at(static_cast<size_t>(index)); }

 private:
  QVBoxLayout* layout_;
  std::vector<QLabel*> labels_;
};
