// Files by Shift_JIS path: whole-file reads, existence tests, and safe
// replacement of a file (temporary file beside the target, every write checked,
// fsync, rename). A failed replacement leaves the old file as it was and no
// temporary file behind.
#pragma once

#include <cstddef>
#include <cstdint>

// Reads at most `capacity` bytes of the file in one go. Returns 1 and sets
// *got, or 0 when the file cannot be opened or read.
int readFileBytes(const char* sjisPath, uint8_t* buffer, size_t capacity, size_t* got);

// 1 when something exists at the path (what the program calls "a file exists").
int pathExists(const char* sjisPath);

// Writes a new file that replaces `target` only when commit() succeeds.
// Output is gathered in a fixed buffer and written in large pieces.
class SafeFileWriter {
 public:
  SafeFileWriter() = default;
  ~SafeFileWriter();  // an uncommitted writer removes its temporary file
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  int open(const char* sjisTarget);  // 1 on success
  void write(const void* data, size_t len);
  void writeText(const char* text);
  int commit();  // flush, fsync, close, rename: 1 on success, 0 on any failure
  bool failed() const { return failed_; }

 private:
  void flushBuffer();
  void abandon();

  int fd_ = -1;
  bool failed_ = false;
  size_t used_ = 0;
  char tempPath_[4096] = {};
  char targetPath_[4096] = {};
  char buffer_[65536];
};

// Test seam: make the n-th following low-level write (1-based) fail as a full
// disk would; 0 switches the seam off.
void filesFailNthWrite(int n);
