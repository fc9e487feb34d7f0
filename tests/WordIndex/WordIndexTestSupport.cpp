#include "WordIndexTestSupport.h"

#include "LxCodePage.h"
#include "WordIndexLockWrite.h"

TTOMORecordH TitledEntry(std::int32_t id, const std::string& title, const std::string& summary) {
  TTOMORecordH record;
  record.Id = id;
  record.Title = Utf8ToWin1252(title);
  record.Summary = Utf8ToWin1252(summary);
  record.DocumentNumber = id;
  record.Kind = kKindRichText;
  return record;
}

void BuildTestIndex(TWordIndex& index, const std::vector<TTestDocument>& documents,
                    const std::vector<TTOMORecordH>& titles) {
  auto lock = index.OpenCreate();
  for (const TTestDocument& document : documents) lock->IndexText(document.Id, Utf8ToWin1252(document.Text));
  if (!titles.empty()) lock->IndexTitles(titles);
}

TSearchResultList SearchUtf8(TWordIndex& index, const std::string& phrase) {
  return index.Search(Utf8ToWin1252(phrase));
}

std::string Describe(const TSearchResultList& list) {
  std::string text;
  for (int i = 0; i < list.Count(); ++i) {
    const TSearchResult& result = list.Items(i);
    if (!text.empty()) text += ";";
    text += std::to_string(result.DocumentId());
    if (result.TitleMatch()) text += ":T";
    for (const TSearchRange& range : result.AllRanges()) {
      text += "," + std::to_string(range.Start) + ":" + std::to_string(range.Length);
    }
  }
  return text;
}
