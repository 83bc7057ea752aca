// How the real program starts and ends outside the window: its help and
// version, a start without any display, and the signals that end a session.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include "core/testing/doll_builder.h"

namespace luma::app {
namespace {

class ProgramExitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"config", "data", "cache", "runtime", "tmp"}) {
      QDir(dir_.path()).mkdir(name);
    }
    QFile::setPermissions(dir_.filePath("runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env_ = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env_.remove(name);
    env_.insert("XDG_CONFIG_HOME", dir_.filePath("config"));
    env_.insert("XDG_DATA_HOME", dir_.filePath("data"));
    env_.insert("XDG_CACHE_HOME", dir_.filePath("cache"));
    env_.insert("XDG_RUNTIME_DIR", dir_.filePath("runtime"));
    env_.insert("TMPDIR", dir_.filePath("tmp"));
    env_.insert("SDL_AUDIODRIVER", "dummy");
  }

  struct Ended {
    bool normal = false;
    int code = -1;
    QString out;
    QString err;
  };
  Ended Run(const QStringList& args) {
    QProcess process;
    process.setProcessEnvironment(env_);
    process.setWorkingDirectory(dir_.path());
    process.start(LUMA_APP_PATH, args);
    Ended ended;
    if (!process.waitForFinished(20000)) {
      process.kill();
      process.waitForFinished(5000);
      return ended;
    }
    ended.normal = process.exitStatus() == QProcess::NormalExit;
    ended.code = process.exitCode();
    ended.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    ended.err = QString::fromLocal8Bit(process.readAllStandardError());
    return ended;
  }

  QTemporaryDir dir_;
  QProcessEnvironment env_;
};

TEST_F(ProgramExitTest, HelpAndVersionNeedNoDisplay) {
  for (bool display : {false, true}) {
    if (display) env_.insert("QT_QPA_PLATFORM", "offscreen");
    const Ended help = Run({"--help"});
    EXPECT_TRUE(help.normal);
    EXPECT_EQ(help.code, 0) << help.err.toStdString();
    EXPECT_TRUE(help.out.contains("lumadoll [OPTION] [FILE]")) << help.out.toStdString();
    const Ended version = Run({"--version"});
    EXPECT_TRUE(version.normal);
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, "Lumadoll 1.0.1\n");
  }
}

TEST_F(ProgramExitTest, WithoutADisplayItSaysSoAndEnds) {
  Ended ended = Run({});
  EXPECT_TRUE(ended.normal) << "no abort";
  EXPECT_EQ(ended.code, 1);
  EXPECT_TRUE(ended.err.contains("needs a graphical display")) << ended.err.toStdString();

  // A display that is named but cannot be reached ends the same way.
  env_.insert("DISPLAY", ":97531");
  ended = Run({});
  EXPECT_TRUE(ended.normal) << "no abort";
  EXPECT_EQ(ended.code, 1);
  EXPECT_TRUE(ended.err.contains("needs a graphical display")) << ended.err.toStdString();

  const Ended unknown = Run({"--frobnicate"});
  EXPECT_EQ(unknown.code, 2);
  EXPECT_TRUE(unknown.err.contains("lumadoll [OPTION] [FILE]"));
}

// Roff's escaped minus signs, read back as the user sees them.
QString ManualText() {
  QFile file(LUMA_MANUAL_PATH);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll()).replace("\\-", "-");
}

TEST_F(ProgramExitTest, TheManualPageGivesEveryOptionThatHelpPrintsAndNoOther) {
  const QString manual = ManualText();
  ASSERT_FALSE(manual.isEmpty()) << LUMA_MANUAL_PATH;
  EXPECT_FALSE(manual.contains('@')) << "every field of the template is filled";
  const qsizetype options_at = manual.indexOf(".SH OPTIONS\n");
  ASSERT_GE(options_at, 0);
  const qsizetype options_end = manual.indexOf(".SH ", options_at + 1);
  const QString options = manual.mid(options_at, options_end - options_at);

  const Ended help = Run({"--help"});
  ASSERT_EQ(help.code, 0);
  EXPECT_EQ(Run({"-h"}).out, help.out);
  // Every option of --help is an entry of the manual's list, and every entry
  // of the list is an option --help gives and the program takes.
  QStringList listed;
  const QStringList lines = options.split('\n');
  for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
    if (lines[i] != ".TP") continue;
    const QString entry = lines[i + 1];
    for (const QString& word : entry.split(QRegularExpression("[ \",]+"), Qt::SkipEmptyParts)) {
      if (word.startsWith('-')) listed << word;
    }
  }
  QStringList printed;
  static const QRegularExpression kOption("(?:^|[ ,])(--?[a-z]+)");
  for (const QString& line : help.out.split('\n')) {
    if (!line.startsWith("  ")) continue;
    for (auto match = kOption.globalMatch(line); match.hasNext();)
      printed << match.next().captured(1);
  }
  listed.sort();
  printed.sort();
  EXPECT_EQ(listed, printed) << options.toStdString() << help.out.toStdString();
  EXPECT_TRUE(printed.contains("--help"));
  EXPECT_TRUE(printed.contains("--version"));
  for (const QString& option : printed) {
    const Ended ended = Run({option});
    EXPECT_EQ(ended.code, 0) << option.toStdString();
    EXPECT_FALSE(ended.out.isEmpty()) << option.toStdString();
  }
  EXPECT_TRUE(manual.contains(".SH EXIT STATUS"));
  EXPECT_TRUE(manual.contains(".SH SIGNALS"));
}

template <typename Pred>
bool WaitFor(Pred done, int ms) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < ms) QThread::msleep(20);
  return done();
}

TEST_F(ProgramExitTest, SignalsEndTheSessionAsClosingTheWindowDoes) {
  const std::vector<uint8_t> archive = testing::TestDollArchive({
      {"doll.cnf", "(40,30)\n%p.kcf\n#0 a.cel *0 :0\n$0 5,5\n"},
      {"p.kcf", testing::TestKcf(16)},
      {"a.cel", testing::TestCel(4, 4, 4, 2)},
      {"readme.txt", "hello\n"},
  });
  QFile file(dir_.filePath("doll.lzh"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(reinterpret_cast<const char*>(archive.data()), static_cast<qint64>(archive.size()));
  file.close();
  env_.insert("QT_QPA_PLATFORM", "offscreen");
  const QDir temp(dir_.filePath("tmp"));
  const QString conf = dir_.filePath("config/Velmora/Lumadoll.conf");

  for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
    QFile::remove(conf);
    QProcess process;
    process.setProcessEnvironment(env_);
    process.setWorkingDirectory(dir_.path());
    process.start(LUMA_APP_PATH, {"doll.lzh"});
    ASSERT_TRUE(process.waitForStarted(5000));
    // The archived doll's CNF is copied to a temporary file while it is open.
    ASSERT_TRUE(WaitFor([&] { return !temp.entryList({"LMD*"}, QDir::Files).isEmpty(); }, 20000))
        << sig;
    QThread::msleep(300);
    ::kill(static_cast<pid_t>(process.processId()), sig);
    ASSERT_TRUE(process.waitForFinished(20000)) << sig;
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << sig;
    EXPECT_EQ(process.exitCode(), 0) << sig;
    EXPECT_TRUE(temp.entryList({"LMD*"}, QDir::Files).isEmpty()) << sig;
    EXPECT_TRUE(QFile::exists(conf)) << "settings saved on signal " << sig;
  }
}

}  // namespace
}  // namespace luma::app
