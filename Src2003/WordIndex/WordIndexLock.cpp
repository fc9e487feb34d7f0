#include "WordIndexLock.h"

#include "LxDirectoryLock.h"
#include "LxExcept.h"
#include "LxFilUtl.h"
#include "Prompts.h"
#include "WordIndex.h"
#include "WordIndexError.h"
#include "WordIndexMessages.h"
#include "lexdex.h"

namespace {
// The user is asked after every fourth failed attempt, about 1.5 s of waiting.
constexpr int kAttemptsBeforeQuestion = 4;
}  // namespace

TWordIndexLock::TWordIndexLock(TWordIndex& owner) : owner_(&owner) {}

TWordIndexLock::~TWordIndexLock() {
  // A subclass has already ended its engine work in its own destructor.
  if (owner_ && owner_->lock_ == this) owner_->lock_ = nullptr;
  if (opened_) ACL_Close();
}

bool TWordIndexLock::PrepareGroup(int group) {
  throw ELxAssertionFailed(
      FormatMessage("Este índice não aceita grupos (grupo %d)", group), "WordIndexUnit");
}

void TWordIndexLock::Acquire() {
  if (owner_->lock_) throw EWordIndexError(kIndexAlreadyOpenMessage);
  const std::string folder = owner_->IndexFolder();
  ForceDirectories(folder);
  directoryLock_ = std::make_unique<TLxDirectoryLock>(folder, TWordIndex::kLockRefreshInterval);
  opened_ = Open(owner_->EngineFolder());
  if (!opened_) {
    directoryLock_.reset();
    throw EWordIndexError(kIndexCannotOpenMessage);
  }
  owner_->lock_ = this;
}

void TWordIndexLock::Release() {
  EndEngineWork();
  if (opened_) ACL_Close();
  opened_ = false;
  directoryLock_.reset();
  if (owner_->lock_ == this) owner_->lock_ = nullptr;
  owner_ = nullptr;
}

bool TWordIndexLock::TryLock(TLockMode mode) {
  return mode == TLockMode::Exclusive ? directoryLock_->LockExclusive()
                                      : directoryLock_->LockShared();
}

void TWordIndexLock::PauseBeforeRetry() { owner_->Pause(TWordIndex::kRetryPause); }

void TWordIndexLock::RetryUntilLocked(TLockMode mode, const char* questionFormat) {
  for (int failures = 1; !TryLock(mode); ++failures) {
    if (failures % kAttemptsBeforeQuestion != 0) {
      PauseBeforeRetry();
      continue;
    }
    const std::string question = FormatMessage(questionFormat, directoryLock_->OwnerMachine().c_str());
    if (!Prompts().AskYesNo(question)) throw EWordIndexError(kIndexInUseMessage);
  }
}
