#include "LoadingGLUnit.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace {

constexpr char kLoadingText[] = "Carregando...";
constexpr int kLoadingFontPixels = 24;
constexpr char kSplashPicture[] = ":/pandecta/splash.png";
constexpr char kShowTimeVariable[] = "PANDECTA_SPLASH_MS";

}  // namespace

TfrmLoading::TfrmLoading(int showTime)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName("frmLoading");
  setFixedSize(kWidth, kHeight);

  panel_ = new QFrame(this);
  panel_->setObjectName("Panel");
  panel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel_->setLineWidth(2);

  picture_ = new QLabel(panel_);
  picture_->setObjectName("Image");
  picture_->setPixmap(QPixmap(QString::fromLatin1(kSplashPicture)));
  picture_->setScaledContents(true);

  loadingLabel_ = new QLabel(QString::fromUtf8(kLoadingText), panel_);
  loadingLabel_->setObjectName("LoadingLabel");
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(kLoadingFontPixels);
  font.setBold(true);
  font.setItalic(true);
  loadingLabel_->setFont(font);
  loadingLabel_->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
  loadingLabel_->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);

  timer_ = new QTimer(this);
  timer_->setSingleShot(true);  // it switches itself off at the first tick
  timer_->start(showTime);

  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

bool TfrmLoading::Finished() const { return !timer_->isActive(); }

void TfrmLoading::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  panel_->setGeometry(rect());
  PlaceLoadingLabel();
}

void TfrmLoading::PlaceLoadingLabel() {
  // Inset by the panel's frame, as the caption sits inside the bevel.
  const int inset = panel_->frameWidth() + 1;
  const QRect inner = panel_->rect().adjusted(inset, inset, -inset, -inset);
  picture_->setGeometry(inner);
  const int height = loadingLabel_->sizeHint().height();
  loadingLabel_->setGeometry(inner.left(), inner.bottom() - height, inner.width(), height);
}

int SplashShowTime() {
  bool ok = false;
  const int fromEnvironment = qEnvironmentVariableIntValue(kShowTimeVariable, &ok);
  return ok && fromEnvironment >= 0 ? fromEnvironment : TfrmLoading::kMinimumShowTime;
}
