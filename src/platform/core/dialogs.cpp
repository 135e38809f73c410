// Dialog operations over a running dialog, and the in-memory double that
// test scripts drive in place of a real form.
#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "platform/core/backend.h"
#include "platform/core/dialog_handle.h"
#include "platform/dialog.h"
#include "platform/platform.h"
#include "platform/sjis.h"
#include "platform/testing.h"

namespace {

DlgTestScript testScript;

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

}  // namespace

void dlgTestSetScript(DlgTestScript script) { testScript = std::move(script); }

int dlgRun(const DlgTemplate& tmpl, DlgProc proc, void* context) {
  if (testScript) {
    MemDialog d(tmpl, proc);
    d.context = context;
    d.send(DLG_INIT, 0, 0);
    DlgTestScript script = testScript;  // the script may replace itself
    script(d);
    return d.ended ? d.DlgHandle::result : -1;
  }
  return backendRunDialog(tmpl, proc, context);
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

void dlgSetPath(DlgHandle* h, int id, const char* path) {
  if (h) h->setTextUtf8(id, path && utf8IsValid(path) ? std::string(path) : std::string());
}

int dlgGetPath(DlgHandle* h, int id, char* out, int outSize) {
  if (!out || outSize <= 0) return -1;
  out[0] = '\0';
  if (!h) return -1;
  std::string utf8 = h->textUtf8(id);
  if (utf8.empty()) return 0;
  return osPathOf(utf8.c_str(), out, static_cast<size_t>(outSize));
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
