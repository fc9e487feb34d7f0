#include "TOMODocument.h"

#include "LxCodePage.h"
#include "LxExcept.h"
#include "LxText.h"

namespace {

constexpr char kNameSeparator = ':';

}  // namespace

const std::string& DocumentDateProperty() {
  static const std::string name = "Data";
  return name;
}

const std::string& DocumentEncodingProperty() {
  static const std::string name = Utf8ToWin1252("Codificação");
  return name;
}

int TTOMODocument::FindProperty(std::string_view name) const {
  for (int i = static_cast<int>(properties_.size()) - 1; i >= 0; --i) {
    const std::string_view line = properties_[static_cast<size_t>(i)];
    const size_t colon = line.find(kNameSeparator);
    if (colon != std::string_view::npos && LxSameText(line.substr(0, colon), name)) return i;
  }
  return -1;
}

std::string TTOMODocument::GetProperty(std::string_view name) const {
  const int index = FindProperty(name);
  if (index < 0) return {};
  const std::string& line = properties_[static_cast<size_t>(index)];
  return LxTrim(std::string_view(line).substr(line.find(kNameSeparator) + 1));
}

void TTOMODocument::SetProperty(std::string_view name, std::string_view value) {
  std::string line = FormatMessage("%.*s: %.*s", static_cast<int>(name.size()), name.data(),
                                   static_cast<int>(value.size()), value.data());
  const int index = FindProperty(name);
  if (index >= 0) {
    properties_[static_cast<size_t>(index)] = std::move(line);
  } else {
    properties_.push_back(std::move(line));
  }
}

bool TTOMODocument::PropertyIs(std::string_view name, std::string_view value) const {
  return LxSameText(GetProperty(name), value);
}
