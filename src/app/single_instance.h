#ifndef LUMA_APP_SINGLE_INSTANCE_H_
#define LUMA_APP_SINGLE_INSTANCE_H_

#include <QLocalServer>
#include <QString>
#include <cstdint>
#include <functional>

namespace luma::app {

// One running program per user. The first instance listens on a local socket
// named from kIdentifier; a later start connects, sends the query code and,
// when the answer code comes back, hands over its file path and ends.
//
// Wire format, all numbers 32-bit little-endian: the client sends kQuery, the
// server answers kAnswer; then the client may send kAnswer as tag, the byte
// length of the path, and the path in the file-system encoding followed by
// one zero byte. Each step waits at most kTimeoutMs.
class SingleInstance {
 public:
  static constexpr char kIdentifier[] = "LUMADOLL-D99F1AB5-5146-4227-901F-4A841B124282";
  static constexpr uint32_t kQuery = 32799;
  static constexpr uint32_t kAnswer = 24185;
  static constexpr int kTimeoutMs = 200;
  // Longest path accepted from another process.
  static constexpr uint32_t kMaxPathBytes = 64 * 1024;

  // The socket path: in $XDG_RUNTIME_DIR when set, else in the temporary
  // folder with the user id in the name.
  static QString DefaultServerName();

  // Asks a running instance. True when one answered; it then has `path`
  // (absolute, or empty for none) and this start should end.
  static bool HandOver(const QString& path, const QString& server_name = DefaultServerName());

  using PathHandler = std::function<void(const QString& path)>;
  explicit SingleInstance(PathHandler on_path);
  // Starts answering later starts. False when the name is held by an
  // instance that did not answer; this one then runs alone.
  bool Listen(const QString& server_name = DefaultServerName());

 private:
  void Accept();

  QLocalServer server_;
  PathHandler on_path_;
};

}  // namespace luma::app

#endif  // LUMA_APP_SINGLE_INSTANCE_H_
