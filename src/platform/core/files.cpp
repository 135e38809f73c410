#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/sjis.h"
#include "platform/testing.h"

namespace {

int failWriteCountdown = 0;
void (*tempWrittenHook)() = nullptr;

// The program's own temporary files: this prefix and mkstemp's six letters.
// Nothing else is ever taken for one of them.
constexpr char TEMP_PREFIX[] = ".Brindlecot-save-";
constexpr size_t TEMP_PREFIX_LEN = sizeof TEMP_PREFIX - 1;
constexpr size_t TEMP_NAME_LEN = TEMP_PREFIX_LEN + 6;

// A writer creates its temporary file and locks it a few microseconds later;
// in that gap the lock can be taken by a cleaner although the writer is alive.
// So a temporary file is only taken for stale when its lock is free and it was
// last written this long ago: no writer sits between creating and locking for
// a minute, and no file system's timestamp is coarser than that.
constexpr time_t STALE_AGE_SECONDS = 60;

// The program's path as the OS takes it; 0 when it is empty, not valid UTF-8
// or too long (a name the program could not have been given whole).
int osPath(const char* given, char* out, size_t outSize) { return osPathOf(given, out, outSize) >= 0 ? 1 : 0; }

ssize_t checkedWrite(int fd, const void* data, size_t len) {
  if (failWriteCountdown > 0 && --failWriteCountdown == 0) {
    errno = ENOSPC;
    return -1;
  }
  return ::write(fd, data, len);
}

int writeAll(int fd, const char* data, size_t len) {
  while (len > 0) {
    ssize_t n = checkedWrite(fd, data, len);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return 0;
    data += n;
    len -= static_cast<size_t>(n);
  }
  return 1;
}

// Copies the first `len` bytes of `from` over the start of `to`, through `buf`.
int copyBytes(int from, int to, uint64_t len, char* buf, size_t bufSize) {
  if (::lseek(from, 0, SEEK_SET) != 0 || ::lseek(to, 0, SEEK_SET) != 0) return 0;
  while (len > 0) {
    size_t want = len < bufSize ? static_cast<size_t>(len) : bufSize;
    ssize_t n = ::read(from, buf, want);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return 0;
    if (!writeAll(to, buf, static_cast<size_t>(n))) return 0;
    len -= static_cast<uint64_t>(n);
  }
  return 1;
}

// The folder part of `path` ("." when it has none) into `out`.
void folderOf(const char* path, char* out, size_t outSize) {
  const char* slash = std::strrchr(path, '/');
  if (!slash) {
    std::snprintf(out, outSize, ".");
  } else if (slash == path) {
    std::snprintf(out, outSize, "/");
  } else {
    std::snprintf(out, outSize, "%.*s", static_cast<int>(slash - path), path);
  }
}

// Follows symbolic links on the last part of the path, so the file written is
// the one the link names and the link itself stays. 0 on a loop or overflow.
int followLinks(const char* path, char* out, size_t outSize) {
  if (std::snprintf(out, outSize, "%s", path) >= static_cast<int>(outSize)) return 0;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(out, &st) != 0 || !S_ISLNK(st.st_mode)) return 1;
    char link[4096];
    ssize_t n = ::readlink(out, link, sizeof link - 1);
    if (n < 0) return 0;
    link[n] = 0;
    char next[4096];
    if (link[0] == '/') {
      std::memcpy(next, link, static_cast<size_t>(n) + 1);
    } else {
      char dir[4096];
      folderOf(out, dir, sizeof dir);
      if (std::snprintf(next, sizeof next, "%s/%s", dir, link) >= static_cast<int>(sizeof next)) return 0;
    }
    if (std::snprintf(out, outSize, "%s", next) >= static_cast<int>(outSize)) return 0;
  }
  return 0;
}

bool isTempName(const char* name) {
  if (std::strlen(name) != TEMP_NAME_LEN || std::strncmp(name, TEMP_PREFIX, TEMP_PREFIX_LEN) != 0) return false;
  for (const char* p = name + TEMP_PREFIX_LEN; *p; ++p) {
    char c = *p;
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

bool oldEnoughToBeStale(const struct stat& st) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return st.st_mtim.tv_sec <= now.tv_sec - STALE_AGE_SECONDS;
}

int removeStaleIn(const char* folder) {
  DIR* d = ::opendir(folder);
  if (!d) return 0;
  int removed = 0;
  const int dfd = ::dirfd(d);
  while (const dirent* e = ::readdir(d)) {
    if (!isTempName(e->d_name)) continue;
    int fd = ::openat(dfd, e->d_name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) continue;
    struct stat st;
    // A writer holds its lock from just after the file exists until it is put
    // in place; a lock that can be taken on an old file means its writer is gone.
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && oldEnoughToBeStale(st) &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlinkat(dfd, e->d_name, 0) == 0) {
      ++removed;
    }
    ::close(fd);
  }
  ::closedir(d);
  return removed;
}

// A locked temporary file of the program's own name in `folder`.
int makeTemp(const char* folder, char* out, size_t outSize) {
  if (std::snprintf(out, outSize, "%s/%sXXXXXX", folder, TEMP_PREFIX) >= static_cast<int>(outSize)) {
    out[0] = 0;
    errno = ENAMETOOLONG;
    return -1;
  }
  int fd = ::mkostemp(out, O_CLOEXEC);
  if (fd < 0) {
    out[0] = 0;
    return -1;
  }
  ::flock(fd, LOCK_EX);
  return fd;
}

}  // namespace

int holdLockFile(const char* userPath) {
  char path[4096];
  if (!osPath(userPath, path, sizeof path)) return -1;
  int fd = ::open(path, O_RDWR | O_CREAT | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

void releaseLockFile(int fd) {
  if (fd >= 0) ::close(fd);
}

int makeFolders(const char* userPath) {
  char path[4096];
  if (!osPath(userPath, path, sizeof path)) return 0;
  for (char* p = path + 1; *p; ++p) {
    if (*p != '/') continue;
    *p = 0;
    ::mkdir(path, 0700);
    *p = '/';
  }
  ::mkdir(path, 0700);
  struct stat st;
  return ::stat(path, &st) == 0 && S_ISDIR(st.st_mode) ? 1 : 0;
}

int removeFile(const char* userPath) {
  char path[4096];
  return osPath(userPath, path, sizeof path) && ::unlink(path) == 0 ? 1 : 0;
}

int listFolderFiles(const char* userFolder, void (*each)(void* ctx, const char* name, int64_t mtime), void* ctx) {
  char folder[4096];
  if (!osPath(userFolder, folder, sizeof folder)) return 0;
  DIR* d = ::opendir(folder);
  if (!d) return 0;
  const int dfd = ::dirfd(d);
  while (const dirent* e = ::readdir(d)) {
    struct stat st;
    if (::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
      each(ctx, e->d_name, static_cast<int64_t>(st.st_mtim.tv_sec));
  }
  ::closedir(d);
  return 1;
}

void filesFailNthWrite(int n) { failWriteCountdown = n; }
void filesSetTempWrittenHook(void (*hook)()) { tempWrittenHook = hook; }

const char* pathFileName(const char* path) {
  const char* slash = std::strrchr(path, '/');
  return slash ? slash + 1 : path;
}

int openUserFile(const char* userPath, uint64_t* size) {
  char path[4096];
  if (!osPath(userPath, path, sizeof path)) return -1;
  // O_NONBLOCK: opening a FIFO must not wait for a writer. What is opened is
  // then looked at; only a regular file is read.
  int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return -1;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  if (size) *size = static_cast<uint64_t>(st.st_size);
  return fd;
}

int readFileBytes(const char* userPath, uint8_t* buffer, size_t capacity, size_t* got, uint64_t* sizeAtOpen) {
  int fd = openUserFile(userPath, sizeAtOpen);
  if (fd < 0) return 0;
  size_t total = 0;
  while (total < capacity) {
    ssize_t n = ::read(fd, buffer + total, capacity - total);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return 0;
    }
    if (n == 0) break;
    total += static_cast<size_t>(n);
  }
  ::close(fd);
  *got = total;
  return 1;
}

int pathExists(const char* userPath) {
  char path[4096];
  if (!osPath(userPath, path, sizeof path)) return 0;
  struct stat st;
  return ::stat(path, &st) == 0 && S_ISREG(st.st_mode) ? 1 : 0;
}

int removeStaleTempFiles(const char* userPath) {
  char path[4096], folder[4096];
  if (!osPath(userPath, path, sizeof path)) return 0;
  folderOf(path, folder, sizeof folder);
  return removeStaleIn(folder);
}

SafeFileWriter::~SafeFileWriter() { abandon(); }

int SafeFileWriter::open(const char* userTarget) {
  abandon();
  failed_ = true;  // until the writer is ready
  prepared_ = false;
  used_ = 0;
  written_ = 0;
  mode_ = REPLACE;
  char given[4096];
  if (!osPath(userTarget, given, sizeof given) || !followLinks(given, targetPath_, sizeof targetPath_)) return 0;
  char folder[4096];
  folderOf(targetPath_, folder, sizeof folder);
  removeStaleIn(folder);

  struct stat st;
  int existing = -1;
  if (::lstat(targetPath_, &st) == 0) {
    if (!S_ISREG(st.st_mode)) return 0;  // a folder, FIFO, device: not a map file
    // The plain write's own permission check (root passes it, as it would).
    existing = ::open(targetPath_, O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (existing < 0) return 0;
    if (::fstat(existing, &st) != 0 || !S_ISREG(st.st_mode)) {
      ::close(existing);
      return 0;
    }
  } else if (errno != ENOENT) {
    return 0;
  }

  fd_ = makeTemp(folder, tempPath_, sizeof tempPath_);
  if (fd_ < 0) {
    // The folder refuses new files; an existing writable file is still saved.
    // Any other reason (a full disk, no descriptors) would not spare a direct
    // write either, so the old file is kept and the save refused.
    const bool folderRefuses = errno == EACCES || errno == EPERM;
    if (existing < 0 || !folderRefuses) {
      if (existing >= 0) ::close(existing);
      return 0;
    }
    fd_ = existing;
    mode_ = DIRECT;
    failed_ = false;
    return 1;
  }
  if (existing >= 0) {
    ::close(existing);
    if (st.st_nlink > 1) mode_ = IN_PLACE;
    ::fchmod(fd_, st.st_mode & 07777);
    if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
      // Only where permitted; without it the file becomes this user's.
      if (::fchown(fd_, st.st_uid, st.st_gid) != 0) (void)::fchown(fd_, static_cast<uid_t>(-1), st.st_gid);
      ::fchmod(fd_, st.st_mode & 07777);  // chown clears set-id bits
    }
  } else {
    // mkstemp creates 0600; a map or settings file is an ordinary document.
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
  }
  failed_ = false;
  return 1;
}

void SafeFileWriter::flushBuffer() {
  if (!failed_ && used_ > 0 && !writeAll(fd_, buffer_, used_)) failed_ = true;
  if (!failed_) written_ += used_;
  used_ = 0;
}

void SafeFileWriter::write(const void* data, size_t len) {
  if (fd_ < 0 || failed_) return;
  const char* p = static_cast<const char*>(data);
  while (len > 0 && !failed_) {
    size_t room = sizeof buffer_ - used_;
    size_t take = len < room ? len : room;
    std::memcpy(buffer_ + used_, p, take);
    used_ += take;
    p += take;
    len -= take;
    if (used_ == sizeof buffer_) flushBuffer();
  }
}

void SafeFileWriter::writeText(const char* text) { write(text, std::strlen(text)); }

int SafeFileWriter::prepare() {
  if (fd_ < 0) return 0;
  flushBuffer();
  if (mode_ != DIRECT && !failed_ && !prepared_ && ::fsync(fd_) != 0) failed_ = true;
  prepared_ = !failed_;
  return failed_ ? 0 : 1;
}

int SafeFileWriter::commit() {
  if (fd_ < 0) return 0;
  flushBuffer();
  if (mode_ == DIRECT) {
    if (!failed_ && (::ftruncate(fd_, static_cast<off_t>(written_)) != 0 || ::fsync(fd_) != 0)) failed_ = true;
    if (::close(fd_) != 0) failed_ = true;
    fd_ = -1;
    return failed_ ? 0 : 1;
  }
  if (!failed_ && !prepared_ && ::fsync(fd_) != 0) failed_ = true;
  if (!failed_ && tempWrittenHook) tempWrittenHook();
  // Put in place while still open and locked, so no cleaner can take it first.
  if (!failed_) {
    if (mode_ == IN_PLACE) {
      if (!commitInPlace()) failed_ = true;
    } else if (::rename(tempPath_, targetPath_) != 0) {
      failed_ = true;
    } else {
      tempPath_[0] = 0;
    }
  }
  if (::close(fd_) != 0) failed_ = true;
  fd_ = -1;
  if (tempPath_[0]) {
    ::unlink(tempPath_);
    tempPath_[0] = 0;
  }
  return failed_ ? 0 : 1;
}

// Every name of a hard-linked file shares one inode, so the new content goes
// into that inode. To keep the old content whole on failure, it is first copied
// to a second temporary file and the space for the new content is reserved;
// should writing still fail, the old bytes are put back.
int SafeFileWriter::commitInPlace() {
  int target = ::open(targetPath_, O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (target < 0) return 0;
  struct stat st;
  char folder[4096], backupPath[4096];
  folderOf(targetPath_, folder, sizeof folder);
  int backup = -1;
  int ok = ::fstat(target, &st) == 0 && S_ISREG(st.st_mode);
  const uint64_t oldSize = ok ? static_cast<uint64_t>(st.st_size) : 0;
  if (ok) backup = makeTemp(folder, backupPath, sizeof backupPath);
  ok = backup >= 0 && copyBytes(target, backup, oldSize, buffer_, sizeof buffer_) && ::fsync(backup) == 0;
  if (ok && written_ > oldSize && ::posix_fallocate(target, 0, static_cast<off_t>(written_)) != 0) {
    (void)::ftruncate(target, static_cast<off_t>(oldSize));  // undo a partial extension
    ok = 0;
  }
  if (ok) {
    if (copyBytes(fd_, target, written_, buffer_, sizeof buffer_) &&
        ::ftruncate(target, static_cast<off_t>(written_)) == 0 && ::fsync(target) == 0)
      ok = 2;
    else if (copyBytes(backup, target, oldSize, buffer_, sizeof buffer_) &&  // put the old bytes back
             ::ftruncate(target, static_cast<off_t>(oldSize)) == 0)
      ::fsync(target);
  }
  if (backup >= 0) {
    ::unlink(backupPath);
    ::close(backup);
  }
  ::close(target);
  return ok == 2 ? 1 : 0;
}

void SafeFileWriter::abandon() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (tempPath_[0]) {
    ::unlink(tempPath_);
    tempPath_[0] = 0;
  }
}
