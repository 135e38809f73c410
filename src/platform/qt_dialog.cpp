// The form builder: dialog templates become modal QDialogs with absolutely
// placed widgets, or, under a test script, an in-memory double of the same
// controls.
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

#include "platform/platform.h"
#include "platform/qt_owner.h"
#include "platform/sjis.h"

// ---------------------------------------------------------------------------
// The common face of both back ends. Texts cross this boundary as UTF-8.
struct DlgHandle {
  const DlgTemplate* tmpl = nullptr;
  DlgProc proc = nullptr;
  int result = -1;
  bool ended = false;

  virtual ~DlgHandle() = default;
  virtual void setTextUtf8(int id, const std::string& utf8) = 0;
  virtual std::string textUtf8(int id) const = 0;
  virtual void setChecked(int id, bool on) = 0;
  virtual bool isCheckedAt(int id) const = 0;
  virtual void setEnabledAt(int id, bool on) = 0;
  virtual bool isEnabledAt(int id) const = 0;
  virtual void addItem(int id, const std::string& utf8) = 0;
  virtual void setSelection(int id, int index) = 0;
  virtual int selection(int id) const = 0;
  virtual void setRange(int id, int lo, int hi) = 0;
  virtual void setPos(int id, int pos) = 0;
  virtual int pos(int id) const = 0;
  virtual void setIcon() {}
  virtual void close() = 0;

  void send(int event, int id, int code) {
    if (proc && !ended) proc(this, event, id, code);
  }
  bool hasControl(int id) const {
    for (int i = 0; i < tmpl->controlCount; ++i)
      if (tmpl->controls[i].id == id) return true;
    return false;
  }
  // Escape and the close box act as the Cancel button where there is one.
  void cancelRequested() {
    if (hasControl(DLG_IDCANCEL)) send(DLG_COMMAND, DLG_IDCANCEL, DLGN_CLICKED);
  }
};

namespace {

DlgTestScript testScript;
DlgQtInspector qtInspector;

std::string sjisToUtf8String(const char* sjis) {
  char buf[1024];
  if (!sjis || sjisToUtf8(sjis, buf, sizeof buf) < 0) return std::string();
  return std::string(buf);
}

// GetDlgItemInt without sign: leading blanks, then digits; anything else is 0.
unsigned parseUInt(const std::string& s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  if (i >= s.size() || s[i] < '0' || s[i] > '9') return 0;
  unsigned long long v = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    v = v * 10 + static_cast<unsigned>(s[i] - '0');
    if (v > 0xFFFFFFFFull) return 0;
  }
  return static_cast<unsigned>(v);
}

// ---------------------------------------------------------------------------
// In-memory double.
struct MemControl {
  const DlgControl* c;
  std::string text;  // UTF-8
  bool checked = false;
  bool enabled = true;
  std::vector<std::string> items;
  int sel = -1;
  int lo = 0, hi = 100, pos = 0;
  int radioGroup = -1;
};

class MemDialog final : public DlgHandle, public DlgTest {
 public:
  MemDialog(const DlgTemplate& t, DlgProc p) {
    tmpl = &t;
    proc = p;
    int group = 0;
    bool inRun = false;
    for (int i = 0; i < t.controlCount; ++i) {
      MemControl m;
      m.c = &t.controls[i];
      m.text = m.c->captionUtf8 ? m.c->captionUtf8 : "";
      if (m.c->kind == DLG_COMBO) m.text.clear();
      if (m.c->kind == DLG_RADIO) {
        if (!inRun) ++group;
        inRun = true;
        m.radioGroup = group;
      } else {
        inRun = false;
      }
      controls_.push_back(std::move(m));
    }
  }

  MemControl* find(int id) {
    if (id == DLG_NO_ID) return nullptr;
    for (auto& m : controls_)
      if (m.c->id == id) return &m;
    return nullptr;
  }
  const MemControl* find(int id) const { return const_cast<MemDialog*>(this)->find(id); }

  // --- DlgHandle
  void setTextUtf8(int id, const std::string& utf8) override {
    if (MemControl* m = find(id)) {
      if (m->c->kind == DLG_COMBO) return;  // a drop-down list shows its entries only
      m->text = utf8;
    }
  }
  std::string textUtf8(int id) const override {
    const MemControl* m = find(id);
    if (!m) return std::string();
    if (m->c->kind == DLG_COMBO)
      return m->sel >= 0 && m->sel < static_cast<int>(m->items.size()) ? m->items[m->sel] : std::string();
    return m->text;
  }
  void setChecked(int id, bool on) override {
    if (MemControl* m = find(id)) m->checked = on;
  }
  bool isCheckedAt(int id) const override {
    const MemControl* m = find(id);
    return m && m->checked;
  }
  void setEnabledAt(int id, bool on) override {
    if (MemControl* m = find(id)) m->enabled = on;
  }
  bool isEnabledAt(int id) const override {
    const MemControl* m = find(id);
    return m && m->enabled;
  }
  void addItem(int id, const std::string& utf8) override {
    if (MemControl* m = find(id); m && m->c->kind == DLG_COMBO) m->items.push_back(utf8);
  }
  void setSelection(int id, int index) override {
    if (MemControl* m = find(id); m && m->c->kind == DLG_COMBO)
      m->sel = index >= 0 && index < static_cast<int>(m->items.size()) ? index : -1;
  }
  int selection(int id) const override {
    const MemControl* m = find(id);
    return m ? m->sel : -1;
  }
  void setRange(int id, int lo, int hi) override {
    if (MemControl* m = find(id)) {
      m->lo = lo;
      m->hi = std::max(lo, hi);
      m->pos = std::clamp(m->pos, m->lo, m->hi);
    }
  }
  void setPos(int id, int p) override {
    if (MemControl* m = find(id)) m->pos = std::clamp(p, m->lo, m->hi);
  }
  int pos(int id) const override {
    const MemControl* m = find(id);
    return m ? m->pos : 0;
  }
  void close() override {}

  // --- DlgTest
  bool usable(int id) { MemControl* m = find(id); return !ended && m && m->enabled; }

  void click(int id) override {
    if (!usable(id)) return;
    MemControl* m = find(id);
    switch (m->c->kind) {
      case DLG_CHECK:
        m->checked = !m->checked;
        break;
      case DLG_RADIO:
        for (auto& o : controls_)
          if (o.radioGroup == m->radioGroup) o.checked = false;
        m->checked = true;
        break;
      case DLG_PUSH:
      case DLG_DEFPUSH:
        break;
      default:
        return;  // statics, fields and lists do not click
    }
    send(DLG_COMMAND, id, DLGN_CLICKED);
  }
  void type(int id, const char* utf8) override {
    if (!usable(id)) return;
    MemControl* m = find(id);
    if (m->c->kind != DLG_EDIT || (m->c->style & DLG_EDIT_READONLY)) return;
    m->text = utf8;
    send(DLG_COMMAND, id, DLGN_EDITCHANGE);
  }
  void choose(int id, int index) override {
    if (!usable(id)) return;
    MemControl* m = find(id);
    if (m->c->kind != DLG_COMBO) return;
    send(DLG_COMMAND, id, DLGN_DROPDOWN);
    setSelection(id, index);
    send(DLG_COMMAND, id, DLGN_SELCHANGE);
    send(DLG_COMMAND, id, DLGN_CLOSEUP);
  }
  void slide(int id, int p) override {
    if (!usable(id)) return;
    if (find(id)->c->kind == DLG_TRACKBAR) setPos(id, p);
  }
  void escape() override {
    if (!ended) cancelRequested();
  }
  bool isOpen() const override { return !ended; }
  int result() const override { return DlgHandle::result; }
  std::string text(int id) const override { return textUtf8(id); }
  bool checked(int id) const override { return isCheckedAt(id); }
  bool enabled(int id) const override { return isEnabledAt(id); }
  int listCount(int id) const override {
    const MemControl* m = find(id);
    return m ? static_cast<int>(m->items.size()) : 0;
  }
  std::string listEntry(int id, int index) const override {
    const MemControl* m = find(id);
    if (!m || index < 0 || index >= static_cast<int>(m->items.size())) return std::string();
    return m->items[index];
  }
  int listSelection(int id) const override { return selection(id); }
  int trackPos(int id) const override { return pos(id); }
  int trackMin(int id) const override { const MemControl* m = find(id); return m ? m->lo : 0; }
  int trackMax(int id) const override { const MemControl* m = find(id); return m ? m->hi : 0; }
  int templateId() const override { return tmpl->resourceId; }

 private:
  std::vector<MemControl> controls_;
};

// ---------------------------------------------------------------------------
// Qt back end.

// The substitute for the templates' font: the proportional IPA Gothic face,
// whose metrics come closest to the Windows Gothic face the layouts were drawn in.
QFont dialogFont(const DlgTemplate* t) {
  QString family = QString::fromUtf8(t && t->fontNameUtf8 ? t->fontNameUtf8 : "");
  if (family.isEmpty() || !QFontDatabase::hasFamily(family)) family = QStringLiteral("IPAPGothic");
  QFont f(family);
  f.setPointSize(t && t->fontPoints > 0 ? t->fontPoints : 9);
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
      QFontMetrics fm(dialogFont(nullptr));
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
    dialog_->setFont(dialogFont(&t));
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

int dlgUnitsToPixelsX(int dlu) {
  int bx, by;
  baseUnits(&bx, &by);
  return (dlu * bx + 2) / 4;
}

int dlgUnitsToPixelsY(int dlu) {
  int bx, by;
  baseUnits(&bx, &by);
  return (dlu * by + 4) / 8;
}

void dlgTestSetScript(DlgTestScript script) { testScript = std::move(script); }
void dlgTestSetQtInspector(DlgQtInspector inspector) { qtInspector = std::move(inspector); }

int dlgRun(const DlgTemplate& tmpl, DlgProc proc) {
  if (testScript) {
    MemDialog d(tmpl, proc);
    d.send(DLG_INIT, 0, 0);
    DlgTestScript script = testScript;  // the script may replace itself
    script(d);
    return d.ended ? d.DlgHandle::result : -1;
  }
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return -1;
  QtDialog d(tmpl, proc);
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

void dlgSetText(DlgHandle* h, int id, const char* sjis) {
  if (h) h->setTextUtf8(id, sjisToUtf8String(sjis));
}

int dlgGetText(DlgHandle* h, int id, char* out, int outSize) {
  if (!out || outSize <= 0) return -1;
  out[0] = '\0';
  if (!h) return -1;
  std::string utf8 = h->textUtf8(id);
  return utf8ToSjis(utf8.c_str(), out, static_cast<size_t>(outSize));
}

void dlgCheck(DlgHandle* h, int id, int checked) {
  if (h) h->setChecked(id, checked != 0);
}
int dlgIsChecked(DlgHandle* h, int id) { return h && h->isCheckedAt(id) ? 1 : 0; }
void dlgEnable(DlgHandle* h, int id, int enabled) {
  if (h) h->setEnabledAt(id, enabled != 0);
}
int dlgIsEnabled(DlgHandle* h, int id) { return h && h->isEnabledAt(id) ? 1 : 0; }
void dlgListAdd(DlgHandle* h, int id, const char* sjis) {
  if (h) h->addItem(id, sjisToUtf8String(sjis));
}
void dlgListSetCurSel(DlgHandle* h, int id, int index) {
  if (h) h->setSelection(id, index);
}
int dlgListGetCurSel(DlgHandle* h, int id) { return h ? h->selection(id) : -1; }
unsigned dlgGetUInt(DlgHandle* h, int id) { return h ? parseUInt(h->textUtf8(id)) : 0; }
void dlgSetUInt(DlgHandle* h, int id, unsigned value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%u", value);
  if (h) h->setTextUtf8(id, buf);
}
void dlgTrackbarSetRange(DlgHandle* h, int id, int lo, int hi) {
  if (h) h->setRange(id, lo, hi);
}
void dlgTrackbarSetPos(DlgHandle* h, int id, int pos) {
  if (h) h->setPos(id, pos);
}
int dlgTrackbarGetPos(DlgHandle* h, int id) { return h ? h->pos(id) : 0; }
void dlgSetProgramIcon(DlgHandle* h) {
  if (h) h->setIcon();
}
void dlgEnd(DlgHandle* h, int result) {
  if (!h || h->ended) return;
  h->result = result;
  h->ended = true;
  h->close();
}
int dlgMessageBox(DlgHandle*, const char* textUtf8, const char* captionUtf8, int flags) {
  // While the dialog runs modally it is the active window, so the box stays
  // above it and blocks it until answered.
  return platformMessageBox(textUtf8, captionUtf8, flags);
}
