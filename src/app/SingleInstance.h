#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QString>

#include <functional>
#include <memory>

namespace quillon::app {

// One running copy per user: the first start holds a lock file in the user's runtime folder
// and listens on a local socket beside it. A later start finds the lock taken; when it is not
// to run as a further copy it connects to the socket, which tells the first copy to come to the
// front.
class SingleInstance {
 public:
  explicit SingleInstance(const QString& runtimeFolder);

  // This start took the lock and listens: it is the first copy.
  bool First() const { return Server != nullptr; }
  // Tells the first copy to come to the front.
  void CallFirst() const;

  // A later start called.
  std::function<void()> OnCalled;

 private:
  QString SocketPath;
  QLockFile Lock;
  std::unique_ptr<QLocalServer> Server;
};

}  // namespace quillon::app
