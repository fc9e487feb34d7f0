#include "ClientIcons.h"

#include <algorithm>

#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QHash>
#include <QStringList>

namespace {

constexpr int kDeepestFolderImage = kFolderImage;
constexpr char kPreferredTheme[] = "Tango";
constexpr char kSystemIconFolder[] = "/usr/share/icons";

struct TIconSource {
  const char* themeName;
  const char* fallbackName;  // in the bundled resources
};

TIconSource SourceOf(TClientIcon icon) {
  switch (icon) {
    case TClientIcon::TopFolder: return {"folder-open", "folder-open"};
    case TClientIcon::Folder: return {"folder", "folder"};
    case TClientIcon::Document: return {"x-office-document", "document"};
    case TClientIcon::UnreadDocument: return {"text-x-generic-template", "document-unread"};
    case TClientIcon::ShowTree: return {"system-file-manager", "view-tree"};
    case TClientIcon::Back: return {"go-previous", "go-previous"};
    case TClientIcon::Forward: return {"go-next", "go-next"};
    case TClientIcon::Up: return {"go-up", "go-up"};
    case TClientIcon::SearchDocuments: return {"system-search", "system-search"};
    case TClientIcon::FindInText: return {"edit-find", "edit-find"};
    case TClientIcon::NextHit: return {"go-down", "go-down"};
    case TClientIcon::PreviousHit: return {"go-top", "go-top"};
    case TClientIcon::Print: return {"document-print", "document-print"};
    case TClientIcon::Copy: return {"edit-copy", "edit-copy"};
    case TClientIcon::Help: return {"help-browser", "help-browser"};
  }
  return {"", "document"};
}

// A document not (or no longer) readable must stand out from an opened one
// even at 16 pixels: the document drawn faint, with a red badge.
constexpr double kMissingDocumentOpacity = 0.45;
constexpr double kBadgeShare = 0.6;  // of the icon's side
const QColor kBadgeColor(0xcc, 0x00, 0x00);
constexpr int kMissingIconSizes[] = {16, 22, 24, 32, 48};

QPixmap MissingDocumentPixmap(const QIcon& document, int side) {
  QPixmap pixmap(side, side);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setOpacity(kMissingDocumentOpacity);
  document.paint(&painter, pixmap.rect());
  painter.setOpacity(1.0);
  const qreal badge = side * kBadgeShare;
  const QRectF circle(side - badge, side - badge, badge, badge);
  painter.setPen(QPen(Qt::white, std::max(1.0, side / 16.0)));
  painter.setBrush(kBadgeColor);
  painter.drawEllipse(circle.adjusted(0.5, 0.5, -0.5, -0.5));
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(std::max(6, static_cast<int>(badge * 0.8)));
  painter.setFont(font);
  painter.drawText(circle, Qt::AlignCenter, QStringLiteral("!"));
  return pixmap;
}

QIcon MissingDocumentIcon(const QIcon& document) {
  QIcon icon;
  for (int side : kMissingIconSizes) icon.addPixmap(MissingDocumentPixmap(document, side));
  return icon;
}

}  // namespace

int NodeImageIndex(const TTOMORecordH& record, int itemLevel) {
  if (record.DocumentNumber != 0) {
    const bool opened = record.DocumentSize > 0 && record.DocumentDate != 0;
    return opened ? kDocumentImage : kUnreadDocumentImage;
  }
  return std::min(itemLevel + 1, static_cast<int>(kDeepestFolderImage));
}

QIcon ClientIcon(TClientIcon icon) {
  static QHash<int, QIcon> cache;
  const int key = static_cast<int>(icon);
  auto found = cache.constFind(key);
  if (found != cache.constEnd()) return *found;
  const TIconSource source = SourceOf(icon);
  const QIcon fallback(QStringLiteral(":/pandecta/icons/%1.png").arg(QLatin1String(source.fallbackName)));
  const QIcon result = icon == TClientIcon::UnreadDocument
                           ? MissingDocumentIcon(ClientIcon(TClientIcon::Document))
                           : QIcon::fromTheme(QLatin1String(source.themeName), fallback);
  cache.insert(key, result);
  return result;
}

QIcon NodeImage(int imageIndex) {
  switch (imageIndex) {
    case kTopFolderImage: return ClientIcon(TClientIcon::TopFolder);
    case kFolderImage: return ClientIcon(TClientIcon::Folder);
    case kDocumentImage: return ClientIcon(TClientIcon::Document);
    default: return ClientIcon(TClientIcon::UnreadDocument);
  }
}

// Resources of a static library must be registered by name.
static void RegisterClientResources() { Q_INIT_RESOURCE(client); }

void InstallIconTheme() {
  RegisterClientResources();
  QStringList paths = QIcon::themeSearchPaths();
  if (!paths.contains(QLatin1String(kSystemIconFolder))) paths.append(QLatin1String(kSystemIconFolder));
  QIcon::setThemeSearchPaths(paths);
  if (QDir(QLatin1String(kSystemIconFolder)).exists(QLatin1String(kPreferredTheme))) {
    QIcon::setThemeName(QLatin1String(kPreferredTheme));
  }
  QIcon::setFallbackThemeName(QStringLiteral("hicolor"));
}
