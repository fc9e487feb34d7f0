#include "ErrorDisplay.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "MessageBoxPrompts.h"
#include "QtText.h"

namespace {

constexpr int kIconSize = 32;
constexpr int kMessageWidth = 420;
constexpr int kDetailsHeight = 260;

TErrorPresenter& Presenter() {
  static TErrorPresenter presenter;
  return presenter;
}

void Present(const TErrorReport& report) {
  AppendToErrorLog(report);
  if (Presenter()) {
    Presenter()(report);
    return;
  }
  TfrmErrorDisplay box(report, QApplication::activeWindow());
  box.exec();
}

}  // namespace

TfrmErrorDisplay::TfrmErrorDisplay(TErrorReport report, QWidget* parent)
    : QDialog(parent), report_(std::move(report)) {
  setObjectName("frmErrorDisplay");
  setWindowTitle(QString::fromUtf8(kProgramCaption));

  auto* icon = new QLabel(this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(kIconSize, kIconSize));
  auto* message = new QLabel(Utf8ToQString(report_.Message), this);
  message->setObjectName("ErrorMessageLabel");
  message->setWordWrap(true);
  message->setMinimumWidth(kMessageWidth);
  message->setTextInteractionFlags(Qt::TextSelectableByMouse);

  detailsEdit_ = new QPlainTextEdit(Utf8ToQString(report_.Text()), this);
  detailsEdit_->setObjectName("ErrorDetailsEdit");
  detailsEdit_->setReadOnly(true);
  detailsEdit_->setLineWrapMode(QPlainTextEdit::NoWrap);
  detailsEdit_->setMinimumHeight(kDetailsHeight);
  detailsEdit_->hide();

  auto* buttons = new QDialogButtonBox(this);
  auto* ok = buttons->addButton(QDialogButtonBox::Ok);
  ok->setObjectName("ErrorOkButton");
  detailsButton_ = buttons->addButton(QString::fromUtf8("&Detalhes >>"), QDialogButtonBox::ActionRole);
  detailsButton_->setObjectName("ErrorDetailsButton");
  auto* send = buttons->addButton(QString::fromUtf8("&Enviar relatório..."), QDialogButtonBox::ActionRole);
  send->setObjectName("ErrorSendButton");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(detailsButton_, &QPushButton::clicked, this, &TfrmErrorDisplay::DetailsButtonClick);
  connect(send, &QPushButton::clicked, this, &TfrmErrorDisplay::SendButtonClick);

  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addWidget(message, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(detailsEdit_, 1);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmErrorDisplay::DetailsButtonClick() {
  const bool show = detailsEdit_->isHidden();
  detailsEdit_->setVisible(show);
  detailsButton_->setText(QString::fromUtf8(show ? "&Detalhes <<" : "&Detalhes >>"));
}

void TfrmErrorDisplay::SendButtonClick() { QDesktopServices::openUrl(ErrorMailUrl(report_)); }

void ShowError(const std::exception& error) {
  try {
    Present(MakeErrorReport(error));
  } catch (...) {
    // Reporting an error must not raise a second one.
  }
}

void ShowCurrentError() {
  try {
    Present(MakeCurrentErrorReport());
  } catch (...) {
  }
}

TErrorPresenter SetErrorPresenter(TErrorPresenter presenter) {
  TErrorPresenter previous = std::move(Presenter());
  Presenter() = std::move(presenter);
  return previous;
}
