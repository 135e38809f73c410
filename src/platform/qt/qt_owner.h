// The window that owns a dialog, a message box or a chooser opened now: the
// modal window in front (a chooser opened from a dialog stays above it and
// leaves it visible), else the main window, else none.
#pragma once

class QDialog;
class QWidget;

QWidget* platformDialogOwner();
// Runs a dialog, a box or a chooser modally and counts the time it takes
// (a chooser opened from a dialog counts once, with it).
int platformRunModal(QDialog* dialog);
