// The word-index engine's own file changes under a cut plan. The crash tests
// link the engine's objects in, so that its seam is reachable from here.

#include <cerrno>
#include <cstdio>

#include "CutPlan.h"
#include "FileWrites.h"

namespace {

class TCutEngineWrites : public lexdex::FileWrites {
 public:
  explicit TCutEngineWrites(TCutPlan& plan) : plan_(plan) {}

  int Open(const char* path, int flags, mode_t mode) override {
    return plan_.RefuseAsIoError() ? -1 : FileWrites::Open(path, flags, mode);
  }
  ssize_t Write(int fd, const void* bytes, std::size_t count) override {
    return plan_.RefuseAsIoError() ? -1 : FileWrites::Write(fd, bytes, count);
  }
  std::size_t WriteStream(const void* bytes, std::size_t count, std::FILE* file) override {
    return plan_.RefuseAsIoError() ? 0 : FileWrites::WriteStream(bytes, count, file);
  }
  int FlushStream(std::FILE* file) override { return plan_.RefuseAsIoError() ? EOF : FileWrites::FlushStream(file); }
  int Rename(const char* from, const char* to) override { return plan_.RefuseAsIoError() ? -1 : FileWrites::Rename(from, to); }
  int Remove(const char* path) override { return plan_.RefuseAsIoError() ? -1 : FileWrites::Remove(path); }
  int MakeDirectory(const char* path) override { return plan_.RefuseAsIoError() ? -1 : FileWrites::MakeDirectory(path); }

 private:
  TCutPlan& plan_;
};

// Puts the system's writes back however the run ends.
class TScopedEngineWrites {
 public:
  explicit TScopedEngineWrites(lexdex::FileWrites& writes) { lexdex::SetWrites(&writes); }
  ~TScopedEngineWrites() { lexdex::SetWrites(nullptr); }
  TScopedEngineWrites(const TScopedEngineWrites&) = delete;
  TScopedEngineWrites& operator=(const TScopedEngineWrites&) = delete;
};

}  // namespace

void RunUnderLxAndEngineCut(TCutPlan& plan, const std::function<void()>& run) {
  TCutEngineWrites writes(plan);
  TScopedEngineWrites scoped(writes);
  RunUnderLxCut(plan, run);
}
