#include <algorithm>
#include <vector>

#include "ACLUnit.h"
#include "LxExcept.h"
#include "TOMOTree.h"
#include "WordIndex.h"
#include "WordIndexLockWrite.h"
#include "lexdex.h"

namespace {

void AddEntryTitles(const std::vector<TTOMORecordH>& entries) {
  int ordinal = 0;
  std::int32_t last = -1;
  for (const TTOMORecordH& entry : entries) {
    if (entry.DocumentNumber == 0) continue;
    std::string text = entry.Title + "\r\n" + entry.Summary;
    AddTitleWords(entry.Id, ordinal, text.data());
    if (entry.Id < last) throw ELxException("Erro na classificação");
    last = entry.Id;
  }
}

}  // namespace

void TWordIndexLockWrite::IndexTitles(const TTOMOTree& tree) {
  std::vector<TTOMORecordH> entries;
  for (auto it = tree.Iterator(); !it.Eof(); it.Next()) {
    if (it.Current()->Record().DocumentNumber != 0) entries.push_back(it.Current()->Record());
  }
  IndexTitles(std::move(entries));
}

void TWordIndexLockWrite::IndexTitles(std::vector<TTOMORecordH> entries) {
  if (!Opened() || !PrepareGroup(TWordIndex::TitleGroup)) return;
  // In Id order, so that the title group's `a` values ascend as the search
  // relies on.
  std::stable_sort(entries.begin(), entries.end(),
                   [](const TTOMORecordH& x, const TTOMORecordH& y) { return x.Id < y.Id; });
  ACL_BeginGroup(TWordIndex::TitleGroup);
  try {
    AddEntryTitles(entries);
  } catch (...) {
    ACL_EndGroup();
    throw;
  }
  ACL_EndGroup();
}
