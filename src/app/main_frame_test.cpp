#include "app/main_frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QDropEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <set>

#include "app/command_table.h"
#include "app/file_association.h"
#include "app/help_window.h"
#include "app/main_window_fixture.h"
#include "app/options_dialog.h"
#include "app/status_panes.h"
#include "app/tip_dialog.h"
#include "app/window_placement.h"
#include "audio/audio_player.h"
#include "core/doll/doll_device.h"
#include "platform/platform_paths.h"
#include "platform/qt_settings_store.h"

namespace luma::app {
namespace {

// Main windows made by each test over the settings file `ini_`.
class MainFrameTest : public MainWindowTest {
 protected:
  void SetUp() override {
    PrepareFolder();
    ini_ = dir_.filePath("Lumadoll.conf");
    dialogs_.answer = Answer::kOk;
  }

  QString ini_;
  std::vector<std::string>& said_ = dialogs_.texts;
};

TEST_F(MainFrameTest, SettingsAreReadWithClampsAndWrittenBackOnClose) {
  {
    QtSettingsStore store(ini_);
    store.WriteInt("Options", "Strong Fix", 1);
    store.WriteInt("Options", "quick timer", 99);
    store.WriteInt("Options", "Current Tip", 11);
    store.WriteInt("Options", "Boundary Enforcement", -3);
    store.WriteInt("Options", "Sound Enabled", 0);
    store.WriteString("General", "Current Directory", dir_.path().toStdString());
    store.Sync();
  }
  QtSettingsStore store(ini_);
  EXPECT_FALSE(ShouldRegisterFileAssociations(store)) << "first run registers nothing";
  auto frame = MakeFrame(store);
  EXPECT_EQ(frame->settings().strong_fix, 2);
  EXPECT_EQ(frame->settings().quick_timer, 50);
  EXPECT_EQ(frame->settings().current_tip, 11);
  EXPECT_EQ(frame->settings().boundary_enforcement, 0);
  EXPECT_FALSE(audio_.sound_enabled()) << "the player follows the stored switch";
  EXPECT_EQ(frame->current_folder(), dir_.path()) << "file dialogs start there";
  EXPECT_EQ(QDir::currentPath(), saved_cwd_) << "the process's folder stays";

  frame->ReadWindowPlacement();
  frame->set_toolbar()->hide();
  frame->close();
  store.Sync();

  QtSettingsStore reread(ini_);
  EXPECT_EQ(reread.ReadInt("Options", "Current Tip"), 0);
  EXPECT_EQ(reread.ReadInt("Options", "Strong Fix"), 2);
  EXPECT_EQ(reread.ReadInt("Options", "Quick Timer"), 50);
  EXPECT_EQ(reread.ReadInt("Options", "Sound Enabled"), 0);
  EXPECT_TRUE(ShouldRegisterFileAssociations(reread)) << "the next start registers";
  ASSERT_TRUE(reread.ReadString("Settings", "WindowPos").has_value());
  EXPECT_TRUE(ParseWindowPlacement(*reread.ReadString("Settings", "WindowPos")).has_value());

  // The bar layout comes back with the next window.
  auto again = MakeFrame(reread);
  again->ReadWindowPlacement();
  EXPECT_FALSE(again->set_toolbar()->isVisible());
  EXPECT_TRUE(again->palette_toolbar()->isVisible());
  again->close();
}

TEST_F(MainFrameTest, WindowPlacementIsRestoredAndBadOnesAreIgnored) {
  QtSettingsStore store(ini_);
  {
    store.WriteString("Settings", "WindowPos", "0,1,-1,-1,-1,-1,30,40,630,440");
    auto frame = MakeFrame(store);
    frame->ReadWindowPlacement();
    EXPECT_EQ(frame->geometry(), QRect(30, 40, 600, 400));
    frame->setGeometry(50, 60, 600, 400);
    frame->close();
    const auto p = ParseWindowPlacement(frame->settings().window_pos);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->left, 50);
    EXPECT_EQ(p->top, 60);
    EXPECT_EQ(p->right - p->left, 600);
    EXPECT_EQ(p->bottom - p->top, 400);
    EXPECT_FALSE(p->maximized());
  }
  for (const char* bad :
       {"1,2,3", "0,1,-1,-1,-1,-1,30,40,630", "0,1,-1,-1,-1,-1,9000,9000,9600,9400"}) {
    store.WriteString("Settings", "WindowPos", bad);
    auto frame = MakeFrame(store);
    frame->ReadWindowPlacement();
    EXPECT_NE(frame->geometry().size(), QSize(600, 400)) << bad;
    EXPECT_LT(frame->geometry().left(), 9000) << bad;
    frame->close();
  }
  store.WriteString("Settings", "WindowPos", "2,3,-1,-1,-1,-1,30,40,630,440");
  auto frame = MakeFrame(store);
  frame->ReadWindowPlacement();
  EXPECT_TRUE(frame->isMaximized());
  frame->close();
  EXPECT_TRUE(ParseWindowPlacement(frame->settings().window_pos)->maximized());
}

TEST(WindowPlacementTest, ParsesExactlyTenNumbers) {
  const auto p = ParseWindowPlacement("2, 3,-1,-1,-1,-1,10,20,610,420");
  ASSERT_TRUE(p.has_value());
  EXPECT_TRUE(p->maximized());
  EXPECT_EQ(p->show_command, 3u);
  EXPECT_EQ(p->right, 610);
  EXPECT_EQ(FormatWindowPlacement(*p), "2,3,-1,-1,-1,-1,10,20,610,420");
  EXPECT_FALSE(ParseWindowPlacement(""));
  EXPECT_FALSE(ParseWindowPlacement("0,1,-1,-1,-1,-1,10,20,610,420,7"));
  EXPECT_FALSE(ParseWindowPlacement("0,1,-1,-1,-1,-1,10,20,610,"));
  EXPECT_FALSE(ParseWindowPlacement("0,1,-1,-1,-1,-1,10,20,610,4x"));
}

TEST_F(MainFrameTest, WithoutADollOnlyTheGeneralCommandsAreEnabled) {
  QtSettingsStore store(ini_);
  auto frame = MakeFrame(store);
  std::vector<QString> titles;
  for (QMenu* menu : frame->current_menus()) titles.push_back(menu->title());
  EXPECT_EQ(titles, (std::vector<QString>{"&File", "&View", "&Tools", "&Help"}));

  for (int i = 0; i < 10; ++i) {
    EXPECT_FALSE(frame->action(kIdSet0 + i)->isEnabled());
    EXPECT_FALSE(frame->action(kIdPalette0 + i)->isEnabled());
  }
  for (int id : {kIdZoomIn, kIdZoomOut, kIdFileClose, kIdBoundAll, kIdBoundCycle, kIdReset,
                 kIdErrorReport, kIdNextSet, kIdCreateScreenshot}) {
    EXPECT_FALSE(frame->action(id)->isEnabled()) << id;
  }
  for (int id : {kIdFileOpen, kIdAppExit, kIdMuteSound, kIdMuteMusic, kIdShowTips, kIdOptions}) {
    EXPECT_TRUE(frame->action(id)->isEnabled()) << id;
  }
  EXPECT_FALSE(frame->bounding_button()->isEnabled());
  EXPECT_EQ(frame->bounding_button()->toolTip(), "Visible - Enforce visible boundaries");
  // A doll's command that arrives anyway (while the last doll closes) has
  // nothing to act on and nothing to say.
  const int doll_commands[] = {kIdZoomIn, kIdSet0 + 3, kIdBoundCycle, kIdErrorReport,
                               kIdCreateScreenshot};
  for (int id : doll_commands) frame->RunCommand(id);
  EXPECT_TRUE(said_.empty()) << said_.front();
  EXPECT_TRUE(dialogs_.file_dialogs.empty());
  frame->close();
}

// A main window on a desktop whose drawing the program cannot use: making
// the device fails, with the reason shown as the device checks show it.
class NoDeviceFrame : public CMainFrame {
 public:
  using CMainFrame::CMainFrame;
  int attempts = 0;

 protected:
  std::unique_ptr<RenderDevice> CreateDevice() override {
    ++attempts;
    host().ShowMessage(kDeviceErrorCaption, "Alpha in texture pixels is not supported.",
                       MessageIcon::kError);
    return nullptr;
  }
};

TEST_F(MainFrameTest, WithoutAGraphicsDeviceTheProgramSaysWhyAndGoesOn) {
  Write("doll.cnf", "#0 a.cel\n");
  QtSettingsStore store(ini_);
  NoDeviceFrame frame(store, &audio_, &dialogs_);
  frame.show();
  // The device is asked for as the window comes up, then by the doll; the
  // event loop goes on running, whatever code it would be ended with.
  bool opened = true;
  QTimer::singleShot(100, &frame, [&] { opened = frame.OpenDocumentFile(PathOf("doll.cnf")); });
  QEventLoop loop;
  QTimer::singleShot(400, &loop, [&loop] { loop.exit(0); });
  EXPECT_EQ(loop.exec(), 0) << "nothing ended the program";
  EXPECT_FALSE(opened);
  EXPECT_TRUE(frame.Children().empty());
  EXPECT_EQ(frame.attempts, 1) << "a device that cannot be made is not tried again";
  EXPECT_EQ(dialogs_.said,
            (std::vector<std::string>{
                "Graphics Device Error: Alpha in texture pixels is not supported.",
                "Graphics Device Error: No doll can be shown: the graphics device could not be "
                "made."}));
  frame.UpdateCommandUi();
  EXPECT_EQ(frame.status_panes().pane(5)->text(), "No graphics device");

  // What needs no device still works.
  bool options = false, about = false;
  dialogs_.on_options = [&](OptionsDialog&) {
    options = true;
    return false;
  };
  dialogs_.on_info = [&](QDialog&) { about = true; };
  frame.RunCommand(kIdOptions);
  frame.RunCommand(kIdAppAbout);
  EXPECT_TRUE(options);
  EXPECT_TRUE(about);
  EXPECT_EQ(dialogs_.said.size(), 2u);
  frame.close();
}

TEST_F(MainFrameTest, MuteCommandsFollowTheSettingsTheButtonsAndThePlayer) {
  QtSettingsStore store(ini_);
  auto frame = MakeFrame(store);
  QAction* mute_sound = frame->action(kIdMuteSound);
  QAction* mute_music = frame->action(kIdMuteMusic);
  EXPECT_FALSE(mute_sound->isChecked());
  EXPECT_EQ(frame->sound_button()->toolTip(), "Sound enabled");

  mute_sound->trigger();
  EXPECT_TRUE(mute_sound->isChecked());
  EXPECT_FALSE(frame->settings().sound_enabled);
  EXPECT_FALSE(audio_.sound_enabled());
  EXPECT_EQ(frame->sound_button()->toolTip(), "Sound disabled");

  // The button's click toggles, its menu picks a state.
  frame->music_button()->click();
  EXPECT_FALSE(frame->settings().music_enabled);
  EXPECT_TRUE(mute_music->isChecked());
  EXPECT_EQ(frame->music_button()->toolTip(), "Music disabled");
  frame->music_button()->menu()->actions().at(0)->trigger();  // "Music enabled"
  EXPECT_TRUE(frame->settings().music_enabled);
  EXPECT_TRUE(audio_.music_enabled());
  EXPECT_FALSE(mute_music->isChecked());
  frame->close();

  QtSettingsStore reread(ini_);
  EXPECT_EQ(reread.ReadInt("Options", "Sound Enabled"), 0);
  EXPECT_EQ(reread.ReadInt("Options", "Music Enabled"), 1);
}

TEST_F(MainFrameTest, ToolbarToggleCommands) {
  QtSettingsStore store(ini_);
  auto frame = MakeFrame(store);
  frame->ReadWindowPlacement();
  frame->action(kIdSetToolbar)->trigger();
  EXPECT_FALSE(frame->set_toolbar()->isVisible());
  EXPECT_FALSE(frame->action(kIdSetToolbar)->isChecked());
  frame->action(kIdViewStatusBar)->trigger();
  EXPECT_FALSE(frame->statusBar()->isVisible());
  frame->action(kIdSetToolbar)->trigger();
  EXPECT_TRUE(frame->set_toolbar()->isVisible());
  frame->close();
  QtSettingsStore reread(ini_);
  auto again = MakeFrame(reread);
  again->ReadWindowPlacement();
  EXPECT_FALSE(again->statusBar()->isVisible());
  again->close();
}

TEST_F(MainFrameTest, DroppedAndHandedOverFilesAreCheckedBeforeOpening) {
  QtSettingsStore store(ini_);
  auto frame = MakeFrame(store);
  frame->ReadWindowPlacement();

  const QString missing = dir_.filePath("gone.cnf");
  const QString text = dir_.filePath("notes.txt");
  QFile(text).open(QIODevice::WriteOnly);
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(missing), QUrl::fromLocalFile(text)});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(frame.get(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(frame.get(), &drop);
  // The messages every way of opening a doll gives.
  ASSERT_EQ(said_.size(), 2u);
  EXPECT_EQ(said_[0], "Unable to open\n" + missing.toStdString());
  EXPECT_EQ(said_[1], text.toStdString() + "\nis not a KiSS file type");

  frame->showMinimized();
  said_.clear();
  frame->OpenHandedOver(missing);
  EXPECT_FALSE(frame->isMinimized());
  EXPECT_EQ(said_.size(), 1u);
  frame->close();
}

TEST_F(MainFrameTest, TheOpenDialogStartsWhereTheLastDollWas) {
  QtSettingsStore store(ini_);
  auto frame = MakeFrame(store);
  frame->ReadWindowPlacement();
  QTemporaryDir dolls;
  ASSERT_TRUE(QDir(dolls.path()).mkdir("sub"));
  const QString folder = dolls.filePath("sub");
  {
    QFile cnf(folder + "/doll.cnf");
    ASSERT_TRUE(cnf.open(QIODevice::WriteOnly));
    cnf.write("#0 a.cel\n");
  }
  // Opened as the command line or a recent file opens it, not by the dialog.
  ASSERT_TRUE(frame->OpenDocumentFile(folder + "/doll.cnf"));
  QString started_in;
  dialogs_.on_file = [&](QFileDialog& dialog) {
    started_in = dialog.directory().absolutePath();
    return QString();
  };
  frame->RunCommand(kIdFileOpen);
  EXPECT_EQ(started_in, QDir(folder).absolutePath());
  EXPECT_EQ(QDir::currentPath(), saved_cwd_) << "without moving the process";
  frame->close();
  QtSettingsStore reread(ini_);
  EXPECT_EQ(reread.ReadString("General", "Current Directory").value_or(""),
            QFile::encodeName(folder).toStdString());
}

TEST_F(MainFrameTest, StartUpMakesTheDeviceAndClearsOldTemporaryFiles) {
  const QString stale = QDir::temp().filePath("LMD00042.wav");
  const QString fresh = QDir::temp().filePath("LMD00043.mid");
  for (const QString& path : {stale, fresh}) QFile(path).open(QIODevice::WriteOnly);
  QFile old(stale);
  ASSERT_TRUE(old.open(QIODevice::ReadWrite));
  old.setFileTime(QDateTime::currentDateTime().addDays(-8), QFileDevice::FileModificationTime);
  old.close();

  QtSettingsStore store(ini_);
  auto frame = MakeFrame(store);
  EXPECT_FALSE(QFile::exists(stale));
  EXPECT_TRUE(QFile::exists(fresh));
  QFile::remove(fresh);

  ASSERT_TRUE(frame->device().ok());
  frame->UpdateCommandUi();
  EXPECT_TRUE(frame->status_panes().pane(5)->text().startsWith("Approx "));
  EXPECT_TRUE(frame->status_panes().pane(5)->text().endsWith("Mb texture memory free"))
      << "the software device has no video memory";
  frame->close();
}

TEST_F(MainFrameTest, StartUpExpiresValuePoolsLeftUnusedTooLong) {
  const QString pools = QFile::decodeName(UserDataFolder().c_str()) + "/pooldata";
  ASSERT_TRUE(QDir().mkpath(pools));
  const QString unused = pools + "/~old~cnf.pool";
  const QString recent = pools + "/~new~cnf.pool";
  for (const QString& path : {unused, recent}) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QDateTime when = QDateTime::currentDateTime().addMonths(path == unused ? -8 : -2);
    file.setFileTime(when, QFileDevice::FileModificationTime);
    file.setFileTime(when, QFileDevice::FileAccessTime);
  }
  QtSettingsStore store(ini_);
  {
    auto frame = MakeFrame(store);
    frame->close();
  }
  EXPECT_TRUE(QFile::exists(unused)) << "expiry is off by default";

  store.WriteInt("Options", "Pool AutoExpire", 1);
  store.WriteInt("Options", "Pool Expire", 6);
  store.WriteInt("Options", "Pool DayMonth", 1);
  auto frame = MakeFrame(store);
  EXPECT_FALSE(QFile::exists(unused));
  EXPECT_TRUE(QFile::exists(recent));
  frame->close();
  QFile::remove(recent);
}

TEST_F(MainFrameTest, TipsAdvanceAndTheirSwitchIsKept) {
  QtSettingsStore store(ini_);
  store.WriteInt("Options", "Current Tip", 10);
  auto frame = MakeFrame(store);
  frame->ShowTips();
  auto* dialog = frame->findChild<TipDialog*>();
  ASSERT_NE(dialog, nullptr);
  QLabel* text = nullptr;
  for (QLabel* label : dialog->findChildren<QLabel*>()) {
    if (label->text() == TipText(10)) text = label;
  }
  ASSERT_NE(text, nullptr);
  auto* next = dialog->findChild<QPushButton*>();
  for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
    if (b->text() == "&Next Tip") next = b;
  }
  next->click();
  EXPECT_EQ(text->text(), TipText(11));
  next->click();
  EXPECT_EQ(text->text(), TipText(0));
  dialog->findChild<QCheckBox*>()->setChecked(false);
  frame->close();
  QtSettingsStore reread(ini_);
  EXPECT_EQ(reread.ReadInt("Options", "Current Tip"), 1);
  EXPECT_EQ(reread.ReadInt("Options", "Show Tips"), 0);

  std::set<std::string> distinct;
  for (int i = 0; i < Settings::kTipCount; ++i) distinct.insert(TipText(i));
  EXPECT_EQ(distinct.size(), static_cast<size_t>(Settings::kTipCount));
}

TEST_F(MainFrameTest, HelpPagesComeFromTheProgram) {
  QtSettingsStore store(ini_);
  auto frame = MakeFrame(store);
  frame->action(kIdHelpTopics)->trigger();
  ASSERT_NE(frame->help_window(), nullptr);
  EXPECT_EQ(frame->help_window()->page_title(), "Lumadoll");
  frame->action(kIdTroubleshooting)->trigger();
  EXPECT_EQ(frame->help_window()->page_title(), "Troubleshooting");
  EXPECT_TRUE(said_.empty());
  frame->close();
}

TEST(CommandTableTest, IdsAndShortcutsAreUniqueAndParse) {
  std::set<int> ids;
  std::set<QString> keys;
  for (const CommandInfo& c : Commands()) {
    EXPECT_TRUE(ids.insert(c.id).second) << c.id;
    for (const QString& part : QString(c.keys).split('|', Qt::SkipEmptyParts)) {
      const QKeySequence seq = QKeySequence::fromString(part, QKeySequence::PortableText);
      EXPECT_FALSE(seq.isEmpty()) << part.toStdString();
      // Two commands on one key would make the key do nothing at all.
      EXPECT_TRUE(keys.insert(seq.toString()).second) << part.toStdString();
    }
  }
  EXPECT_STREQ(FindCommand(kIdSet0 + 7)->keys, "Ctrl+7");
  EXPECT_STREQ(FindCommand(kIdPalette0 + 3)->text, "Palette &3");
  EXPECT_EQ(FindCommand(12345), nullptr);

  const PromptParts pause = SplitPrompt(FindCommand(kIdPauseFkiss)->prompt);
  EXPECT_EQ(pause.status, "Temporarily halts all FKiSS activity");
  EXPECT_EQ(pause.tip, "Pause FKiSS");
  const PromptParts mute = SplitPrompt(FindCommand(kIdMuteSound)->prompt);
  EXPECT_EQ(mute.status, "Stops all sound effects from playing when checked");
  EXPECT_TRUE(mute.tip.empty());
}

TEST_F(MainFrameTest, ActionsCarryPromptsTooltipsAndKeys) {
  QtSettingsStore store(ini_);
  auto frame = MakeFrame(store);
  QAction* zoom_in = frame->action(kIdZoomIn);
  EXPECT_EQ(zoom_in->statusTip(), "Zoom In");
  EXPECT_EQ(zoom_in->toolTip(), "Zoom In (+)");
  EXPECT_EQ(zoom_in->shortcuts().size(), 2);
  EXPECT_EQ(frame->action(kIdNextPalette)->shortcut(), QKeySequence("Shift+Right"));
  EXPECT_EQ(frame->action(kIdPaletteEditor)->shortcut(), QKeySequence("Ctrl+Shift+P"));
  frame->close();
}

TEST(StatusPanesTest, PanesFitTheirTemplatesAndEmptyOnesAreDisabled) {
  QStatusBar bar;
  StatusPanes panes(&bar);
  for (int i = 0; i < StatusPanes::kCount; ++i) {
    const QLabel* pane = panes.pane(i);
    EXPECT_GE(pane->width(), pane->fontMetrics().horizontalAdvance(StatusPanes::kTemplates[i]));
    EXPECT_FALSE(pane->isEnabled());
  }
  StatusValues values;
  values.fkiss = FkissLevelText(3);
  values.errors = "2 errors";
  panes.Show(values);
  EXPECT_EQ(panes.pane(0)->text(), "FKiSS 2.1");
  EXPECT_TRUE(panes.pane(0)->isEnabled());
  EXPECT_FALSE(panes.pane(1)->isEnabled());
  EXPECT_TRUE(panes.pane(4)->isEnabled());
  EXPECT_EQ(FkissLevelText(1), "FKiSS 1b");
  EXPECT_EQ(FkissLevelText(5), "FKiSS 4");
  EXPECT_EQ(FkissLevelText(-1), "");
}

TEST(RecentFilesTest, NewestFirstSixteenAtMostAndKeptInTheStore) {
  RecentFiles recent;
  for (int i = 0; i < 20; ++i) recent.Add(QString("/dolls/doll%1.cnf").arg(i));
  recent.Add("/dolls/doll10.cnf");
  ASSERT_EQ(recent.files().size(), RecentFiles::kMaxFiles);
  EXPECT_EQ(recent.files().front(), "/dolls/doll10.cnf");
  EXPECT_EQ(recent.files()[1], "/dolls/doll19.cnf");
  EXPECT_FALSE(recent.files().contains("/dolls/doll3.cnf"));

  MemorySettingsStore store;
  recent.Save(store);
  RecentFiles loaded;
  loaded.Load(store);
  EXPECT_EQ(loaded.files(), recent.files());
  // A shorter list removes the entries beyond it.
  loaded.Remove("/dolls/doll10.cnf");
  loaded.Save(store);
  EXPECT_FALSE(store.ReadString("Recent File List", "File16").has_value());

  EXPECT_EQ(RecentFiles::MenuText(0, "/dolls/A&B.cnf"), "&1 /dolls/A&&B.cnf");
  EXPECT_EQ(RecentFiles::MenuText(0, QDir::homePath() + "/x.lzh"), "&1 ~/x.lzh");
  EXPECT_TRUE(RecentFiles::MenuText(11, "/d.cnf").startsWith("12 "));
  EXPECT_LE(RecentFiles::MenuText(2, "/" + QString(200, 'a')).size(), 64);
}

}  // namespace
}  // namespace luma::app
