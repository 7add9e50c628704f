#include "shell/gui/single_instance.h"

#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include "platform/object_store.h"

namespace pw {

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr char kRaiseRequest[] = "raise\n";

// True when an instance listens on name; it is sent the raise request.
bool AskRunningInstance(const QString& name) {
  QLocalSocket socket;
  socket.connectToServer(name);
  if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
  socket.write(kRaiseRequest);
  socket.waitForBytesWritten(kConnectTimeoutMs);
  socket.disconnectFromServer();
  return true;
}

}  // namespace

SingleInstanceGuard::SingleInstanceGuard(QString serverName, QObject* parent)
    : QObject(parent), name_(std::move(serverName)) {}

SingleInstanceGuard::~SingleInstanceGuard() = default;

QString SingleInstanceGuard::DefaultServerName() {
  QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!folder.startsWith('/') || !QFileInfo(folder).isDir())
    folder = QFileInfo(QString::fromStdString(DefaultObjectStorePath())).absolutePath();
  return folder + QStringLiteral("/pennywhistle.socket");
}

bool SingleInstanceGuard::Acquire() {
  if (server_) return true;
  if (AskRunningInstance(name_)) return false;
  // Nobody answers: a socket file still there was left by a crash.
  QLocalServer::removeServer(name_);
  auto* server = new QLocalServer(this);
  server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server->listen(name_)) {
    delete server;
    // Another instance may have started listening just now.
    return !AskRunningInstance(name_);
  }
  connect(server, &QLocalServer::newConnection, this, &SingleInstanceGuard::OnConnection);
  server_ = server;
  return true;
}

void SingleInstanceGuard::OnConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // Any connection is a request to come forward; what it sent does not matter.
    emit raiseRequested();
  }
}

}  // namespace pw
