// The whole-map preview: centring, panning, visible cells and leaving it.
#include "editor_test_support.h"

#include "platform/platform.h"
#include "platform/surface.h"

namespace {
int presents;
int clears;
constexpr uint16_t MARK = 0x1234;  // no colour of the frame: a clear turns it to 0
}  // namespace

class PreviewTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    static char arg0[] = "brindle_tests";
    static char* argv[] = {arg0, nullptr};
    platformInit(1, argv);
    ASSERT_EQ(startDisplay(screenMetrics.canvasW, screenMetrics.canvasH, 16), 1);
    presents = clears = 0;
    session.editorMode = EDITOR_PREVIEW;
  }
  void TearDown() override {
    stopGraphics();
    EditorTest::TearDown();
  }
  // One preview frame as the frame driver runs it: composed, then presented.
  // The back buffer is marked first; a frame that clears it queues the clear
  // for the present. The present empties the queues; their counts from before
  // it are put back for the checks (the entries themselves stay where they
  // were queued).
  void previewFrame(int32_t held = 0, int32_t dx = 0, int32_t dy = 0) {
    input(400, 300, held, dx, dy);
    resetGraphicsQueues();
    clearBackBuffer(MARK);
    composeEditorFrame();
    if (frameQueues.clearQueued) ++clears;
    int32_t blits[LAYER_COUNT], shapes[LAYER_COUNT], texts[LAYER_COUNT];
    for (int l = 0; l < LAYER_COUNT; ++l) {
      blits[l] = frameQueues.blitCount[l];
      shapes[l] = frameQueues.shapeCount[l];
      texts[l] = frameQueues.textCount[l];
    }
    const uint32_t framesBefore = frameTiming.timeNext;
    presentFrame();
    presents += static_cast<int>(frameTiming.timeNext - framesBefore);
    for (int l = 0; l < LAYER_COUNT; ++l) {
      frameQueues.blitCount[l] = blits[l];
      frameQueues.shapeCount[l] = shapes[l];
      frameQueues.textCount[l] = texts[l];
    }
  }
  static int cellCount() { return countBlitsFrom(1, SLOT_CHIPSHEET); }
};

TEST_F(PreviewTest, SmallMapIsCentredAndDoesNotMove) {
  setChipWidth(16);
  setChipHeight(16);
  doc.planeX[cellIndex(39, 29)] = 320;
  doc.planeY[cellIndex(39, 29)] = 48;
  previewFrame(0, 300, -200);
  EXPECT_EQ(preview.offsetX, 80);
  EXPECT_EQ(preview.offsetY, 60);
  EXPECT_EQ(preview.scrollX, 0);
  EXPECT_EQ(preview.scrollY, 0);
  EXPECT_EQ(cellCount(), 1200);
  EXPECT_EQ(frameQueues.blit[1][0].x, 80);
  EXPECT_EQ(frameQueues.blit[1][0].y, 60);
  EXPECT_EQ(frameQueues.blit[1][1].y, 76);  // rows inner
  const BlitCommand* last = findBlit(1, SLOT_CHIPSHEET, 320, 48);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->x, 80 + 39 * 16);
  EXPECT_EQ(last->y, 60 + 29 * 16);
  EXPECT_EQ(last->srcRight, 336);
  EXPECT_EQ(last->flags, BLTFAST_WAIT);  // opaque
  // Background: the wallpaper is on but its slot is empty, so the screen is
  // cleared instead of copying nothing.
  EXPECT_EQ(frameQueues.blitCount[0], 0);
  ASSERT_EQ(frameQueues.textCount[4], 1);
  EXPECT_EQ(frameQueues.text[4][0].x, 592);
  EXPECT_EQ(frameQueues.text[4][0].y, 584);
  EXPECT_EQ(frameQueues.text[4][0].color, 0xFFFFFFu);
  EXPECT_EQ(presents, 1);
  EXPECT_EQ(clears, 1);
  EXPECT_EQ(session.editorMode, 1);
}

TEST_F(PreviewTest, LargeMapPansWithinItsLimits) {
  // Exactly 800 pixels wide: not scrollable.
  setMapCells(25, 15);
  setChipWidth(32);
  setChipHeight(40);
  previewFrame(0, 100, 100);
  EXPECT_EQ(preview.scrollX, 0);
  EXPECT_EQ(preview.offsetX, 0);
  EXPECT_EQ(preview.scrollY, 0);
  EXPECT_EQ(preview.offsetY, 0);

  // 1000 pixels wide: 0 .. 200.
  setChipWidth(40);
  previewFrame(0, 150, 0);
  EXPECT_EQ(preview.scrollX, 150);
  EXPECT_EQ(preview.offsetX, 0);
  // Columns 3 .. 23, first one partly left of the screen.
  EXPECT_EQ(cellCount(), 21 * 15);
  EXPECT_EQ(frameQueues.blit[1][0].x, 0);
  EXPECT_EQ(frameQueues.blit[1][0].srcLeft, 30);
  previewFrame(0, 150, 0);
  EXPECT_EQ(preview.scrollX, 200);
  EXPECT_EQ(cellCount(), 20 * 15);
  previewFrame(0, -5000, 0);
  EXPECT_EQ(preview.scrollX, 0);

  // A remembered position is brought inside a shrunk map at once.
  previewFrame(0, 5000, 0);
  ASSERT_EQ(preview.scrollX, 200);
  setMapCells(22, 15);  // 880 pixels
  previewFrame();
  EXPECT_EQ(preview.scrollX, 80);
  setMapCells(10, 15);
  previewFrame();
  EXPECT_EQ(preview.scrollX, 0);
  EXPECT_EQ(preview.offsetX, 200);
}

TEST_F(PreviewTest, EmptyMapShowsOnlyBackgroundAndClock) {
  setMapCells(0, 0);
  settings.showWallpaper = 0;
  previewFrame();
  EXPECT_EQ(cellCount(), 0);
  EXPECT_EQ(frameQueues.blitCount[0], 0);
  EXPECT_EQ(clears, 1);
  EXPECT_EQ(frameQueues.textCount[4], 1);
  EXPECT_EQ(presents, 1);
}

TEST_F(PreviewTest, OnlyAFreshPressLeaves) {
  previewFrame(BTN_PRIMARY);
  EXPECT_EQ(session.editorMode, 0);
  EXPECT_EQ(presents, 1);  // the frame is still finished
  EXPECT_EQ(frameQueues.textCount[4], 1);
  session.editorMode = EDITOR_PREVIEW;
  previewFrame(BTN_PRIMARY);
  previewFrame(BTN_PRIMARY);
  EXPECT_EQ(session.editorMode, 1);
  previewFrame(0);
  previewFrame(BTN_PRIMARY);
  EXPECT_EQ(session.editorMode, 0);
}

// The editing screen and the preview are composed by one function with one
// background, one clock and one pointer image: the clock lies under the
// windows when editing and above the cells in the preview, and only the
// editing screen shows the pointer.
TEST_F(PreviewTest, EditingAndPreviewFramesShareBackgroundClockAndPointer) {
  PlatSurface* paper = platSurfaceCreate(4, 4);
  ASSERT_NE(paper, nullptr);
  surfaceSlots[SLOT_WALLPAPER].surface = paper;
  surfaceSlots[SLOT_WALLPAPER].width = surfaceSlots[SLOT_WALLPAPER].height = 4;
  auto pointerImages = [] {
    int n = 0;
    for (int l = 0; l < LAYER_COUNT; ++l)
      for (int i = 0; i < frameQueues.blitCount[l]; ++i)
        if (frameQueues.blit[l][i].slot == SLOT_DATA && frameQueues.blit[l][i].srcTop == 0) ++n;
    return n;
  };
  for (EditorMode mode : {EDITOR_EDITING, EDITOR_PREVIEW}) {
    SCOPED_TRACE(mode);
    session.editorMode = mode;
    previewFrame();
    const int clockLayer = mode == 0 ? 0 : 4;
    ASSERT_EQ(frameQueues.textCount[clockLayer], 1);
    EXPECT_EQ(frameQueues.text[clockLayer][0].x, 592);
    // The editing clock stands right of the tool strip, clear of the windows.
    EXPECT_EQ(frameQueues.text[clockLayer][0].y, mode == 0 ? 67 : 584);
    EXPECT_EQ(frameQueues.textCount[4 - clockLayer], 0);
    // The wallpaper comes stretched to the canvas, copied whole.
    EXPECT_EQ(countBlitsFrom(0, SLOT_WALLPAPER_CANVAS), 1);
    EXPECT_EQ(clears, 0);
    EXPECT_EQ(pointerImages(), mode == 0 ? 1 : 0);
    EXPECT_EQ(presents, mode + 1);
  }
  session.editorMode = EDITOR_EDITING;
  previewFrame();
  const BlitCommand* pointer = findBlit(4, SLOT_DATA, 0, 0);
  ASSERT_NE(pointer, nullptr);
  EXPECT_EQ(pointer->x, 396);  // the arrow's tip at the pointer
  EXPECT_EQ(pointer->y, 296);
  // Another wallpaper in the slot is stretched again; the same one is not.
  const PlatSurface* canvas = surfaceSlots[SLOT_WALLPAPER_CANVAS].surface;
  ASSERT_NE(canvas, nullptr);
  paper->pixels[3 * paper->pitch + 3] = 0x1234;
  previewFrame();
  EXPECT_NE(canvas->pixels[599 * canvas->pitch + 799], 0x1234);
  ++surfaceSlots[SLOT_WALLPAPER].generation;
  previewFrame();
  EXPECT_EQ(canvas->pixels[599 * canvas->pitch + 799], 0x1234);
  EXPECT_EQ(canvas->pixels[0], paper->pixels[0]);
}
