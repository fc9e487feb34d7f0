#pragma once

#include <functional>

#include <QString>
#include <QUrl>

// What a document's link may open. A document must not start programs, so
// scripts, data and executables are refused; a file (also on a network share)
// opens only when it is a document. Any other address with a scheme goes to
// the desktop, which knows what handles it (web, mail, a viewer's own
// scheme). An address without a scheme ("x.pdf", "www.sefaz.gov.br") is
// refused rather than guessed: the document does not say what it is.
enum class TLinkAddressVerdict {
  Open,          // `url` is what to hand to the desktop
  Empty,         // nothing but blanks
  NoScheme,      // a bare name
  Unsafe,        // a scheme that runs code, or a file that is not a document
};

struct TLinkAddress {
  TLinkAddressVerdict verdict = TLinkAddressVerdict::Empty;
  QUrl url;
};

// "https://x/a" opens; "file:///d/lei.pdf", "C:\d\lei.pdf" and "\\srv\d\lei.pdf"
// open as files; "file:///d/setup.exe", "javascript:..." and "x.pdf" do not.
TLinkAddress ParseLinkAddress(const QString& address);

// QDesktopServices::openUrl.
bool OpenWithDesktop(const QUrl& url);

// Opens the address with `open` (the desktop's handler by default). Raises
// ETOMOError with the user's message when the address is refused, or when
// nothing on this computer can open it.
void OpenLinkAddress(const QString& address,
                     const std::function<bool(const QUrl&)>& open = OpenWithDesktop);
