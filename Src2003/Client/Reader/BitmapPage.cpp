#include "BitmapPage.h"

#include <QIcon>
#include <QLabel>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include "EntryBody.h"
#include "ErrorDisplay.h"
#include "LxExcept.h"
#include "TOMONode.h"

namespace {

constexpr int kPlaceholderSize = 64;

}  // namespace

TBitmapPage::TBitmapPage(QWidget* parent) : QWidget(parent) {
  setObjectName("BitmapTabSheet");
  scrollBox_ = new QScrollArea(this);
  scrollBox_->setObjectName("BitmapScrollBox");
  scrollBox_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  image_ = new QLabel;
  image_->setObjectName("BitmapImage");
  image_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  scrollBox_->setWidget(image_);
  scrollBox_->setWidgetResizable(true);

  defaultImage_ = new QLabel(this);
  defaultImage_->setObjectName("BitmapDefaultImage");
  QIcon placeholder = QIcon::fromTheme(QStringLiteral("image-missing"));
  if (placeholder.isNull()) placeholder = style()->standardIcon(QStyle::SP_MessageBoxWarning);
  defaultImage_->setPixmap(placeholder.pixmap(kPlaceholderSize, kPlaceholderSize));
  defaultImage_->hide();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scrollBox_);
}

void TBitmapPage::Load(TTOMONode& entry) {
  bitmap_ = QImage();
  image_->setPixmap(defaultImage_->pixmap());
  try {
    const TTOMODocumentBody body = ReadEntryBody(entry, true);
    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(body.Content.data()), static_cast<int>(body.Content.size()),
                            "BMP")) {
      throw ELxException("Imagem inválida");
    }
    bitmap_ = image;
    image_->setPixmap(QPixmap::fromImage(bitmap_));
  } catch (...) {
    ShowCurrentError();
    entry.ClearDocumentDate();
    image_->setPixmap(defaultImage_->pixmap());
  }
  emit Loaded(&entry);
  SaveLearnedFacts(collection_);
}
