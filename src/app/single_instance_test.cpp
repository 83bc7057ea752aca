#include "app/single_instance.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <atomic>
#include <thread>

#include "core/testing/doll_builder.h"

namespace luma::app {
namespace {

// Runs the event loop until `done` holds or `ms` pass.
template <typename Pred>
bool SpinUntil(Pred done, int ms) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < ms)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return done();
}

// HandOver blocks, so it runs on a thread while this one serves the socket.
bool HandOverInBackground(const QString& path, const QString& name) {
  std::atomic<int> result{-1};
  std::thread client([&] { result = SingleInstance::HandOver(path, name) ? 1 : 0; });
  SpinUntil([&] { return result >= 0; }, 5000);
  client.join();
  return result == 1;
}

class SingleInstanceTest : public ::testing::Test {
 protected:
  QString Name() const { return dir_.filePath("instance"); }
  QTemporaryDir dir_;
};

TEST_F(SingleInstanceTest, APathIsHandedOverIntact) {
  QStringList received;
  SingleInstance server([&](const QString& path) { received.append(path); });
  ASSERT_TRUE(server.Listen(Name()));

  const QString path = QString::fromUtf8("/home/m\u00e4ra/my dolls/Spring Dress.lzh");
  EXPECT_TRUE(HandOverInBackground(path, Name()));
  ASSERT_TRUE(SpinUntil([&] { return !received.isEmpty(); }, 2000));
  EXPECT_EQ(received, QStringList{path});

  // A start without a file only asks; nothing is opened.
  EXPECT_TRUE(HandOverInBackground(QString(), Name()));
  SpinUntil([] { return false; }, 50);
  EXPECT_EQ(received.size(), 1);
}

TEST_F(SingleInstanceTest, NoInstanceOrAMuteOneMeansRunningAlone) {
  QElapsedTimer timer;
  timer.start();
  EXPECT_FALSE(SingleInstance::HandOver("/a.cnf", Name()));
  EXPECT_LT(timer.elapsed(), 150);

  // Something holds the name but never answers: give up after the time-out.
  QLocalServer mute;
  ASSERT_TRUE(mute.listen(Name()));
  timer.restart();
  EXPECT_FALSE(SingleInstance::HandOver("/a.cnf", Name()));
  EXPECT_GE(timer.elapsed(), SingleInstance::kTimeoutMs - 20);
  EXPECT_LT(timer.elapsed(), 4 * SingleInstance::kTimeoutMs);
}

TEST_F(SingleInstanceTest, ASocketLeftByACrashedRunIsTakenOver) {
  const QByteArray path = QFile::encodeName(Name());
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  close(fd);  // the file stays, with nobody listening

  QStringList received;
  SingleInstance server([&](const QString& p) { received.append(p); });
  ASSERT_TRUE(server.Listen(Name()));
  EXPECT_TRUE(HandOverInBackground("/b.cnf", Name()));
  EXPECT_TRUE(SpinUntil([&] { return !received.isEmpty(); }, 2000));
}

TEST_F(SingleInstanceTest, MalformedTalkIsDroppedAndServiceGoesOn) {
  QStringList received;
  SingleInstance server([&](const QString& p) { received.append(p); });
  ASSERT_TRUE(server.Listen(Name()));

  auto send_raw = [&](const QByteArray& bytes) {
    QLocalSocket socket;
    socket.connectToServer(Name());
    ASSERT_TRUE(socket.waitForConnected(1000));
    socket.write(bytes);
    socket.flush();
    SpinUntil([] { return false; }, 60);
    socket.abort();
  };
  auto word = [](uint32_t v) {
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
  };
  send_raw("hello there");
  send_raw(word(SingleInstance::kQuery) + word(SingleInstance::kAnswer) + word(0xFFFFFFF0u));
  send_raw(word(SingleInstance::kQuery) + word(7) + word(4) + "abc");
  SpinUntil([] { return false; }, 50);
  EXPECT_TRUE(received.isEmpty());

  EXPECT_TRUE(HandOverInBackground("/c.cnf", Name()));
  EXPECT_TRUE(SpinUntil([&] { return received == QStringList{"/c.cnf"}; }, 2000));
}

// The real program, started with every per-user folder in a folder of its own.
class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"config", "data", "cache", "runtime"}) QDir(dir_.path()).mkdir(name);
    QFile::setPermissions(dir_.filePath("runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env_ = QProcessEnvironment::systemEnvironment();
    env_.insert("XDG_CONFIG_HOME", dir_.filePath("config"));
    env_.insert("XDG_DATA_HOME", dir_.filePath("data"));
    env_.insert("XDG_CACHE_HOME", dir_.filePath("cache"));
    env_.insert("XDG_RUNTIME_DIR", dir_.filePath("runtime"));
    env_.insert("QT_QPA_PLATFORM", "offscreen");
    env_.insert("SDL_AUDIODRIVER", "dummy");
  }
  void TearDown() override {
    for (QProcess* p : processes_) {
      if (p->state() != QProcess::NotRunning) {
        p->kill();
        p->waitForFinished(5000);
      }
      delete p;
    }
  }
  QString ServerName() const {
    return dir_.filePath("runtime") + '/' + SingleInstance::kIdentifier;
  }
  QProcess* Start(const QStringList& args) {
    auto* process = new QProcess;
    process->setProcessEnvironment(env_);
    process->setWorkingDirectory(dir_.path());
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(LUMA_APP_PATH, args);
    processes_.push_back(process);
    return process;
  }
  // Waits until the program answers on its socket.
  bool WaitUntilServing() {
    return SpinUntil([&] { return SingleInstance::HandOver(QString(), ServerName()); }, 15000);
  }

  QTemporaryDir dir_;
  QProcessEnvironment env_;
  std::vector<QProcess*> processes_;
};

TEST_F(ProgramTest, ASecondStartEndsAndTheFirstKeepsRunning) {
  QProcess* first = Start({});
  ASSERT_TRUE(first->waitForStarted(5000));
  ASSERT_TRUE(WaitUntilServing());

  QFile(dir_.filePath("doll.cnf")).open(QIODevice::WriteOnly);
  QProcess* with_file = Start({"doll.cnf"});
  ASSERT_TRUE(with_file->waitForFinished(10000));
  EXPECT_EQ(with_file->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(with_file->exitCode(), 0);

  QProcess* without_file = Start({});
  ASSERT_TRUE(without_file->waitForFinished(10000));
  EXPECT_EQ(without_file->exitCode(), 0);
  EXPECT_EQ(first->state(), QProcess::Running);
}

TEST_F(ProgramTest, TheFileOfASecondStartArrivesAsAnAbsolutePath) {
  QStringList received;
  SingleInstance first([&](const QString& p) { received.append(p); });
  ASSERT_TRUE(first.Listen(ServerName()));
  QProcess* second = Start({"sub/doll.cnf"});
  ASSERT_TRUE(SpinUntil([&] { return second->state() == QProcess::NotRunning; }, 10000));
  EXPECT_EQ(second->exitCode(), 0);
  EXPECT_EQ(received, QStringList{QDir(dir_.path()).filePath("sub/doll.cnf")});
}

TEST_F(ProgramTest, TheFirstInstanceOpensTheDollOfASecondStart) {
  // The first start shows no doll until the second hands one over; it
  // reports its first doll frame and ends.
  env_.insert("LUMADOLL_FIRST_FRAME", "1");
  QProcess* first = Start({});
  ASSERT_TRUE(first->waitForStarted(5000));
  ASSERT_TRUE(WaitUntilServing());
  for (const auto& [name, bytes] : std::vector<std::pair<QString, std::string>>{
           {"doll.cnf", "(40,30)\n%p.kcf\n#0 a.cel *0 :0\n$0 5,5\n"},
           {"p.kcf", testing::TestKcf(16)},
           {"a.cel", testing::TestCel(4, 4, 4, 2)}}) {
    QFile file(dir_.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }
  env_.remove("LUMADOLL_FIRST_FRAME");
  QProcess* second = Start({"doll.cnf"});
  ASSERT_TRUE(second->waitForFinished(10000));
  EXPECT_EQ(second->exitCode(), 0);
  ASSERT_TRUE(SpinUntil([&] { return first->state() == QProcess::NotRunning; }, 20000));
  EXPECT_EQ(first->exitCode(), 0);
  EXPECT_TRUE(first->readAllStandardOutput().startsWith("first frame at "));
}

TEST_F(ProgramTest, AnUnansweredQueryLetsTheNewStartRunAlone) {
  QLocalServer mute;
  ASSERT_TRUE(mute.listen(ServerName()));
  QProcess* program = Start({});
  ASSERT_TRUE(program->waitForStarted(5000));
  EXPECT_FALSE(program->waitForFinished(2000));
  EXPECT_EQ(program->state(), QProcess::Running);
}

}  // namespace
}  // namespace luma::app
