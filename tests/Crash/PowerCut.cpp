#include "PowerCut.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <utility>

#include "LxFileOperations.h"

namespace {

// A file as the disk knows it, whatever names it goes by.
using TFileKey = std::pair<dev_t, ino_t>;

std::optional<TFileKey> RegularFileKey(const struct stat& info) {
  if (!S_ISREG(info.st_mode)) return std::nullopt;
  return TFileKey{info.st_dev, info.st_ino};
}

std::optional<TFileKey> KeyOfPath(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return RegularFileKey(info);
}

std::optional<TFileKey> KeyOfHandle(int handle) {
  struct stat info;
  if (::fstat(handle, &info) != 0) return std::nullopt;
  return RegularFileKey(info);
}

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Every change refused from the cut on, as in a crash; what each written file
// held at its last sync remembered, so that the cut can bring it back.
class TPowerCutFileOperations : public TLxFileOperations {
 public:
  explicit TPowerCutFileOperations(TCutPlan& plan) : plan_(plan) {}

  int OpenForWriting(const char* path, int flags, mode_t mode) override {
    if (plan_.RefuseAsIoError()) return -1;
    const std::optional<TFileKey> before = KeyOfPath(path);
    if (before && !durable_.contains(*before)) durable_[*before] = ReadAll(path);
    const int handle = TLxFileOperations::OpenForWriting(path, flags, mode);
    // A file created now has nothing on the disk until it is synced.
    if (handle >= 0 && !before) {
      if (const auto key = KeyOfHandle(handle)) durable_[*key] = std::string();
    }
    return handle;
  }
  ssize_t WriteAt(int handle, const void* bytes, std::size_t count, off_t offset) override {
    return plan_.RefuseAsIoError() ? -1 : TLxFileOperations::WriteAt(handle, bytes, count, offset);
  }
  ssize_t Write(int handle, const void* bytes, std::size_t count) override {
    return plan_.RefuseAsIoError() ? -1 : TLxFileOperations::Write(handle, bytes, count);
  }
  int Truncate(int handle, off_t size) override { return plan_.RefuseAsIoError() ? -1 : TLxFileOperations::Truncate(handle, size); }
  int Sync(int handle) override {
    if (plan_.RefuseAsIoError()) return -1;
    const int rc = TLxFileOperations::Sync(handle);
    if (rc != 0) return rc;
    // The handle may be open for writing only: read the file through /proc.
    if (const auto key = KeyOfHandle(handle)) durable_[*key] = ReadAll("/proc/self/fd/" + std::to_string(handle));
    return rc;
  }
  int Rename(const char* from, const char* to) override {
    return plan_.RefuseAsIoError() ? -1 : TLxFileOperations::Rename(from, to);
  }
  int Exchange(const char* first, const char* second) override {
    return plan_.RefuseAsIoError() ? -1 : TLxFileOperations::Exchange(first, second);
  }
  int Remove(const char* path) override { return plan_.RefuseAsIoError() ? -1 : TLxFileOperations::Remove(path); }
  int MakeDirectory(const char* path, mode_t mode) override {
    return plan_.RefuseAsIoError() ? -1 : TLxFileOperations::MakeDirectory(path, mode);
  }

  // Every file under `root` that the run wrote goes back to its last sync.
  void CutPower(const std::string& root) const {
    namespace fs = std::filesystem;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      const std::optional<TFileKey> key = KeyOfPath(entry.path().string());
      if (!key) continue;
      const auto durable = durable_.find(*key);
      if (durable == durable_.end() || ReadAll(entry.path().string()) == durable->second) continue;
      std::ofstream file(entry.path(), std::ios::binary | std::ios::trunc);
      file.write(durable->second.data(), static_cast<std::streamsize>(durable->second.size()));
    }
  }

 private:

  TCutPlan& plan_;
  std::map<TFileKey, std::string> durable_;
};

}  // namespace

void RunUnderLxPowerCut(TCutPlan& plan, const std::string& root, const std::function<void()>& run) {
  TPowerCutFileOperations operations(plan);
  {
    TScopedFileOperations scoped(operations);
    run();
  }
  if (plan.Reached()) operations.CutPower(root);
}
