// Files by UTF-8 path (the system's own; a path that is not valid UTF-8 names
// nothing): whole-file reads, existence tests, and safe
// replacement of a file (temporary file beside the target, every write checked,
// fsync, rename). A failed replacement leaves the old file as it was and no
// temporary file behind.
//
// Every path a user can name is opened without blocking and only a regular
// file is accepted: a FIFO, a socket, a device or a directory is "a file that
// cannot be opened", so no path can hang the program or feed it endless bytes.
#pragma once

#include <cstddef>
#include <cstdint>

// Opens a regular file for reading without blocking. Returns the descriptor and
// sets *size (when given) to the file's size at the time of opening, or -1 when
// the path names nothing, names something other than a regular file, or
// cannot be opened.
int openUserFile(const char* path, uint64_t* size);

// Reads at most `capacity` bytes of the file in one go (a file that grows
// meanwhile is read up to `capacity`, no further). Returns 1 and sets *got (and
// *sizeAtOpen, when given), or 0 when the file cannot be opened or read.
int readFileBytes(const char* path, uint8_t* buffer, size_t capacity, size_t* got,
                  uint64_t* sizeAtOpen = nullptr);

// 1 when a regular file exists at the path (what the program calls "a file
// exists"); a directory, FIFO, socket or device is no such file.
int pathExists(const char* path);

// The part of a path after its last '/' (the whole path when it has none).
const char* pathFileName(const char* path);

// Removes the program's own temporary files beside `path` that a writer
// left behind when it was killed: only files named as this program names them,
// owned by this user, older than this process and not held by a running
// writer. Returns how many were removed.
int removeStaleTempFiles(const char* path);

// A lock file of this process: made when missing, held (flock) until
// released or the process ends, whatever ends it. -1 when another process
// holds it or it cannot be made.
int holdLockFile(const char* path);
void releaseLockFile(int fd);
// The folder and any missing parents (mode 0700 for the new ones); 1 when it
// is a folder afterwards.
int makeFolders(const char* path);
int removeFile(const char* path);  // 1 when removed
// Calls `each` for every regular file in the folder with its name and its
// modification time (seconds since the epoch). 0 when the folder cannot be read.
int listFolderFiles(const char* folder, void (*each)(void* ctx, const char* name, int64_t mtime), void* ctx);

// Writes a new file that replaces `target` only when commit() succeeds.
// Output is gathered in a fixed buffer and written in large pieces.
//
// What a plain write would keep is kept: a symbolic link stays and its target
// is written; a file with several hard links is written in place, so every
// name sees the new content; an existing file keeps its mode and, where the
// process may set it, its owner. An existing file that this user may not write
// is refused. A writable file in a folder where no new file can be made is
// written directly (the only case in which a failure can leave it damaged).
class SafeFileWriter {
 public:
  SafeFileWriter() = default;
  ~SafeFileWriter();  // an uncommitted writer removes its temporary file
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  int open(const char* target);  // 1 on success
  void write(const void* data, size_t len);
  void writeText(const char* text);
  // Everything written reaches the disk (flush, fsync) without being put in
  // place yet, so that two files can be written first and then both put in
  // place, or neither. 1 on success; commit() afterwards.
  int prepare();
  int commit();  // flush, fsync, close, put in place: 1 on success, 0 on any failure
  void discard() { abandon(); }  // the target stays as it was, no temporary file behind
  bool failed() const { return failed_; }

 private:
  enum Mode { REPLACE, IN_PLACE, DIRECT };
  void flushBuffer();
  void abandon();
  int commitInPlace();

  int fd_ = -1;
  Mode mode_ = REPLACE;
  bool failed_ = false;
  bool prepared_ = false;
  size_t used_ = 0;
  uint64_t written_ = 0;
  char tempPath_[4096] = {};
  char targetPath_[4096] = {};
  char buffer_[65536];
};
