#include "WindowPlacement.h"

#include <string>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "ConfigUnit.h"
#include "LxConfigStore.h"

namespace {

const std::string kPlacementKey = std::string(kTOMORegistryKey) + "\\Configurações\\Posição";
constexpr char kLeft[] = "Left";
constexpr char kTop[] = "Top";
constexpr char kWidth[] = "Width";
constexpr char kHeight[] = "Height";
constexpr char kMaximized[] = "Maximized";
constexpr int kMinimumSide = 200;

int ReadInt(TLxConfigStore& store, const char* name, bool& ok) {
  const QString text = QString::fromStdString(store.ReadValue(TLxRootKey::CurrentUser, kPlacementKey, name));
  bool converted = false;
  const int value = text.toInt(&converted);
  ok = ok && converted;
  return value;
}

void WriteInt(TLxConfigStore& store, const char* name, int value) {
  store.WriteValue(TLxRootKey::CurrentUser, kPlacementKey, name, std::to_string(value));
}

}  // namespace

void RestoreWindowPlacement(QWidget& window, TLxConfigStore& store) {
  bool ok = true;
  const QRect stored(ReadInt(store, kLeft, ok), ReadInt(store, kTop, ok), ReadInt(store, kWidth, ok),
                     ReadInt(store, kHeight, ok));
  if (!ok || stored.width() < kMinimumSide || stored.height() < kMinimumSide) return;
  // A window stored on a screen that is gone comes back where it can be seen.
  const QScreen* screen = QGuiApplication::screenAt(stored.center());
  if (screen) {
    window.setGeometry(stored);
  } else {
    window.resize(stored.size());
  }
  bool maximizedOk = true;
  if (ReadInt(store, kMaximized, maximizedOk) != 0 && maximizedOk) window.setWindowState(Qt::WindowMaximized);
}

void SaveWindowPlacement(const QWidget& window, TLxConfigStore& store) {
  const QRect normal = window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry();
  WriteInt(store, kLeft, normal.x());
  WriteInt(store, kTop, normal.y());
  WriteInt(store, kWidth, normal.width());
  WriteInt(store, kHeight, normal.height());
  WriteInt(store, kMaximized, window.isMaximized() ? 1 : 0);
}
