// The watch on one file (the chip sheet), on Qt's file watcher.
//
// A paint program saves either in place or by writing a new file and renaming
// it over the old one; the second ends a watch on the file alone, so its
// folder is watched too. Events come in bursts while a file is written: each
// one restarts a short timer, and only when it runs out is the file looked at.
// It is told as changed when its identity, size or time differ from the last
// time it was told, so unrelated changes in the folder pass unnoticed.
#include <sys/stat.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGuiApplication>
#include <QString>
#include <QTimer>

#include "platform/core/messages.h"
#include "platform/platform.h"
#include "platform/sjis.h"

namespace {

// Long enough to cover the writes of one save, short enough that the new
// sheet shows well within a second.
constexpr int SETTLE_MS = 200;

struct FileStamp {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  long long mtimeNs = 0;
  bool operator==(const FileStamp&) const = default;
};

struct Watch {
  QFileSystemWatcher* watcher = nullptr;
  QTimer* settle = nullptr;
  QByteArray path;  // UTF-8, as the OS takes it
  FileStamp told;
} watch;

FileStamp stampOf(const QByteArray& path) {
  FileStamp s;
  struct stat st {};
  if (path.isEmpty() || ::stat(path.constData(), &st) != 0) return s;
  s.exists = true;
  s.device = st.st_dev;
  s.inode = st.st_ino;
  s.size = st.st_size;
  s.mtimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  return s;
}

// The file again after a rename over it (the watcher dropped the old one),
// and its folder.
void rewatch() {
  const QString file = QString::fromUtf8(watch.path);
  const QString folder = QFileInfo(file).absolutePath();
  if (!watch.watcher->files().contains(file) && QFileInfo::exists(file)) watch.watcher->addPath(file);
  if (!watch.watcher->directories().contains(folder)) watch.watcher->addPath(folder);
}

void lookAtFile() {
  if (watch.path.isEmpty()) return;
  rewatch();
  const FileStamp now = stampOf(watch.path);
  // A file that is gone for the moment (between delete and rename) is no
  // change yet; its return is.
  if (!now.exists || now == watch.told) return;
  watch.told = now;
  platMessagePush(PlatMessage{MESSAGE_FILE_CHANGED, 0, 0});
}

void ensureWatcher() {
  if (watch.watcher || !QCoreApplication::instance()) return;
  QCoreApplication* app = QCoreApplication::instance();
  watch.watcher = new QFileSystemWatcher(app);
  watch.settle = new QTimer(app);
  watch.settle->setSingleShot(true);
  watch.settle->setInterval(SETTLE_MS);
  QObject::connect(watch.settle, &QTimer::timeout, app, &lookAtFile);
  auto restart = [](const QString&) { watch.settle->start(); };
  QObject::connect(watch.watcher, &QFileSystemWatcher::fileChanged, app, restart);
  QObject::connect(watch.watcher, &QFileSystemWatcher::directoryChanged, app, restart);
  // A change the watcher missed (a network folder, a watch limit reached)
  // is still seen when the user comes back.
  if (auto* gui = qobject_cast<QGuiApplication*>(app))
    QObject::connect(gui, &QGuiApplication::applicationStateChanged, app, [](Qt::ApplicationState state) {
      if (state == Qt::ApplicationActive) lookAtFile();
    });
}

}  // namespace

void platformWatchFile(const char* path) {
  ensureWatcher();
  if (!watch.watcher) return;
  const QStringList old = watch.watcher->files() + watch.watcher->directories();
  if (!old.isEmpty()) watch.watcher->removePaths(old);
  watch.settle->stop();
  watch.path.clear();
  char utf8[4096];
  if (osPathOf(path, utf8, sizeof utf8) <= 0) return;
  watch.path = QFileInfo(QString::fromUtf8(utf8)).absoluteFilePath().toUtf8();
  watch.told = stampOf(watch.path);
  rewatch();
}
