#include "CutPlan.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "LxFileOperations.h"

bool TCutPlan::Refuse() {
  ++Seen;
  if (Kind == TKind::Fail) return Seen == CutAt;
  return Seen >= CutAt;
}

const char* KindName(TCutPlan::TKind kind) { return kind == TCutPlan::TKind::Fail ? "falha" : "queda"; }

namespace {

// The program's file changes, refused from the plan's cut point on.
class TCutFileOperations : public TLxFileOperations {
 public:
  explicit TCutFileOperations(TCutPlan& plan) : plan_(plan) {}

  int OpenForWriting(const char* path, int flags, mode_t mode) override {
    return Refused() ? -1 : TLxFileOperations::OpenForWriting(path, flags, mode);
  }
  ssize_t WriteAt(int handle, const void* bytes, std::size_t count, off_t offset) override {
    return Refused() ? -1 : TLxFileOperations::WriteAt(handle, bytes, count, offset);
  }
  ssize_t Write(int handle, const void* bytes, std::size_t count) override {
    return Refused() ? -1 : TLxFileOperations::Write(handle, bytes, count);
  }
  int Truncate(int handle, off_t size) override { return Refused() ? -1 : TLxFileOperations::Truncate(handle, size); }
  int Sync(int handle) override { return Refused() ? -1 : TLxFileOperations::Sync(handle); }
  int Rename(const char* from, const char* to) override {
    return Refused() ? -1 : TLxFileOperations::Rename(from, to);
  }
  int Exchange(const char* first, const char* second) override {
    return Refused() ? -1 : TLxFileOperations::Exchange(first, second);
  }
  int Remove(const char* path) override { return Refused() ? -1 : TLxFileOperations::Remove(path); }
  int MakeDirectory(const char* path, mode_t mode) override {
    return Refused() ? -1 : TLxFileOperations::MakeDirectory(path, mode);
  }

 private:
  bool Refused() {
    if (!plan_.Refuse()) return false;
    errno = EIO;
    return true;
  }
  TCutPlan& plan_;
};

}  // namespace

void RunUnderLxCut(TCutPlan& plan, const std::function<void()>& run) {
  TCutFileOperations operations(plan);
  TScopedFileOperations scoped(operations);
  run();
}

int TCutDriver::RunEveryCut() {
  int tried = 0;
  for (const TCutPlan::TKind kind : {TCutPlan::TKind::Fail, TCutPlan::TKind::Crash}) {
    for (int cut = 1; cut <= MaxCuts; ++cut) {
      Prepare();
      TCutPlan plan{cut, kind};
      RunUnderCut(plan, [&] {
        try {
          Commit();
        } catch (...) {
          // A failed write may well end the commit with an error: what counts
          // is what it left on the disk.
        }
      });
      if (!plan.Reached()) break;  // the commit made fewer changes: every cut is done
      ++tried;
      Check(std::string(KindName(kind)) + " na alteração " + std::to_string(cut));
      if (::testing::Test::HasFatalFailure()) return tried;
    }
  }
  return tried;
}
