#include "BuildBasePlan.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "BuildBaseError.h"
#include "LxCodePage.h"
#include "LxFilUtl.h"
#include "LxLittleEndian.h"
#include "RichTextPlainText.h"
#include "RtfReader.h"

namespace {

constexpr std::int32_t kRootId = 0;
constexpr std::int32_t kRootParentId = -1;
constexpr std::int32_t kFirstDocumentNumber = 1;
constexpr std::string_view kBitmapSignature = "BM";
// A BMP file header (14 bytes) and the smallest information header (40).
constexpr size_t kMinBitmapBytes = 14 + 40;

[[noreturn]] void Fail(const TManifest& manifest, int line, const std::string& what) {
  throw EBuildBaseError(FormatMessage("%s, linha %d: %s", manifest.FileName.c_str(), line, what.c_str()));
}

std::string ReadSourceFile(const TManifest& manifest, const TManifestEntry& entry, const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    Fail(manifest, entry.Line, FormatMessage("arquivo não encontrado: %s", path.c_str()));
  }
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) Fail(manifest, entry.Line, FormatMessage("não foi possível ler %s", path.c_str()));
  if (size > kMaxDocumentBytes) {
    Fail(manifest, entry.Line, FormatMessage("%s é grande demais para um documento", path.c_str()));
  }
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) Fail(manifest, entry.Line, FormatMessage("não foi possível ler %s", path.c_str()));
  return bytes;
}

// The body's link section begins after the rest of the content's last line,
// so the stored RTF must not end with a line break of its own (the reader
// would take the following "Hyperlinks" line for that rest).
void DropTrailingBlanks(std::string& content) {
  while (!content.empty() && static_cast<unsigned char>(content.back()) <= ' ') content.pop_back();
}

// The BMP headers the bitmap reader takes, with sizes a picture can have: a
// header that claims more than the file holds, or a picture of absurd size,
// would reach every reader of the base.
constexpr std::uint32_t kMinInfoHeaderBytes = 40;
constexpr std::int32_t kMaxBitmapSide = 32768;
constexpr std::uint32_t kMaxBitmapCompression = 3;  // BI_RGB, BI_RLE8, BI_RLE4, BI_BITFIELDS
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;
constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kPixelOffsetAt = 10, kInfoSizeAt = 14, kWidthAt = 18, kHeightAt = 22, kPlanesAt = 26,
                      kBitCountAt = 28, kCompressionAt = 30;

std::uint32_t Le32(const std::string& bytes, std::size_t at) {
  return DecodeFixed32(bytes.data() + at);
}

std::uint16_t Le16(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    static_cast<unsigned char>(bytes[at + 1]) << 8);
}

// What is wrong with a BMP file's headers; "" when they are sound.
std::string BitmapProblem(const std::string& bytes) {
  if (bytes.size() < kMinBitmapBytes || !std::string_view(bytes).starts_with(kBitmapSignature)) {
    return "não é uma imagem BMP";
  }
  const std::uint32_t infoSize = Le32(bytes, kInfoSizeAt);
  const auto width = static_cast<std::int32_t>(Le32(bytes, kWidthAt));
  const auto height = static_cast<std::int32_t>(Le32(bytes, kHeightAt));
  const std::uint16_t bitCount = Le16(bytes, kBitCountAt);
  const std::uint32_t compression = Le32(bytes, kCompressionAt);
  const std::uint32_t pixelOffset = Le32(bytes, kPixelOffsetAt);
  if (infoSize < kMinInfoHeaderBytes || infoSize > bytes.size() - kFileHeaderBytes) {
    return "tem um cabeçalho de tamanho inválido";
  }
  if (width <= 0 || width > kMaxBitmapSide || height == 0 || height < -kMaxBitmapSide || height > kMaxBitmapSide) {
    return FormatMessage("tem dimensões inválidas (%d x %d)", width, height);
  }
  const bool knownDepth = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
                          bitCount == 32;
  if (Le16(bytes, kPlanesAt) != 1 || !knownDepth || compression > kMaxBitmapCompression) {
    return "tem um formato de pixels inválido";
  }
  if (pixelOffset < kFileHeaderBytes + infoSize || pixelOffset >= bytes.size()) {
    return "tem a posição dos pixels fora do arquivo";
  }
  if (compression == kUncompressed || compression == kBitFields) {
    // Rows are padded to four bytes.
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
    const std::uint64_t rows = static_cast<std::uint64_t>(height < 0 ? -static_cast<std::int64_t>(height) : height);
    if (pixelOffset + rowBytes * rows > bytes.size()) return "é menor do que as dimensões declaradas exigem";
  }
  return "";
}

void CheckContent(const TManifest& manifest, const TManifestEntry& entry, const std::string& content) {
  if (entry.Kind == TManifestKind::Text && !LooksLikeRtf(content)) {
    Fail(manifest, entry.Line, FormatMessage("%s não é um texto RTF", entry.Path.c_str()));
  }
  if (entry.Kind == TManifestKind::Bitmap) {
    const std::string problem = BitmapProblem(content);
    if (!problem.empty()) Fail(manifest, entry.Line, FormatMessage("%s %s", entry.Path.c_str(), problem.c_str()));
  }
}

std::vector<TPlannedLink> PlaceLinks(const TManifest& manifest, const TManifestEntry& entry,
                                     const std::string& content) {
  std::vector<TPlannedLink> links;
  if (entry.Links.empty()) return links;
  const std::string plainText = RtfToPlainText(content);
  for (const TManifestLink& link : entry.Links) {
    const size_t index = plainText.find(link.Anchor);
    if (index == std::string::npos) {
      Fail(manifest, link.Line, FormatMessage("o trecho \"%s\" não aparece no texto de %s",
                                              Win1252ToUtf8(link.Anchor).c_str(), entry.Path.c_str()));
    }
    TPlannedLink planned{link.Version, LinkAt(plainText, index, link.Version)};
    planned.Record.Length = static_cast<std::int32_t>(link.Anchor.size());
    if (link.IsWebAddress()) {
      planned.Record.URL = link.Target;
    } else {
      planned.Record.Target = manifest.FindEntry(link.Target) + 1;
    }
    links.push_back(std::move(planned));
  }
  return links;
}

TTOMORecordH RootRecord(const TManifest& manifest) {
  TTOMORecordH root;
  root.Id = kRootId;
  root.ParentId = kRootParentId;
  root.Title = manifest.RootTitle;
  root.Summary = manifest.RootSummary;
  return root;
}

// A folder changed when the latest document below it did. Entries come in
// tree order, so walking them backwards reaches every child before its folder.
void DateFolders(std::vector<TTOMORecordH>& records) {
  for (size_t i = records.size(); i-- > 1;) {
    TTOMORecordH& parent = records[static_cast<size_t>(records[i].ParentId)];
    parent.Changed = std::max(parent.Changed, records[i].Changed);
  }
}

}  // namespace

TTOMOHyperlinkRecord LinkAt(std::string_view plainText, size_t index, TLinkVersion version) {
  const std::string_view before = plainText.substr(0, index);
  const auto lineBreaks = static_cast<std::int32_t>(std::count(before.begin(), before.end(), '\n'));
  TTOMOHyperlinkRecord link;
  if (version == TLinkVersion::V2) {
    link.Position = static_cast<std::int32_t>(index) - lineBreaks;  // CR LF counts as one position
  } else {
    const size_t lineStart = before.rfind('\n');
    link.Line = lineBreaks;
    link.Position = static_cast<std::int32_t>(lineStart == std::string_view::npos ? index : index - lineStart - 1);
  }
  return link;
}

TBasePlan PlanBase(const TManifest& manifest, const std::string& sourceFolder) {
  TBasePlan plan;
  plan.Records.push_back(RootRecord(manifest));
  std::int32_t nextNumber = kFirstDocumentNumber;
  for (size_t i = 0; i < manifest.Entries.size(); ++i) {
    const TManifestEntry& entry = manifest.Entries[i];
    TTOMORecordH record;
    record.Id = static_cast<std::int32_t>(i) + 1;
    record.ParentId = entry.ParentPath().empty() ? kRootId : manifest.FindEntry(entry.ParentPath()) + 1;
    record.Title = entry.Title;
    record.Summary = entry.Summary;
    if (entry.HasDocument()) {
      TPlannedDocument document;
      document.EntryId = record.Id;
      document.Number = nextNumber++;
      document.Date = entry.Date;
      document.Content = ReadSourceFile(manifest, entry, PathJoin(sourceFolder, entry.Path));
      CheckContent(manifest, entry, document.Content);
      if (entry.Kind == TManifestKind::Text) DropTrailingBlanks(document.Content);
      document.Links = PlaceLinks(manifest, entry, document.Content);
      record.Changed = entry.Date;
      record.DocumentNumber = document.Number;
      record.Kind = entry.Kind == TManifestKind::Text ? kKindRichText : kKindBitmap;
      record.DocumentDate = entry.Date;
      record.PublishedDate = entry.Date;
      plan.Documents.push_back(std::move(document));
    }
    plan.Records.push_back(std::move(record));
  }
  DateFolders(plan.Records);
  return plan;
}
