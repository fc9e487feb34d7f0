#include "UpdateList.h"

#include <ctime>

#include "TOMOTree.h"
#include "UpdatePackageFormat.h"

TDateTime Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

TUpdateList BuildUpdateList(const TTOMOTree& newTree, const TTOMOTree* installed, TDateTime today) {
  TUpdateList list;
  for (auto it = newTree.Iterator(); !it.Eof(); it.Next()) {
    TTOMONode* node = it.Current();
    const TTOMONode* local = installed ? installed->FindNode(node->Id()) : nullptr;
    const TTOMORecordH& record = node->Record();
    const bool changedToday = record.Changed == today || record.DocumentDate == today;
    if (!changedToday && !node->IsNewerThan(local)) continue;
    list.ChangedNodes.push_back(node);
    if (node->HasNewerDocument(local) && IsValidDocumentNumber(record.DocumentNumber)) {
      list.DocumentNodes.push_back(node);
    }
  }
  return list;
}
