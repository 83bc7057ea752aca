// Every key of the menus reaches its command, with a doll open and without:
// a key that two actions claim does nothing at all.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMenu>
#include <QTest>
#include <QToolBar>
#include <QWhatsThis>
#include <QWidget>
#include <map>
#include <set>

#include "app/child_frame.h"
#include "app/command_table.h"
#include "app/doll_view_widget.h"
#include "app/main_frame.h"
#include "app/main_window_fixture.h"
#include "core/testing/doll_builder.h"

namespace luma::app {
namespace {

constexpr char kCnf[] =
    "(200,100)\n"
    "%colors.kcf\n"
    "#0 a.cel *0 :0 3\n"
    "#1 b.cel *0 :0 3\n"
    "$0 10,10 50,50\n"
    "$0 * *\n"
    "$0 * *\n"
    "$0 100,20 150,60\n";

// The actions of the menus shown now, submenus included.
void CollectMenuActions(QMenu* menu, std::vector<QAction*>& out) {
  for (QAction* action : menu->actions()) {
    if (action->menu()) {
      CollectMenuActions(action->menu(), out);
    } else if (!action->isSeparator()) {
      out.push_back(action);
    }
  }
}

class ShortcutTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Write("colors.kcf", testing::TestKcf(16));
    Write("a.cel", testing::TestCel(20, 10, 4, 3));
    Write("b.cel", testing::TestCel(10, 10, 4, 5));
    Write("doll.cnf", kCnf);
    // Every dialog the keys open answers at once, as a user cancelling would.
    dialogs_.answer = Answer::kNo;
    // Keys reach the shortcuts of the active window only.
    frame_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame_.get()));
  }
  void TearDown() override {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window != frame_.get() && window->isVisible()) window->close();
    }
    MainWindowTest::TearDown();
  }

  // Where a key typed now goes: the active doll, or the main window.
  QWidget* KeyTarget() {
    // The offscreen platform activates every window it shows, the progress
    // window of a load included, and keeps it active once hidden. Qt counts
    // the main window active while one of its transient windows is, but it
    // routes the main window's keys only when the main window itself is.
    if (QApplication::activeWindow() != frame_.get()) {
      frame_->activateWindow();
      EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == frame_.get(); }));
    }
    if (CChildFrame* child = frame_->ActiveChild()) {
      child->view_widget()->setFocus();
      return child->view_widget();
    }
    frame_->activateWindow();
    return frame_.get();
  }

  // Types every key of every command in the menus shown now, except those in
  // `skip`, and expects each to run its own command once.
  void TypeEveryMenuKey(const std::set<int>& skip) {
    std::vector<QAction*> actions;
    for (QMenu* menu : frame_->current_menus()) CollectMenuActions(menu, actions);
    std::map<QAction*, int> ids;
    for (const CommandInfo& info : Commands()) ids[frame_->action(info.id)] = info.id;
    int typed = 0;
    for (QAction* action : actions) {
      const auto id = ids.find(action);
      if (id == ids.end() || skip.contains(id->second)) continue;
      for (const QKeySequence& keys : action->shortcuts()) {
        // Commands that need a doll are off without one; the key does nothing.
        frame_->UpdateCommandUi();
        if (!action->isEnabled()) continue;
        int ran = 0;
        const QMetaObject::Connection counted =
            QObject::connect(action, &QAction::triggered, [&ran] { ++ran; });
        const QKeyCombination key = keys[0];
        QTest::keyClick(KeyTarget(), key.key(), key.keyboardModifiers());
        QObject::disconnect(counted);
        EXPECT_EQ(ran, 1) << keys.toString().toStdString() << " for "
                          << action->text().toStdString();
        ++typed;
        if (QWhatsThis::inWhatsThisMode()) QWhatsThis::leaveWhatsThisMode();
        Settle(30);
        for (QWidget* window : QApplication::topLevelWidgets()) {
          if (window != frame_.get() && window->isVisible()) window->close();
        }
      }
    }
    EXPECT_GT(typed, 0);
  }
};

TEST_F(ShortcutTest, EveryKeyOfTheShortMenusRunsItsCommand) { TypeEveryMenuKey({}); }

TEST_F(ShortcutTest, EveryKeyOfTheDollMenusRunsItsCommandAndCtrlWClosesTheDoll) {
  ASSERT_TRUE(frame_->OpenDocumentFile(dir_.filePath("doll.cnf")));
  // The doll's window offers its own menu with keys of its own; the main
  // menus own every key.
  CChildFrame* child = frame_->ActiveChild();
  ASSERT_NE(child, nullptr);
  for (QAction* action : child->systemMenu()->actions()) {
    EXPECT_TRUE(action->shortcuts().isEmpty()) << action->text().toStdString();
  }
  // Close, Exit and Next KiSS Set come last.
  TypeEveryMenuKey({kIdFileClose, kIdAppExit, kIdNextKissSet});
  ASSERT_EQ(frame_->Children().size(), 1u);

  ASSERT_TRUE(frame_->OpenDocumentFile(dir_.filePath("doll.cnf")));
  ASSERT_EQ(frame_->Children().size(), 2u);
  CChildFrame* second = frame_->ActiveChild();
  QTest::keyClick(KeyTarget(), Qt::Key_N, Qt::AltModifier);
  EXPECT_NE(frame_->ActiveChild(), second);
  for (const char* keys : {"Ctrl+W", "Ctrl+F4"}) {
    CChildFrame* active = frame_->ActiveChild();
    ASSERT_NE(active, nullptr) << keys;
    const QKeyCombination key = QKeySequence(keys)[0];
    QTest::keyClick(KeyTarget(), key.key(), key.keyboardModifiers());
    Settle(30);
    const std::vector<CChildFrame*> left = frame_->Children();
    EXPECT_EQ(std::find(left.begin(), left.end(), active), left.end()) << keys;
  }
  EXPECT_TRUE(frame_->Children().empty());
}

TEST_F(ShortcutTest, TheToolbarOffersInfoThumbnailArchiveAndContextHelp) {
  std::set<int> on_bar;
  std::map<QAction*, int> ids;
  for (const CommandInfo& info : Commands()) ids[frame_->action(info.id)] = info.id;
  for (QAction* action : frame_->main_toolbar()->actions()) {
    if (ids.contains(action)) on_bar.insert(ids[action]);
  }
  for (int id : {kIdObjectInfo, kIdCelInfo, kIdSaveThumbnail, kIdBuildLzh, kIdContextHelp}) {
    EXPECT_TRUE(on_bar.contains(id)) << id;
    EXPECT_FALSE(frame_->action(id)->icon().isNull()) << id;
  }
  QTest::keyClick(KeyTarget(), Qt::Key_F1, Qt::ShiftModifier);
  EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
  QWhatsThis::leaveWhatsThisMode();
  EXPECT_EQ(frame_->action(kIdZoomIn)->whatsThis(), "Zoom In");
}

}  // namespace
}  // namespace luma::app
