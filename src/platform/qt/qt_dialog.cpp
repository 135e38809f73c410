// The form builder: dialog templates become modal QDialogs with absolutely
// placed widgets.
#include "platform/dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QStyle>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/core/backend.h"
#include "platform/core/dialog_handle.h"
#include "platform/platform.h"
#include "platform/qt/qt_owner.h"
#include "platform/qt/qt_testing.h"
#include "platform/sjis.h"

namespace {

DlgQtInspector qtInspector;
int formScale = 1;  // dlgSetScale

// The substitute for the templates' font: the proportional IPA Gothic face,
// whose metrics come closest to the Windows Gothic face the layouts were drawn in.
QFont dialogFont(const DlgTemplate* t, int scale) {
  QString family = QString::fromUtf8(t && t->fontNameUtf8 ? t->fontNameUtf8 : "");
  if (family.isEmpty() || !QFontDatabase::hasFamily(family)) family = QStringLiteral("IPAPGothic");
  QFont f(family);
  f.setPointSize((t && t->fontPoints > 0 ? t->fontPoints : 9) * scale);
  return f;
}

// Base units of the dialog font: the average width of the Latin letters and the
// line height, as the Windows dialog manager measures them. Without a running
// application (no fonts to measure) the values of a 9-point Gothic face at
// 96 dots per inch stand in.
void baseUnits(int* bx, int* by) {
  static int cachedX = 0, cachedY = 0;
  if (cachedX == 0) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
      QFontMetrics fm(dialogFont(nullptr, 1));
      const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
      int avg = (fm.horizontalAdvance(letters) / 26 + 1) / 2;
      cachedX = std::clamp(avg, 4, 12);
      cachedY = std::clamp(fm.height(), 10, 24);
    } else {
      cachedX = 6;
      cachedY = 13;
    }
  }
  *bx = cachedX;
  *by = cachedY;
}

// The width a window manager's title bar needs to show a caption whole. Its
// face is its own and often larger than ours, so the bold text gets a quarter
// more, and the window icon and up to three buttons about a line's height each
// with their padding. A dialog laid out narrower grows to it.
int captionWidth(const QString& caption) {
  QFont f = QApplication::font();
  f.setBold(true);
  const QFontMetrics fm(f);
  return fm.horizontalAdvance(caption) * 5 / 4 + 6 * fm.height();
}

class BuiltDialog final : public QDialog {
 public:
  BuiltDialog(QWidget* parent, DlgHandle* owner) : QDialog(parent), owner_(owner) {}
  void reject() override { owner_->cancelRequested(); }
  void accept() override {}  // only the procedure ends the dialog

 private:
  DlgHandle* owner_;
};

class QtDialog final : public DlgHandle {
 public:
  QtDialog(const DlgTemplate& t, DlgProc p) {
    tmpl = &t;
    proc = p;
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (t.systemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    dialog_ = new BuiltDialog(platformDialogOwner(), this);
    dialog_->setWindowFlags(flags);
    dialog_->setWindowTitle(QString::fromUtf8(t.captionUtf8));
    dialog_->setFont(dialogFont(&t, formScale));
    dialog_->setObjectName(QStringLiteral("dialog%1").arg(t.resourceId));
    const int laidOut = dlgUnitsToPixelsX(t.w);
    const int width = std::max(laidOut, captionWidth(dialog_->windowTitle()));
    shiftX_ = (width - laidOut) / 2;
    dialog_->setFixedSize(width, dlgUnitsToPixelsY(t.h));
    build();
  }
  ~QtDialog() override { delete dialog_; }

  BuiltDialog* dialog() { return dialog_; }

  void place() {
    QScreen* screen = QGuiApplication::primaryScreen();
    QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    QSize size = dialog_->size();
    QPoint centre = tmpl->placement == DLG_PLACE_AT_POINTER ? QCursor::pos() : area.center();
    int x = centre.x() - size.width() / 2;
    int y = centre.y() - size.height() / 2;
    x = std::clamp(x, area.left(), std::max(area.left(), area.right() - size.width()));
    y = std::clamp(y, area.top(), std::max(area.top(), area.bottom() - size.height()));
    dialog_->move(x, y);
  }

  QWidget* widget(int id) const {
    if (id == DLG_NO_ID) return nullptr;
    for (const auto& [cid, w] : widgets_)
      if (cid == id) return w;
    return nullptr;
  }

  void setTextUtf8(int id, const std::string& utf8) override {
    QString s = QString::fromUtf8(utf8.c_str());
    QWidget* w = widget(id);
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(s);
    else if (auto* l = qobject_cast<QLabel*>(w)) l->setText(s);
    else if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(s);
    else if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(s);
  }
  std::string textUtf8(int id) const override {
    QWidget* w = widget(id);
    QString s;
    if (auto* e = qobject_cast<QLineEdit*>(w)) s = e->text();
    else if (auto* l = qobject_cast<QLabel*>(w)) s = l->text();
    else if (auto* b = qobject_cast<QAbstractButton*>(w)) s = b->text();
    else if (auto* c = qobject_cast<QComboBox*>(w)) s = c->currentIndex() >= 0 ? c->currentText() : QString();
    return s.toUtf8().toStdString();
  }
  void setChecked(int id, bool on) override {
    auto* b = qobject_cast<QAbstractButton*>(widget(id));
    if (!b) return;
    QButtonGroup* g = b->group();
    if (g && !on) g->setExclusive(false);  // an exclusive group never lets its last button go
    b->setChecked(on);
    if (g && !on) g->setExclusive(true);
  }
  bool isCheckedAt(int id) const override {
    auto* b = qobject_cast<QAbstractButton*>(widget(id));
    return b && b->isChecked();
  }
  void setEnabledAt(int id, bool on) override {
    if (QWidget* w = widget(id)) w->setEnabled(on);
  }
  bool isEnabledAt(int id) const override {
    QWidget* w = widget(id);
    return w && w->isEnabled();
  }
  void addItem(int id, const std::string& utf8) override {
    if (auto* c = qobject_cast<QComboBox*>(widget(id))) {
      QSignalBlocker block(c);
      c->addItem(QString::fromUtf8(utf8.c_str()));
      c->setCurrentIndex(-1);
    }
  }
  void setSelection(int id, int index) override {
    if (auto* c = qobject_cast<QComboBox*>(widget(id))) {
      QSignalBlocker block(c);
      c->setCurrentIndex(index >= 0 && index < c->count() ? index : -1);
    }
  }
  int selection(int id) const override {
    auto* c = qobject_cast<QComboBox*>(widget(id));
    return c ? c->currentIndex() : -1;
  }
  void setRange(int id, int lo, int hi) override {
    if (auto* s = qobject_cast<QSlider*>(widget(id))) s->setRange(lo, std::max(lo, hi));
  }
  void setPos(int id, int p) override {
    if (auto* s = qobject_cast<QSlider*>(widget(id))) s->setValue(p);
  }
  int pos(int id) const override {
    auto* s = qobject_cast<QSlider*>(widget(id));
    return s ? s->value() : 0;
  }
  void setIcon() override { dialog_->setWindowIcon(programIcon()); }
  void close() override { dialog_->done(0); }

 private:
  QIcon programIcon() const {
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull()) icon = dialog_->style()->standardIcon(QStyle::SP_DesktopIcon);
    return icon;
  }

  void build() {
    QButtonGroup* radios = nullptr;
    std::vector<QWidget*> frames;
    for (int i = 0; i < tmpl->controlCount; ++i) {
      const DlgControl& c = tmpl->controls[i];
      const QString caption = QString::fromUtf8(c.captionUtf8 ? c.captionUtf8 : "");
      const int id = c.id;
      QRect r(dlgUnitsToPixelsX(c.x), dlgUnitsToPixelsY(c.y), dlgUnitsToPixelsX(c.w),
              dlgUnitsToPixelsY(c.h));
      QWidget* w = nullptr;
      if (c.kind != DLG_RADIO) radios = nullptr;
      switch (c.kind) {
        case DLG_PUSH:
        case DLG_DEFPUSH: {
          auto* b = new QPushButton(caption, dialog_);
          // Return presses the focused push button, as on a desktop dialog;
          // with the focus elsewhere it presses the default button.
          b->setAutoDefault(true);
          b->setDefault(c.kind == DLG_DEFPUSH);
          QObject::connect(b, &QPushButton::clicked, [this, id] { send(DLG_COMMAND, id, DLGN_CLICKED); });
          w = b;
          break;
        }
        case DLG_RADIO: {
          auto* b = new QRadioButton(caption, dialog_);
          if (!radios) {
            radios = new QButtonGroup(dialog_);
            radios->setExclusive(true);
          }
          radios->addButton(b);
          QObject::connect(b, &QRadioButton::clicked, [this, id] { send(DLG_COMMAND, id, DLGN_CLICKED); });
          w = b;
          break;
        }
        case DLG_CHECK: {
          auto* b = new QCheckBox(caption, dialog_);
          QObject::connect(b, &QCheckBox::clicked, [this, id] { send(DLG_COMMAND, id, DLGN_CLICKED); });
          w = b;
          break;
        }
        case DLG_EDIT: {
          auto* e = new QLineEdit(caption, dialog_);
          e->setFrame((c.style & DLG_EDIT_BORDER) != 0);
          e->setReadOnly((c.style & DLG_EDIT_READONLY) != 0);
          if (c.style & DLG_EDIT_CENTRE) e->setAlignment(Qt::AlignCenter);
          if (!(c.style & DLG_EDIT_BORDER)) {
            // A borderless read-only field reads like a label on the dialog face.
            e->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; padding: 0; }"));
            e->setTextMargins(0, 0, 0, 0);
          }
          QObject::connect(e, &QLineEdit::textEdited, [this, id] { send(DLG_COMMAND, id, DLGN_EDITCHANGE); });
          w = e;
          break;
        }
        case DLG_STATIC: {
          auto* l = new QLabel(caption, dialog_);
          l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
          w = l;
          break;
        }
        case DLG_GROUP: {
          auto* g = new QGroupBox(caption, dialog_);
          g->setAttribute(Qt::WA_TransparentForMouseEvents);
          frames.push_back(g);
          w = g;
          break;
        }
        case DLG_ICON: {
          auto* l = new QLabel(dialog_);
          int side = std::min(r.width(), r.height());
          l->setPixmap(programIcon().pixmap(side, side));
          l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
          w = l;
          break;
        }
        case DLG_COMBO: {
          auto* b = new QComboBox(dialog_);
          b->setEditable(false);
          const int closed = std::min(b->sizeHint().height(), dlgUnitsToPixelsY(13));
          const int item = std::max(1, QFontMetrics(dialog_->font()).height());
          b->setMaxVisibleItems(std::max(1, (r.height() - closed) / item));
          r.setHeight(closed);
          QObject::connect(b, &QComboBox::activated, [this, id](int) { send(DLG_COMMAND, id, DLGN_SELCHANGE); });
          w = b;
          break;
        }
        case DLG_TRACKBAR: {
          auto* s = new QSlider(Qt::Horizontal, dialog_);
          s->setTickPosition(QSlider::NoTicks);
          w = s;
          break;
        }
        default:
          continue;
      }
      r.translate(shiftX_, 0);
      w->setGeometry(r);
      // The layouts were drawn for a narrower face than the one that stands
      // in for it: a text control grows to show its text whole, inside the dialog.
      if ((c.kind == DLG_CHECK || c.kind == DLG_RADIO || c.kind == DLG_STATIC) && !caption.isEmpty())
        w->resize(std::clamp(w->sizeHint().width(), r.width(), std::max(r.width(), dialog_->width() - r.x())),
                  r.height());
      w->setObjectName(id == DLG_NO_ID ? QStringLiteral("ctl_n%1").arg(i) : QStringLiteral("ctl_%1").arg(id));
      w->setProperty("dlgId", id);
      w->setProperty("dlgKind", c.kind);
      w->setProperty("dlgIndex", i);
      widgets_.emplace_back(id, w);
    }
    // Frames lie under the controls they surround.
    for (QWidget* f : frames) f->lower();
  }

  BuiltDialog* dialog_ = nullptr;
  int shiftX_ = 0;  // the controls move right by half of what the caption widened
  std::vector<std::pair<int, QWidget*>> widgets_;
};

}  // namespace

// ---------------------------------------------------------------------------

void dlgSetScale(int scale) {
  static qreal basePoints = 0;
  formScale = std::clamp(scale, 1, 8);
  // Message boxes and choosers take the application's font.
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
  QFont f = QApplication::font();
  if (basePoints <= 0) basePoints = f.pointSizeF() > 0 ? f.pointSizeF() : 9;
  f.setPointSizeF(basePoints * formScale);
  QApplication::setFont(f);
}

int dlgUnitsToPixelsX(int dlu) {
  int bx, by;
  baseUnits(&bx, &by);
  return (dlu * bx + 2) / 4 * formScale;
}

int dlgUnitsToPixelsY(int dlu) {
  int bx, by;
  baseUnits(&bx, &by);
  return (dlu * by + 4) / 8 * formScale;
}

void dlgTestSetQtInspector(DlgQtInspector inspector) { qtInspector = std::move(inspector); }

int backendRunDialog(const DlgTemplate& tmpl, DlgProc proc, void* context) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return -1;
  QtDialog d(tmpl, proc);
  d.context = context;
  d.send(DLG_INIT, 0, 0);
  if (d.ended) return d.result;
  d.place();
  if (qtInspector) {
    d.dialog()->show();
    QCoreApplication::processEvents();
    DlgQtInspector inspector = qtInspector;
    inspector(d.dialog(), &d);
    d.dialog()->hide();
    return d.ended ? d.result : -1;
  }
  platformRunModal(d.dialog());
  return d.ended ? d.result : -1;
}
