#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalSocket>

namespace quillon::app {

namespace {

constexpr int ConnectMilliseconds = 2000;

}  // namespace

SingleInstance::SingleInstance(const QString& runtimeFolder)
    : SocketPath(QDir(runtimeFolder).filePath(QStringLiteral("quillon.socket"))),
      Lock(QDir(runtimeFolder).filePath(QStringLiteral("quillon.lock"))) {
  QDir().mkpath(runtimeFolder);
  if (!Lock.tryLock(0)) return;
  auto server = std::make_unique<QLocalServer>();
  server->setSocketOptions(QLocalServer::UserAccessOption);
  // Holding the lock, a socket file still there is one a crashed copy left.
  QLocalServer::removeServer(SocketPath);
  if (!server->listen(SocketPath)) return;
  QObject::connect(server.get(), &QLocalServer::newConnection, server.get(), [this] {
    while (QLocalSocket* caller = Server->nextPendingConnection()) {
      caller->disconnectFromServer();
      caller->deleteLater();
      if (OnCalled) OnCalled();
    }
  });
  Server = std::move(server);
}

void SingleInstance::CallFirst() const {
  QLocalSocket socket;
  socket.connectToServer(SocketPath);
  if (socket.waitForConnected(ConnectMilliseconds)) socket.disconnectFromServer();
}

}  // namespace quillon::app
