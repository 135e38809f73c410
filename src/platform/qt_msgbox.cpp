// Message boxes on QMessageBox.
#include <QApplication>
#include <QMessageBox>
#include <QString>

#include "platform/platform.h"

namespace {
MessageBoxHook messageBoxHook = nullptr;
}

void platformSetMessageBoxHook(MessageBoxHook hook) { messageBoxHook = hook; }

int platformMessageBox(const char* textUtf8, const char* captionUtf8, int flags) {
  if (messageBoxHook) return messageBoxHook(textUtf8, captionUtf8, flags);
  if (!QApplication::instance()) return (flags & MB_YESNO) ? IDNO : IDOK;
  QMessageBox box;
  box.setWindowTitle(QString::fromUtf8(captionUtf8));
  box.setText(QString::fromUtf8(textUtf8));
  box.setIcon((flags & MB_ICONQUESTION) ? QMessageBox::Question : QMessageBox::Information);
  if (flags & MB_YESNO) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  int r = box.exec();
  if (flags & MB_YESNO) return r == QMessageBox::Yes ? IDYES : IDNO;
  return IDOK;
}
