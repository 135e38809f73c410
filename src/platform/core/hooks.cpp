// Message boxes, file choosers and the cursor: the test hooks first, then
// the window back end.
#include "platform/core/backend.h"
#include "platform/filechooser.h"
#include "platform/platform.h"
#include "platform/testing.h"

namespace {
MessageBoxHook messageBoxHook = nullptr;
FileChooserHook chooserHook = nullptr;
int32_t standInX = 0, standInY = 0;
int language = PLATFORM_JAPANESE;
}  // namespace

void platformSetLanguage(int lang) {
  const int was = language;
  language = lang == PLATFORM_ENGLISH ? PLATFORM_ENGLISH : PLATFORM_JAPANESE;
  if (language != was) backendLanguageChanged();
}

int platformLanguage() { return language; }

void platformSetMessageBoxHook(MessageBoxHook hook) { messageBoxHook = hook; }

int platformMessageBox(const char* textUtf8, const char* captionUtf8, int flags) {
  return platformMessageBoxWith(textUtf8, captionUtf8, flags, MessageBoxAnswers{nullptr, nullptr, nullptr});
}

int platformMessageBoxWith(const char* textUtf8, const char* captionUtf8, int flags, const MessageBoxAnswers& answers) {
  if (messageBoxHook) return messageBoxHook(textUtf8, captionUtf8, flags);
  return backendMessageBox(textUtf8, captionUtf8, flags, answers);
}

void platformSetFileChooserHook(FileChooserHook hook) { chooserHook = hook; }

int platformChooseFile(const FileChooserSetup& setup, const char* startSjis, char* outSjis, size_t outSize) {
  if (outSize > 0) outSjis[0] = 0;
  if (chooserHook) return chooserHook(setup, startSjis, outSjis, outSize);
  return backendChooseFile(setup, startSjis, outSjis, outSize);
}

void platformTestSetCursor(int32_t x, int32_t y) {
  standInX = x;
  standInY = y;
}

void platformCursorPos(int32_t* x, int32_t* y) {
  if (backendCursorPos(x, y)) return;
  *x = standInX;
  *y = standInY;
}
