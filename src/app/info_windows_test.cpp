// The information windows of a doll window and the about and bug report
// boxes, driven through the commands as the menus run them.
#include "app/info_windows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include "app/about_dialog.h"
#include "app/bug_report_dialog.h"
#include "app/child_frame.h"
#include "app/command_table.h"
#include "app/doll_view_widget.h"
#include "app/main_frame.h"
#include "app/main_window_fixture.h"
#include "core/testing/doll_builder.h"

namespace luma::app {
namespace {

// a.cel (20 x 10) as object #0 at 10,10 and b.cel (10 x 10) as object #1 at
// 100,20; pressing b writes a debug line.
constexpr char kCnf[] =
    "(200,100)\n"
    "%colors.kcf\n"
    "#0 a.cel *0 :0\n"
    "#1 b.cel *0 :0\n"
    "$0 10,10 100,20\n"
    ";@EventHandler\n"
    ";@press(#1) debug(\"pressed b\")\n";

class InfoWindowsTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Write("colors.kcf", testing::TestKcf(16));
    Write("a.cel", testing::TestCel(20, 10, 4, 3));
    Write("b.cel", testing::TestCel(10, 10, 4, 5));
  }

  CChildFrame* Open(const std::string& cnf = kCnf) {
    Write("doll.cnf", cnf);
    if (!OpenPath(PathOf("doll.cnf"))) return nullptr;
    Settle();
    return frame_->ActiveChild();
  }
};

TEST_F(InfoWindowsTest, CommandsOpenTheirWindowsTitledWithTheDoll) {
  CChildFrame* child = Open();
  ASSERT_NE(child, nullptr);
  InfoWindows& info = child->info_windows();
  EXPECT_EQ(info.error_report(), nullptr) << "a clean doll opens no report";

  frame_->RunCommand(kIdErrorReport);
  ASSERT_NE(info.error_report(), nullptr);
  EXPECT_TRUE(info.error_report()->isVisible());
  EXPECT_EQ(info.error_report()->windowTitle(), "Error Report for doll.cnf");
  EXPECT_EQ(info.error_report()->error_heading()->text(), "No Errors Found");

  frame_->RunCommand(kIdSetInfo);
  ASSERT_NE(info.set_properties(), nullptr);
  EXPECT_EQ(info.set_properties()->windowTitle(), "Set Properties for doll.cnf");
  EXPECT_EQ(info.set_properties()->ValueOf("Total Objects:"), "2");
  EXPECT_EQ(info.set_properties()->ValueOf("Archive:"), "none");
  EXPECT_EQ(info.set_properties()->ValueOf("FKiSS Events:"), "1");

  frame_->RunCommand(kIdObjectCelInfo);
  ASSERT_NE(info.object_cel_info(), nullptr);
  EXPECT_EQ(info.object_cel_info()->windowTitle(), "Object/Cel Properties for doll.cnf");
  EXPECT_EQ(info.object_cel_info()->status()->text(), "No Object Selected");

  frame_->RunCommand(kIdDisplayDebug);
  ASSERT_NE(info.debug_window(), nullptr);
  EXPECT_EQ(info.debug_window()->windowTitle(), "Debug: doll.cnf");

  frame_->RunCommand(kIdTraceFkiss);
  ASSERT_NE(info.trace_window(), nullptr);
  EXPECT_EQ(info.trace_window()->windowTitle(), "FKiSS Trace: doll.cnf");
  EXPECT_TRUE(frame_->action(kIdTraceFkiss)->isChecked());
  frame_->RunCommand(kIdTraceFkiss);
  EXPECT_FALSE(child->view().trace_on());
  EXPECT_FALSE(frame_->action(kIdTraceFkiss)->isChecked());
}

TEST_F(InfoWindowsTest, ObjectCelInfoFollowsClicksUnlessLockedAndAppliesEdits) {
  CChildFrame* child = Open();
  ASSERT_NE(child, nullptr);
  frame_->RunCommand(kIdObjectCelInfo);
  ObjectCelInfoWindow* window = child->info_windows().object_cel_info();
  ASSERT_NE(window, nullptr);

  Click(child, 15, 12);
  EXPECT_TRUE(window->status()->text().startsWith("Cel: \"a.cel\"  Object: #0"))
      << window->status()->text().toStdString();
  EXPECT_EQ(window->ValueOf(ObjectCelInfoWindow::kCelTab, "Kind:"), "a.cel (16 color indexed)");
  EXPECT_EQ(window->ValueOf(ObjectCelInfoWindow::kObjectTab, "Object:"), "#0");

  window->lock_box()->setChecked(true);
  Click(child, 105, 25);
  EXPECT_TRUE(window->status()->text().startsWith("Cel: \"a.cel\"")) << "locked";
  window->lock_box()->setChecked(false);
  Click(child, 105, 25);
  EXPECT_TRUE(window->status()->text().startsWith("Cel: \"b.cel\""));
  window->fkiss_button()->setChecked(true);
  EXPECT_TRUE(window->script_text()->toPlainText().contains("press(#1)"))
      << window->script_text()->toPlainText().toStdString();

  // The Cel Info command shows the clicked cel on the cel tab, where edits apply.
  frame_->RunCommand(kIdCelInfo);
  EXPECT_EQ(window->tabs()->currentIndex(), ObjectCelInfoWindow::kCelTab);
  window->transparency()->setValue(128);
  window->apply_button()->click();
  const CelInstance* b = child->doc().model().instances()[1].get();
  EXPECT_EQ(b->transparency, 128);
  EXPECT_EQ(window->ValueOf(ObjectCelInfoWindow::kCelTab, "Transparency:"), "128");
  frame_->RunCommand(kIdObjectInfo);
  EXPECT_EQ(window->tabs()->currentIndex(), ObjectCelInfoWindow::kObjectTab);

  // A reload frees the cels the window showed.
  frame_->RunCommand(kIdReloadCnf);
  Settle();
  EXPECT_EQ(window->status()->text(), "No Object Selected");
}

TEST_F(InfoWindowsTest, DebugAndTraceWindowsReceiveTheScriptsOutput) {
  CChildFrame* child = Open();
  ASSERT_NE(child, nullptr);
  InfoWindows& info = child->info_windows();
  frame_->RunCommand(kIdTraceFkiss);
  Click(child, 105, 25);
  ASSERT_NE(info.debug_window(), nullptr) << "the debug action opens its window";
  EXPECT_TRUE(info.debug_window()->isVisible());
  EXPECT_EQ(info.debug_window()->text(), "pressed b\r\n");
  EXPECT_EQ(info.debug_window()->edit()->toPlainText(), "pressed b");
  const std::string& trace = info.trace_window()->text();
  EXPECT_NE(trace.find("press(#1)\r\n"), std::string::npos) << trace;
  EXPECT_NE(trace.find("debug(\"pressed b\")"), std::string::npos) << trace;

  // Closing the trace window ends the tracing.
  info.trace_window()->reject();
  EXPECT_FALSE(child->view().trace_on());
  const size_t traced = trace.size();
  Click(child, 105, 25);
  EXPECT_EQ(info.trace_window()->text().size(), traced);
  EXPECT_EQ(info.debug_window()->edit()->toPlainText(), "pressed b\npressed b");
}

TEST_F(InfoWindowsTest, InTraceStepModeAlarmsWaitForTheStepButton) {
  CChildFrame* child = Open(
      "(200,100)\n%colors.kcf\n#0 a.cel *0 :0\n$0 10,10\n;@EventHandler\n"
      ";@press(#0) timer(1, 5)\n;@alarm(1) debug(\"rang\")\n");
  ASSERT_NE(child, nullptr);
  InfoWindows& info = child->info_windows();
  frame_->RunCommand(kIdTraceFkiss);
  QCheckBox* step_mode = nullptr;
  for (QCheckBox* box : info.trace_window()->findChildren<QCheckBox*>()) {
    if (box->text() == "Step Mode") step_mode = box;
  }
  ASSERT_NE(step_mode, nullptr);
  step_mode->setChecked(true);
  Click(child, 15, 12);
  Settle(300);
  EXPECT_EQ(info.debug_window(), nullptr) << "the alarm waits";
  ASSERT_TRUE(info.trace_step_button()->isEnabled());
  info.trace_step_button()->click();
  ASSERT_NE(info.debug_window(), nullptr);
  EXPECT_EQ(info.debug_window()->text(), "rang\r\n");
  EXPECT_FALSE(info.trace_step_button()->isEnabled());
  EXPECT_NE(info.trace_window()->text().find("alarm(1)"), std::string::npos);
}

TEST_F(InfoWindowsTest, ScriptOutputKeepsWithinItsLimit) {
  ScriptOutputWindow window("Debug: x", nullptr);
  const std::string line(100, 'x');
  for (int i = 0; i < 400; ++i) window.AddLine(line);
  EXPECT_LT(window.text().size(), TraceLog::kLimit);
  EXPECT_EQ((window.edit()->toPlainText().replace("\n", "\r\n") + "\r\n").toStdString(),
            window.text())
      << "the box shows what the log keeps";
  window.Clear();
  EXPECT_TRUE(window.edit()->toPlainText().isEmpty());
}

TEST_F(InfoWindowsTest, TheReportOpensAfterLoadingByTheErrorSettings) {
  CChildFrame* child = Open(std::string(kCnf) + "#2 missing.cel *0 :0\n");
  ASSERT_NE(child, nullptr);
  ASSERT_NE(child->info_windows().error_report(), nullptr);
  EXPECT_TRUE(child->info_windows().error_report()->isVisible());
  EXPECT_EQ(child->info_windows().error_report()->error_heading()->text(), "1 Error:");
  EXPECT_EQ(child->info_windows().error_report()->warning_heading()->text(), "No Warnings Found");
  child->close();
  Settle();

  // Warnings alone: "Errors Only" keeps the report closed; with "Errors
  // LZH" that holds for archives only, so this disk doll shows it.
  frame_->settings().errors_only = true;
  frame_->settings().errors_lzh = true;
  child = Open(";HINT bogus 3\n" + std::string(kCnf));
  ASSERT_NE(child, nullptr);
  ASSERT_NE(child->info_windows().error_report(), nullptr);
  EXPECT_EQ(child->info_windows().error_report()->warning_heading()->text(), "1 Warning:");
  child->close();
  Settle();
  frame_->settings().errors_lzh = false;
  child = Open(";HINT bogus 3\n" + std::string(kCnf));
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->info_windows().error_report(), nullptr);
}

TEST_F(InfoWindowsTest, AboutAndBugReportDescribeTheDeviceAndTheOpenDolls) {
  ASSERT_NE(Open(), nullptr);
  QString about_title, device_lines;
  std::string report;
  bool read_only = false;
  dialogs_.on_info = [&](QDialog& dialog) {
    if (auto* about = dynamic_cast<AboutDialog*>(&dialog)) {
      about_title = about->windowTitle();
      device_lines = about->device_lines()->text();
      // "DirectX Properties" opens the full status below and closes it again;
      // closed, the box returns to its own height.
      about->show();
      Settle();
      const int closed_height = about->height();
      about->properties_button()->click();
      Settle();
      EXPECT_TRUE(about->properties_text()->isVisible());
      EXPECT_GT(about->height(), closed_height);
      about->properties_button()->click();
      Settle();
      EXPECT_FALSE(about->properties_text()->isVisible());
      EXPECT_EQ(about->height(), closed_height);
    } else if (auto* bug = dynamic_cast<BugReportDialog*>(&dialog)) {
      report = bug->report();
      read_only = bug->report_box()->isReadOnly();
      EXPECT_EQ(bug->windowTitle(), "Bug Report");
    }
  };
  frame_->RunCommand(kIdAppAbout);
  EXPECT_EQ(about_title, "Lumadoll version 1.0.1");
  EXPECT_EQ(device_lines.count('\n'), 4) << "four lines, the memory line in two parts";
  EXPECT_TRUE(device_lines.contains("Texture memory budget: ")) << device_lines.toStdString();
  EXPECT_FALSE(device_lines.contains("video card")) << device_lines.toStdString();

  frame_->RunCommand(kIdBugReport);
  EXPECT_TRUE(read_only);
  EXPECT_EQ(report.rfind("Computer:\r\n\tOS: ", 0), 0u);
  EXPECT_NE(report.find("DirectX Status:\r\n"), std::string::npos) << report;
  EXPECT_NE(report.find("\t1 KiSS data sets loaded\r\n\tdoll.cnf\r\n"), std::string::npos);
  EXPECT_NE(report.find("\t\tObjects: 2\r\n"), std::string::npos);
}

}  // namespace
}  // namespace luma::app
