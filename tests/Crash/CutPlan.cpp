#include "CutPlan.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "LxFileOperations.h"

bool TCutPlan::Refuse() {
  ++Seen;
  if (Kind == TKind::Fail) return Seen == CutAt;
  return Seen >= CutAt;
}

bool TCutPlan::RefuseAsIoError() {
  if (!Refuse()) return false;
  errno = EIO;
  return true;
}

const char* KindName(TCutPlan::TKind kind) { return kind == TCutPlan::TKind::Fail ? "falha" : "queda"; }

namespace {

// The program's file changes, refused from the plan's cut point on.
class TCutFileOperations : public TLxFileOperations {
 public:
  explicit TCutFileOperations(TCutPlan& plan) : plan_(plan) {}

  int OpenForWriting(const char* path, int flags, mode_t mode) override {
    return plan_.RefuseAsIoError() ? -1 : TLxFileOperations::OpenForWriting(path, flags, mode);
  }
  ssize_t WriteAt(int handle, const void* bytes, std::size_t count, off_t offset) override {
    return plan_.RefuseAsIoError() ? -1 : TLxFileOperations::WriteAt(handle, bytes, count, offset);
  }
  ssize_t Write(int handle, const void* bytes, std::size_t count) override {
    return plan_.RefuseAsIoError() ? -1 : TLxFileOperations::Write(handle, bytes, count);
  }
  int Truncate(int handle, off_t size) override { return plan_.RefuseAsIoError() ? -1 : TLxFileOperations::Truncate(handle, size); }
  int Sync(int handle) override { return plan_.RefuseAsIoError() ? -1 : TLxFileOperations::Sync(handle); }
  int Rename(const char* from, const char* to) override {
    return plan_.RefuseAsIoError() ? -1 : TLxFileOperations::Rename(from, to);
  }
  int Exchange(const char* first, const char* second) override {
    if (plan_.NoExchange) {
      errno = EINVAL;
      return -1;
    }
    return plan_.RefuseAsIoError() ? -1 : TLxFileOperations::Exchange(first, second);
  }
  int Remove(const char* path) override { return plan_.RefuseAsIoError() ? -1 : TLxFileOperations::Remove(path); }
  int MakeDirectory(const char* path, mode_t mode) override {
    return plan_.RefuseAsIoError() ? -1 : TLxFileOperations::MakeDirectory(path, mode);
  }

 private:
  TCutPlan& plan_;
};

}  // namespace

void RunUnderLxCut(TCutPlan& plan, const std::function<void()>& run) {
  TCutFileOperations operations(plan);
  TScopedFileOperations scoped(operations);
  run();
}

void TCutDriver::RunCut(TCutPlan& plan) {
  Prepare();
  plan.NoExchange = NoExchange;
  RunUnderCut(plan, [&] {
    try {
      Commit();
    } catch (...) {
      // A failed write may well end the commit with an error: what counts
      // is what it left on the disk.
    }
  });
}

int TCutDriver::StrideBetweenCuts() {
  if (CutBudget <= 0 || std::getenv("PANDECTA_CRASH_EVERY_CUT") != nullptr) return 1;
  TCutPlan whole{0, TCutPlan::TKind::Fail};  // refuses nothing: counts the changes
  RunCut(whole);
  const int stride = std::max(1, (whole.Seen + CutBudget - 1) / CutBudget);
  if (stride > 1) std::fprintf(stderr, "%d alterações: corte a cada %d\n", whole.Seen, stride);
  return stride;
}

int TCutDriver::RunEveryCut() {
  const int stride = StrideBetweenCuts();
  int tried = 0;
  for (const TCutPlan::TKind kind : {TCutPlan::TKind::Fail, TCutPlan::TKind::Crash}) {
    for (int cut = 1, points = 0; points < MaxCuts; cut += stride, ++points) {
      TCutPlan plan{cut, kind};
      RunCut(plan);
      if (!plan.Reached()) {
        // The commit made fewer changes; with a stride its last one is tried too.
        if (stride == 1 || plan.Seen <= cut - stride) break;
        cut = plan.Seen - stride;
        continue;
      }
      ++tried;
      Check(std::string(KindName(kind)) + " na alteração " + std::to_string(cut));
      if (::testing::Test::HasFatalFailure()) return tried;
    }
  }
  return tried;
}
