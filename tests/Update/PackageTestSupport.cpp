#include "PackageTestSupport.h"

#include <filesystem>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "BaseGenerator.h"
#include "DocumentFileName.h"
#include "LxCodePage.h"
#include "LxLittleEndian.h"
#include "LxMemoryStream.h"
#include "LxZLIBStream.h"
#include "SyntheticBitmap.h"
#include "TOMODocumentBody.h"
#include "TOMODocumentFile.h"
#include "TOMOTree.h"
#include "TempFolder.h"
#include "UpdatePackageFormat.h"

namespace {

constexpr std::int32_t kBitmapSide = 16;

void WriteDocument(const std::string& folder, std::int32_t number, TDateTime date, const std::string& content) {
  TTOMODocumentFile document(DocumentFileName(folder, number), false);
  document.SetProperty("Data", DateToStr(date));
  WriteDocumentBody(document.OpenWrite(), date, content, {});
  document.CloseDocument();
}

std::string RichText(const std::string& words) { return "{\\rtf1\\ansi " + Utf8ToWin1252(words) + "\\par}"; }

}  // namespace

TDateTime NewerDate() { return EncodeDate(2031, 5, 17); }

void GenerateSmallBase(const std::string& folder, std::uint64_t seed) {
  TBaseGeneratorOptions options;
  options.Entries = 80;
  options.Documents = 20;
  options.Seed = seed;
  GenerateBase(folder, options);
}

void CopyFolder(const std::string& from, const std::string& to) {
  std::filesystem::copy(from, to, std::filesystem::copy_options::recursive);
}

// The records are added again in pre-order, so the tree keeps its shape and
// order.
void EditRecord(const std::string& folder, std::int32_t id, const std::function<void(TTOMORecordH&)>& edit) {
  TTOMOTree tree(folder);
  TTOMOTree edited;
  for (auto it = tree.Iterator(); !it.Eof(); it.Next()) {
    TTOMORecordH record = it.Current()->Record();
    if (record.Id == id) edit(record);
    edited.AddNode(record);
  }
  edited.SaveToFile(folder);
}

void ReplaceDocument(const std::string& folder, std::int32_t id, const std::string& words, TDateTime date) {
  const std::int32_t number = TTOMOTree(folder).FindNode(id)->Record().DocumentNumber;
  WriteDocument(folder, number, date, RichText(words));
  EditRecord(folder, id, [&](TTOMORecordH& record) {
    record.DocumentDate = date;
    record.Kind = kKindRichText;
  });
}

void ReplaceWithBitmap(const std::string& folder, std::int32_t id, TDateTime date) {
  const std::int32_t number = TTOMOTree(folder).FindNode(id)->Record().DocumentNumber;
  WriteDocument(folder, number, date, SyntheticBitmap(kBitmapSide, kBitmapSide, 3));
  EditRecord(folder, id, [&](TTOMORecordH& record) {
    record.DocumentDate = date;
    record.Kind = kKindBitmap;
  });
}

std::int32_t AddDocumentEntry(const std::string& folder, const std::string& title, const std::string& words,
                              TDateTime date) {
  TTOMOTree tree(folder);
  std::int32_t lastId = 0;
  std::int32_t lastNumber = 0;
  for (auto it = tree.Iterator(); !it.Eof(); it.Next()) {
    lastId = std::max(lastId, it.Current()->Id());
    lastNumber = std::max(lastNumber, it.Current()->Record().DocumentNumber);
  }
  TTOMORecordH record;
  record.Id = lastId + 1;
  record.ParentId = 0;
  record.Title = Utf8ToWin1252(title);
  record.Changed = date;
  record.DocumentNumber = lastNumber + 1;
  record.Kind = kKindRichText;
  record.DocumentDate = date;
  tree.AddNode(record);
  WriteDocument(folder, record.DocumentNumber, date, RichText(words));
  tree.SaveToFile(folder);
  return record.Id;
}

void ChangeEntry(const std::string& folder, std::int32_t id, TDateTime changed, const std::string& title) {
  EditRecord(folder, id, [&](TTOMORecordH& record) {
    record.Changed = changed;
    record.Title = Utf8ToWin1252(title);
  });
}

std::map<std::int32_t, std::int32_t> DocumentEntries(const std::string& folder) {
  std::map<std::int32_t, std::int32_t> entries;
  TTOMOTree tree(folder);
  for (auto it = tree.Iterator(); !it.Eof(); it.Next()) {
    if (it.Current()->Record().DocumentNumber != 0) entries[it.Current()->Id()] = it.Current()->Record().DocumentNumber;
  }
  return entries;
}

std::string TreeDump(const std::string& folder) {
  TTOMOTree tree(folder);
  std::string dump;
  for (auto it = tree.Iterator(); !it.Eof(); it.Next()) {
    const TTOMORecordH& r = it.Current()->Record();
    dump += std::to_string(r.Id) + "|" + std::to_string(r.ParentId) + "|" + r.Title + "|" + r.Summary + "|" +
            std::to_string(r.Changed) + "|" + std::to_string(r.DocumentNumber) + "|" + std::string(1, r.Kind) + "|" +
            std::to_string(r.DocumentDate) + "\n";
  }
  return dump;
}

std::string DocumentBody(const std::string& folder, std::int32_t number) {
  try {
    TTOMODocumentFile document(DocumentFileName(folder, number), false);
    TLxStream& body = document.OpenRead();
    // A scrambled body's stream counts the file's header in its size.
    std::string bytes(static_cast<size_t>(body.Size() - body.Position()), '\0');
    body.ReadBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    return bytes;
  } catch (const std::exception&) {
    return {};
  }
}

std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  if (!std::filesystem::exists(folder)) return files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files[entry.path().string()] = ReadWholeFile(entry.path());
  }
  return files;
}

std::string Volume(const std::string& headerLinesUtf8, const std::string& payload) {
  return PackageSignature() + "\n" + Utf8ToWin1252(headerLinesUtf8) + "\n" + payload;
}

std::string ZlibBlock(const std::string& expanded) {
  TLxMemoryStream memory;
  {
    TLxZLIBStream zlib(memory);
    zlib.BeginWrite();
    if (!expanded.empty()) zlib.WriteBuffer(expanded.data(), static_cast<std::int32_t>(expanded.size()));
    zlib.Finish();
  }
  std::string bytes(static_cast<size_t>(memory.Size()), '\0');
  memory.SetPosition(0);
  memory.ReadBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
  return bytes;
}

std::string Fixed32(std::int32_t value) {
  char bytes[4];
  EncodeFixed32(bytes, static_cast<std::uint32_t>(value));
  return std::string(bytes, 4);
}

void ExpectTreeNotAheadOfDocuments(const std::string& data, const std::string& old, const std::string& updated) {
  const TTOMOTree installed(data);
  const TTOMOTree before(old);
  for (const auto& [id, number] : DocumentEntries(data)) {
    const std::string body = DocumentBody(data, number);
    EXPECT_FALSE(body.empty()) << "document " << number;
    const TTOMONode* earlier = before.FindNode(id);
    const bool listedAsNewer =
        !earlier || installed.FindNode(id)->Record().DocumentDate != earlier->Record().DocumentDate;
    if (listedAsNewer) {
      EXPECT_EQ(body, DocumentBody(updated, number)) << "document " << number;
    }
  }
}
