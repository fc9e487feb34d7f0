#pragma once

class TLxConfigStore;

// The text view's zoom, in percent of the documents' natural size. It is a
// preference of the reader's own, kept in the store beside the window's
// position (key "...\Configurações\Leitura", value "ZoomTexto"), apart from
// the program's settings.
inline constexpr int kNaturalZoomPercent = 100;

// The next larger or smaller step; the ends stay where they are.
int ZoomInStep(int percent);
int ZoomOutStep(int percent);

// The stored zoom, the natural size when nothing valid is stored.
int ReadTextZoom(TLxConfigStore& store);
void WriteTextZoom(TLxConfigStore& store, int percent);
