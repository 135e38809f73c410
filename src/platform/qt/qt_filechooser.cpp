// File choosers on QFileDialog.
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include "platform/core/backend.h"
#include "platform/filechooser.h"
#include "platform/qt/qt_owner.h"
#include "platform/qt/qt_testing.h"
#include "platform/sjis.h"

QFileDialog* platformBuildFileDialog(const FileChooserSetup& setup, const char* start) {
  auto* dialog = new QFileDialog(platformDialogOwner());
  dialog->setWindowTitle(QString::fromUtf8(setup.titleUtf8));
  dialog->setNameFilter(QString::fromUtf8(setup.filterLabelUtf8) + QStringLiteral(" (") +
                        QString::fromUtf8(setup.patternUtf8) + QStringLiteral(")"));
  dialog->setDefaultSuffix(QString::fromUtf8(setup.defaultSuffix));
  // Qt's own dialog everywhere, so the suffix and overwrite rules hold on every desktop.
  dialog->setOption(QFileDialog::DontUseNativeDialog, true);
  if (setup.save) {
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
  } else {
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
  }
  char utf8[4096];
  if (osPathOf(start, utf8, sizeof utf8) > 0) {
    QFileInfo startFile(QString::fromUtf8(utf8));
    if (startFile.path() != QStringLiteral(".")) dialog->setDirectory(startFile.absolutePath());
    dialog->selectFile(startFile.fileName());
  }
  return dialog;
}

int backendChooseFile(const FileChooserSetup& setup, const char* start, char* outPath, size_t outSize) {
  if (!QApplication::instance()) return 0;
  QFileDialog* dialog = platformBuildFileDialog(setup, start);
  int result = 0;
  if (platformRunModal(dialog) == QDialog::Accepted) {
    QStringList files = dialog->selectedFiles();
    if (!files.isEmpty()) {
      QByteArray utf8 = files.first().toUtf8();
      result = osPathOf(utf8.constData(), outPath, outSize) >= 0 ? 1 : -1;
    }
  }
  delete dialog;
  return result;
}
