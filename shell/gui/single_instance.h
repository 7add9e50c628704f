// One running program per user: the first instance listens on a local
// socket; a later one asks it to come to the front and ends.
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

  // The window class and the user id: one server per user.
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
