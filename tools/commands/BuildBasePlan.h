#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "BuildBaseManifest.h"
#include "TOMOHyperlink.h"
#include "TOMORecord.h"

// A document base worked out in memory from a source folder, before anything
// is written: every record of the index file and the content and links of
// every document. Whatever can be wrong with a source shows up while the plan
// is made, so a base is only written from a source known to be good.

struct TPlannedLink {
  TLinkVersion Version = TLinkVersion::V2;
  TTOMOHyperlinkRecord Record;
};

struct TPlannedDocument {
  std::int32_t EntryId = 0;  // Id of the record that owns the document
  std::int32_t Number = 0;   // DocumentNumber: names the document file
  TDateTime Date = 0;
  std::string Content;       // RTF or BMP bytes, as stored
  std::vector<TPlannedLink> Links;
};

struct TBasePlan {
  // Tree order: the root (Id 0) first, then entry i of the manifest as Id i + 1.
  // DocumentSize is left 0 here; it is measured when the file is written.
  std::vector<TTOMORecordH> Records;
  std::vector<TPlannedDocument> Documents;
};

// A document larger than this is not one we wrote (the demo's are a few KB).
inline constexpr std::uintmax_t kMaxDocumentBytes = 16 * 1024 * 1024;

// Reads every file the manifest names (paths relative to `sourceFolder`),
// checks it (an RTF text, a BMP picture) and places every link on the first
// occurrence of its words in the text as the word index and the view see it.
// Raises EBuildBaseError naming the manifest line:
//   "manifest.txt, linha 7: arquivo não encontrado: demo/ICMS/x.rtf"
//   "manifest.txt, linha 8: o trecho "Lei nº 9" não aparece no texto de ICMS/a.rtf"
TBasePlan PlanBase(const TManifest& manifest, const std::string& sourceFolder);

// Where a link's words start in a plain text whose line breaks are CR LF:
// v2 counts positions in the whole text with a line break as one position;
// v1 gives the zero-based line and the column in it.
//   text "ab\r\ncd efg", index 6 ("efg")  gives  v2 Position 5, v1 Line 1 Position 3
TTOMOHyperlinkRecord LinkAt(std::string_view plainText, size_t index, TLinkVersion version);
