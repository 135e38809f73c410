#include "platform/files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/sjis.h"

namespace {

int failWriteCountdown = 0;

// Shift_JIS path to the OS's UTF-8; 0 when it cannot be converted.
int osPath(const char* sjisPath, char* out, size_t outSize) {
  return sjisToUtf8(sjisPath, out, outSize) >= 0 ? 1 : 0;
}

ssize_t checkedWrite(int fd, const void* data, size_t len) {
  if (failWriteCountdown > 0 && --failWriteCountdown == 0) {
    errno = ENOSPC;
    return -1;
  }
  return ::write(fd, data, len);
}

}  // namespace

void filesFailNthWrite(int n) { failWriteCountdown = n; }

int readFileBytes(const char* sjisPath, uint8_t* buffer, size_t capacity, size_t* got) {
  char path[4096];
  if (!osPath(sjisPath, path, sizeof path) || path[0] == 0) return 0;
  int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  struct stat st;
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return 0;
  }
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

int pathExists(const char* sjisPath) {
  char path[4096];
  if (!osPath(sjisPath, path, sizeof path) || path[0] == 0) return 0;
  struct stat st;
  return ::stat(path, &st) == 0 ? 1 : 0;
}

SafeFileWriter::~SafeFileWriter() { abandon(); }

int SafeFileWriter::open(const char* sjisTarget) {
  abandon();
  failed_ = false;
  used_ = 0;
  if (!osPath(sjisTarget, targetPath_, sizeof targetPath_) || targetPath_[0] == 0) {
    failed_ = true;
    return 0;
  }
  struct stat st;
  if (::stat(targetPath_, &st) == 0 && S_ISDIR(st.st_mode)) {
    failed_ = true;
    return 0;
  }
  int n = std::snprintf(tempPath_, sizeof tempPath_, "%s.tmp-XXXXXX", targetPath_);
  if (n < 0 || static_cast<size_t>(n) >= sizeof tempPath_) {
    failed_ = true;
    return 0;
  }
  fd_ = ::mkstemp(tempPath_);
  if (fd_ < 0) {
    tempPath_[0] = 0;
    failed_ = true;
    return 0;
  }
  // mkstemp creates 0600; a map or settings file is an ordinary document.
  mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd_, 0666 & ~mask);
  return 1;
}

void SafeFileWriter::flushBuffer() {
  size_t off = 0;
  while (!failed_ && off < used_) {
    ssize_t n = checkedWrite(fd_, buffer_ + off, used_ - off);
    if (n < 0) {
      if (errno == EINTR) continue;
      failed_ = true;
    } else if (n == 0) {
      failed_ = true;
    } else {
      off += static_cast<size_t>(n);
    }
  }
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

int SafeFileWriter::commit() {
  if (fd_ < 0) return 0;
  flushBuffer();
  if (!failed_ && ::fsync(fd_) != 0) failed_ = true;
  if (::close(fd_) != 0) failed_ = true;
  fd_ = -1;
  if (!failed_ && ::rename(tempPath_, targetPath_) != 0) failed_ = true;
  if (failed_) {
    ::unlink(tempPath_);
    tempPath_[0] = 0;
    return 0;
  }
  tempPath_[0] = 0;
  return 1;
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
