// Message boxes on QMessageBox.
#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QString>

#include "platform/core/backend.h"
#include "platform/platform.h"
#include "platform/qt/qt_owner.h"

namespace {

// A Yes/No question has no Escape answer and no close box: only a button
// answers it, so an Esc held from the key that asked it cannot dismiss it.
class QuestionBox final : public QMessageBox {
 public:
  QuestionBox(QWidget* owner, bool yesNo) : QMessageBox(owner), yesNo_(yesNo) {
    if (yesNo_) setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  }

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    // A key still held from before the box opened answers nothing: only a
    // fresh press does (Esc cancels the three-way question, not its repeat).
    if (e->isAutoRepeat()) {
      e->accept();
      return;
    }
    if (yesNo_ && (e->key() == Qt::Key_Escape || e->matches(QKeySequence::Cancel))) {
      e->accept();
      return;
    }
    QMessageBox::keyPressEvent(e);
  }
  void closeEvent(QCloseEvent* e) override {
    if (yesNo_) {
      e->ignore();
      return;
    }
    QMessageBox::closeEvent(e);
  }

 private:
  bool yesNo_;
};

// An answer's text: the caller's own, else the plain Japanese one, else (in
// English) Qt's own button text.
void answer(QAbstractButton* button, const char* textUtf8, const char* ownUtf8, Qt::Key key) {
  if (ownUtf8)
    button->setText(QString::fromUtf8(ownUtf8));
  else if (platformLanguage() == PLATFORM_JAPANESE)
    button->setText(QString::fromUtf8(textUtf8));
  button->setShortcut(QKeySequence(key));
}
}  // namespace

int backendMessageBox(const char* textUtf8, const char* captionUtf8, int flags, const MessageBoxAnswers& own) {
  const bool yesNo = (flags & BOX_BUTTONS) == BOX_YES_NO;
  const bool threeWay = (flags & BOX_BUTTONS) == BOX_YES_NO_CANCEL;
  if (!QApplication::instance()) return yesNo ? ANSWERED_NO : (threeWay ? ANSWERED_CANCEL : ANSWERED_OK);
  QuestionBox box(platformDialogOwner(), yesNo);
  box.setWindowTitle(QString::fromUtf8(captionUtf8));
  box.setText(QString::fromUtf8(textUtf8));
  box.setIcon((flags & BOX_QUESTION) ? QMessageBox::Question : QMessageBox::Information);
  if (yesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    // The answers read plainly; Y and N still answer from the keyboard.
    answer(box.button(QMessageBox::Yes), "はい", own.yesUtf8, Qt::Key_Y);
    answer(box.button(QMessageBox::No), "いいえ", own.noUtf8, Qt::Key_N);
  } else if (threeWay) {
    // Return takes the safe answer that keeps the work, Esc or the close box
    // the one that changes nothing.
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    answer(box.button(QMessageBox::Yes), "はい", own.yesUtf8, Qt::Key_Y);
    answer(box.button(QMessageBox::No), "いいえ", own.noUtf8, Qt::Key_N);
    answer(box.button(QMessageBox::Cancel), "キャンセル", own.cancelUtf8, Qt::Key_Escape);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  int r = platformRunModal(&box);
  if (yesNo) return r == QMessageBox::Yes ? ANSWERED_YES : ANSWERED_NO;
  if (threeWay) return r == QMessageBox::Yes ? ANSWERED_YES : (r == QMessageBox::No ? ANSWERED_NO : ANSWERED_CANCEL);
  return ANSWERED_OK;
}
