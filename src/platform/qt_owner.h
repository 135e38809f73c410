// The window that owns a dialog, a message box or a chooser opened now: the
// modal window in front (a chooser opened from a dialog stays above it and
// leaves it visible), else the main window, else none.
#pragma once

class QWidget;

QWidget* platformDialogOwner();
