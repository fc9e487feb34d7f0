#pragma once

class QUrl;

// Opens a file or address with the desktop's default handler, maximized
// where the platform lets the caller choose (Windows); elsewhere the handler
// decides its window's size. False when no handler could open it.
bool OpenMaximized(const QUrl& address);
