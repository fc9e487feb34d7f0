#include "WordIndexLockWrite.h"

#include <algorithm>

#include "ACLUnit.h"
#include "LxDirectoryLock.h"
#include "WordIndex.h"
#include "WordIndexError.h"
#include "WordIndexMessages.h"
#include "lexdex.h"

namespace {

constexpr int kLastGroup = 65535;

bool IsDocumentGroup(int group) {
  return group >= 0 && group <= kLastGroup && group != TWordIndex::TitleGroup;
}

}  // namespace

bool TWordIndexLockWrite::Finish() {
  const bool opened = Opened();
  Release();
  return opened && ACL_WriteFailed() == 0;
}

int TWordIndexLockWrite::IndexText(int group, std::string text) {
  if (!Opened() || !IsDocumentGroup(group) || !PrepareGroup(group)) return 0;
  // The words are read up to a zero byte; a stray one inside the text must
  // not cut the rest of the document off. A blank keeps the positions.
  std::replace(text.begin(), text.end(), '\0', ' ');
  ACL_BeginGroup(group);
  const int count = AddTextWords(text.data());
  ACL_EndGroup();
  return count;
}

bool TWordIndexLockCreate::Open(const std::string& path) {
  if (!TryLock(TLockMode::Exclusive)) {
    PauseBeforeRetry();
    if (!TryLock(TLockMode::Exclusive)) {
      throw EWordIndexError(FormatMessage(kCreateBusyMessage, DirectoryLock().OwnerMachine().c_str()));
    }
  }
  if (markOutOfDate_) Owner().MarkOutOfDate();
  ACL_Remove(path.c_str());
  return ACL_Open(path.c_str(), ACL_OPEN_CREATE) == ACL_OPEN_OK;
}

bool TWordIndexLockCreate::PrepareGroup(int) { return true; }

bool TWordIndexLockUpdate::Open(const std::string& path) {
  RetryUntilLocked(TLockMode::Exclusive, kUpdateBusyQuestion);
  return ACL_Open(path.c_str(), ACL_OPEN_UPDATE) == ACL_OPEN_OK;
}

bool TWordIndexLockUpdate::PrepareGroup(int group) {
  if (ACL_GroupExist(group)) ACL_DeleteGroup(group);
  return true;
}
