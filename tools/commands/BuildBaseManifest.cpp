#include "BuildBaseManifest.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "BuildBaseError.h"
#include "LxCodePage.h"

namespace {

constexpr char kCommentMark = '#';
constexpr char kFieldSeparator = '|';
constexpr std::string_view kLinkArrow = "->";
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr char32_t kReplacementCharacter = 0xFFFD;
// Fields of the entry lines: path, title, summary, then the date of documents.
constexpr size_t kFolderFields = 3;
constexpr size_t kDocumentFields = 4;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Splits off the first word (up to a blank or a field separator).
std::string_view TakeWord(std::string_view& text) {
  text = Trim(text);
  size_t end = 0;
  while (end < text.size() && !IsBlank(text[end]) && text[end] != kFieldSeparator) ++end;
  const std::string_view word = text.substr(0, end);
  text.remove_prefix(end);
  return word;
}

std::vector<std::string_view> SplitFields(std::string_view text) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    const size_t bar = text.find(kFieldSeparator, start);
    fields.push_back(Trim(text.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start)));
    if (bar == std::string_view::npos) return fields;
    start = bar + 1;
  }
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  }
  return true;
}

class TManifestParser {
 public:
  explicit TManifestParser(const std::string& fileName) { manifest_.FileName = fileName; }

  TManifest Parse(std::string_view text) {
    if (text.starts_with(kUtf8ByteOrderMark)) text.remove_prefix(kUtf8ByteOrderMark.size());
    while (!text.empty()) {
      const size_t end = text.find('\n');
      std::string_view line = text.substr(0, end);
      text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
      ++line_;
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      ParseLine(line);
    }
    line_ = 0;
    if (manifest_.Entries.empty()) Fail("o manifesto não tem nenhuma entrada");
    CheckLinkTargets();
    return std::move(manifest_);
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    if (line_ == 0) throw EBuildBaseError(FormatMessage("%s: %s", manifest_.FileName.c_str(), what.c_str()));
    throw EBuildBaseError(FormatMessage("%s, linha %d: %s", manifest_.FileName.c_str(), line_, what.c_str()));
  }

  void ParseLine(std::string_view line) {
    for (const char c : line) {
      if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
        Fail(FormatMessage("caractere de controle (código %d) na linha", static_cast<unsigned char>(c)));
      }
    }
    std::string_view rest = Trim(line);
    if (rest.empty() || rest.front() == kCommentMark) return;
    const std::string_view keyword = TakeWord(rest);
    if (keyword == "root") {
      ParseRoot(rest);
    } else if (keyword == "folder") {
      ParseEntry(TManifestKind::Folder, rest);
    } else if (keyword == "text") {
      ParseEntry(TManifestKind::Text, rest);
    } else if (keyword == "bitmap") {
      ParseEntry(TManifestKind::Bitmap, rest);
    } else if (keyword == "link") {
      ParseLink(rest);
    } else {
      Fail(FormatMessage("tipo de entrada desconhecido '%s' (use root, folder, text, bitmap ou link)",
                         std::string(keyword).c_str()));
    }
  }

  void ParseRoot(std::string_view rest) {
    if (rootSeen_) Fail("a raiz já foi definida");
    const auto fields = SplitFields(rest);
    if (fields.size() != kFolderFields || !fields[0].empty()) Fail("a raiz se escreve 'root | Título | Resumo'");
    manifest_.RootTitle = RequiredTitle(fields[1]);
    manifest_.HasRootLine = true;
    manifest_.RootSummary = ToWin1252(fields[2]);
    rootSeen_ = true;
  }

  void ParseEntry(TManifestKind kind, std::string_view rest) {
    const auto fields = SplitFields(rest);
    const size_t expected = kind == TManifestKind::Folder ? kFolderFields : kDocumentFields;
    if (fields.size() != expected) {
      Fail(kind == TManifestKind::Folder ? "uma pasta se escreve 'folder CAMINHO | Título | Resumo'"
                                         : "um documento se escreve 'text|bitmap ARQUIVO | Título | Resumo | dd/mm/aaaa'");
    }
    TManifestEntry entry;
    entry.Line = line_;
    entry.Kind = kind;
    entry.Path = CheckedPath(fields[0]);
    entry.Title = RequiredTitle(fields[1]);
    entry.Summary = ToWin1252(fields[2]);
    if (kind != TManifestKind::Folder) entry.Date = ParseDate(fields[3]);
    CheckParent(entry);
    if (manifest_.EntryByPath.contains(entry.Path)) {
      Fail(FormatMessage("o caminho '%s' já foi usado na linha %d", entry.Path.c_str(),
                         manifest_.Entries[static_cast<size_t>(manifest_.FindEntry(entry.Path))].Line));
    }
    manifest_.EntryByPath.emplace(entry.Path, static_cast<int>(manifest_.Entries.size()));
    manifest_.Entries.push_back(std::move(entry));
  }

  void ParseLink(std::string_view rest) {
    if (manifest_.Entries.empty() || manifest_.Entries.back().Kind != TManifestKind::Text) {
      Fail("link fora de um texto (um link pertence ao texto logo acima dele)");
    }
    TManifestLink link;
    link.Line = line_;
    const std::string_view version = TakeWord(rest);
    if (version == "v1") {
      link.Version = TLinkVersion::V1;
    } else if (version == "v2") {
      link.Version = TLinkVersion::V2;
    } else {
      Fail(FormatMessage("versão de link desconhecida '%s' (use v1 ou v2)", std::string(version).c_str()));
    }
    const size_t arrow = rest.rfind(kLinkArrow);
    if (arrow == std::string_view::npos) Fail("um link se escreve 'link v2 \"trecho\" -> DESTINO'");
    const std::string_view quoted = Trim(rest.substr(0, arrow));
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') {
      Fail("o trecho do link vai entre aspas: link v2 \"trecho\" -> DESTINO");
    }
    link.Anchor = ToWin1252(quoted.substr(1, quoted.size() - 2));
    if (link.Anchor.empty()) Fail("o trecho do link está vazio");
    const std::string_view target = Trim(rest.substr(arrow + kLinkArrow.size()));
    if (target.empty() || target.find_first_of(" \t") != std::string_view::npos) {
      Fail("o destino do link deve ser um caminho ou endereço, sem espaços");
    }
    link.Target = std::string(target);
    auto& links = manifest_.Entries.back().Links;
    if (links.size() == kMaxLinksPerText) Fail(FormatMessage("mais de %zu links num só texto", kMaxLinksPerText));
    links.push_back(std::move(link));
  }

  // Link targets may name entries further down, so they are checked last.
  void CheckLinkTargets() {
    for (const TManifestEntry& entry : manifest_.Entries) {
      for (const TManifestLink& link : entry.Links) {
        line_ = link.Line;
        if (link.IsWebAddress()) {
          if (link.Target.find("://") + 3 == link.Target.size()) Fail("endereço de link incompleto");
        } else if (manifest_.FindEntry(link.Target) < 0) {
          Fail(FormatMessage("destino de link desconhecido '%s' (não é uma entrada do manifesto "
                             "nem um endereço http:// ou https://)", link.Target.c_str()));
        }
      }
    }
  }

  void CheckParent(const TManifestEntry& entry) const {
    const std::string parent = entry.ParentPath();
    if (parent.empty()) return;
    const int index = manifest_.FindEntry(parent);
    if (index < 0) Fail(FormatMessage("a pasta '%s' não foi declarada antes desta entrada", parent.c_str()));
    if (manifest_.Entries[static_cast<size_t>(index)].Kind != TManifestKind::Folder) {
      Fail(FormatMessage("'%s' é um documento, não uma pasta", parent.c_str()));
    }
  }

  // Paths stay inside the source folder: relative, "/" between non-empty
  // parts, no "." or "..", no drive or backslash.
  std::string CheckedPath(std::string_view path) const {
    if (path.empty()) Fail("caminho vazio");
    if (path.find_first_of("\\:") != std::string_view::npos || path.front() == '/' || path.back() == '/') {
      Fail(FormatMessage("caminho inválido '%s' (use partes separadas por '/', relativas à pasta de origem)",
                         std::string(path).c_str()));
    }
    size_t start = 0;
    while (start <= path.size()) {
      const size_t slash = std::min(path.find('/', start), path.size());
      const std::string_view part = path.substr(start, slash - start);
      if (part.empty() || part == "." || part == "..") {
        Fail(FormatMessage("caminho inválido '%s' (partes vazias, '.' e '..' não são aceitas)",
                           std::string(path).c_str()));
      }
      start = slash + 1;
    }
    return std::string(path);
  }

  std::string RequiredTitle(std::string_view title) const {
    if (title.empty()) Fail("título vazio");
    return ToWin1252(title);
  }

  TDateTime ParseDate(std::string_view text) const {
    try {
      return std::floor(StrToDateTime(text));
    } catch (const ELxException&) {
      Fail(FormatMessage("data inválida '%s' (use dd/mm/aaaa)", std::string(text).c_str()));
    }
  }

  // Titles, summaries and anchors go into the base in Windows-1252.
  std::string ToWin1252(std::string_view utf8) const {
    std::string result;
    result.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
      const char32_t character = DecodeUtf8(utf8, pos);
      if (character == kReplacementCharacter) Fail("texto que não é UTF-8 válido");
      const int code = UnicodeToWin1252(character);
      if (code < 0) {
        Fail(FormatMessage("o caractere U+%04X não existe no Windows-1252", static_cast<unsigned>(character)));
      }
      result.push_back(static_cast<char>(code));
    }
    return result;
  }

  TManifest manifest_;
  int line_ = 0;
  bool rootSeen_ = false;
};

}  // namespace

bool TManifestLink::IsWebAddress() const {
  return StartsWithNoCase(Target, "http://") || StartsWithNoCase(Target, "https://");
}

std::string TManifestEntry::ParentPath() const {
  const size_t slash = Path.rfind('/');
  return slash == std::string::npos ? std::string() : Path.substr(0, slash);
}

int TManifest::FindEntry(std::string_view path) const {
  const auto found = EntryByPath.find(path);
  return found == EntryByPath.end() ? -1 : found->second;
}

TManifest ParseManifest(std::string_view text, const std::string& fileName) {
  return TManifestParser(fileName).Parse(text);
}

TManifest ReadManifest(const std::string& fileName) {
  std::error_code error;
  const auto size = std::filesystem::file_size(fileName, error);
  if (error || !std::filesystem::is_regular_file(fileName)) {
    throw EBuildBaseError(FormatMessage("Manifesto não encontrado: %s", fileName.c_str()));
  }
  if (size > kMaxManifestBytes) {
    throw EBuildBaseError(FormatMessage("%s: arquivo grande demais para um manifesto", fileName.c_str()));
  }
  std::ifstream in(fileName, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw EBuildBaseError(FormatMessage("Não foi possível ler o manifesto %s", fileName.c_str()));
  TManifest manifest = ParseManifest(text, fileName);
  // A base without its root's title would be built with an empty root.
  if (!manifest.HasRootLine) {
    throw EBuildBaseError(FormatMessage("%s: falta a raiz; escreva 'root | Título | Resumo' antes das entradas",
                                        fileName.c_str()));
  }
  return manifest;
}
