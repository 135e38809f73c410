// Heap allocations made by editor frames. Every form of operator new and the
// C allocator are replaced in this program and counted on the main thread;
// the real editor runs with its window (offscreen, or on X11 when
// QT_QPA_PLATFORM=xcb), and after a warm-up each mode's frames must allocate
// nothing at all. On X11 the one exception is what libxcb takes for the
// frame's queries of the pointer (a reply buffer), counted apart.
//   BRINDLE_ALLOC_TRACE=1 build/tests/alloc/frame_allocations
// prints a stack for every allocation that is counted.
#include <execinfo.h>
#include <link.h>
#include <unistd.h>

#include <QApplication>
#include <QCursor>
#include <QWidget>
#include <QPoint>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "app/app.h"
#include "editor/editor.h"
#include "gfx/gfx.h"
#include "input/input.h"
#include "map/history.h"
#include "map/map.h"
#include "map/recovery.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/sjis.h"
#include "platform/testing.h"
#include "settings/settings.h"

// ---------------------------------------------------------------------------
// Counting hooks.
namespace {

thread_local bool countHere = false;  // set on the main thread around a frame
thread_local bool inHook = false;     // a stack print allocates itself
long newCount = 0, mallocCount = 0, xcbCount = 0;
bool traceAllocations = false;
bool afterWarmUp = false;  // only what a steady frame allocates is traced

void noteAllocation(long* counter) {
  if (!countHere || inHook) return;
  ++*counter;
  if (!traceAllocations || !afterWarmUp) return;
  inHook = true;
  void* frames[32];
  int n = backtrace(frames, 32);
  const char line[] = "---- allocation\n";
  (void)!write(2, line, sizeof line - 1);
  backtrace_symbols_fd(frames, n, 2);
  inHook = false;
}

// The code of libxcb: a C allocation called from there is its own, such as
// the buffer of a reply, which no caller can avoid when it asks the server.
uintptr_t xcbBegin = 0, xcbEnd = 0;

int findXcb(dl_phdr_info* info, size_t, void*) {
  if (!info->dlpi_name || !std::strstr(info->dlpi_name, "/libxcb.so")) return 0;
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& ph = info->dlpi_phdr[i];
    if (ph.p_type != PT_LOAD || !(ph.p_flags & PF_X)) continue;
    xcbBegin = info->dlpi_addr + ph.p_vaddr;
    xcbEnd = xcbBegin + ph.p_memsz;
  }
  return 1;
}

void noteMalloc(void* from) {
  uintptr_t a = reinterpret_cast<uintptr_t>(from);
  noteAllocation(a >= xcbBegin && a < xcbEnd ? &xcbCount : &mallocCount);
}

void* countedNew(size_t n) {
  noteAllocation(&newCount);
  void* p = std::malloc(n ? n : 1);
  if (!p) throw std::bad_alloc();
  return p;
}

void* countedAlignedNew(size_t n, std::align_val_t a) {
  noteAllocation(&newCount);
  void* p =
      std::aligned_alloc(static_cast<size_t>(a), (n + static_cast<size_t>(a) - 1) & ~(static_cast<size_t>(a) - 1));
  if (!p) throw std::bad_alloc();
  return p;
}

}  // namespace

void* operator new(size_t n) { return countedNew(n); }
void* operator new[](size_t n) { return countedNew(n); }
void* operator new(size_t n, const std::nothrow_t&) noexcept {
  noteAllocation(&newCount);
  return std::malloc(n ? n : 1);
}
void* operator new[](size_t n, const std::nothrow_t&) noexcept {
  noteAllocation(&newCount);
  return std::malloc(n ? n : 1);
}
void* operator new(size_t n, std::align_val_t a) { return countedAlignedNew(n, a); }
void* operator new[](size_t n, std::align_val_t a) { return countedAlignedNew(n, a); }
void* operator new(size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
  try {
    return countedAlignedNew(n, a);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
  try {
    return countedAlignedNew(n, a);
  } catch (...) {
    return nullptr;
  }
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }

// The C allocator, for what Qt, iconv and the C library take directly. glibc
// lets a program put its own malloc in front of its allocator; these forward
// to it unchanged.
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);

void* malloc(size_t n) {
  noteMalloc(__builtin_return_address(0));
  return __libc_malloc(n);
}
void* calloc(size_t n, size_t size) {
  noteMalloc(__builtin_return_address(0));
  return __libc_calloc(n, size);
}
void* realloc(void* p, size_t n) {
  noteMalloc(__builtin_return_address(0));
  return __libc_realloc(p, n);
}
void* memalign(size_t align, size_t n) {
  noteMalloc(__builtin_return_address(0));
  return __libc_memalign(align, n);
}
void* aligned_alloc(size_t align, size_t n) {
  noteMalloc(__builtin_return_address(0));
  return __libc_memalign(align, n);
}
int posix_memalign(void** out, size_t align, size_t n) {
  noteMalloc(__builtin_return_address(0));
  void* p = __libc_memalign(align, n);
  if (!p) return ENOMEM;
  *out = p;
  return 0;
}
}

// ---------------------------------------------------------------------------
namespace {

// The loop's part between two frames: every waiting message, as the message
// loop takes them. Not counted: Qt's own event handling and painting of the
// window happen here.
void pumpMessages() {
  while (platformPeekMessage()) {
    PlatMessage m{};
    platformGetMessage(&m);
    if (!translateAccelerator(m)) platformDispatchMessage(m);
  }
}

struct Mode {
  const char* name;
  int32_t overlay, tool, preview;
  int heldKey;     // a scan code held after the warm-up (0: none)
  int heldButtons; // mouse buttons held from the first frame on
  int32_t random = 0;  // the random-chip switch, which marks every cell it rolls
  int32_t zoom = 0;    // the map window's zoom: below 1:1 it is drawn from the map's pictures
  int32_t fitted = 0;  // the preview fits the whole map to the screen
};

// The global position of a pixel of the 800 x 600 picture, which the window
// shows scaled to fit and centred.
QPoint onScreen(int x, int y) {
  QWidget* w = QApplication::topLevelWidgets().value(0);
  if (!w) return QPoint(x, y);
  const double cw = screenMetrics.canvasW, ch = screenMetrics.canvasH;
  double s = std::min(w->width() / cw, w->height() / ch);
  QPointF origin((w->width() - cw * s) / 2, (w->height() - ch * s) / 2);
  return w->mapToGlobal((origin + QPointF(x + 0.5, y + 0.5) * s).toPoint());
}

// Pointer positions over the map's content, a few cells apart, visited in turn
// so that the hover and its status text change every frame.
QPoint hoverPoint(int frame) {
  int i = frame % 12;
  return onScreen(session.mapView.x + 20 + (i % 4) * 70, session.mapView.y + 30 + (i / 4) * 90);
}

// The preview pans by the motion of the held pointer: 8 pixels a frame to the
// right, then back.
QPoint swayPoint(int frame) { return QCursor::pos() + QPoint(frame % 12 < 6 ? 8 : -8, 0); }

struct Counts {
  long news, mallocs, xcb;
  int moves;  // frames whose hover cell or preview scroll differed from the last
};

Counts runFrames(int frames, int firstFrame, QPoint (*where)(int)) {
  Counts c{newCount, mallocCount, xcbCount, 0};
  for (int f = firstFrame; f < firstFrame + frames; ++f) {
    int32_t seen[4] = {session.hoverCellX, session.hoverCellY, preview.scrollX, preview.scrollY};
    QCursor::setPos(where(f));
    pumpMessages();
    countHere = true;
    updateEditorFrame(appState.appActive);
    // The recovery copy's part of the frame, as if its two seconds were up
    // every frame: a painting frame hands a copy of the planes to the writer.
    static uint32_t copyClock = 0;
    recoveryTick(copyClock += RECOVERY_DELAY_MS);
    countHere = false;
    int32_t now[4] = {session.hoverCellX, session.hoverCellY, preview.scrollX, preview.scrollY};
    c.moves += std::equal(seen, seen + 4, now) ? 0 : 1;
  }
  c.news = newCount - c.news;
  c.mallocs = mallocCount - c.mallocs;
  c.xcb = xcbCount - c.xcb;
  return c;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  traceAllocations = std::getenv("BRINDLE_ALLOC_TRACE") != nullptr;
  dl_iterate_phdr(findXcb, nullptr);
  if (traceAllocations) {
    void* f[4];
    backtrace(f, 4);  // loads the unwinder now, not inside a counted frame
  }
  if (!platformInit(argc, argv)) {
    std::fprintf(stderr, "no Qt application\n");
    return 2;
  }
  resetMapModel();
  resetSettings();
  std::string chips = std::string(BRINDLE_SOURCE_DIR) + "/samples/chips.bmp";
  utf8ToSjis(chips.c_str(), doc.chipSheetPath, PATH_STORE);
  inputState.keyboardEnabled = inputState.mouseEnabled = 1;
  // BRINDLE_ALLOC_CANVAS=1: the same frames on the canvas of a 1920 x 1080
  // display.
  if (const char* canvas = std::getenv("BRINDLE_ALLOC_CANVAS"); canvas && canvas[0] == '1') {
    screenMetrics = measureScreen(1920, 1080, 1);
    platformSetPictureSize(screenMetrics.canvasW, screenMetrics.canvasH);
    setMapCells(80, 60);  // larger than the canvas, so that the preview pans

  }
  if (!platformCreateMainWindow("Brindlecot", mainWindowProc)) return 2;
  platformShowMainWindow();
  if (!startInput()) return 2;
  initSprites();
  if (!startGraphics()) return 2;
  loadViewsFromSettings();
  appState.appActive = 1;
  acquireInput(1);
  char stateFolder[] = "/tmp/brindle-alloc-XXXXXX";
  if (!mkdtemp(stateFolder) || !recoveryStart(stateFolder)) return 2;
  // A brush chip that differs from the empty map's, so that a stroke shows in
  // the planes; some attributes, so that attribute mode draws digits of
  // several widths.
  session.brushX[0] = 64;
  session.brushY[0] = 32;
  for (int c = 0; c < doc.mapCellsX; ++c)
    for (int r = 0; r < doc.mapCellsY; ++r) doc.planeA[cellIndex(c, r)] = (c * 37 + r * 11) % 1000 - 100;

  const Mode modes[] = {
      {"editing", 0, 0, 0, 0, 0},
      // The A key shows as "1e" in the keyboard line: letters no text of the
      // warm-up had, drawn first in a steady frame.
      {"overlay", 1, 0, 0, 0x1E, 0},
      {"painting", 0, 1, 0, 0, 1},  // a FREE stroke across the map
      {"random painting", 0, 1, 0, 0, 1, 1},
      // Z undoes that stroke (a whole step taken back) inside a counted frame.
      {"undo", 0, 0, 0, 0x2C, 0},
      {"attribute", 0, 2, 0, 0, 0},
      {"preview", 0, 0, 1, 0, 0},
      // At 1/4x a stroke changes cells that the map's picture draws again.
      {"1/4 painting", 0, 1, 0, 0, 1, 0, -2},
      {"1/4 attribute", 0, 2, 0, 0, 0, 0, -2},
      {"fitted preview", 0, 0, 1, 0, 0, 0, 0, 1},
  };
  constexpr int WARM_UP = 40, COUNTED = 100;
  int failed = 0;
  for (const Mode& mode : modes) {
    settings.showDebugInfo = mode.overlay;
    session.toolMode = static_cast<ToolMode>(mode.tool);
    session.randomMode = mode.random != 0;
    session.editorMode = static_cast<EditorMode>(mode.preview);
    session.mapZoom = mode.zoom;
    preview.fitted = mode.fitted != 0;
    QPoint (*where)(int) = mode.preview ? swayPoint : hoverPoint;
    afterWarmUp = false;
    platformTestMouse(0, 0, mode.heldButtons);
    runFrames(WARM_UP, 0, where);
    afterWarmUp = true;
    if (mode.heldKey) platformTestSetKey(mode.heldKey, 1);
    Counts c = runFrames(COUNTED, WARM_UP, where);
    if (mode.heldKey) platformTestSetKey(mode.heldKey, 0);
    platformTestMouse(0, 0, 0);
    pumpMessages();
    updateEditorFrame(appState.appActive);  // the release ends a stroke
    // Still in its mode, drawing, and following the pointer: the frames were
    // the editor's own.
    // The fitted preview does not pan: nothing in it follows the pointer.
    bool ran = session.editorMode == mode.preview && session.toolMode == mode.tool && frameTiming.drawCount > 0 &&
               (mode.fitted != 0 || c.moves > COUNTED / 2);
    if (mode.heldButtons)
      ran = ran && doc.planeX[cellIndex(session.hoverCellX / doc.chipWidth, session.hoverCellY / doc.chipHeight)] == 64;
    // A step was taken back inside the counted frames (under load the stroke
    // before may have ended as more than one step).
    if (mode.heldKey == 0x2C) ran = ran && history.count >= 1 && history.position < history.count;
    bool ok = ran && c.news == 0 && c.mallocs == 0;
    std::printf("%-10s %d frames: %ld operator new, %ld malloc", mode.name, COUNTED, c.news, c.mallocs);
    if (c.xcb) std::printf(" (and %ld inside libxcb, for the pointer queries)", c.xcb);
    std::printf("%s%s\n", ran ? "" : " (not the mode's frames)", ok ? "" : "  FAIL");
    failed += ok ? 0 : 1;
  }
  recoveryWaitIdle();
  const bool copied = pathExists(recoveryCopyPath());
  recoveryStop();
  rmdir(stateFolder);
  if (!copied) {
    std::printf("no recovery copy was written while painting  FAIL\n");
    ++failed;
  }
  return failed == 0 ? 0 : 1;
}
