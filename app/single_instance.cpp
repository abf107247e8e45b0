#include "app/single_instance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include "app/raise_request.h"
#include "qt/runtime/runtime_directory.h"

namespace kelvarok {
namespace {

constexpr int kConnectTimeoutMs = 1000;

}  // namespace

QString TitleFromExecutable(const QString& executablePath) {
  QString title = QFileInfo(executablePath).fileName();
  title.truncate(title.indexOf('.') < 0 ? title.size() : title.indexOf('.'));
  return title.left(1) + title.mid(1).toLower();
}

QString InstanceDirectory() {
  const std::string own = OwnRuntimeDirectory();
  return own.empty() ? QDir::tempPath() : QFile::decodeName(own.c_str());
}

SingleInstance::SingleInstance(const QString& directory, const QString& lockName,
                               const QString& serverName)
    : serverPath_(QDir(directory).filePath(serverName)),
      lock_(QDir(directory).filePath(lockName + ".lock")) {
  if (!lock_.HeldByAnother()) Listen();
}

SingleInstance::~SingleInstance() = default;

void SingleInstance::Listen() {
  // A copy started under another program name may be listening already: it
  // keeps the name. A socket left by a crashed copy answers nobody and is
  // replaced. (Listening with access options replaces any socket file, so
  // the probe must come first.)
  QLocalSocket probe;
  probe.connectToServer(serverPath_);
  if (probe.waitForConnected(kConnectTimeoutMs)) return;
  QLocalServer::removeServer(serverPath_);
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  QObject::connect(server_.get(), &QLocalServer::newConnection, this, &SingleInstance::Accept);
  server_->listen(serverPath_);
}

void SingleInstance::Accept() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (!socket->canReadLine()) return;
      const QString token = TokenOfRaiseRequest(socket->readLine(kLongestRaiseRequest));
      if (raise_) raise_(token);
      socket->disconnectFromServer();
    });
  }
}

bool SingleInstance::RaiseRunningCopy(const QString& activationToken) const {
  QLocalSocket socket;
  socket.connectToServer(serverPath_);
  if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
  socket.write(RaiseRequest(activationToken));
  const bool sent = socket.waitForBytesWritten(kConnectTimeoutMs);
  socket.disconnectFromServer();
  return sent;
}

QString StartupActivationToken() {
  const QString wayland = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
  return wayland.isEmpty() ? qEnvironmentVariable("DESKTOP_STARTUP_ID") : wayland;
}

}  // namespace kelvarok
