#include "InstallLabel.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr int kLineSpacing = 2;

}  // namespace

TInstallLabel::TInstallLabel(QWidget* parent) : QWidget(parent), layout_(new QVBoxLayout(this)) {
  setObjectName("JvInstallLabel");
  layout_->setContentsMargins(0, 0, 0, 0);
  layout_->setSpacing(kLineSpacing);
  layout_->addStretch();
}

void TInstallLabel::SetLines(const std::vector<std::string>& lines, int current) {
  while (labels_.size() > lines.size()) {
    delete labels_.back();
    labels_.pop_back();
  }
  while (labels_.size() < lines.size()) {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("StageLine%1").arg(labels_.size()));
    layout_->insertWidget(static_cast<int>(labels_.size()), label);
    labels_.push_back(label);
  }
  for (size_t index = 0; index < lines.size(); ++index) {
    QLabel* label = labels_[index];
    label->setText(QString::fromStdString(lines[index]));
    QFont font = label->font();
    font.setBold(static_cast<int>(index) == current);
    label->setFont(font);
  }
}

void TInstallLabel::MarkStageFailed(int stage) {
  if (stage < 0 || stage >= LineCount()) return;
  QLabel* label = Line(stage);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::red);
  label->setPalette(palette);
}
