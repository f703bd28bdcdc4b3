#include "shell/skat/single_instance.h"

#include <QCryptographicHash>
#include <QLocalSocket>

#include <system_error>

#include <unistd.h>

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr char kActivateRequest[] = "activate\n";
// Enough of the digest to tell folders apart while the socket's path stays
// well within the system's limit.
constexpr int kFolderDigestChars = 16;

}  // namespace

QString DatabaseInstanceKey(const QString& key, const std::filesystem::path& navDataFolder) {
  std::error_code error;
  std::filesystem::path folder = std::filesystem::weakly_canonical(navDataFolder, error);
  if (error) folder = std::filesystem::absolute(navDataFolder, error).lexically_normal();
  const QByteArray digest =
      QCryptographicHash::hash(QByteArray::fromStdString(folder.string()), QCryptographicHash::Sha1)
          .toHex()
          .left(kFolderDigestChars);
  return key + QLatin1Char('-') + QString::fromLatin1(digest);
}

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : QObject(parent), name_(key + QStringLiteral("-%1").arg(getuid())) {
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (!socket->readAll().startsWith("activate")) return;
        if (activate_) activate_();
      });
    }
  });
}

bool SingleInstance::activateRunning() {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
  socket.write(kActivateRequest);
  const bool sent = socket.waitForBytesWritten(kConnectTimeoutMs);
  socket.disconnectFromServer();
  return sent;
}

bool SingleInstance::listen(std::function<void()> activate) {
  activate_ = std::move(activate);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  if (server_.listen(name_)) return true;
  // A socket left behind by a program that crashed: nobody answered on it
  // (activateRunning came first), so it can go.
  QLocalServer::removeServer(name_);
  return server_.listen(name_);
}
