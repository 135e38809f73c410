// Recovery copies: while the map has unsaved changes, a copy of the document
// is kept in the user's state folder, so that a crash, a kill or a power cut
// costs at most RECOVERY_DELAY_MS of work. The copy is a map file with three
// key lines of its own (the map's path, the chip sheet's path, the unsaved
// state); it is written on a thread of its own from a private copy of the
// planes, through the safe writer. Each running editor holds the lock of its
// own copy, so a copy whose lock is free was left by an editor that is gone.
#pragma once

#include <cstddef>
#include <cstdint>

#include "map/map.h"

constexpr uint32_t RECOVERY_DELAY_MS = 2000;

// The user's state folder for the copies: $XDG_STATE_HOME/brindlecot, else
// $HOME/.local/state/brindlecot (Shift_JIS). 0 when neither is set or the path
// cannot be held.
int recoveryFolder(char* out, size_t outSize);
// Starts keeping copies in `folder`: makes it, takes this editor's lock and
// starts the writer. 0 when the folder cannot be used (no copies are kept).
int recoveryStart(const char* folder);
// Once a frame: a copy is handed to the writer when it is due. The frame's
// part is one copy of the planes; nothing is allocated or opened.
void recoveryTick(uint32_t nowMs);
// The platformMillis() time at which the next copy is due, 0 for none: a
// waiting loop wakes then.
uint32_t recoveryDeadline();
// The document as it is now, written at once on this thread (the last moment
// before the program ends, a restored copy). Does nothing when not started
// or nothing is unsaved.
void recoveryWriteNow();
// A normal quit: the copy is removed, the lock released, the writer ended.
void recoveryStop();
// The program ends without quitting: the document is written at once and
// the copy stays for the next start; the writer is ended.
void recoveryLastMoment();

// Copies left by editors that are gone, for the start-up.
constexpr int RECOVERY_OFFER_MAX = 16;
struct RecoveryCopy {
  char copyPath[PATH_STORE];
  char lockPath[PATH_STORE];
  char mapPath[PATH_STORE];  // the map's own file; "" for a new map
  int64_t mtime;             // seconds since the epoch
  int lockFd;
};
// Newest first, each with its lock now held by this editor, so that no other
// editor starting at the same time offers it as well. Returns how many.
int findRecoveryCopies(const char* folder, RecoveryCopy* out, int max);
// Into the document: the map as it was, its path and chip sheet, marked
// unsaved; this editor's own copy takes it over at once. 1 on success.
int restoreRecoveryCopy(RecoveryCopy& copy);
void discardRecoveryCopy(RecoveryCopy& copy);  // removed with its lock
void releaseRecoveryCopy(RecoveryCopy& copy);  // left for a later start

// Test seams: the copy the frame hands over (benchmarks time it), and waiting
// until the writer has nothing left to do.
void recoveryTakeSnapshot();
void recoveryWaitIdle();
const char* recoveryCopyPath();
