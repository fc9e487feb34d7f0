#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "LxDateTime.h"

// The manifest of a document base's source folder (manifest.txt): a UTF-8
// text with one entry per line, in the order of the tree, fields separated
// by "|" and trimmed:
//
//   # a comment; empty lines are skipped too
//   root | Boletim Fiscal | Atos de 2021 a 2025.
//   folder ICMS | ICMS | Regulamento e alíquotas.
//   folder ICMS/2021 | 2021 |
//   text ICMS/2021/decreto.rtf | Decreto nº 1 | Aprova o regulamento. | 15/03/2021
//     link v2 "Lei nº 1.870" -> https://www.sefaz.example/lei-1870
//     link v1 "Regulamento" -> ICMS/2021/regulamento.rtf
//   bitmap Tabelas/grafico.bmp | Gráfico | Arrecadação por trimestre. | 31/01/2025
//
// An entry's folder is the folder entry of its path's directory, declared
// before it (no directory: the root). A link belongs to the text entry just
// above it and marks the first occurrence of its quoted words in that text;
// its target is another entry's path or an http(s) address.

enum class TManifestKind { Folder, Text, Bitmap };
enum class TLinkVersion { V1, V2 };

struct TManifestLink {
  int Line = 0;
  TLinkVersion Version = TLinkVersion::V2;
  std::string Anchor;  // Windows-1252
  std::string Target;  // an entry's path or a web address, as written
  bool IsWebAddress() const;
};

struct TManifestEntry {
  int Line = 0;
  TManifestKind Kind = TManifestKind::Folder;
  std::string Path;     // relative to the source folder, "/" between parts
  std::string Title;    // Windows-1252
  std::string Summary;  // Windows-1252
  TDateTime Date = 0;   // documents only: publication date, whole days
  std::vector<TManifestLink> Links;

  // The directory part of Path; "" at the top.
  std::string ParentPath() const;
  bool HasDocument() const { return Kind != TManifestKind::Folder; }
};

struct TManifest {
  std::string FileName;  // as given, for messages
  std::string RootTitle = "Documentos";
  bool HasRootLine = false;  // a "root" line was read
  std::string RootSummary;
  std::vector<TManifestEntry> Entries;  // tree order, Entries[i] becomes Id i + 1
  std::map<std::string, int, std::less<>> EntryByPath;  // path -> index in Entries

  // Index of the entry with that path, or -1.
  int FindEntry(std::string_view path) const;
};

// The most links one text may carry: the view tells link numbers apart in
// one byte.
inline constexpr size_t kMaxLinksPerText = 256;
// A manifest is a short list; anything larger is not one.
inline constexpr size_t kMaxManifestBytes = 4 * 1024 * 1024;

// Parses a manifest's text; `fileName` only names it in messages. Checks
// everything a manifest alone can tell: syntax, dates, paths, duplicates,
// parents, link targets. Raises EBuildBaseError naming the file and line:
//   "manifest.txt, linha 3: tipo de entrada desconhecido 'pasta'"
TManifest ParseManifest(std::string_view text, const std::string& fileName);

// Reads and parses the file; a missing or unreadable file raises
// EBuildBaseError naming it.
TManifest ReadManifest(const std::string& fileName);
