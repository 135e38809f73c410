// The real Qt forms, built headless: controls, captions, geometry and the
// behaviour that depends on the widgets themselves.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

#include <cstdlib>

#include "dialog_test_support.h"
#include "dialogs/control_ids.h"
#include "dialogs/templates.h"
#include "dialogs/texts.h"
#include "platform/filechooser.h"
#include "platform/platform.h"
#include "platform/qt/qt_testing.h"
#include "platform/testing.h"

namespace {

// The attribute dialog opened on, and writing back, the current attribute.
int attributeDialogOnCurrent() { return attributeDialog(session.currentAttribute, &session.currentAttribute); }

void ensureApplication() {
  static int argc = 1;
  static char name[] = "brindle_tests";
  static char* argv[] = {name, nullptr};
  if (!QApplication::instance()) new QApplication(argc, argv);
}

// Saves what the form looks like when BRINDLE_DIALOG_SHOTS names a folder.
void maybeSaveShot(QDialog* dialog, int resourceId) {
  const char* dir = std::getenv("BRINDLE_DIALOG_SHOTS");
  if (dir) dialog->grab().save(QStringLiteral("%1/dialog%2.png").arg(QString::fromUtf8(dir)).arg(resourceId));
}

// Whether a control shows its text whole. A left-aligned text (box, radio,
// label) is drawn again on a wider control: ink beyond the real width is
// text the control cuts. A centred caption must fit its bevel or frame line.
bool textShownWhole(QWidget* w) {
  const QFontMetrics fm(w->font());
  if (auto* b = qobject_cast<QPushButton*>(w)) return fm.horizontalAdvance(b->text()) + 6 <= w->width();
  if (auto* g = qobject_cast<QGroupBox*>(w)) return fm.horizontalAdvance(g->title()) + 12 <= w->width();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return fm.horizontalAdvance(e->text()) <= w->width();
  if (!qobject_cast<QCheckBox*>(w) && !qobject_cast<QRadioButton*>(w) && !qobject_cast<QLabel*>(w)) return true;
  const QSize real = w->size();
  constexpr int extra = 40;
  w->resize(real.width() + extra, real.height());
  const QImage wide = w->grab().toImage();
  w->resize(real);
  const int dpr = std::max(1, int(wide.devicePixelRatio()));
  const QRgb background = wide.pixel(wide.width() - 1, 0);
  for (int y = 0; y < wide.height(); ++y)
    for (int x = real.width() * dpr; x < wide.width(); ++x)
      if (wide.pixel(x, y) != background) return false;
  return true;
}

// How far a text control's ink reaches when it has room to spare.
int inkWidth(QWidget* w) {
  const QSize real = w->size();
  w->resize(real.width() + 80, real.height());
  const QImage wide = w->grab().toImage();
  w->resize(real);
  const int dpr = std::max(1, int(wide.devicePixelRatio()));
  const QRgb background = wide.pixel(wide.width() - 1, 0);
  int reach = 0;
  for (int y = 0; y < wide.height(); ++y)
    for (int x = reach; x < wide.width(); ++x)
      if (wide.pixel(x, y) != background) reach = x + 1;
  return (reach + dpr - 1) / dpr;
}

// Every control of the template exists with its kind, caption and geometry.
void expectBuiltAsTemplate(QDialog* dialog, const DlgTemplate& t) {
  EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(t.captionUtf8));
  // A title bar shows the caption beside the window icon and three buttons.
  QFont titleFont = QApplication::font();
  titleFont.setBold(true);
  const QFontMetrics title(titleFont);
  EXPECT_GE(dialog->width(), title.horizontalAdvance(dialog->windowTitle()) + 4 * title.height()) << t.resourceId;
  EXPECT_GE(dialog->width(), dlgUnitsToPixelsX(t.w));
  EXPECT_EQ(dialog->height(), dlgUnitsToPixelsY(t.h));
  const int shift = (dialog->width() - dlgUnitsToPixelsX(t.w)) / 2;  // the layout stays centred
  EXPECT_EQ(bool(dialog->windowFlags() & Qt::WindowCloseButtonHint), t.systemMenu != 0);
  for (int i = 0; i < t.controlCount; ++i) {
    const DlgControl& c = t.controls[i];
    QWidget* w = nullptr;
    for (QWidget* child : dialog->findChildren<QWidget*>())
      if (child->property("dlgIndex").isValid() && child->property("dlgIndex").toInt() == i) w = child;
    ASSERT_NE(w, nullptr) << "control " << i << " of " << t.resourceId;
    EXPECT_EQ(w->property("dlgId").toInt(), c.id);
    EXPECT_EQ(w->x(), dlgUnitsToPixelsX(c.x) + shift) << i;
    EXPECT_EQ(w->y(), dlgUnitsToPixelsY(c.y)) << i;
    if (c.kind == DLG_CHECK || c.kind == DLG_RADIO || c.kind == DLG_STATIC) {
      EXPECT_GE(w->width(), dlgUnitsToPixelsX(c.w)) << i;  // a text may widen it
    } else {
      EXPECT_EQ(w->width(), dlgUnitsToPixelsX(c.w)) << i;
    }
    if (c.kind != DLG_COMBO) {
      EXPECT_EQ(w->height(), dlgUnitsToPixelsY(c.h)) << i;
    }
    const QString caption = QString::fromUtf8(c.captionUtf8);
    EXPECT_TRUE(textShownWhole(w)) << "cut: control " << i << " of " << t.resourceId;
    // A text that widens its control must not run under the next one.
    if (c.kind == DLG_CHECK || c.kind == DLG_RADIO || c.kind == DLG_STATIC) {
      const QRect needed(w->x(), w->y(), inkWidth(w), w->height());
      for (QWidget* other : dialog->findChildren<QWidget*>()) {
        if (other == w || !other->property("dlgIndex").isValid() || qobject_cast<QGroupBox*>(other)) continue;
        EXPECT_FALSE(needed.intersects(other->geometry()))
            << "control " << i << " of " << t.resourceId << " runs under " << other->property("dlgIndex").toInt();
      }
    }
    switch (c.kind) {
      case DLG_PUSH:
      case DLG_DEFPUSH: {
        auto* b = qobject_cast<QPushButton*>(w);
        ASSERT_NE(b, nullptr) << i;
        EXPECT_EQ(b->text(), caption);
        EXPECT_EQ(b->isDefault(), c.kind == DLG_DEFPUSH);
        break;
      }
      case DLG_RADIO: EXPECT_NE(qobject_cast<QRadioButton*>(w), nullptr) << i; break;
      case DLG_CHECK:
        ASSERT_NE(qobject_cast<QCheckBox*>(w), nullptr) << i;
        EXPECT_EQ(qobject_cast<QCheckBox*>(w)->text(), caption);
        break;
      case DLG_EDIT: {
        auto* e = qobject_cast<QLineEdit*>(w);
        ASSERT_NE(e, nullptr) << i;
        EXPECT_EQ(e->isReadOnly(), (c.style & DLG_EDIT_READONLY) != 0);
        EXPECT_EQ(e->hasFrame(), (c.style & DLG_EDIT_BORDER) != 0);
        break;
      }
      case DLG_GROUP:
        ASSERT_NE(qobject_cast<QGroupBox*>(w), nullptr) << i;
        EXPECT_EQ(qobject_cast<QGroupBox*>(w)->title(), caption);
        EXPECT_TRUE(w->testAttribute(Qt::WA_TransparentForMouseEvents));
        break;
      case DLG_COMBO: EXPECT_NE(qobject_cast<QComboBox*>(w), nullptr) << i; break;
      case DLG_TRACKBAR: EXPECT_NE(qobject_cast<QSlider*>(w), nullptr) << i; break;
      default: EXPECT_NE(qobject_cast<QLabel*>(w), nullptr) << i; break;
    }
  }
}

template <class W>
W* control(QDialog* d, int id) {
  return d->findChild<W*>(QStringLiteral("ctl_%1").arg(id));
}

class QtDialogTest : public DialogTest {
 protected:
  void SetUp() override {
    ensureApplication();
    DialogTest::SetUp();
  }
  void TearDown() override {
    DialogTest::TearDown();
    dlgTestSetQtInspector(nullptr);
    setTextLanguage(TEXT_JAPANESE);
  }
};

TEST_F(QtDialogTest, DialogUnitsFollowTheFontAndStayReadable) {
  // The 9-point face gives whole pixels of about one and a half per unit.
  EXPECT_GE(dlgUnitsToPixelsX(4), 5);
  EXPECT_LE(dlgUnitsToPixelsX(4), 8);
  EXPECT_GE(dlgUnitsToPixelsY(8), 11);
  EXPECT_LE(dlgUnitsToPixelsY(8), 18);
  EXPECT_EQ(dlgUnitsToPixelsX(0), 0);
  EXPECT_GT(dlgUnitsToPixelsX(215), dlgUnitsToPixelsX(199));
}

TEST_F(QtDialogTest, StartupFormHasItsControlsAndTheRadiosGiveWayToEachOther) {
  FakeDocs::pickOpen = 1;
  FakeDocs::openChoice = "/maps/a.bct";
  bool inspected = false;
  dlgTestSetQtInspector([&](QDialog* d, DlgHandle* h) {
    inspected = true;
    expectBuiltAsTemplate(d, STARTUP_TEMPLATE);
    maybeSaveShot(d, 105);
    auto* newMap = control<QRadioButton>(d, STARTUP_NEW_MAP);
    auto* openMap = control<QRadioButton>(d, STARTUP_OPEN_MAP);
    ASSERT_TRUE(newMap && openMap);
    EXPECT_TRUE(newMap->isChecked());
    EXPECT_FALSE(control<QLineEdit>(d, STARTUP_MAP_PATH)->isEnabled());
    EXPECT_EQ(control<QLineEdit>(d, STARTUP_WALLPAPER_PATH)->text(), QStringLiteral("/prog/Brin.bmp"));
    EXPECT_EQ(control<QLabel>(d, INFO_VERSION)->text(), QStringLiteral("Ver0.93b"));
    control<QPushButton>(d, STARTUP_MAP_BROWSE)->click();
    EXPECT_TRUE(openMap->isChecked());
    EXPECT_FALSE(newMap->isChecked());
    EXPECT_TRUE(control<QLineEdit>(d, STARTUP_MAP_PATH)->isEnabled());
    EXPECT_EQ(control<QLineEdit>(d, STARTUP_MAP_PATH)->text(), QStringLiteral("/maps/a.bct"));
    // Both radios may be cleared from the program, as the Win32 buttons allow.
    dlgCheck(h, STARTUP_OPEN_MAP, 0);
    EXPECT_FALSE(openMap->isChecked());
    EXPECT_FALSE(newMap->isChecked());
    newMap->click();
    EXPECT_FALSE(control<QLineEdit>(d, STARTUP_MAP_PATH)->isEnabled());
    // Text that Shift_JIS cannot hold is reported, not substituted.
    control<QLineEdit>(d, STARTUP_CHIP_PATH)->setText(QString::fromUtf8("/\xED\x95\x9C.bmp"));
    char out[PATH_STORE];
    EXPECT_EQ(dlgGetText(h, STARTUP_CHIP_PATH, out, PATH_STORE), -1);
    control<QLineEdit>(d, STARTUP_CHIP_PATH)->setText(QString::fromUtf8("/画像.bmp"));
    EXPECT_EQ(dlgGetText(h, STARTUP_CHIP_PATH, out, PATH_STORE), 9);  // two double-byte characters
    d->reject();  // Escape / close box
  });
  EXPECT_EQ(startupDialog(), 2);
  EXPECT_TRUE(inspected);
}

TEST_F(QtDialogTest, MapSizeFormFillsItsListsAndFollowsChoices) {
  setChipWidth(8);
  dlgTestSetQtInspector([&](QDialog* d, DlgHandle*) {
    expectBuiltAsTemplate(d, MAP_SIZE_TEMPLATE);
    maybeSaveShot(d, 102);
    auto* cellsX = control<QComboBox>(d, MAPSIZE_CELLS_X);
    auto* chipW = control<QComboBox>(d, MAPSIZE_CHIP_W);
    ASSERT_TRUE(cellsX && chipW);
    EXPECT_EQ(cellsX->count(), 256);
    EXPECT_EQ(cellsX->currentText(), QStringLiteral("40"));
    EXPECT_EQ(chipW->count(), 4);
    EXPECT_EQ(chipW->currentIndex(), -1);
    EXPECT_EQ(control<QLabel>(d, MAPSIZE_PIXELS_X)->text(), QStringLiteral("320"));
    chipW->setCurrentIndex(3);
    emit chipW->activated(3);
    EXPECT_EQ(control<QLabel>(d, MAPSIZE_PIXELS_X)->text(), QStringLiteral("2560"));
    control<QPushButton>(d, DLG_OK_BUTTON)->click();
  });
  EXPECT_EQ(askMapSize(), 1);
  EXPECT_EQ(doc.chipWidth, 64);
}

TEST_F(QtDialogTest, SettingsAndAttributeFormsOpenOnTheStoredValues) {
  settings.scrollSpeed = 250;
  dlgTestSetQtInspector([&](QDialog* d, DlgHandle*) {
    expectBuiltAsTemplate(d, SETTINGS_TEMPLATE);
    maybeSaveShot(d, 110);
    auto* speed = control<QSlider>(d, SETTINGS_SPEED);
    ASSERT_NE(speed, nullptr);
    EXPECT_EQ(speed->minimum(), 0);
    EXPECT_EQ(speed->maximum(), 600);
    EXPECT_EQ(speed->value(), 150);
    EXPECT_EQ(speed->tickPosition(), QSlider::NoTicks);
    EXPECT_TRUE(control<QCheckBox>(d, SETTINGS_GUIDE_LINES)->isChecked());
    control<QPushButton>(d, DLG_CANCEL_BUTTON)->click();
  });
  EXPECT_EQ(settingsDialog(), 0);

  session.currentAttribute = 42;
  dlgTestSetQtInspector([&](QDialog* d, DlgHandle*) {
    expectBuiltAsTemplate(d, ATTRIBUTE_TEMPLATE);
    maybeSaveShot(d, 112);
    auto* list = control<QComboBox>(d, ATTRIBUTE_LIST);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 1000);
    EXPECT_EQ(list->currentText(), QStringLiteral("42"));
    control<QPushButton>(d, DLG_OK_BUTTON)->click();
  });
  EXPECT_EQ(attributeDialogOnCurrent(), 1);
  EXPECT_EQ(session.currentAttribute, 42);
}

TEST_F(QtDialogTest, EveryFormSpeaksEnglishWholeOnRequest) {
  setTextLanguage(TEXT_ENGLISH);
  struct Form {
    const DlgTemplate& tmpl;
    int (*open)();
  };
  const Form forms[] = {{STARTUP_TEMPLATE, startupDialog},
                        {MAP_SIZE_TEMPLATE, askMapSize},
                        {SETTINGS_TEMPLATE, settingsDialog},
                        {ATTRIBUTE_TEMPLATE, attributeDialogOnCurrent}};
  for (const Form& form : forms) {
    int inspected = 0;
    dlgTestSetQtInspector([&](QDialog* d, DlgHandle*) {
      ++inspected;
      // The same form, captions in English, each shown whole.
      expectBuiltAsTemplate(d, shownTemplate(form.tmpl));
      maybeSaveShot(d, 1000 + form.tmpl.resourceId);
      QStringList shown{d->windowTitle()};
      for (auto* b : d->findChildren<QAbstractButton*>()) shown << b->text();
      for (auto* g : d->findChildren<QGroupBox*>()) shown << g->title();
      for (auto* l : d->findChildren<QLabel*>()) shown << l->text();
      for (const QString& s : shown)
        for (QChar c : s) EXPECT_LT(c.unicode(), 0x80) << form.tmpl.resourceId << ": " << s.toStdString();
      d->reject();
    });
    form.open();
    EXPECT_EQ(inspected, 1) << form.tmpl.resourceId;
  }
  // The settings form keeps a new language for the next start and says so.
  settings.showWallpaper = 0;
  dlgTestSetQtInspector([&](QDialog* d, DlgHandle*) {
    auto* language = control<QComboBox>(d, SETTINGS_LANGUAGE);
    ASSERT_NE(language, nullptr);
    EXPECT_EQ(language->count(), 3);
    EXPECT_EQ(language->currentIndex(), 0);  // follows the environment
    language->setCurrentIndex(2);
    control<QPushButton>(d, DLG_OK_BUTTON)->click();
  });
  EXPECT_EQ(settingsDialog(), 1);
  EXPECT_STREQ(settings.language, "en");
  ASSERT_EQ(FakeDocs::messages.size(), 1u);
  EXPECT_EQ(FakeDocs::messages[0].rfind(uiText(texts::LANGUAGE_NEXT_START), 0), 0u) << FakeDocs::messages[0];
}

TEST_F(QtDialogTest, ModalRunEndsWithTheProcedureResultAndEscapeCancels) {
  session.currentAttribute = 3;
  // Answer from inside the modal loop, as a user would.
  QTimer::singleShot(0, [] {
    auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    auto* list = control<QComboBox>(d, ATTRIBUTE_LIST);
    list->setCurrentIndex(5);
    emit list->activated(5);
    control<QPushButton>(d, DLG_OK_BUTTON)->click();
  });
  EXPECT_EQ(attributeDialogOnCurrent(), 1);
  EXPECT_EQ(session.currentAttribute, 5);

  QTimer::singleShot(0, [] {
    auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    d->reject();
  });
  EXPECT_EQ(askMapSize(), 0);
  EXPECT_EQ(doc.mapCellsX, 40);
}

void pressKey(QWidget* w, int key) {
  QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(w, &down);
  QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(w, &up);
}

// Return on a focused push button presses that button, in every dialog.
TEST_F(QtDialogTest, ReturnPressesTheFocusedButton) {
  struct Case {
    int (*run)();
    int cancelled;
  };
  for (Case c :
       {Case{startupDialog, 2}, Case{askMapSize, 0}, Case{settingsDialog, 0}, Case{attributeDialogOnCurrent, 0}}) {
    QTimer::singleShot(0, [] {
      auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(d, nullptr);
      auto* cancel = control<QPushButton>(d, DLG_CANCEL_BUTTON);
      cancel->setFocus();
      pressKey(cancel, Qt::Key_Return);
      if (d->isVisible()) d->reject();  // never leave the loop open
    });
    EXPECT_EQ(c.run(), c.cancelled);
  }
}

// Qt's own texts are Japanese; the quit question is answered only by a button.
TEST_F(QtDialogTest, ChoosersAndBoxesSpeakJapaneseAndYesNoHasNoEscape) {
  ASSERT_EQ(platformInit(0, nullptr), 1);  // loads the translations
  FileChooserSetup open = {0, "ＢＭＰファイル？", "ＢＭＰファイル[*.bmp]", "*.bmp", "bmp"};
  QFileDialog* chooser = platformBuildFileDialog(open, "");
  auto* buttons = chooser->findChild<QDialogButtonBox*>();
  ASSERT_NE(buttons, nullptr);
  EXPECT_TRUE(buttons->button(QDialogButtonBox::Open)->text().startsWith(QString::fromUtf8("開く")));
  EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8("キャンセル"));
  delete chooser;

  platformSetMessageBoxHook(nullptr);  // the real box
  QTimer::singleShot(0, [] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->button(QMessageBox::Yes)->text(), QString::fromUtf8("はい"));
    EXPECT_EQ(box->button(QMessageBox::No)->text(), QString::fromUtf8("いいえ"));
    for (int i = 0; i < 5; ++i) pressKey(box, Qt::Key_Escape);  // a held, repeating Esc
    box->close();
    EXPECT_TRUE(box->isVisible()) << "Esc or the close box answered the question";
    box->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(platformMessageBox("おわっちゃうよ？", "いいのかな？", BOX_YES_NO | BOX_INFORMATION), ANSWERED_NO);
}

}  // namespace

// The attribute dialog opens with the number field at the keyboard: 1, 2 and
// Return choose 12; a number beyond the list is refused and the dialog stays.
TEST_F(QtDialogTest, AttributeDialogTakesTypedNumbers) {
  auto type = [](const char* keys) {
    for (const char* k = keys; *k; ++k) {
      QWidget* w = QApplication::focusWidget();
      ASSERT_NE(w, nullptr);
      const int key = *k == '\r' ? Qt::Key_Return : Qt::Key_0 + (*k - '0');
      const QString text = *k == '\r' ? QStringLiteral("\r") : QString(QChar(*k));
      QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
      QApplication::sendEvent(w, &down);
      QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
      QApplication::sendEvent(w, &up);
    }
  };
  session.currentAttribute = 7;
  QTimer::singleShot(0, [&] {
    auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    d->activateWindow();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), control<QLineEdit>(d, ATTRIBUTE_TYPED));
    type("12");
    EXPECT_EQ(control<QComboBox>(d, ATTRIBUTE_LIST)->currentText(), QStringLiteral("12"));
    type("\r");
    if (d->isVisible()) d->reject();
  });
  EXPECT_EQ(attributeDialogOnCurrent(), 1);
  EXPECT_EQ(session.currentAttribute, 12);

  static int boxes;
  boxes = 0;
  platformSetMessageBoxHook([](const char*, const char*, int) {
    ++boxes;
    return ANSWERED_OK;
  });
  QTimer::singleShot(0, [&] {
    auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    control<QLineEdit>(d, ATTRIBUTE_TYPED)->setText(QStringLiteral("1500"));
    control<QPushButton>(d, DLG_OK_BUTTON)->click();
    EXPECT_TRUE(d->isVisible());
    d->reject();
  });
  EXPECT_EQ(attributeDialogOnCurrent(), 0);
  platformSetMessageBoxHook(nullptr);
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(session.currentAttribute, 12);
}
