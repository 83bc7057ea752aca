#include "app/single_instance.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QTimer>
#include <QtEndian>
#include <memory>

namespace luma::app {
namespace {

QByteArray Word(uint32_t value) {
  QByteArray out(4, '\0');
  qToLittleEndian(value, out.data());
  return out;
}

uint32_t ReadWord(const QByteArray& bytes, qsizetype offset) {
  return qFromLittleEndian<uint32_t>(bytes.constData() + offset);
}

// Reads exactly `count` bytes, waiting at most the protocol's time-out per read.
bool ReadExactly(QLocalSocket& socket, qsizetype count, QByteArray* out) {
  while (socket.bytesAvailable() < count) {
    if (!socket.waitForReadyRead(SingleInstance::kTimeoutMs)) return false;
  }
  *out = socket.read(count);
  return true;
}

}  // namespace

QString SingleInstance::DefaultServerName() {
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QDir(QFile::decodeName(runtime)).exists()) {
    return QFile::decodeName(runtime) + '/' + kIdentifier;
  }
  return QDir::tempPath() + '/' + kIdentifier + '-' + QString::number(getuid());
}

bool SingleInstance::HandOver(const QString& path, const QString& server_name) {
  QLocalSocket socket;
  socket.connectToServer(server_name);
  if (!socket.waitForConnected(kTimeoutMs)) return false;
  socket.write(Word(kQuery));
  if (!socket.waitForBytesWritten(kTimeoutMs)) return false;
  QByteArray answer;
  if (!ReadExactly(socket, 4, &answer) || ReadWord(answer, 0) != kAnswer) return false;
  if (!path.isEmpty()) {
    QByteArray bytes = QFile::encodeName(path);
    bytes.append('\0');
    socket.write(Word(kAnswer) + Word(static_cast<uint32_t>(bytes.size())) + bytes);
    while (socket.bytesToWrite() > 0) {
      if (!socket.waitForBytesWritten(kTimeoutMs)) break;
    }
  }
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kTimeoutMs);
  return true;
}

SingleInstance::SingleInstance(PathHandler on_path) : on_path_(std::move(on_path)) {
  QObject::connect(&server_, &QLocalServer::newConnection, [this] { Accept(); });
}

bool SingleInstance::Listen(const QString& server_name) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  if (server_.listen(server_name)) return true;
  if (server_.serverError() != QAbstractSocket::AddressInUseError) return false;
  // The name is taken. A live instance would have answered before we got
  // here, so it is a socket left behind by a program that ended abnormally.
  QLocalSocket probe;
  probe.connectToServer(server_name);
  if (probe.waitForConnected(kTimeoutMs)) return false;
  QLocalServer::removeServer(server_name);
  return server_.listen(server_name);
}

void SingleInstance::Accept() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // Each connection: a query, then optionally one tagged path. Anything
    // else, or a path longer than the limit, ends the conversation.
    QTimer::singleShot(10 * kTimeoutMs, socket, [socket] {
      socket->abort();
      socket->deleteLater();
    });
    auto buffer = std::make_shared<QByteArray>();
    auto answered = std::make_shared<bool>(false);
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket, buffer, answered] {
      buffer->append(socket->readAll());
      if (!*answered) {
        if (buffer->size() < 4) return;
        if (ReadWord(*buffer, 0) != kQuery) {
          socket->abort();
          socket->deleteLater();
          return;
        }
        buffer->remove(0, 4);
        *answered = true;
        socket->write(Word(kAnswer));
      }
      if (buffer->size() < 8) return;
      const uint32_t length = ReadWord(*buffer, 4);
      if (ReadWord(*buffer, 0) != kAnswer || length == 0 || length > kMaxPathBytes) {
        socket->abort();
        socket->deleteLater();
        return;
      }
      if (static_cast<uint32_t>(buffer->size()) < 8 + length) return;
      QByteArray bytes = buffer->mid(8, length);
      // The path ends at its first zero byte.
      const qsizetype zero = bytes.indexOf('\0');
      if (zero >= 0) bytes.truncate(zero);
      buffer->clear();
      socket->disconnectFromServer();
      if (!bytes.isEmpty() && on_path_) on_path_(QFile::decodeName(bytes));
    });
  }
}

}  // namespace luma::app
