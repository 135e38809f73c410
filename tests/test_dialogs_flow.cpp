// The four dialogs driven through the in-memory double.
#include "dialog_test_support.h"
#include "dialogs/control_ids.h"
#include "platform/testing.h"
#include "gfx/gfx.h"

namespace {

// The attribute dialog opened on, and writing back, the current attribute.
int attributeDialogOnCurrent() { return attributeDialog(session.currentAttribute, &session.currentAttribute); }

TEST_F(DialogTest, StartupFreshRunOpensOnNewMapAndChecksTheChipSheetFirst) {
  bool ran = false;
  dlgTestSetScript([&](DlgTest& d) {
    ran = true;
    EXPECT_EQ(d.templateId(), 105);
    EXPECT_TRUE(d.checked(STARTUP_NEW_MAP));
    EXPECT_FALSE(d.checked(STARTUP_OPEN_MAP));
    EXPECT_EQ(d.text(STARTUP_MAP_PATH), "");
    EXPECT_FALSE(d.enabled(STARTUP_MAP_PATH));
    EXPECT_EQ(d.text(STARTUP_CHIP_PATH), "");
    EXPECT_EQ(d.text(STARTUP_WALLPAPER_PATH), "/prog/Brin.bmp");
    EXPECT_EQ(d.text(INFO_VERSION), "Ver0.93b");
    EXPECT_TRUE(d.checked(STARTUP_WALLPAPER_SHOWN));
    EXPECT_FALSE(d.checked(STARTUP_DEBUG));
    d.click(DLG_OK_BUTTON);
    EXPECT_TRUE(d.isOpen());
    d.escape();
  });
  EXPECT_EQ(startupDialog(), 2);
  EXPECT_TRUE(ran);
  ASSERT_EQ(FakeDocs::messages.size(), 1u);
  EXPECT_EQ(FakeDocs::messages[0], question("ＢＭＰファイルがないよー"));
  EXPECT_STREQ(doc.wallpaperPath, "/prog/Brin.bmp");
  EXPECT_TRUE(FakeDocs::loads.empty());
}

TEST_F(DialogTest, StartupReadsTheRememberedMapBeforeShowingIt) {
  sjisCopy(doc.mapPath, PATH_STORE, "/maps/town.bct");
  sjisCopy(doc.chipSheetPath, PATH_STORE, "/old/sheet.bmp");
  FakeDocs::sheetOfLoadedMap = "/maps/town.bmp";
  dlgTestSetScript([&](DlgTest& d) {
    ASSERT_EQ(FakeDocs::loads.size(), 1u);
    EXPECT_EQ(FakeDocs::loads[0], "/maps/town.bct");
    EXPECT_TRUE(d.checked(STARTUP_OPEN_MAP));
    EXPECT_FALSE(d.checked(STARTUP_NEW_MAP));
    EXPECT_TRUE(d.enabled(STARTUP_MAP_PATH));
    EXPECT_EQ(d.text(STARTUP_MAP_PATH), "/maps/town.bct");
    EXPECT_EQ(d.text(STARTUP_CHIP_PATH), "/maps/town.bmp");
    // Back to a new map and on again.
    d.click(STARTUP_NEW_MAP);
    EXPECT_FALSE(d.enabled(STARTUP_MAP_PATH));
    d.click(STARTUP_OPEN_MAP);
    EXPECT_TRUE(d.enabled(STARTUP_MAP_PATH));
  });
  EXPECT_EQ(startupDialog(), 2);
}

TEST_F(DialogTest, StartupBrowsingSwitchesToTheMapFileAndTheOtherPickersFillTheirFields) {
  FakeDocs::pickOpen = 1;
  FakeDocs::openChoice = "/maps/cave.bct";
  FakeDocs::sheetOfLoadedMap = "/maps/cave.bmp";
  FakeDocs::pickWallpaper = 1;
  FakeDocs::wallpaperChoice = "/pics/sky.bmp";
  dlgTestSetScript([&](DlgTest& d) {
    d.click(STARTUP_MAP_BROWSE);
    EXPECT_TRUE(d.checked(STARTUP_OPEN_MAP));
    EXPECT_FALSE(d.checked(STARTUP_NEW_MAP));
    EXPECT_TRUE(d.enabled(STARTUP_MAP_PATH));
    EXPECT_EQ(d.text(STARTUP_MAP_PATH), "/maps/cave.bct");
    EXPECT_EQ(d.text(STARTUP_CHIP_PATH), "/maps/cave.bmp");
    d.click(STARTUP_WALLPAPER_BROWSE);
    EXPECT_EQ(d.text(STARTUP_WALLPAPER_PATH), "/pics/sky.bmp");
    // A map that cannot be read leaves the chip-sheet field alone.
    FakeDocs::loadResult = 0;
    FakeDocs::openChoice = "/maps/broken.bct";
    FakeDocs::sheetOfLoadedMap.clear();
    d.type(STARTUP_CHIP_PATH, "/typed.bmp");
    d.click(STARTUP_MAP_BROWSE);
    EXPECT_EQ(d.text(STARTUP_MAP_PATH), "/maps/broken.bct");
    EXPECT_EQ(d.text(STARTUP_CHIP_PATH), "/typed.bmp");
    d.escape();
  });
  EXPECT_EQ(startupDialog(), 2);
  EXPECT_STREQ(doc.wallpaperPath, "/pics/sky.bmp");
}

TEST_F(DialogTest, StartupOkChecksInOrderAndANewMapKeepsSizesOnCleanPlanes) {
  sjisCopy(doc.chipSheetPath, PATH_STORE, "/sheet.bmp");
  FakeDocs::existing = {"/sheet.bmp"};
  setMapCells(60, 50);
  doc.planeX[cellIndex(3, 4)] = 32;
  doc.planeY[cellIndex(3, 4)] = 64;
  doc.planeA[cellIndex(3, 4)] = 9;
  dlgTestSetScript([&](DlgTest& d) {
    d.click(DLG_OK_BUTTON);  // the default wallpaper does not exist
    EXPECT_TRUE(d.isOpen());
    d.click(STARTUP_WALLPAPER_SHOWN);  // no wallpaper shown: its path need not exist
    d.click(STARTUP_DEBUG);
    d.type(STARTUP_CHIP_PATH, "/not/there.bmp");  // only the path in memory is checked
    d.click(DLG_OK_BUTTON);
    EXPECT_FALSE(d.isOpen());
  });
  EXPECT_EQ(startupDialog(), 1);
  ASSERT_EQ(FakeDocs::messages.size(), 1u);
  EXPECT_EQ(FakeDocs::messages[0], question("壁紙がみあたらないよー"));
  EXPECT_STREQ(doc.chipSheetPath, "/not/there.bmp");
  EXPECT_STREQ(doc.wallpaperPath, "/prog/Brin.bmp");
  EXPECT_EQ(settings.showWallpaper, 0);
  EXPECT_EQ(settings.showDebugInfo, 1);
  EXPECT_EQ(doc.planeX[cellIndex(3, 4)], 0);
  EXPECT_EQ(doc.planeY[cellIndex(3, 4)], 0);
  EXPECT_EQ(doc.planeA[cellIndex(3, 4)], 0) << "no attribute of the previous map stays hidden";
  EXPECT_EQ(doc.mapPath[0], 0) << "a new map has no file until saved";
  EXPECT_EQ(doc.mapCellsX, 60);
  EXPECT_EQ(doc.mapCellsY, 50);
  EXPECT_TRUE(FakeDocs::loads.empty());
}

TEST_F(DialogTest, StartupOkWithAMapFileNeedsItAndReadsIt) {
  sjisCopy(doc.chipSheetPath, PATH_STORE, "/sheet.bmp");
  sjisCopy(doc.mapPath, PATH_STORE, "/gone.bct");
  FakeDocs::existing = {"/sheet.bmp", "/prog/Brin.bmp", "/real.bct", "/noise.bct"};
  FakeDocs::unreadable = {"/sheet.bmp", "/noise.bct"};
  FakeDocs::loadResult = 0;  // the remembered map cannot be read: silently ignored
  doc.planeX[5] = 16;
  dlgTestSetScript([&](DlgTest& d) {
    d.click(DLG_OK_BUTTON);  // a sheet that cannot be read is told; the dialog stays
    EXPECT_TRUE(d.isOpen());
    FakeDocs::unreadable.erase("/sheet.bmp");
    d.click(DLG_OK_BUTTON);
    EXPECT_TRUE(d.isOpen());
    FakeDocs::loadResult = 1;
    d.type(STARTUP_MAP_PATH, "/noise.bct");  // a file of other bytes: told, not opened blank
    d.click(DLG_OK_BUTTON);
    EXPECT_TRUE(d.isOpen());
    d.type(STARTUP_MAP_PATH, "/real.bct");
    d.click(DLG_OK_BUTTON);
  });
  EXPECT_EQ(startupDialog(), 1);
  ASSERT_EQ(FakeDocs::messages.size(), 3u);
  EXPECT_EQ(FakeDocs::messages[0], question("ＢＭＰファイルが読めないよー"));
  EXPECT_EQ(FakeDocs::messages[1], question("マップファイルがないよー"));
  EXPECT_EQ(FakeDocs::messages[2], question("マップファイルが読めないよー"));
  ASSERT_EQ(FakeDocs::loads.size(), 2u);
  EXPECT_EQ(FakeDocs::loads[1], "/real.bct");
  EXPECT_STREQ(doc.mapPath, "/real.bct");
  EXPECT_EQ(doc.planeX[5], 16);  // an opened map is not cleared
}

TEST_F(DialogTest, StartupRefusesAPathThatIsNotUtf8WithoutChangingAnything) {
  sjisCopy(doc.chipSheetPath, PATH_STORE, "/sheet.bmp");
  FakeDocs::existing = {"/sheet.bmp", "/prog/Brin.bmp"};
  doc.planeX[7] = 48;
  const std::string tooLong(PATH_STORE + 10, 'a');
  dlgTestSetScript([&](DlgTest& d) {
    d.type(STARTUP_CHIP_PATH, "/sheets/caf\xE9.bmp");  // Latin-1
    d.click(DLG_OK_BUTTON);
    EXPECT_TRUE(d.isOpen());
    d.type(STARTUP_CHIP_PATH, tooLong.c_str());
    d.click(DLG_OK_BUTTON);
    EXPECT_TRUE(d.isOpen());
    d.escape();
  });
  EXPECT_EQ(startupDialog(), 2);
  ASSERT_EQ(FakeDocs::messages.size(), 2u);
  EXPECT_EQ(FakeDocs::messages[0], question("そのファイル名はつかえないよー"));
  EXPECT_EQ(doc.planeX[7], 48);
  EXPECT_STREQ(doc.chipSheetPath, "/sheet.bmp");
}

TEST_F(DialogTest, StartupConversionStopsAtEachFailureAndFillsTheFieldsOnSuccess) {
  sjisCopy(doc.chipSheetPath, PATH_STORE, "/sheet.bmp");
  dlgTestSetScript([&](DlgTest& d) {
    d.click(STARTUP_CONVERT);  // picker cancelled
    EXPECT_TRUE(FakeDocs::conversions.empty());

    FakeDocs::pickOpen = 1;
    FakeDocs::openChoice = "/old.map";
    FakeDocs::convertResult = 0;
    d.click(STARTUP_CONVERT);
    ASSERT_EQ(FakeDocs::conversions.size(), 1u);
    EXPECT_EQ(FakeDocs::conversions[0], "/old.map");
    EXPECT_TRUE(FakeDocs::saves.empty());

    FakeDocs::convertResult = 1;
    d.click(STARTUP_CONVERT);  // save picker cancelled: fields untouched
    EXPECT_TRUE(FakeDocs::saves.empty());
    EXPECT_EQ(d.text(STARTUP_MAP_PATH), "");

    FakeDocs::pickSave = 1;
    FakeDocs::saveChoice = "/new.bct";
    FakeDocs::saveResult = 0;
    d.click(STARTUP_CONVERT);
    ASSERT_EQ(FakeDocs::saves.size(), 1u);
    EXPECT_EQ(FakeDocs::saves[0], "/new.bct");
    EXPECT_EQ(d.text(STARTUP_MAP_PATH), "");

    FakeDocs::saveResult = 1;
    d.click(STARTUP_CONVERT);
    EXPECT_EQ(d.text(STARTUP_MAP_PATH), "/new.bct");
    EXPECT_EQ(d.text(STARTUP_CHIP_PATH), "/sheet.bmp");
    EXPECT_TRUE(d.checked(STARTUP_NEW_MAP));  // the radios stay as they were
    EXPECT_FALSE(d.enabled(STARTUP_MAP_PATH));
    d.escape();
  });
  EXPECT_EQ(startupDialog(), 2);
  ASSERT_EQ(FakeDocs::messages.size(), 2u);
  EXPECT_EQ(FakeDocs::messages[0], question("マップファイル開けませんでした。"));
  EXPECT_EQ(FakeDocs::messages[1], question("マップファイル書き込みに失敗。"));
}

TEST_F(DialogTest, MapSizeListsShowTheSizeAndOkResetsTheBrush) {
  session.brushW = 5;
  session.brushH = 6;
  session.pickLeft = 64;
  session.pickTop = 32;
  dlgTestSetScript([&](DlgTest& d) {
    EXPECT_EQ(d.templateId(), 102);
    ASSERT_EQ(d.listCount(MAPSIZE_CELLS_X), 256);
    EXPECT_EQ(d.listEntry(MAPSIZE_CELLS_X, 0), "0");
    EXPECT_EQ(d.listEntry(MAPSIZE_CELLS_X, 255), "255");
    EXPECT_EQ(d.listCount(MAPSIZE_CELLS_Y), 256);
    ASSERT_EQ(d.listCount(MAPSIZE_CHIP_W), 4);
    EXPECT_EQ(d.listEntry(MAPSIZE_CHIP_W, 0), "16");
    EXPECT_EQ(d.listEntry(MAPSIZE_CHIP_H, 3), "64");
    EXPECT_EQ(d.text(MAPSIZE_CELLS_X), "40");
    EXPECT_EQ(d.text(MAPSIZE_CELLS_Y), "30");
    EXPECT_EQ(d.text(MAPSIZE_CHIP_W), "32");
    EXPECT_EQ(d.text(MAPSIZE_CHIP_H), "32");
    EXPECT_EQ(d.text(MAPSIZE_PIXELS_X), "1280");
    EXPECT_EQ(d.text(MAPSIZE_PIXELS_Y), "960");
    d.choose(MAPSIZE_CHIP_W, 3);
    EXPECT_EQ(d.text(MAPSIZE_PIXELS_X), "2560");
    d.choose(MAPSIZE_CELLS_X, 0);
    EXPECT_EQ(d.text(MAPSIZE_PIXELS_X), "0");
    d.choose(MAPSIZE_CHIP_H, 0);
    EXPECT_EQ(d.text(MAPSIZE_PIXELS_Y), "480");
    d.click(DLG_OK_BUTTON);
  });
  EXPECT_EQ(askMapSize(), 1);
  EXPECT_EQ(doc.mapCellsX, 0);
  EXPECT_EQ(doc.mapCellsY, 30);
  EXPECT_EQ(doc.chipWidth, 64);
  EXPECT_EQ(doc.chipHeight, 16);
  EXPECT_EQ(session.brushW, 1);
  EXPECT_EQ(session.brushH, 1);
  EXPECT_EQ(session.pickLeft, 0);
  EXPECT_EQ(session.pickTop, 0);
}

TEST_F(DialogTest, MapSizeOkWithoutAChoiceKeepsSizesNoEntryShows) {
  setMapCells(256, 10);
  setChipWidth(24);
  setChipHeight(8);
  dlgTestSetScript([&](DlgTest& d) {
    EXPECT_EQ(d.listSelection(MAPSIZE_CELLS_X), -1);
    EXPECT_EQ(d.listSelection(MAPSIZE_CHIP_W), -1);
    EXPECT_EQ(d.listSelection(MAPSIZE_CHIP_H), -1);
    d.click(DLG_OK_BUTTON);
  });
  EXPECT_EQ(askMapSize(), 1);
  EXPECT_TRUE(FakeDocs::messages.empty());
  EXPECT_EQ(doc.mapCellsX, 256);
  EXPECT_EQ(doc.mapCellsY, 10);
  EXPECT_EQ(doc.chipWidth, 24);
  EXPECT_EQ(doc.chipHeight, 8);
  // A list the user changes gives its choice; the others keep theirs.
  dlgTestSetScript([&](DlgTest& d) {
    d.choose(MAPSIZE_CHIP_H, 1);
    d.click(DLG_OK_BUTTON);
  });
  EXPECT_EQ(askMapSize(), 1);
  EXPECT_EQ(doc.mapCellsX, 256);
  EXPECT_EQ(doc.chipWidth, 24);
  EXPECT_EQ(doc.chipHeight, 32);
}

TEST_F(DialogTest, MapSizeCancelChangesNothing) {
  session.brushW = 3;
  session.pickLeft = 16;
  dlgTestSetScript([&](DlgTest& d) {
    d.choose(MAPSIZE_CELLS_X, 100);
    d.choose(MAPSIZE_CHIP_W, 0);
    d.escape();
  });
  EXPECT_EQ(askMapSize(), 0);
  EXPECT_EQ(doc.mapCellsX, 40);
  EXPECT_EQ(doc.chipWidth, 32);
  EXPECT_EQ(session.brushW, 3);
  EXPECT_EQ(session.pickLeft, 16);
}

TEST_F(DialogTest, SettingsTrackbarMapsToScrollSpeedAndClampsAtTheEnds) {
  struct Case { int stored, openPos, slideTo, result; };
  const Case cases[] = {{400, 300, 600, 700}, {400, 300, 0, 100}, {900, 600, -1, 700}, {50, 0, -1, 100}};
  for (const Case& c : cases) {
    settings.scrollSpeed = c.stored;
    dlgTestSetScript([&](DlgTest& d) {
      EXPECT_EQ(d.trackMin(SETTINGS_SPEED), 0);
      EXPECT_EQ(d.trackMax(SETTINGS_SPEED), 600);
      EXPECT_EQ(d.trackPos(SETTINGS_SPEED), c.openPos) << c.stored;
      if (c.slideTo >= 0) d.slide(SETTINGS_SPEED, c.slideTo);
      d.click(SETTINGS_AUTO_SCROLL);
      d.click(SETTINGS_WALLPAPER_SHOWN);  // wallpaper off: its empty path need not exist
      EXPECT_FALSE(d.checked(SETTINGS_DISPLAY_CANVAS));
      EXPECT_TRUE(d.checked(SETTINGS_SHARP_FIT));
      d.click(SETTINGS_DISPLAY_CANVAS);
      d.click(SETTINGS_SHARP_FIT);
      d.click(DLG_OK_BUTTON);
    });
    EXPECT_EQ(settingsDialog(), 1);
    EXPECT_EQ(settings.scrollSpeed, c.result) << c.stored;
    EXPECT_EQ(settings.autoScroll, 1);
    EXPECT_EQ(settings.showWallpaper, 0);
    // The canvas is asked for the next start; this run's stays.
    EXPECT_EQ(settings.displayCanvas, 1);
    EXPECT_EQ(settings.sharpFit, 0);
    EXPECT_EQ(screenMetrics.canvasW, 800);
    settings.autoScroll = 0;
    settings.showWallpaper = 1;
    settings.displayCanvas = 0;
    settings.sharpFit = 1;
  }
  EXPECT_TRUE(FakeDocs::messages.empty());
}

TEST_F(DialogTest, SettingsChecksTheWallpaperOnlyWhenShownAndCancelKeepsABrowsedPath) {
  sjisCopy(doc.wallpaperPath, PATH_STORE, "/walls/old.bmp");
  dlgTestSetScript([&](DlgTest& d) {
    EXPECT_EQ(d.text(SETTINGS_WALLPAPER_PATH), "/walls/old.bmp");
    EXPECT_TRUE(d.checked(SETTINGS_WALLPAPER_SHOWN));
    EXPECT_TRUE(d.checked(SETTINGS_GUIDE_LINES));
    d.click(DLG_OK_BUTTON);
    EXPECT_TRUE(d.isOpen());
    d.type(SETTINGS_WALLPAPER_PATH, "/walls/typed.bmp");
    d.click(SETTINGS_WALLPAPER_SHOWN);
    d.click(DLG_OK_BUTTON);
  });
  EXPECT_EQ(settingsDialog(), 1);
  ASSERT_EQ(FakeDocs::messages.size(), 1u);
  EXPECT_EQ(FakeDocs::messages[0], question("壁紙がみあたらないよー"));
  EXPECT_STREQ(doc.wallpaperPath, "/walls/typed.bmp");
  EXPECT_EQ(settings.showWallpaper, 0);

  FakeDocs::pickWallpaper = 1;
  FakeDocs::wallpaperChoice = "/walls/new.bmp";
  dlgTestSetScript([&](DlgTest& d) {
    d.click(SETTINGS_WALLPAPER_BROWSE);
    EXPECT_EQ(d.text(SETTINGS_WALLPAPER_PATH), "/walls/new.bmp");
    d.click(SETTINGS_GUIDE_LINES);
    d.click(SETTINGS_DEBUG);
    d.slide(SETTINGS_SPEED, 0);
    d.escape();
  });
  EXPECT_EQ(settingsDialog(), 0);
  EXPECT_STREQ(doc.wallpaperPath, "/walls/new.bmp");
  EXPECT_EQ(settings.showGuideLines, 1);
  EXPECT_EQ(settings.showDebugInfo, 0);
  EXPECT_EQ(settings.scrollSpeed, 400);
}

TEST_F(DialogTest, AttributeListPreselectsTheValueAndWritesWhatItShows) {
  struct Case { int32_t start; int openSel; int32_t afterOk; };
  for (const Case& c : {Case{7, 7, 7}, Case{-1, -1, 0}, Case{1500, -1, 0}, Case{999, 999, 999}}) {
    session.currentAttribute = c.start;
    dlgTestSetScript([&](DlgTest& d) {
      EXPECT_EQ(d.templateId(), 112);
      ASSERT_EQ(d.listCount(ATTRIBUTE_LIST), 1000);
      EXPECT_EQ(d.listEntry(ATTRIBUTE_LIST, 999), "999");
      EXPECT_EQ(d.listSelection(ATTRIBUTE_LIST), c.openSel) << c.start;
      d.click(DLG_OK_BUTTON);
    });
    EXPECT_EQ(attributeDialogOnCurrent(), 1);
    EXPECT_EQ(session.currentAttribute, c.afterOk) << c.start;
  }
  session.currentAttribute = 12;
  dlgTestSetScript([](DlgTest& d) {
    d.choose(ATTRIBUTE_LIST, 500);
    d.click(DLG_CANCEL_BUTTON);
  });
  EXPECT_EQ(attributeDialogOnCurrent(), 0);
  EXPECT_EQ(session.currentAttribute, 12);
}

}  // namespace
