#include "TextZoom.h"

#include <algorithm>
#include <array>
#include <string>

#include "ConfigUnit.h"
#include "LxConfigStore.h"

namespace {

constexpr std::array kZoomSteps{50, 67, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300};
const std::string kReadingKey = std::string(kTOMORegistryKey) + "\\Configurações\\Leitura";
constexpr char kZoomValue[] = "ZoomTexto";

}  // namespace

int ZoomInStep(int percent) {
  const auto next = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), percent);
  return next == kZoomSteps.end() ? kZoomSteps.back() : *next;
}

int ZoomOutStep(int percent) {
  const auto next = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), percent);
  return next == kZoomSteps.begin() ? kZoomSteps.front() : *(next - 1);
}

int ReadTextZoom(TLxConfigStore& store) {
  const std::string text = store.ReadValue(TLxRootKey::CurrentUser, kReadingKey, kZoomValue);
  try {
    const int percent = std::stoi(text);
    if (percent >= kZoomSteps.front() && percent <= kZoomSteps.back()) return percent;
  } catch (const std::exception&) {
    // nothing or no number stored: the natural size
  }
  return kNaturalZoomPercent;
}

void WriteTextZoom(TLxConfigStore& store, int percent) {
  store.WriteValue(TLxRootKey::CurrentUser, kReadingKey, kZoomValue, std::to_string(percent));
}
