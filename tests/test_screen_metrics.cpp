// The canvas and the limits bound to its size, on the classic canvas and on
// one the size of a 1920 x 1080 display.
#include "editor_test_support.h"

class ScreenMetricsTest : public EditorTest {
 protected:
  void TearDown() override {
    screenMetrics = measureScreen(CLASSIC_CANVAS_W, CLASSIC_CANVAS_H, 0);
    EditorTest::TearDown();
  }
};

TEST_F(ScreenMetricsTest, CanvasFollowsTheDisplayAndTheWindowsStayInReach) {
  struct Case {
    int32_t displayW, displayH, displaySized, canvasW, canvasH, scale, dialogScale;
  };
  const Case cases[] = {
      {1920, 1080, 0, 800, 600, 1, 1},   {1920, 1080, 1, 1920, 1080, 1, 1}, {2560, 1440, 1, 2560, 1440, 1, 1},
      {3840, 2160, 1, 1920, 1080, 2, 2}, {3840, 2160, 0, 800, 600, 1, 3},   {800, 600, 1, 800, 600, 1, 1},
      {640, 480, 1, 800, 600, 1, 1},     {1024, 768, 1, 1024, 768, 1, 1},   {7680, 4320, 1, 1920, 1080, 4, 4},
      {5120, 1600, 1, 2560, 1600, 1, 1}, {1600, 1200, 0, 800, 600, 1, 2},
  };
  for (const Case& c : cases) {
    ScreenMetrics m = measureScreen(c.displayW, c.displayH, c.displaySized);
    EXPECT_EQ(m.canvasW, c.canvasW) << c.displayW << "x" << c.displayH;
    EXPECT_EQ(m.canvasH, c.canvasH) << c.displayW << "x" << c.displayH;
    EXPECT_EQ(m.scale, c.scale) << c.displayW << "x" << c.displayH;
    EXPECT_EQ(m.dialogScale, c.dialogScale) << c.displayW << "x" << c.displayH;
  }
  const ScreenMetrics classic = measureScreen(1920, 1080, 0);
  EXPECT_EQ(classic.windowMaxX, 726);
  EXPECT_EQ(classic.windowMaxY, 606);
  EXPECT_EQ(classic.windowMaxRight, 794);
  EXPECT_EQ(classic.windowMaxBottom, 594);
  EXPECT_EQ(classic.clockX + 208, 800);  // the clock's text ends at the right edge
  EXPECT_EQ(classic.clockY, 67);
  EXPECT_EQ(measureScreen(800, 600, 1).clockY, 67) << "a display-size canvas of 800 x 600 has no free corner";

  // On the big canvas a window is dragged as far as the larger limits and
  // grows to the canvas; the clock sits at the bottom right.
  screenMetrics = measureScreen(1920, 1080, 1);
  EXPECT_EQ(screenMetrics.clockX + 208, 1920);
  EXPECT_GT(screenMetrics.clockY, session.mapView.y + session.mapView.h + 8);
  step(340, 100, BTN_PRIMARY);
  step(340, 100, BTN_PRIMARY, 5000, 5000);
  EXPECT_EQ(session.mapView.x, 1846);
  EXPECT_EQ(session.mapView.y, 1086);
  step(340, 100, 0);
  session.mapView.x = 100;
  session.mapView.y = 200;
  session.mapView.w = 5000;
  session.mapView.h = 5000;
  doc.mapCellsX = doc.mapCellsY = 256;
  step(5, 5);
  EXPECT_EQ(session.mapView.x + session.mapView.w, 1914);
  EXPECT_EQ(session.mapView.y + session.mapView.h, 1074);
  // The auto-scroll band below the window lies beyond the classic canvas.
  settings.autoScroll = 1;
  session.mapView.scrollY = 0;
  step(500, 1076);
  EXPECT_GT(session.mapView.scrollY, 0);

  // Placements written on the big canvas, read on the classic one: every
  // window comes back to where its title can be grabbed.
  storeViewsToSettings();
  settings.sheetViewX = 1700;
  settings.sheetViewY = 1000;
  screenMetrics = classic;
  loadViewsFromSettings();
  for (const ViewWindow* v : {&session.mapView, &session.sheetView}) {
    EXPECT_LE(v->x, 726);
    EXPECT_LE(v->y, 606);
    EXPECT_LE(v->x + v->w, 794);
  }
  EXPECT_EQ(session.sheetView.x, 726);
  EXPECT_EQ(session.sheetView.y, 606);
}
