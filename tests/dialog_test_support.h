// Shared fixture of the dialog tests: a fresh model, recorded message boxes and
// document services that act on a small table of existing paths.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "dialogs/dialogs.h"
#include "editor/editor.h"
#include "map/map.h"
#include "platform/dialog.h"
#include "platform/platform.h"
#include "platform/sjis.h"
#include "platform/testing.h"
#include "settings/settings.h"

struct FakeDocs {
  static inline std::vector<std::string> messages;
  static inline std::set<std::string> existing;  // Shift_JIS paths
  static inline std::vector<std::string> loads, saves, conversions;
  static inline int loadResult = 1, saveResult = 1, convertResult = 1;
  static inline int pickOpen = 0, pickSave = 0, pickSheet = 0, pickWallpaper = 0;
  static inline std::string openChoice, saveChoice, sheetChoice, wallpaperChoice;
  static inline std::string sheetOfLoadedMap;  // doc.chipSheetPath a successful read sets

  static int box(const char* text, const char* caption, int flags) {
    messages.push_back(std::string(text) + "|" + caption + "|" + std::to_string(flags));
    return ANSWERED_OK;
  }
  static int exists(const char* p) { return existing.count(p) ? 1 : 0; }
  static inline std::set<std::string> unreadable;  // exist, but hold no map or bitmap
  static int readable(const char* p) { return exists(p) && !unreadable.count(p) ? 1 : 0; }
  static int load(const char* p) {
    loads.push_back(p);
    if (loadResult && !sheetOfLoadedMap.empty()) sjisCopy(doc.chipSheetPath, PATH_STORE, sheetOfLoadedMap.c_str());
    return loadResult;
  }
  static int save(const char* p) { saves.push_back(p); return saveResult; }
  static int convert(const char* p) { conversions.push_back(p); return convertResult; }
  static int chooseOpen() {
    if (pickOpen) sjisCopy(doc.mapPath, PATH_STORE, openChoice.c_str());
    return pickOpen;
  }
  static int chooseSave() {
    if (pickSave) sjisCopy(doc.mapPath, PATH_STORE, saveChoice.c_str());
    return pickSave;
  }
  static int chooseSheet() {
    if (pickSheet) sjisCopy(doc.chipSheetPath, PATH_STORE, sheetChoice.c_str());
    return pickSheet;
  }
  static int chooseWallpaper() {
    if (pickWallpaper) sjisCopy(doc.wallpaperPath, PATH_STORE, wallpaperChoice.c_str());
    return pickWallpaper;
  }
};

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetMapModel();
    resetSettings();  // as a run without a settings file has them
    session.brushW = session.brushH = 1;
    session.pickLeft = session.pickTop = 0;
    session.currentAttribute = 0;
    sjisCopy(programDir, PROGRAM_DIR_STORE, "/prog/");
    FakeDocs::messages.clear();
    FakeDocs::existing.clear();
    FakeDocs::unreadable.clear();
    FakeDocs::loads.clear();
    FakeDocs::saves.clear();
    FakeDocs::conversions.clear();
    FakeDocs::loadResult = FakeDocs::saveResult = FakeDocs::convertResult = 1;
    FakeDocs::pickOpen = FakeDocs::pickSave = FakeDocs::pickSheet = FakeDocs::pickWallpaper = 0;
    FakeDocs::sheetOfLoadedMap.clear();
    dialogServices = {FakeDocs::load,       FakeDocs::save,        FakeDocs::convert,
                      FakeDocs::chooseOpen, FakeDocs::chooseSave,  FakeDocs::chooseSheet,
                      FakeDocs::chooseWallpaper, FakeDocs::exists, FakeDocs::readable, FakeDocs::readable};
    platformSetMessageBoxHook(FakeDocs::box);
  }
  void TearDown() override {
    dlgTestSetScript(nullptr);
    platformSetMessageBoxHook(nullptr);
    resetDialogServices();
  }
  static std::string question(const char* text) {
    return std::string(text) + "|はて？|" + std::to_string(BOX_OK | BOX_QUESTION);
  }
};
