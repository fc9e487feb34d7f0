#include "LxConfigStore.h"

#include <QFile>
#include <QSettings>
#include <QString>
#include <QVariant>

#include <utility>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

const char kOrganization[] = "Orvalho";
const char kApplication[] = "Pandecta";

// The settings file may hold a proxy password: only its owner reads it.
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// QSettings separates groups with "/", the registry sub-keys with "\".
QString SettingsKey(const std::string& key, const std::string& valueName) {
  QString path = QString::fromStdString(key);
  path.replace(QLatin1Char('\\'), QLatin1Char('/'));
  if (!path.isEmpty()) path += QLatin1Char('/');
  return path + QString::fromStdString(valueName);
}

std::string ValueAsText(const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::QString:
      return value.toString().toStdString();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      // A DWORD reads as its unsigned text whatever signedness Qt gave it.
      return std::to_string(static_cast<std::uint32_t>(value.toLongLong()));
    default:
      return {};
  }
}

std::unique_ptr<QSettings> OpenSettings(const std::string& iniFilePath, TLxRootKey root) {
  std::unique_ptr<QSettings> settings;
  if (!iniFilePath.empty()) {
    settings = std::make_unique<QSettings>(QString::fromStdString(iniFilePath), QSettings::IniFormat);
  } else {
#ifdef Q_OS_WIN
    const char* hive = root == TLxRootKey::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
    settings = std::make_unique<QSettings>(QString::fromLatin1(hive), QSettings::NativeFormat);
#else
    const auto scope = root == TLxRootKey::CurrentUser ? QSettings::UserScope : QSettings::SystemScope;
    settings = std::make_unique<QSettings>(QSettings::NativeFormat, scope, kOrganization, kApplication);
#endif
  }
  // A value missing here is missing: never read it from another file instead.
  settings->setFallbacksEnabled(false);
  return settings;
}

// Creating the file empty with owner-only access before QSettings first writes
// it closes the window in which a new file would be readable by others;
// QSettings keeps an existing file's permissions when it rewrites it.
void CreateOwnerOnlyFile(const QString& fileName) {
#ifndef Q_OS_WIN
  const QByteArray path = QFile::encodeName(fileName);
  const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd >= 0) ::close(fd);
#else
  (void)fileName;
#endif
}

}  // namespace

TLxSettingsConfigStore::TLxSettingsConfigStore() = default;

TLxSettingsConfigStore::TLxSettingsConfigStore(std::string iniFilePath) : iniFilePath_(std::move(iniFilePath)) {}

std::string TLxSettingsConfigStore::ReadValue(TLxRootKey root, const std::string& key, const std::string& valueName) {
  const auto settings = OpenSettings(iniFilePath_, root);
  // Another process may have written since we last looked.
  settings->sync();
  return ValueAsText(settings->value(SettingsKey(key, valueName)));
}

void TLxSettingsConfigStore::WriteValue(TLxRootKey root, const std::string& key, const std::string& valueName,
                                        const std::string& text) {
  const auto settings = OpenSettings(iniFilePath_, root);
  const QString fileName = settings->fileName();
#ifdef Q_OS_WIN
  const bool isFile = !iniFilePath_.empty();  // otherwise the registry
#else
  const bool isFile = true;
#endif
  if (isFile && !QFile::exists(fileName)) CreateOwnerOnlyFile(fileName);
  settings->setValue(SettingsKey(key, valueName), QString::fromStdString(text));
  settings->sync();
  if (isFile && QFile::exists(fileName)) QFile::setPermissions(fileName, kOwnerOnly);
}

std::string TLxMemoryConfigStore::ReadValue(TLxRootKey root, const std::string& key, const std::string& valueName) {
  const std::lock_guard guard(mutex_);
  const auto found = values_.find({root, key, valueName});
  if (found == values_.end()) return {};
  if (const auto* text = std::get_if<std::string>(&found->second)) return *text;
  if (const auto* number = std::get_if<std::uint32_t>(&found->second)) return std::to_string(*number);
  return {};
}

void TLxMemoryConfigStore::WriteValue(TLxRootKey root, const std::string& key, const std::string& valueName,
                                      const std::string& text) {
  const std::lock_guard guard(mutex_);
  if (!writesFail_) values_[{root, key, valueName}] = text;
}

void TLxMemoryConfigStore::WriteDword(TLxRootKey root, const std::string& key, const std::string& valueName,
                                      std::uint32_t value) {
  const std::lock_guard guard(mutex_);
  values_[{root, key, valueName}] = value;
}

void TLxMemoryConfigStore::WriteBinary(TLxRootKey root, const std::string& key, const std::string& valueName,
                                       std::string bytes) {
  const std::lock_guard guard(mutex_);
  values_[{root, key, valueName}] = TBinary{std::move(bytes)};
}

bool TLxMemoryConfigStore::HasValue(TLxRootKey root, const std::string& key, const std::string& valueName) const {
  const std::lock_guard guard(mutex_);
  return values_.count({root, key, valueName}) != 0;
}
