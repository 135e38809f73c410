// The common face of a running dialog, whichever back end shows it: the
// Qt form and the in-memory double of the test scripts.
#pragma once

#include <string>

#include "platform/dialog.h"

// Texts cross this boundary as UTF-8.
struct DlgHandle {
  const DlgTemplate* tmpl = nullptr;
  DlgProc proc = nullptr;
  void* context = nullptr;  // handed to every call of proc
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
    if (proc && !ended) proc(this, context, event, id, code);
  }
  bool hasControl(int id) const {
    for (int i = 0; i < tmpl->controlCount; ++i)
      if (tmpl->controls[i].id == id) return true;
    return false;
  }
  // Escape and the close box act as the Cancel button where there is one.
  void cancelRequested() {
    if (hasControl(DLG_CANCEL_BUTTON)) send(DLG_COMMAND, DLG_CANCEL_BUTTON, DLGN_CLICKED);
  }
};
