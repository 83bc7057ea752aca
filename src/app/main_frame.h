#ifndef LUMA_APP_MAIN_FRAME_H_
#define LUMA_APP_MAIN_FRAME_H_

#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <map>
#include <memory>
#include <vector>

#include "app/alarm_loop.h"
#include "app/app_host.h"
#include "app/command_table.h"
#include "app/dialog_runner.h"
#include "app/help_window.h"
#include "app/qt_dialog_runner.h"
#include "app/recent_files.h"
#include "app/text_editor.h"
#include "core/gfx/render_device.h"
#include "core/host/settings.h"
#include "core/host/status.h"

class QActionGroup;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QToolButton;

namespace luma::audio {
class AudioPlayer;
}

namespace luma::app {

class CChildFrame;
class StatusPanes;
class TipDialog;

// The main window: menus, the main, set and palette toolbars, the status bar
// and the area holding one child window per open doll. It owns the settings
// (read when it is made, written when it closes), the Host of the engine and
// the loop that runs the active doll's alarms. Its dialogs run through a
// DialogRunner.
class CMainFrame : public QMainWindow {
 public:
  // `store` and `dialogs` must outlive the frame; `audio` may be null;
  // without `dialogs` the real dialogs run.
  CMainFrame(SettingsStore& store, audio::AudioPlayer* audio, DialogRunner* dialogs = nullptr);
  ~CMainFrame() override;

  Settings& settings() { return settings_; }
  AppHost& host() { return host_; }
  DialogRunner& dialogs() { return dialogs_; }
  AlarmLoop& alarm_loop() { return alarm_loop_; }
  const RecentFiles& recent_files() const { return recent_; }
  QMdiArea* mdi_area() const { return mdi_; }
  // The one graphics device, made on first need. When it cannot be made,
  // the reason is shown once and this call and every later one report the
  // failure; the program goes on without dolls.
  Result<RenderDevice*> device();
  // The device when it has been made, without making it.
  RenderDevice* existing_device() const { return device_.get(); }

  // The action of a command id, nullptr for none.
  QAction* action(int id) const;
  QToolBar* main_toolbar() const { return main_toolbar_; }
  QToolBar* set_toolbar() const { return set_toolbar_; }
  QToolBar* palette_toolbar() const { return palette_toolbar_; }
  QToolButton* sound_button() const { return sound_button_; }
  QToolButton* music_button() const { return music_button_; }
  QToolButton* bounding_button() const { return bounding_button_; }
  const StatusPanes& status_panes() const { return *status_panes_; }
  // The top-level menus shown now (the doll menu while a doll is open).
  std::vector<QMenu*> current_menus() const;

  // Shows the window the first time with the stored placement.
  void ReadWindowPlacement();
  void WriteWindowPlacement();

  // Opens a CNF, LZH or LHA file as a doll in a window of its own; false
  // when that failed.
  bool OpenDocumentFile(const QString& path);
  // The window of the active doll, or nullptr.
  CChildFrame* ActiveChild() const;
  std::vector<CChildFrame*> Children() const;
  // A doll window is going away: its alarms stop.
  void ChildClosing(CChildFrame* child);
  // With "Thumb Create" on, the doll's thumbnail is made when it has none.
  void AutoCreateThumbnail(CChildFrame& child);
  // A save dialog (title, proposed name, default extension, Qt filter)
  // starting in the current folder: the path chosen (local encoding), empty
  // when cancelled.
  std::string AskSavePath(const QString& title, const QString& proposed, const QString& extension,
                          const QString& filter);
  // Runs "Options"; with OK the settings it holds become the settings.
  void RunOptionsDialog();
  // New settings for this run; every open doll follows them at once.
  void ApplySettings(const Settings& settings);
  // Puts a file the user made or opened at the top of the recent-file list.
  void AddRecentFile(const QString& path);
  // Where file dialogs start: the folder of the doll opened last (or of the
  // archive built last), kept in the settings. The program never changes
  // the process's working folder.
  const QString& current_folder() const { return current_folder_; }
  void set_current_folder(const QString& folder) { current_folder_ = folder; }
  // Runs a command as its menu entry or toolbar button does.
  void RunCommand(int id) { OnCommand(id); }
  // A path handed over by a later start: come to the front, then open it.
  void OpenHandedOver(const QString& path);
  // Shows the tip of the day (modeless).
  void ShowTips();
  // The help window, when it has been opened.
  HelpWindow* help_window() const { return help_; }
  // How files are handed to the desktop's programs.
  DesktopLauncher& launcher() { return *launcher_; }
  void set_launcher(std::unique_ptr<DesktopLauncher> launcher) { launcher_ = std::move(launcher); }

  // Enables, checks and refreshes every command and pane; runs on idle.
  void UpdateCommandUi();
  // The doll windows' titles ("doll.cnf", "doll.cnf:2" beside another
  // window of the same file, the zoom when it is not 1:1) and the main
  // window's, which names the active doll and the program once.
  void RefreshTitles();

 protected:
  // Makes the graphics device, showing why when it cannot (null then).
  virtual std::unique_ptr<RenderDevice> CreateDevice();

  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void LoadSettings();
  void SaveSettings();

  // Building the window (main_frame_menus.cpp).
  void CreateActions();
  void CreateMenus();
  void CreateToolbars();
  QMenu* CreateRecentFileSection(QMenu* file_menu);
  void RebuildRecentFileMenu();
  void ShowMenusFor(bool doll_open);

  void OnCommand(int id);
  void OpenWithDialog();
  // An open dialog for one existing file: the file, empty when cancelled.
  QString AskOpenPath(const QString& title, const QString& folder, const QString& filter);
  void OpenIntoActive(int id);
  void ActiveWindowChanged(QMdiSubWindow* window);
  void RebuildDocumentationMenu();
  void ShowStatusValues();
  void SetSoundEnabled(bool enabled);
  void SetMusicEnabled(bool enabled);
  void TileWindows(Qt::Orientation orientation);
  void CascadeWindows();
  // The doll windows not minimised, restored to their normal state.
  std::vector<CChildFrame*> WindowsToArrange();
  void ArrangeIcons();
  bool HasDoll() const;

  SettingsStore& store_;
  Settings settings_;
  RecentFiles recent_;
  audio::AudioPlayer* audio_;
  QtDialogRunner qt_dialogs_;
  DialogRunner& dialogs_;
  AppHost host_;
  AlarmLoop alarm_loop_;
  std::unique_ptr<RenderDevice> device_;
  bool device_failed_ = false;

  QMdiArea* mdi_ = nullptr;
  std::map<int, QAction*> actions_;
  std::vector<QAction*> recent_actions_;
  std::vector<QMenu*> no_doll_menus_;
  std::vector<QMenu*> doll_menus_;
  QMenu* window_menu_ = nullptr;
  QMenu* documentation_menu_ = nullptr;
  QPointer<CChildFrame> active_child_;
  bool doll_menus_shown_ = false;
  QActionGroup* set_group_ = nullptr;
  QActionGroup* palette_group_ = nullptr;
  QActionGroup* bounding_group_ = nullptr;
  QToolBar* main_toolbar_ = nullptr;
  QToolBar* set_toolbar_ = nullptr;
  QToolBar* palette_toolbar_ = nullptr;
  QToolButton* sound_button_ = nullptr;
  QToolButton* music_button_ = nullptr;
  QToolButton* bounding_button_ = nullptr;
  QIcon sound_icons_[2];
  QIcon music_icons_[2];
  QIcon bounding_icons_[std::size(kBoundingIds)];
  std::unique_ptr<StatusPanes> status_panes_;
  QTimer idle_timer_;
  QPointer<TipDialog> tips_;
  QPointer<HelpWindow> help_;
  QString main_title_;
  std::unique_ptr<DesktopLauncher> launcher_ = std::make_unique<DesktopLauncher>();
  QString current_folder_;
  bool placement_read_ = false;
  bool settings_saved_ = false;
};

}  // namespace luma::app

#endif  // LUMA_APP_MAIN_FRAME_H_
