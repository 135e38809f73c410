// [SECTION] Recovery copies: the private copy a frame hands over, the writer
// thread that puts it on disk, and the copies found at start-up.
#include "map/recovery.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <random>
#include <thread>

#include "map/mapfile.h"
#include "platform/files.h"
#include "platform/sjis.h"

namespace {

constexpr const char* COPY_PREFIX = "edit-";
constexpr const char* KEY_MAP = "@RECOVERY_MAP ";
constexpr const char* KEY_SHEET = "@RECOVERY_SHEET ";
constexpr const char* KEY_UNSAVED = "@RECOVERY_UNSAVED ";

// The writer's own copy of the document. Filled by the frame while the writer
// is idle, read by the writer alone while it writes.
struct Snapshot {
  int32_t cellsX, cellsY, chipWidth, chipHeight;
  char chipSheetName[PATH_STORE];
  char head[3 * PATH_STORE + 64];  // the recovery key lines
  int32_t planeX[MAP_CELLS], planeY[MAP_CELLS], planeA[MAP_CELLS];
};
Snapshot snapshot;
char writerRow[MAP_ROW_LINE_MAX];
SafeFileWriter copyWriter;

struct Keeper {
  std::mutex mu;
  std::condition_variable wake, idle;
  std::thread writer;
  bool running = false;
  bool jobReady = false, busy = false, removeWanted = false, stopping = false;
  bool copyOnDisk = false;
  // Main thread only.
  bool due = false;
  uint32_t dueAt = 0;
  uint32_t copiedChange = 0;
  int lockFd = -1;
  char copyPath[PATH_STORE] = {};
  char lockPath[PATH_STORE] = {};
};
Keeper keeper;

// One key line "KEY value\r\n" into out; a line end inside the value would
// start a line of its own, so the value stops there.
size_t putKeyLine(char* out, size_t room, const char* key, const char* value) {
  const int n = std::snprintf(out, room, "%s%.*s\r\n", key, static_cast<int>(std::strcspn(value, "\r\n")), value);
  return n < 0 ? 0 : std::min(static_cast<size_t>(n), room - 1);
}

void fillSnapshot() {
  snapshot.cellsX = doc.mapCellsX;
  snapshot.cellsY = doc.mapCellsY;
  snapshot.chipWidth = doc.chipWidth;
  snapshot.chipHeight = doc.chipHeight;
  std::memcpy(snapshot.chipSheetName, doc.chipSheetName, PATH_STORE);
  std::memcpy(snapshot.planeX, doc.planeX, sizeof snapshot.planeX);
  std::memcpy(snapshot.planeY, doc.planeY, sizeof snapshot.planeY);
  std::memcpy(snapshot.planeA, doc.planeA, sizeof snapshot.planeA);
  size_t at = putKeyLine(snapshot.head, sizeof snapshot.head, KEY_MAP, doc.mapPath);
  at += putKeyLine(snapshot.head + at, sizeof snapshot.head - at, KEY_SHEET, doc.chipSheetPath);
  putKeyLine(snapshot.head + at, sizeof snapshot.head - at, KEY_UNSAVED, doc.unsaved ? "1" : "0");
}

bool writeSnapshot() {
  if (!copyWriter.open(keeper.copyPath)) return false;
  const MapText m{snapshot.cellsX, snapshot.cellsY, snapshot.chipWidth, snapshot.chipHeight, snapshot.chipSheetName,
                  {snapshot.planeX, snapshot.planeY, snapshot.planeA}, snapshot.head};
  writeMapText(copyWriter, m, writerRow);
  return copyWriter.commit() == 1;
}

void writerLoop() {
  std::unique_lock<std::mutex> lock(keeper.mu);
  for (;;) {
    keeper.wake.wait(lock, [] { return keeper.jobReady || keeper.removeWanted || keeper.stopping; });
    if (keeper.jobReady) {
      keeper.jobReady = false;
      keeper.busy = true;
      lock.unlock();
      const bool written = writeSnapshot();
      lock.lock();
      keeper.busy = false;
      if (written) keeper.copyOnDisk = true;
    } else if (keeper.removeWanted) {
      keeper.removeWanted = false;
      removeFile(keeper.copyPath);
      keeper.copyOnDisk = false;
    } else {
      break;
    }
    keeper.idle.notify_all();
  }
  keeper.idle.notify_all();
}

// The value of `key`'s line in the head of a copy, into a path store.
void readHeadValue(const char* text, size_t len, const char* key, char* out) {
  out[0] = 0;
  const size_t keyLen = std::strlen(key);
  for (size_t i = 0; i + keyLen <= len; ++i) {
    if ((i == 0 || text[i - 1] == '\n') && std::memcmp(text + i, key, keyLen) == 0) {
      const char* value = text + i + keyLen;
      size_t n = 0;
      while (i + keyLen + n < len && value[n] != '\r' && value[n] != '\n') ++n;
      n = sjisCutLength(value, n, PATH_STORE - 1);
      std::memcpy(out, value, n);
      out[n] = 0;
      return;
    }
  }
}

uint8_t headBuffer[8192];

void readCopyHead(const char* copyPath, char* mapPath, char* sheetPath) {
  size_t got = 0;
  if (!readFileBytes(copyPath, headBuffer, sizeof headBuffer, &got)) got = 0;
  const char* text = reinterpret_cast<const char*>(headBuffer);
  readHeadValue(text, got, KEY_MAP, mapPath);
  if (sheetPath) readHeadValue(text, got, KEY_SHEET, sheetPath);
}

struct Finding {
  const char* folder;
  RecoveryCopy* out;
  int max, count;
};

// A lock without its copy is what an editor ended by a signal left once its
// copy was restored or discarded elsewhere: removed when no one holds it and
// it is a minute old (an editor starting now makes its lock before it takes it).
void removeLoneLock(const Finding& f, const char* name, size_t len) {
  char lockPath[PATH_STORE], copyPath[PATH_STORE];
  if (std::snprintf(lockPath, PATH_STORE, "%s/%s", f.folder, name) >= PATH_STORE ||
      std::snprintf(copyPath, PATH_STORE, "%s/%.*s.bct", f.folder, static_cast<int>(len - 5), name) >= PATH_STORE ||
      pathExists(copyPath))
    return;
  const int fd = holdLockFile(lockPath);
  if (fd < 0) return;
  removeFile(lockPath);
  releaseLockFile(fd);
}

void consider(void* ctx, const char* name, int64_t mtime) {
  Finding& f = *static_cast<Finding*>(ctx);
  const size_t len = std::strlen(name), prefix = std::strlen(COPY_PREFIX);
  if (len > prefix + 5 && std::strncmp(name, COPY_PREFIX, prefix) == 0 && std::strcmp(name + len - 5, ".lock") == 0) {
    if (mtime < static_cast<int64_t>(std::time(nullptr)) - 60) removeLoneLock(f, name, len);
    return;
  }
  if (f.count >= f.max || len < prefix + 5 || std::strncmp(name, COPY_PREFIX, prefix) != 0 ||
      std::strcmp(name + len - 4, ".bct") != 0)
    return;
  RecoveryCopy& c = f.out[f.count];
  char stem[PATH_STORE];
  std::snprintf(stem, sizeof stem, "%.*s", static_cast<int>(len - 4), name);
  if (std::snprintf(c.copyPath, PATH_STORE, "%s/%s.bct", f.folder, stem) >= PATH_STORE ||
      std::snprintf(c.lockPath, PATH_STORE, "%s/%s.lock", f.folder, stem) >= PATH_STORE)
    return;
  // A lock that can be taken belongs to no running editor; taking it keeps
  // every other editor away from this copy.
  c.lockFd = holdLockFile(c.lockPath);
  if (c.lockFd < 0) return;
  c.mtime = mtime;
  readCopyHead(c.copyPath, c.mapPath, nullptr);
  ++f.count;
}

}  // namespace

int recoveryFolder(char* out, size_t outSize) {
  out[0] = 0;
  const char* state = std::getenv("XDG_STATE_HOME");
  const char* home = std::getenv("HOME");
  char utf8[PATH_STORE];
  int n;
  if (state && state[0] == '/')
    n = std::snprintf(utf8, sizeof utf8, "%s/brindlecot", state);
  else if (home && home[0] == '/')
    n = std::snprintf(utf8, sizeof utf8, "%s/.local/state/brindlecot", home);
  else
    return 0;
  if (n < 0 || n >= static_cast<int>(sizeof utf8)) return 0;
  return osPathOf(utf8, out, outSize) > 0 ? 1 : 0;
}

int recoveryStart(const char* folder) {
  if (keeper.running || !makeFolders(folder)) return 0;
  // A name no earlier editor used: the clock and a random number.
  std::random_device random;
  const auto now = std::chrono::system_clock::now().time_since_epoch().count();
  for (int attempt = 0; attempt < 8 && keeper.lockFd < 0; ++attempt) {
    const unsigned long long id = static_cast<unsigned long long>(now) ^ (static_cast<unsigned long long>(random()) << 20);
    char stem[64];
    std::snprintf(stem, sizeof stem, "%s%016llx", COPY_PREFIX, id);
    if (std::snprintf(keeper.copyPath, PATH_STORE, "%s/%s.bct", folder, stem) >= PATH_STORE ||
        std::snprintf(keeper.lockPath, PATH_STORE, "%s/%s.lock", folder, stem) >= PATH_STORE)
      return 0;
    if (pathExists(keeper.copyPath)) continue;
    keeper.lockFd = holdLockFile(keeper.lockPath);
  }
  if (keeper.lockFd < 0) return 0;
  keeper.jobReady = keeper.busy = keeper.removeWanted = keeper.stopping = keeper.copyOnDisk = false;
  keeper.due = false;
  keeper.copiedChange = doc.changeCount;
  keeper.writer = std::thread(writerLoop);
  keeper.running = true;
  return 1;
}

void recoveryTakeSnapshot() { fillSnapshot(); }

void recoveryTick(uint32_t nowMs) {
  if (!keeper.running) return;
  if (!doc.unsaved) {
    // Saved (or nothing was ever changed): no copy is wanted any more.
    keeper.due = false;
    keeper.copiedChange = doc.changeCount;
    std::lock_guard<std::mutex> lock(keeper.mu);
    keeper.jobReady = false;
    if (keeper.copyOnDisk && !keeper.removeWanted) {
      keeper.removeWanted = true;
      keeper.wake.notify_one();
    }
    return;
  }
  if (doc.changeCount != keeper.copiedChange && !keeper.due) {
    // The first change not yet in a copy sets the time: later changes do not
    // push it on, so a long stroke is copied every two seconds too.
    keeper.due = true;
    keeper.dueAt = nowMs + RECOVERY_DELAY_MS;
  }
  if (!keeper.due || static_cast<int32_t>(nowMs - keeper.dueAt) < 0) return;
  std::lock_guard<std::mutex> lock(keeper.mu);
  if (keeper.busy || keeper.jobReady) return;  // the writer is still at the last one: next frame
  fillSnapshot();
  keeper.removeWanted = false;
  keeper.jobReady = true;
  keeper.due = false;
  keeper.copiedChange = doc.changeCount;
  keeper.wake.notify_one();
}

uint32_t recoveryDeadline() {
  if (!keeper.running || !keeper.due) return 0;
  return keeper.dueAt != 0 ? keeper.dueAt : 1;
}

void recoveryWriteNow() {
  if (!keeper.running || !doc.unsaved) return;
  std::unique_lock<std::mutex> lock(keeper.mu);
  keeper.idle.wait(lock, [] { return !keeper.busy; });
  keeper.busy = true;
  keeper.jobReady = false;
  keeper.removeWanted = false;
  lock.unlock();
  fillSnapshot();
  const bool written = writeSnapshot();
  lock.lock();
  keeper.busy = false;
  if (written) keeper.copyOnDisk = true;
  keeper.due = false;
  keeper.copiedChange = doc.changeCount;
  keeper.idle.notify_all();
}

void recoveryWaitIdle() {
  if (!keeper.running) return;
  std::unique_lock<std::mutex> lock(keeper.mu);
  keeper.idle.wait(lock, [] { return !keeper.busy && !keeper.jobReady && !keeper.removeWanted; });
}

const char* recoveryCopyPath() { return keeper.copyPath; }

namespace {
void endWriter() {
  {
    std::lock_guard<std::mutex> lock(keeper.mu);
    keeper.stopping = true;
    keeper.jobReady = false;
    keeper.wake.notify_one();
  }
  keeper.writer.join();
}
}  // namespace

void recoveryLastMoment() {
  if (!keeper.running) return;
  recoveryWriteNow();
  endWriter();
  keeper.running = false;  // the lock goes with the process
}

void recoveryStop() {
  if (!keeper.running) return;
  endWriter();
  removeFile(keeper.copyPath);
  removeFile(keeper.lockPath);
  releaseLockFile(keeper.lockFd);
  keeper.lockFd = -1;
  keeper.running = false;
  keeper.copyOnDisk = false;
}

int findRecoveryCopies(const char* folder, RecoveryCopy* out, int max) {
  Finding f{folder, out, max, 0};
  listFolderFiles(folder, consider, &f);
  std::sort(out, out + f.count, [](const RecoveryCopy& a, const RecoveryCopy& b) { return a.mtime > b.mtime; });
  return f.count;
}

int restoreRecoveryCopy(RecoveryCopy& copy) {
  char mapPath[PATH_STORE], sheetPath[PATH_STORE];
  readCopyHead(copy.copyPath, mapPath, sheetPath);
  if (!isMapFile(copy.copyPath) || !loadMapFile(copy.copyPath)) return 0;
  // loadMapFile took the copy for the map's file: the map's own path, the
  // sheet it used and the unsaved state come from the copy's own lines.
  sjisCopy(doc.mapPath, PATH_STORE, mapPath);
  sjisCopy(doc.lastMapPath, PATH_STORE, mapPath);
  if (sheetPath[0]) sjisCopy(doc.chipSheetPath, PATH_STORE, sheetPath);
  documentChangedOutsideHistory();  // not on disk, even when stepped back to
  recoveryWriteNow();  // this editor's copy holds the work before the old one goes
  discardRecoveryCopy(copy);
  return 1;
}

void discardRecoveryCopy(RecoveryCopy& copy) {
  removeFile(copy.copyPath);
  removeFile(copy.lockPath);
  releaseRecoveryCopy(copy);
}

void releaseRecoveryCopy(RecoveryCopy& copy) {
  releaseLockFile(copy.lockFd);
  copy.lockFd = -1;
}
