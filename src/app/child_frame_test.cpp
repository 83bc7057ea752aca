// The main window with dolls open: loading from a path, the set, palette
// and zoom commands, dragging with the mouse, the status panes, alarms and
// closing.
#include "app/child_frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

#include "app/command_table.h"
#include "app/document_viewer.h"
#include "app/doll_view_widget.h"
#include "app/main_frame.h"
#include "app/main_window_fixture.h"
#include "app/qt_dialog_runner.h"
#include "app/status_panes.h"
#include "app/text_editor.h"
#include "core/host/text_encoding.h"
#include "core/render/view_transform.h"
#include "core/testing/doll_builder.h"
#include "core/testing/zip_builder.h"

namespace luma::app {
namespace {

// A header-form KCF of `groups` groups of 16 colours; colour i of group g
// is (i * 16, g * 100, 50).
std::string Kcf(int groups) {
  std::string out = "KiSS";
  out += '\x10';
  out += '\x18';
  out += std::string(2, '\0');
  out += '\x10';
  out += '\0';
  out += static_cast<char>(groups);
  out += '\0';
  out += std::string(20, '\0');
  for (int g = 0; g < groups; ++g) {
    for (int i = 0; i < 16; ++i) {
      out += static_cast<char>(i * 16);
      out += static_cast<char>(g * 100);
      out += static_cast<char>(50);
    }
  }
  return out;
}

// Object #0 (a.cel, 20 x 10) and object #1 (b.cel, 10 x 10) on sets 0 and 3
// of a 200 x 100 playfield, two palette groups; set 3 uses group 1.
constexpr char kCnf[] =
    "(200,100)\n"
    "%colors.kcf\n"
    "#0 a.cel *0 :0 3\n"
    "#1 b.cel *0 :0 3\n"
    "$0 10,10 50,50\n"
    "$0 * *\n"
    "$0 * *\n"
    "$1 100,20 150,60\n";

class DollWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Write("colors.kcf", Kcf(2));
    Write("a.cel", testing::TestCel(20, 10, 4, 3));
    Write("b.cel", testing::TestCel(10, 10, 4, 5));
  }

  // The doll of `cnf`, opened as the command line opens it and shown.
  CChildFrame* Open(const std::string& cnf = kCnf) {
    Write("doll.cnf", cnf);
    return OpenShown(PathOf("doll.cnf"));
  }

  // The colour the window shows at a doll point.
  QRgb ShownAt(CChildFrame* child, int x, int y) {
    child->view_widget()->viewport()->repaint();
    const ClientPoint p = child->view().DollToScreen(PlayPoint{x, y});
    return child->view_widget()->frame().pixel(p.x, p.y);
  }

  void SendMouse(QWidget* target, QEvent::Type type, ClientPoint at, Qt::MouseButton button,
                 Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at.x, at.y), target->mapToGlobal(QPointF(at.x, at.y)), button,
                      held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
  }

  QString Pane(int index) { return frame_->status_panes().pane(index)->text(); }

  std::vector<std::string>& said_ = dialogs_.said;
};

TEST_F(DollWindowTest, OpeningShowsTheDollWithItsSetsAndPalettes) {
  CChildFrame* child = Open();
  ASSERT_NE(child, nullptr);
  EXPECT_TRUE(said_.empty()) << said_.front();
  EXPECT_EQ(frame_->current_menus().size(), 8u) << "the doll menus replace the short ones";
  EXPECT_EQ(child->windowTitle(), "doll.cnf");
  EXPECT_TRUE(child->isMaximized()) << "a new doll window fits the doll, then fills the area";

  frame_->UpdateCommandUi();
  for (int set = 0; set < 10; ++set) {
    EXPECT_EQ(frame_->action(kIdSet0 + set)->isEnabled(), set == 0 || set == 3) << set;
  }
  EXPECT_TRUE(frame_->action(kIdSet0)->isChecked());
  for (int group = 0; group < 10; ++group) {
    EXPECT_EQ(frame_->action(kIdPalette0 + group)->isEnabled(), group < 2) << group;
  }
  // Object #0 at (10,10) in palette colour 3 of group 0; the playfield
  // around it in colour 0.
  EXPECT_EQ(ShownAt(child, 15, 12) & 0xFFFFFF, qRgb(48, 0, 50) & 0xFFFFFF);
  EXPECT_EQ(ShownAt(child, 5, 5) & 0xFFFFFF, qRgb(0, 0, 50) & 0xFFFFFF);
  EXPECT_EQ(frame_->recent_files().files().value(0), dir_.filePath("doll.cnf"));
}

TEST_F(DollWindowTest, ToolbarActionsSwitchSetsPalettesAndZoom) {
  CChildFrame* child = Open();
  ASSERT_NE(child, nullptr);
  CKissCnfView& view = child->view();

  frame_->action(kIdSet0 + 3)->trigger();
  EXPECT_EQ(view.CurrentSet(), 3);
  EXPECT_TRUE(frame_->action(kIdSet0 + 3)->isChecked());
  EXPECT_TRUE(frame_->action(kIdPalette0 + 1)->isChecked()) << "set 3 shows group 1";
  EXPECT_EQ(ShownAt(child, 105, 22) & 0xFFFFFF, qRgb(48, 100, 50) & 0xFFFFFF);

  frame_->action(kIdPalette0)->trigger();
  EXPECT_EQ(view.palette_group(), 0);
  EXPECT_EQ(ShownAt(child, 105, 22) & 0xFFFFFF, qRgb(48, 0, 50) & 0xFFFFFF);
  frame_->action(kIdNextSet)->trigger();
  EXPECT_EQ(view.CurrentSet(), 0) << "the next set in use wraps around";

  // Zoom in as far as it goes: the command turns itself off at the end.
  const QSize before = child->view_widget()->frame().size();
  for (int i = 0; i < 6; ++i) frame_->action(kIdZoomIn)->trigger();
  EXPECT_EQ(view.zoom_level(), -6);
  EXPECT_FALSE(frame_->action(kIdZoomIn)->isEnabled());
  EXPECT_TRUE(frame_->action(kIdZoomHome)->isEnabled());
  // Ten times larger: the doll no longer fits and the bars appear.
  EXPECT_GT(child->view_widget()->horizontalScrollBar()->maximum(), 0);
  frame_->action(kIdZoomHome)->trigger();
  EXPECT_EQ(view.zoom_level(), 0);
  EXPECT_EQ(child->view_widget()->horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(child->view_widget()->frame().size(), before);
}

TEST_F(DollWindowTest, DraggingAnObjectMovesItAndShowsWhereThePointerIs) {
  CChildFrame* child = Open();
  ASSERT_NE(child, nullptr);
  CKissCnfView& view = child->view();
  QWidget* area = child->view_widget()->viewport();
  KissObject* object = child->doc().model().FindObject(0, false);
  ASSERT_NE(object, nullptr);

  const ClientPoint grab = view.DollToScreen(PlayPoint{15, 12});
  SendMouse(area, QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
  for (int step = 1; step <= 4; ++step) {
    SendMouse(area, QEvent::MouseMove, ClientPoint{grab.x + 10 * step, grab.y + 5 * step},
              Qt::NoButton, Qt::LeftButton);
  }
  SendMouse(area, QEvent::MouseButtonRelease, ClientPoint{grab.x + 40, grab.y + 20}, Qt::LeftButton,
            Qt::NoButton);
  EXPECT_EQ(object->position[0], (Position{50, 30}));
  EXPECT_EQ(object->position[3], (Position{100, 20})) << "other sets keep their places";

  frame_->UpdateCommandUi();
  EXPECT_EQ(Pane(3), "   55,    32");
  EXPECT_EQ(ShownAt(child, 55, 32) & 0xFFFFFF, qRgb(48, 0, 50) & 0xFFFFFF);

  // Copy Position, for the object clicked last, copies to the other set.
  frame_->action(kIdCopyPosition)->trigger();
  EXPECT_EQ(object->position[3], (Position{50, 30}));
  EXPECT_EQ(said_.back(), "Copy Position: Position of object #0 copied to other sets");
  frame_->action(kIdResetAllPositions)->trigger();
  EXPECT_EQ(object->position[0], (Position{10, 10}));
}

TEST_F(DollWindowTest, UndoRedoAndZoomToFitFromTheMenusKeysAndToolbar) {
  CChildFrame* child = Open();
  ASSERT_NE(child, nullptr);
  CKissCnfView& view = child->view();
  QWidget* area = child->view_widget()->viewport();
  KissObject* object = child->doc().model().FindObject(0, false);
  const ClientPoint grab = view.DollToScreen(PlayPoint{15, 12});
  SendMouse(area, QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
  SendMouse(area, QEvent::MouseMove, ClientPoint{grab.x + 30, grab.y + 20}, Qt::NoButton,
            Qt::LeftButton);
  SendMouse(area, QEvent::MouseButtonRelease, ClientPoint{grab.x + 30, grab.y + 20}, Qt::LeftButton,
            Qt::NoButton);
  ASSERT_EQ(object->position[0], (Position{40, 30}));

  QAction* undo = frame_->action(kIdEditUndo);
  QAction* redo = frame_->action(kIdEditRedo);
  EXPECT_EQ(undo->shortcuts(), QList<QKeySequence>{QKeySequence("Ctrl+Z")});
  EXPECT_EQ(redo->shortcuts(),
            (QList<QKeySequence>{QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")}));
  for (int id : {kIdEditUndo, kIdEditRedo, kIdZoomFit}) {
    EXPECT_TRUE(frame_->main_toolbar()->actions().contains(frame_->action(id))) << id;
  }
  EXPECT_TRUE(frame_->current_menus()[1]->actions().contains(undo)) << "in the Edit menu";
  EXPECT_TRUE(frame_->current_menus()[2]->actions().contains(frame_->action(kIdZoomFit)))
      << "in the View menu";
  frame_->UpdateCommandUi();
  EXPECT_TRUE(undo->isEnabled());
  EXPECT_FALSE(redo->isEnabled());
  undo->trigger();
  EXPECT_EQ(object->position[0], (Position{10, 10}));
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_TRUE(redo->isEnabled());
  EXPECT_EQ(ShownAt(child, 15, 12) & 0xFFFFFF, qRgb(48, 0, 50) & 0xFFFFFF);
  redo->trigger();
  EXPECT_EQ(object->position[0], (Position{40, 30}));

  // The whole 200 x 100 playfield and its edge at the largest size that fits.
  const QSize client = child->view_widget()->viewport()->size();
  frame_->action(kIdZoomFit)->trigger();
  const int level = view.zoom_level();
  EXPECT_LT(level, 0);
  EXPECT_EQ(level, FitZoomLevel(200, 100, client.width(), client.height(), true));
  EXPECT_FALSE(child->view_widget()->horizontalScrollBar()->isVisible());
  EXPECT_FALSE(child->view_widget()->verticalScrollBar()->isVisible());
  EXPECT_GT((204 * ZoomFactor(level - 1)), client.width());

  // The zoom shows in the status bar and in the titles.
  const QString ratio = QString::fromStdString(ZoomRatioText(level));
  EXPECT_EQ(Pane(6), "Zoom " + ratio);
  EXPECT_EQ(child->windowTitle(), "doll.cnf (" + ratio + ")");
  EXPECT_EQ(frame_->windowTitle(), "doll.cnf (" + ratio + ") - Lumadoll");
  frame_->action(kIdZoomHome)->trigger();
  EXPECT_EQ(Pane(6), "Zoom 1:1");
  EXPECT_EQ(child->windowTitle(), "doll.cnf");
  EXPECT_EQ(frame_->windowTitle(), "doll.cnf - Lumadoll") << "the program is named once";

  // A touchpad's small wheel steps add up to one zoom step.
  QWheelEvent wheel(QPointF(5, 5), area->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 12),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  for (int i = 0; i < 9; ++i) QApplication::sendEvent(area, &wheel);
  EXPECT_EQ(view.zoom_level(), 0);
  QApplication::sendEvent(area, &wheel);
  EXPECT_EQ(view.zoom_level(), -1);
}

TEST_F(DollWindowTest, WindowsOfOneFileAreNumberedAndCascadeKeepsFittedSizes) {
  CChildFrame* first = Open();
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(frame_->OpenDocumentFile(dir_.filePath("doll.cnf")));
  CChildFrame* second = frame_->ActiveChild();
  Write("other.cnf", kCnf);
  ASSERT_TRUE(frame_->OpenDocumentFile(dir_.filePath("other.cnf")));
  CChildFrame* third = frame_->ActiveChild();
  ASSERT_NE(second, first);
  ASSERT_NE(third, second);
  frame_->UpdateCommandUi();
  EXPECT_EQ(first->windowTitle(), "doll.cnf:1");
  EXPECT_EQ(second->windowTitle(), "doll.cnf:2");
  EXPECT_EQ(third->windowTitle(), "other.cnf");
  EXPECT_EQ(frame_->windowTitle(), "other.cnf - Lumadoll");

  second->view().ZoomIn();
  frame_->RunCommand(kIdWindowCascade);
  // The bars follow the new sizes once the events are through.
  QCoreApplication::processEvents();
  int step = -1;
  QPoint last;
  for (CChildFrame* child : {first, second, third}) {
    EXPECT_FALSE(child->isMaximized());
    // Each at its fitted size: the doll window fills the client exactly.
    EXPECT_EQ(child->size(), child->FittedSize());
    EXPECT_EQ(child->view_widget()->viewport()->size(),
              QSize(child->view().horizontal_bar().content, child->view().vertical_bar().content));
    EXPECT_FALSE(child->view_widget()->horizontalScrollBar()->isVisible());
    if (child != first) {
      const QPoint moved = child->pos() - last;
      EXPECT_GT(moved.x(), 0);
      EXPECT_EQ(moved.x(), moved.y());
      if (step >= 0) {
        EXPECT_EQ(moved.x(), step);
      }
      step = moved.x();
    }
    last = child->pos();
  }
  EXPECT_EQ(second->view_widget()->viewport()->size(), QSize(400, 200)) << "zoomed in twice";

  // Tiled one above another, each keeps its size where its band holds it.
  frame_->RunCommand(kIdWindowTileHorizontal);
  const int band = frame_->mdi_area()->viewport()->height() / 3;
  EXPECT_EQ(first->pos(), QPoint(0, 0));
  EXPECT_EQ(third->pos(), QPoint(0, 2 * band));
  EXPECT_EQ(first->size(), first->FittedSize().boundedTo(QSize(10000, band)));

  second->close();
  ASSERT_TRUE(SpinUntil([this] { return frame_->Children().size() == 2; }, 2000));
  frame_->UpdateCommandUi();
  EXPECT_EQ(first->windowTitle(), "doll.cnf") << "alone again";
}

TEST_F(DollWindowTest, StatusPanesDescribeTheActiveDoll) {
  const std::string cnf = std::string(kCnf) +
                          "#1 missing.cel *0 :0\n"
                          ";@EventHandler\n"
                          ";@initialize()\n"
                          ";@ unmap(\"b.cel\")\n";
  CChildFrame* child = Open(cnf);
  ASSERT_NE(child, nullptr);
  frame_->UpdateCommandUi();
  EXPECT_EQ(Pane(0), FkissLevelText(child->doc().model().fkiss_level));
  EXPECT_FALSE(Pane(0).isEmpty());
  EXPECT_EQ(Pane(1), "16-color");
  EXPECT_EQ(Pane(2), "") << "no 32-bit cels";
  EXPECT_FALSE(frame_->status_panes().pane(2)->isEnabled());
  EXPECT_EQ(Pane(4), QString("%1 errors").arg(child->doc().report().error_count()));
  EXPECT_GE(child->doc().report().error_count(), 1) << "the missing cel";
  EXPECT_TRUE(Pane(5).startsWith("Approx ")) << Pane(5).toStdString();

  // The script ran at start: initialize unmapped b.cel.
  EXPECT_EQ(ShownAt(child, 55, 55) & 0xFFFFFF, qRgb(0, 0, 50) & 0xFFFFFF);

  child->close();
  ASSERT_TRUE(SpinUntil([this] { return frame_->Children().empty(); }, 2000));
  frame_->UpdateCommandUi();
  EXPECT_EQ(Pane(0), "");
  EXPECT_EQ(Pane(4), "");
  EXPECT_EQ(frame_->current_menus().size(), 4u);
  EXPECT_EQ(frame_->alarm_loop().client(), nullptr);
}

TEST_F(DollWindowTest, AlarmsOfTheActiveDollRunFromTheLoop) {
  const std::string cnf = std::string(kCnf) +
                          ";@EventHandler\n"
                          ";@begin()\n"
                          ";@ timer(1, 50)\n"
                          ";@alarm(1)\n"
                          ";@ unmap(\"a.cel\")\n";
  CChildFrame* child = Open(cnf);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(frame_->alarm_loop().client(), child);
  const KissObject* object = child->doc().model().FindObject(0, false);
  ASSERT_NE(object, nullptr);
  const CelInstance* a = object->cels.front();
  EXPECT_TRUE(SpinUntil([a] { return !a->mapped; }, 3000)) << "begin, then alarm 1, ran";
  EXPECT_EQ(ShownAt(child, 15, 12) & 0xFFFFFF, qRgb(0, 0, 50) & 0xFFFFFF);
}

TEST_F(DollWindowTest, OnlyTheActiveOfTwoDollsRunsAndNextKissSetSwitches) {
  CChildFrame* first = Open();
  ASSERT_NE(first, nullptr);
  Write("other.cnf", kCnf);
  ASSERT_TRUE(frame_->OpenDocumentFile(dir_.filePath("other.cnf")));
  CChildFrame* second = frame_->ActiveChild();
  ASSERT_NE(second, first);
  EXPECT_EQ(frame_->alarm_loop().client(), second);
  EXPECT_EQ(frame_->Children().size(), 2u);

  frame_->action(kIdNextKissSet)->trigger();
  EXPECT_EQ(frame_->ActiveChild(), first);
  EXPECT_EQ(frame_->alarm_loop().client(), first);

  first->close();
  ASSERT_TRUE(SpinUntil([this] { return frame_->Children().size() == 1; }, 2000));
  EXPECT_EQ(frame_->ActiveChild(), second);
  EXPECT_EQ(frame_->alarm_loop().client(), second);
  EXPECT_EQ(frame_->current_menus().size(), 8u);
}

TEST_F(DollWindowTest, ReloadingRereadsTheDollAndARefusedFileChangesNothing) {
  CChildFrame* child = Open();
  ASSERT_NE(child, nullptr);
  KissObject* object = child->doc().model().FindObject(0, false);
  child->view().MoveObject(object, 60, 40);
  ASSERT_EQ(object->position[0], (Position{60, 40}));

  EXPECT_FALSE(child->LoadAgain(CChildFrame::Reload::kExpansion,
                                QFile::encodeName(dir_.filePath("gone.cnf")).toStdString()));
  EXPECT_FALSE(said_.empty());
  object = child->doc().model().FindObject(0, false);
  EXPECT_EQ(object->position[0], (Position{60, 40})) << "nothing was loaded";

  Write("a.cel", testing::TestCel(20, 10, 4, 4));
  {
    // Time stamps count in seconds: make the change visible at once.
    QFile changed(dir_.filePath("a.cel"));
    ASSERT_TRUE(changed.open(QIODevice::ReadWrite));
    changed.setFileTime(QDateTime::currentDateTime().addSecs(60),
                        QFileDevice::FileModificationTime);
  }
  frame_->action(kIdReloadCnf)->trigger();
  object = child->doc().model().FindObject(0, false);
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->position[0], (Position{10, 10}));
  EXPECT_EQ(ShownAt(child, 15, 12) & 0xFFFFFF, qRgb(64, 0, 50) & 0xFFFFFF) << "the new cel";
  EXPECT_FALSE(child->doc().loading());
}

TEST_F(DollWindowTest, KeysReachTheScriptAndShortcutsStayCommands) {
  const std::string cnf = std::string(kCnf) +
                          ";@EventHandler\n"
                          ";@keypress(\"q\")\n"
                          ";@ unmap(\"a.cel\")\n"
                          ";@keyrelease(\"q\")\n"
                          ";@ map(\"a.cel\")\n";
  CChildFrame* child = Open(cnf);
  ASSERT_NE(child, nullptr);
  const CelInstance* a = child->doc().model().FindObject(0, false)->cels.front();
  QWidget* target = child->view_widget();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, "q");
  QApplication::sendEvent(target, &press);
  EXPECT_FALSE(a->mapped);
  QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Q, Qt::NoModifier, "q", true);
  QApplication::sendEvent(target, &repeat);
  EXPECT_FALSE(a->mapped) << "an auto-repeated release is no release";
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Q, Qt::NoModifier, "q");
  QApplication::sendEvent(target, &release);
  EXPECT_TRUE(a->mapped);
}

TEST_F(DollWindowTest, BoundingCommandsAndTheCycle) {
  CChildFrame* child = Open();
  ASSERT_NE(child, nullptr);
  const HintSettings& hints = child->doc().model().hints;
  EXPECT_EQ(hints.bounds, BoundsMode::kVisible) << "the setting's default";
  frame_->action(kIdBoundNone)->trigger();
  EXPECT_EQ(hints.bounds, BoundsMode::kNone);
  EXPECT_TRUE(frame_->action(kIdBoundNone)->isChecked());
  EXPECT_EQ(frame_->bounding_button()->toolTip(), "None - No bounding enforced");
  frame_->bounding_button()->click();
  EXPECT_EQ(hints.bounds, BoundsMode::kAll) << "the cycle wraps from None to All";
  EXPECT_EQ(frame_->bounding_button()->toolTip(), "All - Enforce all boundaries");
}

TEST_F(DollWindowTest, ScreenshotAndThumbnailAreWritten) {
  CChildFrame* child = Open();
  ASSERT_NE(child, nullptr);
  QString shot = dir_.filePath("shot.bmp");
  dialogs_.on_file = [&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Save Screenshot");
    return shot;
  };
  frame_->action(kIdCreateScreenshot)->trigger();
  QImage picture(shot);
  EXPECT_EQ(picture.size(), QSize(200, 100));
  // The name picks the format: PNG or BMP; any other name gets ".bmp".
  auto first_bytes = [](const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(4) : QByteArray();
  };
  EXPECT_TRUE(first_bytes(shot).startsWith("BM"));
  for (const char* name : {"shot.png", "SHOT.PNG", "shot.jpg"}) {
    shot = dir_.filePath(name);
    frame_->action(kIdCreateScreenshot)->trigger();
  }
  EXPECT_EQ(first_bytes(dir_.filePath("shot.png")), QByteArray("\x89PNG"));
  EXPECT_EQ(first_bytes(dir_.filePath("SHOT.PNG")), QByteArray("\x89PNG"));
  EXPECT_FALSE(QFile::exists(dir_.filePath("shot.jpg")));
  EXPECT_TRUE(first_bytes(dir_.filePath("shot.jpg.bmp")).startsWith("BM"));
  EXPECT_EQ(QImage(dir_.filePath("shot.png")).size(), QSize(200, 100));
  frame_->action(kIdSaveThumbnail)->trigger();
  EXPECT_TRUE(QFile::exists(dir_.filePath("doll.KTN")));
}

TEST_F(DollWindowTest, OpenOtherCnfOfAnArchiveWithOneCnfSaysThereIsNone) {
  ASSERT_NE(Open(), nullptr);
  const std::vector<uint8_t> image =
      testing::TestDollArchive({{"doll.cnf", kCnf},
                                {"colors.kcf", Kcf(2)},
                                {"a.cel", testing::TestCel(20, 10, 4, 3)},
                                {"b.cel", testing::TestCel(10, 10, 4, 5)}});
  Write("one.lzh", std::string(image.begin(), image.end()));
  ASSERT_TRUE(frame_->OpenDocumentFile(dir_.filePath("one.lzh")));
  said_.clear();
  frame_->action(kIdOpenOtherCnf)->trigger();
  ASSERT_EQ(said_.size(), 1u);
  EXPECT_EQ(said_[0], "Open other CNF: one.lzh holds no other CNF than doll.cnf.");
}

// A desktop as the test wants it: programs for no type, or programs that
// fail to start.
class FakeLauncher : public DesktopLauncher {
 public:
  FakeLauncher(bool has_programs, bool starts) : has_programs_(has_programs), starts_(starts) {}
  bool HasProgramFor(const QString&, bool) override { return has_programs_; }
  bool Open(const QString& path, bool) override {
    opened.append(path);
    return starts_;
  }
  QStringList opened;

 private:
  bool has_programs_, starts_;
};

TEST_F(DollWindowTest, DocumentationWithoutADesktopProgramOpensInAWindowOfItsOwn) {
  // "キッス" in Shift-JIS, under the Shift-JIS name "説明.txt".
  const std::string kKana = "\x83\x4c\x83\x62\x83\x58\r\n";
  ASSERT_NE(Open(), nullptr);
  const std::vector<uint8_t> image =
      testing::TestDollArchive({{"doll.cnf", kCnf},
                                {"colors.kcf", Kcf(2)},
                                {"a.cel", testing::TestCel(20, 10, 4, 3)},
                                {"b.cel", testing::TestCel(10, 10, 4, 5)},
                                {"readme.doc", "Caf\xe9 au lait\r\nline two\r\n"},
                                {"guide.txt", "Caf\xc3\xa9 \xe2\x98\x95\n"},
                                {"\x90\xe0\x96\xbe.txt", kKana}});
  Write("docs.lzh", std::string(image.begin(), image.end()));
  ASSERT_TRUE(frame_->OpenDocumentFile(dir_.filePath("docs.lzh")));
  CChildFrame* child = frame_->ActiveChild();
  ASSERT_EQ(child->view().DocumentationEntries(),
            (std::vector<std::string>{"readme.doc", "guide.txt", "説明.txt"}));

  auto* none = new FakeLauncher(false, false);
  frame_->set_launcher(std::unique_ptr<DesktopLauncher>(none));
  said_.clear();
  EXPECT_TRUE(child->view().OpenDocumentation(0));
  ASSERT_NE(child->document_viewer(), nullptr);
  EXPECT_TRUE(child->document_viewer()->text()->isReadOnly());
  EXPECT_EQ(child->document_viewer()->text()->toPlainText(),
            QString::fromUtf8("Café au lait\nline two\n"))
      << "Windows-1252 bytes";
  EXPECT_TRUE(child->view().OpenDocumentation(1));
  EXPECT_EQ(child->document_viewer()->text()->toPlainText(), QString::fromUtf8("Café ☕\n"))
      << "UTF-8 bytes";
  // Each document decides its own encoding, unless the user chose one.
  EXPECT_TRUE(child->view().OpenDocumentation(2));
  EXPECT_EQ(child->document_viewer()->text()->toPlainText(), QString::fromUtf8("キッス\n"));
  EXPECT_TRUE(child->document_viewer()->windowTitle().startsWith(QString::fromUtf8("説明.txt - ")))
      << child->document_viewer()->windowTitle().toStdString();
  Settings western = frame_->settings();
  western.text_encoding = static_cast<int>(TextEncoding::kWindows1252);
  frame_->ApplySettings(western);
  EXPECT_TRUE(child->view().OpenDocumentation(2));
  EXPECT_EQ(child->document_viewer()->text()->toPlainText(),
            QString::fromUtf8(DecodeText(kKana, TextEncoding::kWindows1252)).replace("\r\n", "\n"));
  frame_->ApplySettings(Settings());
  EXPECT_TRUE(child->view().OpenCnf()) << "the CNF too, without a text editor";
  EXPECT_TRUE(child->document_viewer()->text()->toPlainText().startsWith("(200,100)"));
  EXPECT_TRUE(none->opened.isEmpty());
  EXPECT_TRUE(said_.empty());

  // A program that is there but does not start is reported.
  auto* failing = new FakeLauncher(true, false);
  frame_->set_launcher(std::unique_ptr<DesktopLauncher>(failing));
  EXPECT_FALSE(child->view().OpenDocumentation(0));
  ASSERT_EQ(failing->opened.size(), 1);
  ASSERT_EQ(said_.size(), 1u);
  EXPECT_EQ(said_[0], "Lumadoll: Unable to open " + failing->opened[0].toStdString());
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (dynamic_cast<DocumentViewer*>(window)) window->close();
  }
}

TEST_F(DollWindowTest, AFileThatCannotBeOpenedOpensNoWindow) {
  dialogs_.answer = Answer::kOk;
  Write("broken.lzh", "this is not an archive");
  EXPECT_FALSE(frame_->OpenDocumentFile(dir_.filePath("broken.lzh")));
  EXPECT_TRUE(frame_->Children().empty());
  EXPECT_FALSE(said_.empty());
}

TEST_F(DollWindowTest, ASelfExtractingDollOpensAndOtherProgramsAreRefused) {
  dialogs_.answer = Answer::kOk;
  std::string program(20000, '\x90');
  program[0] = 'M';
  program[1] = 'Z';
  const std::vector<uint8_t> archive =
      testing::TestDollArchive({{"doll.cnf", kCnf},
                                {"colors.kcf", Kcf(2)},
                                {"a.cel", testing::TestCel(20, 10, 4, 3)},
                                {"b.cel", testing::TestCel(10, 10, 4, 5)}});
  Write("doll.exe", program + std::string(archive.begin(), archive.end()));
  Write("setup.exe", program);
  ASSERT_TRUE(frame_->OpenDocumentFile(dir_.filePath("doll.exe")));
  ASSERT_EQ(frame_->Children().size(), 1u);
  EXPECT_EQ(frame_->ActiveChild()->windowTitle(), "doll.exe");
  EXPECT_TRUE(said_.empty());
  EXPECT_FALSE(frame_->OpenDocumentFile(dir_.filePath("setup.exe")));
  EXPECT_EQ(frame_->Children().size(), 1u);
  ASSERT_EQ(said_.size(), 1u);
  EXPECT_NE(said_[0].find("is not a KiSS file type"), std::string::npos) << said_[0];
}

TEST_F(DollWindowTest, AZipDollDroppedOnTheWindowOpensWithItsDocumentation) {
  dialogs_.answer = Answer::kOk;
  const std::vector<uint8_t> zip = testing::ZipTestArchive(
      {testing::ZipMember("doll/doll.cnf", kCnf), testing::ZipMember("doll/colors.kcf", Kcf(2)),
       testing::ZipMember("doll/a.cel", testing::TestCel(20, 10, 4, 3)),
       testing::ZipMember("doll/b.cel", testing::TestCel(10, 10, 4, 5)),
       testing::ZipMember("doll/readme.txt", "Hello")});
  Write("doll.ZIP", std::string(zip.begin(), zip.end()));
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(dir_.filePath("doll.ZIP"))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(frame_.get(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(frame_.get(), &drop);
  ASSERT_EQ(frame_->Children().size(), 1u) << (said_.empty() ? "" : said_[0]);
  CKissCnfDoc& doc = frame_->ActiveChild()->doc();
  EXPECT_EQ(frame_->ActiveChild()->windowTitle(), "doll.ZIP");
  EXPECT_EQ(doc.model().instances().size(), 2u);
  ASSERT_EQ(doc.document_files().size(), 1u);
  const Result<std::string> readme = doc.DocumentFilePath(0);
  ASSERT_TRUE(readme.ok()) << readme.status().message();
  QFile copy(QString::fromStdString(*readme));
  ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
  EXPECT_EQ(copy.readAll(), "Hello");
  EXPECT_TRUE(said_.empty());
}

TEST(LongMessageTest, AMessageOfManyLinesScrollsInAWindowOfItsOwn) {
  QtDialogRunner dialogs;
  std::string text = "Total stack depth: 40\r\n";
  for (int i = 1; i <= 40; ++i) text += std::to_string(i) + ": alarm(1)\r\n";
  QString shown;
  QTimer::singleShot(50, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    if (auto* body = dialog->findChild<QPlainTextEdit*>("message")) shown = body->toPlainText();
    static_cast<QDialog*>(dialog)->accept();
  });
  dialogs.ShowMessage(nullptr, "Lumadoll", text, MessageIcon::kWarning);
  EXPECT_TRUE(shown.startsWith("Total stack depth: 40\n1: alarm(1)\n"));
  EXPECT_FALSE(shown.contains('\r'));
}

}  // namespace
}  // namespace luma::app
