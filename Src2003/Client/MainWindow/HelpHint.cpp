#include "HelpHint.h"

#include <QLabel>
#include <QPointer>
#include <QTimer>

namespace {

constexpr char kHintText[] = "<---- Clique aqui para visualizar o arquivo de ajuda.";

int LeadingBlanks(const QString& text) {
  int count = 0;
  while (count < text.size() && text[count] == QLatin1Char(' ')) ++count;
  return count;
}

}  // namespace

QString THelpHint::InitialText() { return QString(kLeadingBlanks, QLatin1Char(' ')) + QString::fromUtf8(kHintText); }

THelpHint::THelpHint(QLabel& label) : QObject(&label), label_(&label), timer_(new QTimer(this)) {
  label_->setText(InitialText());
  connect(timer_, &QTimer::timeout, this, &THelpHint::Tick);
  timer_->start(kSlideInterval);
}

bool THelpHint::Running() const { return timer_->isActive(); }

void THelpHint::Tick() {
  if (timer_->interval() == kFinalWait) {
    timer_->stop();
    label_->hide();
    label_->deleteLater();
    return;
  }
  const QString text = label_->text();
  const int blanks = LeadingBlanks(text);
  if (blanks == 0) {
    timer_->setInterval(kFinalWait);
    return;
  }
  label_->setText(text.mid(std::min(blanks, static_cast<int>(kBlanksPerStep))));
}
