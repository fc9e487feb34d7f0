/* A network folder on the local disk, for tests and benchmarks.
 *
 * Preloaded into a process (LD_PRELOAD=libnetwork_folder_shim.so), it makes
 * one folder behave as a network file system would for that process:
 *
 *   NETFOLDER_PATH             the folder (absolute; everything below it)
 *   NETFOLDER_DELAY_US         microseconds added to every open, read, write,
 *                              stat and close of a file under the folder (a
 *                              round trip to the server); the calling thread
 *                              sleeps, so that calls of several threads
 *                              overlap as they do on a network client
 *   NETFOLDER_TIME_RESOLUTION  seconds: file times under the folder read as
 *                              multiples of it (2 for FAT-like servers)
 *   NETFOLDER_REPORT           a file to which the number of delayed calls
 *                              of each kind is appended when the process ends
 *
 * statfs of the folder reports an NFS file system, so that programs choose
 * what they choose on a network. Calls are recognised by path (absolute, or
 * relative to the working folder) and by descriptor for files and folders
 * opened under the folder, including openat relative to such a folder. C
 * streams are charged per call (fread of a buffered stream may not reach the
 * server; the charge is an upper bound). Memory-mapped pages are not charged:
 * a mapping costs one read.
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdarg.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/uio.h>
#include <time.h>
#include <unistd.h>

#define SHIM_EXPORT __attribute__((visibility("default")))

enum CallKind { kOpen, kRead, kWrite, kStat, kClose, kKinds };
static const char *const kKindNames[kKinds] = {"open", "read", "write", "stat", "close"};

/* Descriptors above this are never tracked (and so never delayed). */
#define MAX_TRACKED_FD 65536
/* statfs f_type of NFS. struct stat64 and struct stat share their layout on
 * the 64-bit systems this runs on. */
#define NFS_FILE_SYSTEM_MAGIC 0x6969

static char folder[PATH_MAX];
static size_t folderLength;
static long delayNs;
static long timeResolution;
static const char *reportPath;
static atomic_uchar trackedFds[MAX_TRACKED_FD];
static atomic_long calls[kKinds];

/* The next definition of a libc function, looked up on first use. */
#define REAL(name) \
  static __typeof__(&name) real_##name; \
  if (real_##name == NULL) real_##name = (__typeof__(&name))dlsym(RTLD_NEXT, #name)

__attribute__((constructor)) static void StartShim(void) {
  const char *path = getenv("NETFOLDER_PATH");
  if (path != NULL && path[0] == '/' && strlen(path) < sizeof folder) {
    strcpy(folder, path);
    folderLength = strlen(folder);
    while (folderLength > 1 && folder[folderLength - 1] == '/') folder[--folderLength] = '\0';
  }
  const char *delay = getenv("NETFOLDER_DELAY_US");
  if (delay != NULL) delayNs = (long)(atof(delay) * 1000.0);
  const char *resolution = getenv("NETFOLDER_TIME_RESOLUTION");
  if (resolution != NULL) timeResolution = atol(resolution);
  reportPath = getenv("NETFOLDER_REPORT");
  /* Sleeps end when asked, not up to 50 us later; threads inherit this. */
  if (delayNs > 0) prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
}

__attribute__((destructor)) static void EndShim(void) {
  if (reportPath == NULL || folderLength == 0) return;
  FILE *report = fopen(reportPath, "a");
  if (report == NULL) return;
  for (int kind = 0; kind < kKinds; ++kind) {
    fprintf(report, "%s%s %ld", kind == 0 ? "" : " ", kKindNames[kind], atomic_load(&calls[kind]));
  }
  fprintf(report, "\n");
  fclose(report);
}

static int UnderFolder(const char *path) {
  if (folderLength == 0 || path == NULL) return 0;
  if (path[0] != '/') {
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd) == NULL) return 0;
    return strncmp(cwd, folder, folderLength) == 0 && (cwd[folderLength] == '/' || cwd[folderLength] == '\0');
  }
  return strncmp(path, folder, folderLength) == 0 && (path[folderLength] == '/' || path[folderLength] == '\0');
}

/* libc declares some arguments never null; callers still pass null where the
 * kernel accepts it, so the checks below must not be optimised away. */
static const void *Laundered(const void *pointer) {
  __asm__("" : "+r"(pointer));
  return pointer;
}

static int TrackedFd(int fd) { return fd >= 0 && fd < MAX_TRACKED_FD && atomic_load(&trackedFds[fd]); }

static void Track(int fd, int tracked) {
  if (fd >= 0 && fd < MAX_TRACKED_FD) atomic_store(&trackedFds[fd], (unsigned char)(tracked ? 1 : 0));
}

static int UnderFolderAt(int dirfd, const char *path) {
  if (path != NULL && path[0] != '/' && dirfd != AT_FDCWD) return TrackedFd(dirfd);
  return UnderFolder(path);
}

/* One round trip: the calling thread waits for the "server". */
static void Charge(enum CallKind kind) {
  atomic_fetch_add(&calls[kind], 1);
  if (delayNs <= 0) return;
  struct timespec until;
  clock_gettime(CLOCK_MONOTONIC, &until);
  until.tv_nsec += delayNs;
  until.tv_sec += until.tv_nsec / 1000000000L;
  until.tv_nsec %= 1000000000L;
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, NULL) == EINTR) {
  }
}

static void CoarsenTime(struct timespec *time) {
  if (timeResolution <= 0) return;
  time->tv_sec -= time->tv_sec % timeResolution;
  time->tv_nsec = 0;
}

static void CoarsenStat(struct stat *status) {
  CoarsenTime(&status->st_atim);
  CoarsenTime(&status->st_mtim);
  CoarsenTime(&status->st_ctim);
}

static void CoarsenStatxTime(struct statx_timestamp *time) {
  if (timeResolution <= 0) return;
  time->tv_sec -= time->tv_sec % timeResolution;
  time->tv_nsec = 0;
}

static mode_t ModeArgument(int flags, va_list arguments) {
  return (flags & (O_CREAT | __O_TMPFILE)) ? (mode_t)va_arg(arguments, int) : 0;
}

/* ---- opening and closing ---------------------------------------------- */

static int AfterOpen(int fd, int charged) {
  Track(fd, charged);
  return fd;
}

SHIM_EXPORT int open(const char *path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = ModeArgument(flags, arguments);
  va_end(arguments);
  REAL(open);
  const int charged = UnderFolder(path);
  if (charged) Charge(kOpen);
  return AfterOpen(real_open(path, flags, mode), charged);
}

SHIM_EXPORT int open64(const char *path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = ModeArgument(flags, arguments);
  va_end(arguments);
  REAL(open64);
  const int charged = UnderFolder(path);
  if (charged) Charge(kOpen);
  return AfterOpen(real_open64(path, flags, mode), charged);
}

SHIM_EXPORT int openat(int dirfd, const char *path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = ModeArgument(flags, arguments);
  va_end(arguments);
  REAL(openat);
  const int charged = UnderFolderAt(dirfd, path);
  if (charged) Charge(kOpen);
  return AfterOpen(real_openat(dirfd, path, flags, mode), charged);
}

SHIM_EXPORT int openat64(int dirfd, const char *path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = ModeArgument(flags, arguments);
  va_end(arguments);
  REAL(openat64);
  const int charged = UnderFolderAt(dirfd, path);
  if (charged) Charge(kOpen);
  return AfterOpen(real_openat64(dirfd, path, flags, mode), charged);
}

/* The checked forms that _FORTIFY_SOURCE builds call. */
SHIM_EXPORT int __open_2(const char *path, int flags) { return open(path, flags); }
SHIM_EXPORT int __open64_2(const char *path, int flags) { return open64(path, flags); }
SHIM_EXPORT int __openat_2(int dirfd, const char *path, int flags) { return openat(dirfd, path, flags); }
SHIM_EXPORT int __openat64_2(int dirfd, const char *path, int flags) { return openat64(dirfd, path, flags); }

SHIM_EXPORT int creat(const char *path, mode_t mode) { return open(path, O_WRONLY | O_CREAT | O_TRUNC, mode); }

SHIM_EXPORT FILE *fopen(const char *path, const char *mode) {
  REAL(fopen);
  const int charged = UnderFolder(path);
  if (charged) Charge(kOpen);
  FILE *stream = real_fopen(path, mode);
  if (stream != NULL) Track(fileno(stream), charged);
  return stream;
}

SHIM_EXPORT FILE *fopen64(const char *path, const char *mode) {
  REAL(fopen64);
  const int charged = UnderFolder(path);
  if (charged) Charge(kOpen);
  FILE *stream = real_fopen64(path, mode);
  if (stream != NULL) Track(fileno(stream), charged);
  return stream;
}

SHIM_EXPORT int close(int fd) {
  REAL(close);
  if (TrackedFd(fd)) {
    Charge(kClose);
    Track(fd, 0);
  }
  return real_close(fd);
}

SHIM_EXPORT int fclose(FILE *stream) {
  REAL(fclose);
  const int fd = Laundered(stream) != NULL ? fileno(stream) : -1;
  if (TrackedFd(fd)) {
    Charge(kClose);
    Track(fd, 0);
  }
  return real_fclose(stream);
}

/* ---- reading and writing ---------------------------------------------- */

SHIM_EXPORT ssize_t read(int fd, void *buffer, size_t count) {
  REAL(read);
  if (TrackedFd(fd)) Charge(kRead);
  return real_read(fd, buffer, count);
}

SHIM_EXPORT ssize_t pread(int fd, void *buffer, size_t count, off_t offset) {
  REAL(pread);
  if (TrackedFd(fd)) Charge(kRead);
  return real_pread(fd, buffer, count, offset);
}

SHIM_EXPORT ssize_t pread64(int fd, void *buffer, size_t count, off_t offset) {
  REAL(pread64);
  if (TrackedFd(fd)) Charge(kRead);
  return real_pread64(fd, buffer, count, offset);
}

SHIM_EXPORT ssize_t readv(int fd, const struct iovec *pieces, int count) {
  REAL(readv);
  if (TrackedFd(fd)) Charge(kRead);
  return real_readv(fd, pieces, count);
}

SHIM_EXPORT ssize_t preadv(int fd, const struct iovec *pieces, int count, off_t offset) {
  REAL(preadv);
  if (TrackedFd(fd)) Charge(kRead);
  return real_preadv(fd, pieces, count, offset);
}

SHIM_EXPORT size_t fread(void *buffer, size_t size, size_t count, FILE *stream) {
  REAL(fread);
  if (Laundered(stream) != NULL && TrackedFd(fileno(stream))) Charge(kRead);
  return real_fread(buffer, size, count, stream);
}

SHIM_EXPORT ssize_t write(int fd, const void *buffer, size_t count) {
  REAL(write);
  if (TrackedFd(fd)) Charge(kWrite);
  return real_write(fd, buffer, count);
}

SHIM_EXPORT ssize_t pwrite(int fd, const void *buffer, size_t count, off_t offset) {
  REAL(pwrite);
  if (TrackedFd(fd)) Charge(kWrite);
  return real_pwrite(fd, buffer, count, offset);
}

SHIM_EXPORT ssize_t pwrite64(int fd, const void *buffer, size_t count, off_t offset) {
  REAL(pwrite64);
  if (TrackedFd(fd)) Charge(kWrite);
  return real_pwrite64(fd, buffer, count, offset);
}

SHIM_EXPORT size_t fwrite(const void *buffer, size_t size, size_t count, FILE *stream) {
  REAL(fwrite);
  if (Laundered(stream) != NULL && TrackedFd(fileno(stream))) Charge(kWrite);
  return real_fwrite(buffer, size, count, stream);
}

SHIM_EXPORT int fsync(int fd) {
  REAL(fsync);
  if (TrackedFd(fd)) Charge(kWrite);
  return real_fsync(fd);
}

SHIM_EXPORT int fdatasync(int fd) {
  REAL(fdatasync);
  if (TrackedFd(fd)) Charge(kWrite);
  return real_fdatasync(fd);
}

SHIM_EXPORT int ftruncate(int fd, off_t length) {
  REAL(ftruncate);
  if (TrackedFd(fd)) Charge(kWrite);
  return real_ftruncate(fd, length);
}

SHIM_EXPORT int ftruncate64(int fd, off_t length) {
  REAL(ftruncate64);
  if (TrackedFd(fd)) Charge(kWrite);
  return real_ftruncate64(fd, length);
}

SHIM_EXPORT int utimensat(int dirfd, const char *path, const struct timespec times[2], int flags) {
  REAL(utimensat);
  if (Laundered(path) == NULL ? TrackedFd(dirfd) : UnderFolderAt(dirfd, path)) Charge(kWrite);
  return real_utimensat(dirfd, path, times, flags);
}

SHIM_EXPORT void *mmap(void *address, size_t length, int protection, int flags, int fd, off_t offset) {
  REAL(mmap);
  if (TrackedFd(fd)) Charge(kRead);
  return real_mmap(address, length, protection, flags, fd, offset);
}

SHIM_EXPORT void *mmap64(void *address, size_t length, int protection, int flags, int fd, off_t offset) {
  REAL(mmap64);
  if (TrackedFd(fd)) Charge(kRead);
  return real_mmap64(address, length, protection, flags, fd, offset);
}

/* ---- file status ------------------------------------------------------ */

static int AfterStat(int result, int charged, struct stat *status) {
  if (result == 0 && charged) CoarsenStat(status);
  return result;
}

SHIM_EXPORT int stat(const char *path, struct stat *status) {
  REAL(stat);
  const int charged = UnderFolder(path);
  if (charged) Charge(kStat);
  return AfterStat(real_stat(path, status), charged, status);
}

SHIM_EXPORT int stat64(const char *path, struct stat64 *status) {
  REAL(stat64);
  const int charged = UnderFolder(path);
  if (charged) Charge(kStat);
  return AfterStat(real_stat64(path, status), charged, (struct stat *)status);
}

SHIM_EXPORT int lstat(const char *path, struct stat *status) {
  REAL(lstat);
  const int charged = UnderFolder(path);
  if (charged) Charge(kStat);
  return AfterStat(real_lstat(path, status), charged, status);
}

SHIM_EXPORT int lstat64(const char *path, struct stat64 *status) {
  REAL(lstat64);
  const int charged = UnderFolder(path);
  if (charged) Charge(kStat);
  return AfterStat(real_lstat64(path, status), charged, (struct stat *)status);
}

SHIM_EXPORT int fstat(int fd, struct stat *status) {
  REAL(fstat);
  const int charged = TrackedFd(fd);
  if (charged) Charge(kStat);
  return AfterStat(real_fstat(fd, status), charged, status);
}

SHIM_EXPORT int fstat64(int fd, struct stat64 *status) {
  REAL(fstat64);
  const int charged = TrackedFd(fd);
  if (charged) Charge(kStat);
  return AfterStat(real_fstat64(fd, status), charged, (struct stat *)status);
}

SHIM_EXPORT int fstatat(int dirfd, const char *path, struct stat *status, int flags) {
  REAL(fstatat);
  const int charged = (Laundered(path) == NULL || path[0] == '\0') ? TrackedFd(dirfd) : UnderFolderAt(dirfd, path);
  if (charged) Charge(kStat);
  return AfterStat(real_fstatat(dirfd, path, status, flags), charged, status);
}

SHIM_EXPORT int fstatat64(int dirfd, const char *path, struct stat64 *status, int flags) {
  REAL(fstatat64);
  const int charged = (Laundered(path) == NULL || path[0] == '\0') ? TrackedFd(dirfd) : UnderFolderAt(dirfd, path);
  if (charged) Charge(kStat);
  return AfterStat(real_fstatat64(dirfd, path, status, flags), charged, (struct stat *)status);
}

SHIM_EXPORT int statx(int dirfd, const char *path, int flags, unsigned int mask, struct statx *status) {
  REAL(statx);
  const int charged = (Laundered(path) == NULL || path[0] == '\0') ? TrackedFd(dirfd) : UnderFolderAt(dirfd, path);
  if (charged) Charge(kStat);
  const int result = real_statx(dirfd, path, flags, mask, status);
  if (result == 0 && charged) {
    CoarsenStatxTime(&status->stx_atime);
    CoarsenStatxTime(&status->stx_mtime);
    CoarsenStatxTime(&status->stx_ctime);
    CoarsenStatxTime(&status->stx_btime);
  }
  return result;
}

SHIM_EXPORT int access(const char *path, int mode) {
  REAL(access);
  if (UnderFolder(path)) Charge(kStat);
  return real_access(path, mode);
}

SHIM_EXPORT int statfs(const char *path, struct statfs *status) {
  REAL(statfs);
  const int charged = UnderFolder(path);
  if (charged) Charge(kStat);
  const int result = real_statfs(path, status);
  if (result == 0 && charged) status->f_type = NFS_FILE_SYSTEM_MAGIC;
  return result;
}

SHIM_EXPORT int statfs64(const char *path, struct statfs64 *status) {
  REAL(statfs64);
  const int charged = UnderFolder(path);
  if (charged) Charge(kStat);
  const int result = real_statfs64(path, status);
  if (result == 0 && charged) status->f_type = NFS_FILE_SYSTEM_MAGIC;
  return result;
}

SHIM_EXPORT int fstatfs(int fd, struct statfs *status) {
  REAL(fstatfs);
  const int charged = TrackedFd(fd);
  if (charged) Charge(kStat);
  const int result = real_fstatfs(fd, status);
  if (result == 0 && charged) status->f_type = NFS_FILE_SYSTEM_MAGIC;
  return result;
}

SHIM_EXPORT int fstatfs64(int fd, struct statfs64 *status) {
  REAL(fstatfs64);
  const int charged = TrackedFd(fd);
  if (charged) Charge(kStat);
  const int result = real_fstatfs64(fd, status);
  if (result == 0 && charged) status->f_type = NFS_FILE_SYSTEM_MAGIC;
  return result;
}
