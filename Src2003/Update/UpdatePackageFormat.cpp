#include "UpdatePackageFormat.h"

#include <charconv>
#include <limits>

#include "HeaderLines.h"
#include "LxCodePage.h"
#include "LxStrm.h"

namespace {

constexpr char kDamaged[] = "Pacote de atualização danificado: %s";

const std::string& Win1252(const char* utf8, std::string& cache) {
  if (cache.empty()) cache = Utf8ToWin1252(utf8);
  return cache;
}

[[noreturn]] void RaiseDamaged(const std::string& what) {
  throw EUpdatePackageError(FormatMessage(kDamaged, what.c_str()));
}

}  // namespace

const std::string& PackageSignature() {
  static std::string text;
  return Win1252("TOMO.Atualização", text);
}
const std::string& PackageSequenceName() {
  static std::string text;
  return Win1252("Seqüência", text);
}
const std::string& PackageTotalSizeName() {
  static std::string text;
  return Win1252("Tamanho Total", text);
}
const std::string& PackageTitleName() {
  static std::string text;
  return Win1252("Título", text);
}
const std::string& PackageIdName() {
  static std::string text;
  return Win1252("Identificador", text);
}

void ReadPackageHeader(TLxStream& stream, TLxStringList& lines) {
  lines.clear();
  std::string line;
  char byte = 0;
  for (;;) {
    const bool more = stream.Read(&byte, 1) == 1;
    if (!more || byte == '\n') {
      if (line.empty()) return;
      if (static_cast<std::int32_t>(lines.size()) >= kMaxHeaderLines) RaiseDamaged("cabeçalho longo demais");
      lines.push_back(std::move(line));
      line.clear();
      if (!more) return;
      continue;
    }
    if (byte == '\r') continue;
    if (static_cast<std::int32_t>(line.size()) >= kMaxHeaderLineBytes) RaiseDamaged("linha de cabeçalho longa demais");
    line.push_back(byte);
  }
}

std::int32_t PackageHeaderNumber(const TLxStringList& lines, std::string_view name) {
  const std::string text = HeaderValue(lines, name);
  std::int64_t value = -1;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end || value < 0 ||
      value > std::numeric_limits<std::int32_t>::max()) {
    RaiseDamaged(FormatMessage("valor inválido em \"%s\": '%s'", Win1252ToUtf8(name).c_str(),
                               Win1252ToUtf8(text).c_str()));
  }
  return static_cast<std::int32_t>(value);
}

bool IsPackageSignature(std::string_view line) { return LxSameText(line, PackageSignature()); }

void CheckPackageLength(std::int32_t length, std::int32_t bytesLeft) {
  if (length < 0 || length > bytesLeft) {
    RaiseDamaged(FormatMessage("comprimento %d além do fim dos dados (%d bytes restantes)", length, bytesLeft));
  }
}

bool IsValidDocumentNumber(std::int32_t number) { return number >= 0; }
