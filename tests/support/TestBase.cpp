#include "TestBase.h"

#include "DocumentFileName.h"
#include "LxCodePage.h"
#include "LxFilUtl.h"
#include "TOMODocumentBody.h"
#include "TOMODocumentFile.h"
#include "TOMOTree.h"

namespace {

constexpr TDateTime kDocumentDate = 38000;

// RTF escapes for the characters the test texts use.
std::string RtfEscaped(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\par\r\n";
    } else if (c >= 0x80) {
      static const char* const kHex = "0123456789abcdef";
      out += "\\'";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

void WriteDocument(const std::string& folder, std::int32_t number, const std::string& content) {
  TTOMODocumentFile document(DocumentFileName(folder, number), true);
  WriteDocumentBody(document.OpenWrite(), kDocumentDate, content, {});
  document.CloseDocument();
}

}  // namespace

std::string RtfOf(const std::string& text) {
  return "{\\rtf1\\ansi\\ansicpg1252 " + RtfEscaped(Utf8ToWin1252(text)) + "}";
}

void WriteTestBase(const std::string& folder, const std::vector<TTestEntry>& entries) {
  ForceDirectories(folder);
  TTOMOTree tree;
  TTOMORecordH root;
  root.Id = 0;
  root.ParentId = -1;
  root.Title = "Raiz";
  tree.AddNode(root);
  for (const TTestEntry& entry : entries) {
    TTOMORecordH record;
    record.Id = entry.Id;
    record.ParentId = entry.ParentId;
    record.Title = Utf8ToWin1252(entry.Title);
    record.Kind = entry.Kind;
    if (entry.Kind != 0) {
      record.DocumentNumber = entry.Id;
      WriteDocument(folder, entry.Id, entry.Kind == kKindRichText ? RtfOf(entry.Text) : "BM");
    }
    tree.AddNode(record);
  }
  tree.SaveToFile(folder);
}
