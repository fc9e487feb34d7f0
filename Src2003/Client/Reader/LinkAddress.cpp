#include "LinkAddress.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include "ClientErrors.h"
#include "QtText.h"

namespace {

constexpr char kEmptyAddress[] = "O atalho não tem endereço.";
constexpr char kNoScheme[] =
    "O endereço \"%s\" não diz como deve ser aberto (por exemplo, \"http://\" ou \"file://\"); "
    "ele não foi aberto.";
constexpr char kUnsafeAddress[] = "Endereço não permitido: %s";
constexpr char kNoHandler[] = "Não há neste computador um programa que abra o endereço %s.";

// Schemes that run code or carry it inline, whatever handles them.
const QStringList& UnsafeSchemes() {
  static const QStringList schemes = {
      "javascript", "vbscript", "data", "blob", "about", "jar", "shell", "res", "view-source",
      "ms-msdt", "search-ms", "search", "ms-officecmd", "ms-settings", "ms-appinstaller", "hcp", "its",
      "mk", "vnd.ms.radio", "mhtml", "x-exec", "exec"};
  return schemes;
}

// Schemes that name a file, local or on a share: opening it may run it.
const QStringList& FileSchemes() {
  static const QStringList schemes = {"file", "smb", "nfs", "sftp", "dav", "davs", "afp", "cifs"};
  return schemes;
}

// The files a link may open: documents and pictures, which the desktop shows
// in a viewer.
const QStringList& DocumentSuffixes() {
  static const QStringList suffixes = {
      "pdf", "rtf", "txt", "doc", "docx", "odt", "xls", "xlsx", "ods", "csv", "ppt", "pptx", "odp",
      "htm", "html", "xml", "png", "jpg", "jpeg", "gif", "bmp", "tif", "tiff"};
  return suffixes;
}

// "C:\pasta\lei.pdf", "C:/pasta/lei.pdf" and "\\servidor\pasta\lei.pdf".
bool IsWindowsPath(const QString& address) {
  static const QRegularExpression drive(QStringLiteral(R"(^[A-Za-z]:[\\/])"));
  return drive.match(address).hasMatch() || address.startsWith(QStringLiteral("\\\\"));
}

QUrl WindowsPathUrl(const QString& address) {
  QString path = address;
  path.replace(QLatin1Char('\\'), QLatin1Char('/'));
  if (path.startsWith(QStringLiteral("//"))) return QUrl(QStringLiteral("file:") + path);
  return QUrl::fromLocalFile(QLatin1Char('/') + path);
}

bool IsDocument(const QUrl& url) {
  const QString suffix = QFileInfo(url.path()).suffix().toLower();
  return DocumentSuffixes().contains(suffix);
}

std::string Shown(const QString& address) { return address.toStdString(); }

}  // namespace

TLinkAddress ParseLinkAddress(const QString& address) {
  const QString trimmed = address.trimmed();
  if (trimmed.isEmpty()) return {TLinkAddressVerdict::Empty, {}};
  const QUrl url = IsWindowsPath(trimmed) ? WindowsPathUrl(trimmed) : QUrl(trimmed, QUrl::TolerantMode);
  const QString scheme = url.scheme().toLower();
  if (!url.isValid() || scheme.isEmpty()) return {TLinkAddressVerdict::NoScheme, {}};
  if (UnsafeSchemes().contains(scheme)) return {TLinkAddressVerdict::Unsafe, url};
  if (FileSchemes().contains(scheme) && !IsDocument(url)) return {TLinkAddressVerdict::Unsafe, url};
  return {TLinkAddressVerdict::Open, url};
}

bool OpenWithDesktop(const QUrl& url) { return QDesktopServices::openUrl(url); }

void OpenLinkAddress(const QString& address, const std::function<bool(const QUrl&)>& open) {
  const TLinkAddress link = ParseLinkAddress(address);
  switch (link.verdict) {
    case TLinkAddressVerdict::Empty: throw ETOMOError(kEmptyAddress);
    case TLinkAddressVerdict::NoScheme: throw ETOMOError(FormatMessage(kNoScheme, Shown(address.trimmed()).c_str()));
    case TLinkAddressVerdict::Unsafe:
      throw ETOMOError(FormatMessage(kUnsafeAddress, Shown(address.trimmed()).c_str()));
    case TLinkAddressVerdict::Open: break;
  }
  if (!open(link.url)) throw ETOMOError(FormatMessage(kNoHandler, Shown(link.url.toString()).c_str()));
}
