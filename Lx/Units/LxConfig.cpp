#include "LxConfig.h"

#include <charconv>
#include <cstdint>
#include <exception>

#include "LxExcept.h"
#include "LxFilUtl.h"

namespace {

const char kUnitName[] = "LxConfig";
const char kTrue[] = "true";
const char kFalse[] = "false";

// Defaults name each other through getters ("%ProgramFolder%" reads a setting
// whose own default is "%AppPath%"). A table that loops would otherwise recurse
// until the stack overflows; past this depth a variable expands to nothing.
constexpr int kMaxExpansionDepth = 16;
thread_local int expansionDepth = 0;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// A signed 32-bit decimal integer with an optional sign and nothing else.
std::optional<std::int32_t> ParseInteger(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string WithoutTrailingSeparator(std::string folder) {
  if (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  return folder;
}

}  // namespace

TLxConfig::TLxConfig(std::string registryKey, std::span<const TLxConfigVariable> variables,
                     std::unique_ptr<TLxConfigStore> store)
    : registryKey_(std::move(registryKey)), variables_(variables), store_(std::move(store)) {
  PublishProperty("AppPath", [this] { return AppPath(); });
  PublishProperty("ProgramFilesDir", [this] { return ProgramFilesDir(); });
}

std::string TLxConfig::GetString(int index) const {
  const TLxConfigVariable& entry = Entry(index);
  const TValueAddress address = AddressOf(entry);
  std::string stored = store_->ReadValue(entry.RootKey, address.Key, address.ValueName);
  if (!stored.empty()) return stored;
  return ExpandVariables(entry.DefaultValue);
}

void TLxConfig::SetString(int index, const std::string& value) {
  const TLxConfigVariable& entry = Entry(index);
  const TValueAddress address = AddressOf(entry);
  store_->WriteValue(entry.RootKey, address.Key, address.ValueName, value);
}

bool TLxConfig::GetBoolean(int index) const {
  const std::string text = GetString(index);
  if (EqualsIgnoringCase(text, kTrue) || EqualsIgnoringCase(text, "y")) return true;
  const auto number = ParseInteger(text);
  return number && *number != 0;
}

void TLxConfig::SetBoolean(int index, bool value) { SetString(index, value ? kTrue : kFalse); }

std::string TLxConfig::AppPath() const { return WithoutTrailingSeparator(ApplicationFolder()); }

std::string TLxConfig::ProgramFilesDir() const { return GetProgramFilesDir(); }

std::optional<std::string> TLxConfig::ReadProperty(std::string_view name) const {
  for (const auto& [published, getter] : published_) {
    if (EqualsIgnoringCase(published, name)) return getter();
  }
  return std::nullopt;
}

// One left-to-right pass: literal text is copied in runs, "%%" gives one "%",
// and "%Name%" gives the value of the property Name.
std::string TLxConfig::ExpandVariables(std::string_view text) const {
  enum class TState { Literal, Percent, Name };
  std::string result;
  TState state = TState::Literal;
  size_t copyPoint = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool isPercent = text[i] == '%';
    switch (state) {
      case TState::Literal:
        if (isPercent) {
          result.append(text.substr(copyPoint, i - copyPoint));
          copyPoint = i + 1;
          state = TState::Percent;
        }
        break;
      case TState::Percent:
        if (isPercent) {
          result += '%';
          copyPoint = i + 1;
          state = TState::Literal;
        } else {
          state = TState::Name;
        }
        break;
      case TState::Name:
        if (isPercent) {
          const std::string_view name = text.substr(copyPoint, i - copyPoint);
          if (expansionDepth < kMaxExpansionDepth) {
            ++expansionDepth;
            try {
              result += ReadProperty(name).value_or(std::string());
            } catch (const std::exception&) {
              // A variable that cannot be read expands to nothing.
            }
            --expansionDepth;
          }
          copyPoint = i + 1;
          state = TState::Literal;
        }
        break;
    }
  }
  if (state == TState::Literal) result.append(text.substr(copyPoint));
  return result;
}

void TLxConfig::PublishProperty(std::string name, TPropertyGetter getter) {
  published_.emplace_back(std::move(name), std::move(getter));
}

const TLxConfigVariable& TLxConfig::Entry(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= variables_.size()) {
    throw ELxAssertionFailed(
        FormatMessage("O índice (%d) está fora dos limites (0 a %d)", index, static_cast<int>(variables_.size()) - 1),
        kUnitName);
  }
  return variables_[static_cast<size_t>(index)];
}

TLxConfig::TValueAddress TLxConfig::AddressOf(const TLxConfigVariable& entry) const {
  const size_t lastBackslash = entry.KeyPath.rfind('\\');
  if (lastBackslash == std::string::npos) return {registryKey_, entry.KeyPath};
  return {registryKey_ + '\\' + entry.KeyPath.substr(0, lastBackslash), entry.KeyPath.substr(lastBackslash + 1)};
}
