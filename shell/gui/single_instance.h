// One running program per user: the first instance listens on a local
// socket in the user's runtime folder; a later one asks it to come to the
// front and ends.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace pw {

class SingleInstanceGuard : public QObject {
  Q_OBJECT

 public:
  explicit SingleInstanceGuard(QString serverName, QObject* parent = nullptr);
  ~SingleInstanceGuard() override;

  // The socket's path: "pennywhistle.socket" in $XDG_RUNTIME_DIR, which only
  // the user can reach, else in the folder of the store. A full path, so the
  // temporary folder (TMPDIR) of a start does not matter.
  static QString DefaultServerName();

  // True when no other instance answers: this one now listens (a server left
  // behind by a crashed instance is removed first). False when another
  // instance runs; it has been asked to come to the front.
  bool Acquire();

 signals:
  // Another start asked this instance to come to the front.
  void raiseRequested();

 private:
  void OnConnection();

  QString name_;
  QLocalServer* server_ = nullptr;
};

}  // namespace pw
