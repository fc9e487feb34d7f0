#pragma once

class QWidget;
class TLxConfigStore;

// The main window's position and size, kept with the program's settings under
// Configurações\Posição (so a settings file named for a test run holds them
// too). Nothing stored leaves the window where the system puts it.
void RestoreWindowPlacement(QWidget& window, TLxConfigStore& store);
void SaveWindowPlacement(const QWidget& window, TLxConfigStore& store);
