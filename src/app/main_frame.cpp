#include "app/main_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QWhatsThis>
#include <algorithm>
#include <ctime>

#include "app/about_dialog.h"
#include "app/bug_report_dialog.h"
#include "app/byte_text.h"
#include "app/child_frame.h"
#include "app/command_table.h"
#include "app/doll_view_widget.h"
#include "app/file_dialogs.h"
#include "app/help_window.h"
#include "app/options_dialog.h"
#include "app/preview_file_dialog.h"
#include "app/status_panes.h"
#include "app/tip_dialog.h"
#include "app/toolbar_icons.h"
#include "app/window_arrangement.h"
#include "app/window_placement.h"
#include "audio/audio_player.h"
#include "core/doll/doll_device.h"
#include "core/doll/temp_files.h"
#include "core/pools/pool_manager.h"
#include "core/view/picture_saving.h"

namespace luma::app {
namespace {

constexpr char kToolbarsSection[] = "Toolbars";
constexpr int kIdleRefreshMs = 100;

const char* const kBoundingTexts[] = {
    "All - Enforce all boundaries", "FKiSS - Enforce boundaries for FKiSS",
    "Limited - Enforce visible boundaries for FKiSS", "Visible - Enforce visible boundaries",
    "None - No bounding enforced"};

// The part of `wanted` that lies on some screen, or an empty rectangle when
// none of it does (a screen was removed since it was saved).
QRect OnSomeScreen(const QRect& wanted) {
  for (QScreen* screen : QGuiApplication::screens()) {
    const QRect visible = wanted.intersected(screen->availableGeometry());
    if (visible.width() >= 100 && visible.height() >= 50) return wanted;
  }
  return {};
}

}  // namespace

CMainFrame::CMainFrame(SettingsStore& store, audio::AudioPlayer* audio, DialogRunner* dialogs)
    : store_(store),
      audio_(audio),
      dialogs_(dialogs ? *dialogs : qt_dialogs_),
      host_(this, audio, dialogs_) {
  setWindowTitle("Lumadoll");
  setWindowIcon(AppIcon());
  setAcceptDrops(true);
  resize(800, 600);

  mdi_ = new QMdiArea(this);
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdi_);

  CreateActions();
  CreateToolbars();
  status_panes_ = std::make_unique<StatusPanes>(statusBar());
  statusBar()->showMessage("Ready");
  LoadSettings();
  CreateMenus();

  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
    alarm_loop_.SetApplicationActive(s == Qt::ApplicationActive);
    // Losing activation frees the pointer and lets go of a pressed object.
    if (s != Qt::ApplicationActive && active_child_) active_child_->view().Deactivate();
  });
  connect(mdi_, &QMdiArea::subWindowActivated, this,
          [this](QMdiSubWindow* window) { ActiveWindowChanged(window); });
  idle_timer_.setInterval(kIdleRefreshMs);
  connect(&idle_timer_, &QTimer::timeout, this, [this] { UpdateCommandUi(); });
  idle_timer_.start();
  // The device is asked for once the window is up, so its messages have a
  // parent. A failure has been shown by then; the program goes on without.
  QTimer::singleShot(0, this, [this] { static_cast<void>(device()); });
  UpdateCommandUi();
}

CMainFrame::~CMainFrame() {
  alarm_loop_.SetClient(nullptr);
  // Doll windows close their documents through the host and the device,
  // which are members: they must go before the members do.
  // Windows already closed but not yet deleted count too.
  for (CChildFrame* child : mdi_->findChildren<CChildFrame*>()) delete child;
}

Result<RenderDevice*> CMainFrame::device() {
  if (!device_ && !device_failed_) {
    device_ = CreateDevice();
    device_failed_ = !device_;
    if (device_) settings_.warn_palette = device_->flags().palette_warning_on;
  }
  if (!device_)
    return Status::Error("No doll can be shown: the graphics device could not be made.");
  return device_.get();
}

std::unique_ptr<RenderDevice> CMainFrame::CreateDevice() {
  DeviceSetupOptions options;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    options.software.desktop_width = screen->size().width();
    options.software.desktop_height = screen->size().height();
    options.software.desktop_16_bit = screen->depth() == 16;
  }
  return CreateRenderDevice(settings_, options, host_);
}

QAction* CMainFrame::action(int id) const {
  const auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::LoadSettings() {
  settings_.Load(store_);
  recent_.Load(store_);
  // The folder file dialogs start in: the stored one, else the folder the
  // program was started in. The process's own working folder is left alone.
  current_folder_ = settings_.current_directory.empty()
                        ? QDir::currentPath()
                        : QFile::decodeName(QByteArray::fromStdString(settings_.current_directory));
  if (audio_) {
    audio_->SetSoundEnabled(settings_.sound_enabled);
    audio_->SetMusicEnabled(settings_.music_enabled);
  }
  if (auto state = store_.ReadString(kToolbarsSection, "State")) {
    restoreState(QByteArray::fromBase64(QByteArray::fromStdString(*state)));
  }
  if (auto status = store_.ReadInt(kToolbarsSection, "StatusBar")) {
    statusBar()->setVisible(*status != 0);
  }
  // Right after the settings: pools unused for too long, then temporary
  // files an earlier run left behind.
  const std::time_t now = std::time(nullptr);
  ExpireValuePools(host_, settings_, now);
  CleanStaleTempFiles(host_.Files(), host_.TempFolder(), now);
}

void CMainFrame::SaveSettings() {
  store_.WriteString(kToolbarsSection, "State", saveState().toBase64().toStdString());
  store_.WriteInt(kToolbarsSection, "StatusBar", statusBar()->isVisibleTo(this) ? 1 : 0);
  WriteWindowPlacement();
  settings_.current_directory = QFile::encodeName(current_folder_).toStdString();
  settings_.Save(store_);
  recent_.Save(store_);
}

void CMainFrame::ReadWindowPlacement() {
  if (placement_read_) return;
  placement_read_ = true;
  const auto placement = ParseWindowPlacement(settings_.window_pos);
  if (placement) {
    const QRect normal = OnSomeScreen(QRect(QPoint(placement->left, placement->top),
                                            QPoint(placement->right - 1, placement->bottom - 1)));
    if (normal.isValid()) setGeometry(normal);
    if (placement->maximized()) {
      showMaximized();
      return;
    }
  }
  show();
}

void CMainFrame::WriteWindowPlacement() {
  WindowPlacement p;
  const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
  if (isMaximized()) {
    p.flags = WindowPlacement::kRestoreToMaximized;
    p.show_command = WindowPlacement::kShowMaximized;
  }
  p.left = normal.left();
  p.top = normal.top();
  p.right = normal.right() + 1;
  p.bottom = normal.bottom() + 1;
  settings_.window_pos = FormatWindowPlacement(p);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (!settings_saved_) {
    SaveSettings();
    settings_saved_ = true;
  }
  if (tips_) tips_->close();
  if (help_) help_->close();
  if (audio_) {
    audio_->StopSound();
    audio_->StopMusic();
  }
  event->accept();
}

void CMainFrame::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // A maximised doll window writes "Lumadoll - [doll]" into this title;
  // ours names the doll and the program once.
  if (event->type() == QEvent::WindowTitleChange && !main_title_.isEmpty() &&
      windowTitle() != main_title_) {
    setWindowTitle(main_title_);
  }
}

void CMainFrame::RefreshTitles() {
  const std::vector<CChildFrame*> children = Children();
  for (CChildFrame* child : children) {
    const bool numbered = std::any_of(children.begin(), children.end(), [child](CChildFrame* c) {
      return c != child && c->doc().path() == child->doc().path();
    });
    const QString title = child->DollTitle(numbered);
    if (child->windowTitle() != title) child->setWindowTitle(title);
  }
  CChildFrame* active = ActiveChild();
  main_title_ = active && !active->closing() ? active->windowTitle() + " - Lumadoll" : "Lumadoll";
  if (windowTitle() != main_title_) setWindowTitle(main_title_);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (!event->mimeData()->hasUrls()) return;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) {
      event->acceptProposedAction();
      return;
    }
  }
}

void CMainFrame::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  event->acceptProposedAction();
  activateWindow();
  for (const QUrl& url : urls) {
    if (url.isLocalFile()) OpenDocumentFile(url.toLocalFile());
  }
}

bool CMainFrame::HasDoll() const { return !Children().empty(); }

CChildFrame* CMainFrame::ActiveChild() const { return active_child_.data(); }

std::vector<CChildFrame*> CMainFrame::Children() const {
  std::vector<CChildFrame*> children;
  for (QMdiSubWindow* sub : mdi_->subWindowList()) {
    if (auto* child = dynamic_cast<CChildFrame*>(sub); child && !child->closing()) {
      children.push_back(child);
    }
  }
  return children;
}

void CMainFrame::ActiveWindowChanged(QMdiSubWindow* window) {
  // The area reports no window while the program is in the background; the
  // doll keeps its place (and its alarms, polled slowly) until another doll
  // window takes over or it closes.
  auto* child = dynamic_cast<CChildFrame*>(window);
  if (!child || child->closing() || child == active_child_) return;
  if (active_child_) active_child_->view().Deactivate();
  active_child_ = child;
  // Only the active doll's alarms run; the others wait.
  alarm_loop_.SetClient(child);
  UpdateCommandUi();
}

void CMainFrame::ChildClosing(CChildFrame* child) {
  if (alarm_loop_.client() == child) alarm_loop_.SetClient(nullptr);
  if (active_child_ == child) active_child_ = nullptr;
  // Music belongs to the doll that started it.
  if (audio_) audio_->StopMusic();
  QTimer::singleShot(0, this, [this] { UpdateCommandUi(); });
}

bool CMainFrame::OpenDocumentFile(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  const Result<RenderDevice*> render_device = device();
  if (!render_device.ok()) {
    host_.ShowMessage(kDeviceErrorCaption, render_device.status().message(), MessageIcon::kError);
    return false;
  }
  auto doc = std::make_unique<CKissCnfDoc>(host_, **render_device, settings_);
  // The document checks the file as every way of opening one does: a file
  // that is no KiSS type, or cannot be opened, is refused with its message.
  if (!doc->OpenDoll(QFile::encodeName(absolute).toStdString())) {
    doc->Close();
    if (!QFileInfo(absolute).isFile()) {
      recent_.Remove(absolute);
      RebuildRecentFileMenu();
    }
    return false;
  }
  AddRecentFile(absolute);
  // The next file dialog starts where this doll lives.
  current_folder_ = QFileInfo(absolute).absolutePath();
  auto* child = new CChildFrame(*this, std::move(doc));
  // The lowest number no other window of the same file has.
  const std::vector<CChildFrame*> open = Children();
  int instance = 1;
  while (std::any_of(open.begin(), open.end(), [&](CChildFrame* other) {
    return other->doc().path() == child->doc().path() && other->instance() == instance;
  })) {
    ++instance;
  }
  child->set_instance(instance);
  mdi_->addSubWindow(child);
  child->show();
  mdi_->setActiveSubWindow(child);
  ActiveWindowChanged(child);
  child->StartDoll();
  child->view_widget()->setFocus();
  return true;
}

void CMainFrame::AutoCreateThumbnail(CChildFrame& child) {
  if (!settings_.thumb_create) return;
  luma::AutoCreateThumbnail(child.doc().device(), child.view().CurrentScene(), child.doc().path(),
                            settings_, host_.DataFolder(), host_);
}

std::string CMainFrame::AskSavePath(const QString& title, const QString& proposed,
                                    const QString& extension, const QString& filter) {
  QFileDialog dialog(this, title, QDir(current_folder_).filePath(proposed), filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(extension);
  dialog.setOption(QFileDialog::ReadOnly, false);
  FitFileDialog(dialog);
  return QFile::encodeName(dialogs_.RunFileDialog(dialog)).toStdString();
}

QString CMainFrame::AskOpenPath(const QString& title, const QString& folder,
                                const QString& filter) {
  QFileDialog dialog(this, title, folder, filter);
  dialog.setFileMode(QFileDialog::ExistingFile);
  FitFileDialog(dialog);
  return dialogs_.RunFileDialog(dialog);
}

void CMainFrame::AddRecentFile(const QString& path) {
  recent_.Add(QFileInfo(path).absoluteFilePath());
  RebuildRecentFileMenu();
}

void CMainFrame::OpenIntoActive(int id) {
  CChildFrame* child = ActiveChild();
  if (!child) return;
  CKissCnfDoc& doc = child->doc();
  const QString folder =
      QFileInfo(QFile::decodeName(QByteArray::fromStdString(doc.path()))).absolutePath();
  QString path;
  CChildFrame::Reload kind = CChildFrame::Reload::kThisCnf;
  if (id == kIdOpenExpansion) {
    kind = CChildFrame::Reload::kExpansion;
    path = AskOpenPath(
        "Open Expansion", folder,
        "KiSS data sets (*.cnf *.lzh *.lha *.zip *.exe *.CNF *.LZH *.LHA *.ZIP *.EXE);;All Files "
        "(*)");
    if (path.isEmpty()) return;
  } else if (id == kIdOpenOtherCnf) {
    kind = CChildFrame::Reload::kOtherCnf;
    if (doc.is_archive()) {
      // The archive offers its own CNFs to choose from, when it has others.
      if (doc.CnfMembers().size() < 2) {
        host_.ShowMessage("Open other CNF",
                          doc.ShownPath(doc.archive_name()) + " holds no other CNF than " +
                              doc.ShownCnfName() + ".",
                          MessageIcon::kInformation);
        return;
      }
      path = QFile::decodeName(QByteArray::fromStdString(doc.path()));
    } else {
      path = AskOpenPath("Open other CNF", folder, "KiSS Configuration Files (*.cnf *.CNF)");
      if (path.isEmpty()) return;
    }
  }
  child->LoadAgain(kind, QFile::encodeName(path).toStdString());
}

void CMainFrame::OpenHandedOver(const QString& path) {
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
  repaint();
  OpenDocumentFile(path);
}

void CMainFrame::ShowTips() {
  if (!tips_) tips_ = new TipDialog(settings_, this);
  tips_->show();
  tips_->raise();
}

void CMainFrame::RunOptionsDialog() {
  // Without a device the options are still the user's to change.
  const Result<RenderDevice*> render_device = device();
  const bool paletted = render_device.ok() && (*render_device)->flags().paletted_textures;
  OptionsDialog dialog(settings_, paletted, host_, this);
  if (dialogs_.RunOptionsDialog(dialog)) ApplySettings(dialog.settings());
}

void CMainFrame::ApplySettings(const Settings& settings) {
  const bool encoding_changed = settings.text_encoding != settings_.text_encoding;
  settings_ = settings;
  for (CChildFrame* child : Children()) {
    child->view().ApplySettings(settings_);
    if (encoding_changed) child->TextEncodingChanged();
  }
}

void CMainFrame::OpenWithDialog() {
  const QString filter =
      "KiSS data sets (*.cnf *.lzh *.lha *.zip *.exe *.CNF *.LZH *.LHA *.ZIP *.EXE);;KiSS "
      "Configuration Files (*.cnf *.CNF);;LZH Archives (*.lzh *.lha *.exe *.LZH *.LHA *.EXE);;ZIP "
      "Archives (*.zip *.ZIP);;All Files (*)";
  std::unique_ptr<QFileDialog> dialog;
  if (settings_.thumb_show) {
    dialog = std::make_unique<PreviewFileDialog>(this, "Open", current_folder_, filter, settings_,
                                                 host_.DataFolder());
  } else {
    dialog = std::make_unique<QFileDialog>(this, "Open", current_folder_, filter);
    dialog->setFileMode(QFileDialog::ExistingFile);
    FitFileDialog(*dialog);
  }
  const QString path = dialogs_.RunFileDialog(*dialog);
  dialog.reset();
  if (path.isEmpty()) return;
  OpenDocumentFile(path);
}

void CMainFrame::SetSoundEnabled(bool enabled) {
  Settings changed = settings_;
  changed.sound_enabled = enabled;
  ApplySettings(changed);
  if (audio_) audio_->SetSoundEnabled(enabled);
  UpdateCommandUi();
}

void CMainFrame::SetMusicEnabled(bool enabled) {
  Settings changed = settings_;
  changed.music_enabled = enabled;
  ApplySettings(changed);
  // One player serves every open doll, so this stops the music of all of them.
  if (audio_) audio_->SetMusicEnabled(enabled);
  UpdateCommandUi();
}

std::vector<CChildFrame*> CMainFrame::WindowsToArrange() {
  std::vector<CChildFrame*> windows;
  for (CChildFrame* child : Children()) {
    if (child->isMinimized()) continue;
    if (child->isMaximized()) child->showNormal();
    windows.push_back(child);
  }
  return windows;
}

void CMainFrame::TileWindows(Qt::Orientation orientation) {
  const std::vector<CChildFrame*> windows = WindowsToArrange();
  std::vector<QSize> fitted;
  for (CChildFrame* child : windows) fitted.push_back(child->FittedSize());
  const std::vector<QRect> places = TileGeometry(mdi_->viewport()->rect(), fitted, orientation);
  for (size_t i = 0; i < windows.size(); ++i) windows[i]->setGeometry(places[i]);
}

void CMainFrame::CascadeWindows() {
  const std::vector<CChildFrame*> windows = WindowsToArrange();
  if (windows.empty()) return;
  std::vector<QSize> fitted;
  for (CChildFrame* child : windows) fitted.push_back(child->FittedSize());
  // One title bar further down and right each.
  const int step =
      windows.front()->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, windows.front());
  const std::vector<QRect> places = CascadeGeometry(mdi_->viewport()->rect(), fitted, step);
  for (size_t i = 0; i < windows.size(); ++i) {
    windows[i]->setGeometry(places[i]);
    windows[i]->raise();
  }
  windows.back()->setFocus();
  mdi_->setActiveSubWindow(windows.back());
}

void CMainFrame::ArrangeIcons() {
  int x = 0;
  const int bottom = mdi_->viewport()->height();
  for (QMdiSubWindow* sub : mdi_->subWindowList()) {
    if (!sub->isMinimized()) continue;
    const QSize size = sub->size();
    if (x > 0 && x + size.width() > mdi_->viewport()->width()) x = 0;
    sub->move(x, bottom - size.height());
    x += size.width();
  }
}

void CMainFrame::OnCommand(int id) {
  if (CChildFrame* child = ActiveChild(); child && child->OnCommand(id)) {
    UpdateCommandUi();
    alarm_loop_.RunNow();
    child->view_widget()->setFocus();
    return;
  }
  switch (id) {
    case kIdFileOpen:
      OpenWithDialog();
      return;
    case kIdAppExit:
      close();
      return;
    case kIdFileClose:
      if (CChildFrame* child = ActiveChild()) child->close();
      return;
    case kIdOpenExpansion:
    case kIdOpenOtherCnf:
    case kIdReloadCnf:
      OpenIntoActive(id);
      break;
    case kIdFileSaveAs:
    case kIdBuildLzh:
      // Only for the active doll; the doll windows handle them.
      break;
    case kIdViewToolbar:
      main_toolbar_->setVisible(!main_toolbar_->isVisible());
      break;
    case kIdSetToolbar:
      set_toolbar_->setVisible(!set_toolbar_->isVisible());
      break;
    case kIdPaletteToolbar:
      palette_toolbar_->setVisible(!palette_toolbar_->isVisible());
      break;
    case kIdViewStatusBar:
      statusBar()->setVisible(!statusBar()->isVisible());
      break;
    case kIdMuteSound:
      SetSoundEnabled(!settings_.sound_enabled);
      break;
    case kIdMuteMusic:
      SetMusicEnabled(!settings_.music_enabled);
      break;
    case kIdWindowCascade:
      CascadeWindows();
      break;
    case kIdWindowTileHorizontal:
      TileWindows(Qt::Vertical);
      break;
    case kIdWindowTileVertical:
      TileWindows(Qt::Horizontal);
      break;
    case kIdWindowArrange:
      ArrangeIcons();
      break;
    case kIdNextKissSet:
    case kIdNextPane:
      mdi_->activateNextSubWindow();
      break;
    case kIdPreviousPane:
      mdi_->activatePreviousSubWindow();
      break;
    case kIdShowTips:
      ShowTips();
      return;
    case kIdAppAbout:
      RunAboutBox(*this);
      return;
    case kIdBugReport:
      RunBugReport(*this);
      return;
    case kIdOptions:
      RunOptionsDialog();
      break;
    case kIdContextHelp:
      // The next click on a button, menu entry or window shows what it does.
      QWhatsThis::enterWhatsThisMode();
      return;
    case kIdHelpTopics:
    case kIdTroubleshooting:
      if (!help_) help_ = new HelpWindow(this);
      help_->ShowPage(id == kIdHelpTopics ? HelpWindow::Page::kHelp
                                          : HelpWindow::Page::kTroubleshooting);
      return;
    default:
      // A doll's command with no doll to take it: it is disabled then, but
      // a command may still arrive while the last doll closes.
      return;
  }
  UpdateCommandUi();
  // Keyboard focus goes back to the doll, where key events belong.
  if (QMdiSubWindow* sub = mdi_->activeSubWindow()) {
    if (sub->widget()) sub->widget()->setFocus();
  }
}

void CMainFrame::UpdateCommandUi() {
  const bool doll = HasDoll();
  ShowMenusFor(doll);

  // Commands that act on a doll.
  for (const CommandInfo& info : Commands()) {
    switch (info.id) {
      case kIdFileOpen:
      case kIdAppExit:
      case kIdOptions:
      case kIdMuteSound:
      case kIdMuteMusic:
      case kIdViewToolbar:
      case kIdSetToolbar:
      case kIdPaletteToolbar:
      case kIdViewStatusBar:
      case kIdShowTips:
      case kIdHelpTopics:
      case kIdContextHelp:
      case kIdTroubleshooting:
      case kIdBugReport:
      case kIdAppAbout:
        actions_[info.id]->setEnabled(true);
        break;
      default:
        actions_[info.id]->setEnabled(doll);
        break;
    }
  }
  CChildFrame* child = ActiveChild();
  if (child) {
    CKissCnfView& view = child->view();
    for (int i = 0; i < 10; ++i) {
      actions_[kIdSet0 + i]->setEnabled(view.SetEnabled(i));
      actions_[kIdSet0 + i]->setChecked(view.SetChecked(i));
      actions_[kIdPalette0 + i]->setEnabled(view.PaletteEnabled(i));
      actions_[kIdPalette0 + i]->setChecked(view.PaletteChecked(i));
    }
    actions_[kIdZoomIn]->setEnabled(view.CanZoomIn());
    actions_[kIdZoomOut]->setEnabled(view.CanZoomOut());
    actions_[kIdZoomHome]->setEnabled(view.CanZoomHome());
    actions_[kIdEditUndo]->setEnabled(view.CanUndo());
    actions_[kIdEditRedo]->setEnabled(view.CanRedo());
    actions_[kIdPauseFkiss]->setChecked(view.paused());
    actions_[kIdTraceFkiss]->setChecked(view.trace_on());
    const bool has_clicked = view.last_clicked() != nullptr;
    actions_[kIdCopyPosition]->setEnabled(has_clicked);
    // A doll half way through loading has nothing whole to write.
    const bool whole = !child->doc().loading();
    actions_[kIdFileSaveAs]->setEnabled(whole);
    actions_[kIdBuildLzh]->setEnabled(whole);
    const bool bounds_locked = view.BoundsLocked();
    const size_t mode = static_cast<size_t>(view.bounds_mode());
    for (size_t i = 0; i < std::size(kBoundingIds); ++i) {
      QAction* bound = actions_[kBoundingIds[i]];
      bound->setEnabled(!bounds_locked);
      bound->setChecked(i == mode);
    }
    actions_[kIdBoundCycle]->setEnabled(!bounds_locked);
  } else {
    actions_[kIdFileSaveAs]->setEnabled(false);
    actions_[kIdBuildLzh]->setEnabled(false);
    for (QActionGroup* group : {set_group_, palette_group_, bounding_group_}) {
      if (QAction* checked = group->checkedAction()) checked->setChecked(false);
    }
  }

  actions_[kIdMuteSound]->setChecked(!settings_.sound_enabled);
  actions_[kIdMuteMusic]->setChecked(!settings_.music_enabled);
  actions_[kIdViewToolbar]->setChecked(main_toolbar_->isVisible());
  actions_[kIdSetToolbar]->setChecked(set_toolbar_->isVisible());
  actions_[kIdPaletteToolbar]->setChecked(palette_toolbar_->isVisible());
  actions_[kIdViewStatusBar]->setChecked(statusBar()->isVisible());

  auto show_state = [](QToolButton* button, const QIcon& icon, const char* text, bool on) {
    if (button->toolTip() == text) return;
    button->setIcon(icon);
    button->setToolTip(text);
    for (QAction* item : button->menu()->actions()) {
      if (item->data().isValid()) item->setChecked(item->data().toBool() == on);
    }
  };
  const bool sound = settings_.sound_enabled;
  const bool music = settings_.music_enabled;
  show_state(sound_button_, sound_icons_[sound], sound ? "Sound enabled" : "Sound disabled", sound);
  show_state(music_button_, music_icons_[music], music ? "Music enabled" : "Music disabled", music);
  const int bounding =
      child ? static_cast<int>(child->view().bounds_mode()) : settings_.boundary_enforcement;
  if (bounding_button_->toolTip() != kBoundingTexts[bounding]) {
    bounding_button_->setIcon(bounding_icons_[bounding]);
    bounding_button_->setToolTip(kBoundingTexts[bounding]);
  }
  bounding_button_->setEnabled(doll && actions_[kIdBoundCycle]->isEnabled());
  RefreshTitles();
  ShowStatusValues();
}

void CMainFrame::ShowStatusValues() {
  StatusValues values;
  if (CChildFrame* child = ActiveChild()) {
    const DollModel& model = child->doc().model();
    values.fkiss = FkissLevelText(model.fkiss_level);
    if (model.enhanced_palette) {
      values.palette_kind = "Enhanced Palette";
    } else if (model.cel_counts.color256 > 0) {
      values.palette_kind = "256-color";
    } else if (model.cel_counts.color16 > 0) {
      values.palette_kind = "16-color";
    }
    if (model.ckiss) values.ckiss = "CKiSS";
    values.coordinates = QString::fromStdString(child->view().coordinates_text());
    values.errors = QString("%1 errors").arg(model.report.error_count());
    values.zoom =
        QString("Zoom %1").arg(QString::fromStdString(ZoomRatioText(child->view().zoom_level())));
  }
  if (device_) {
    // The software device has no video memory: it keeps a texture budget.
    values.video_memory =
        QString(device_->flags().software_device ? "Approx %1Mb texture memory free"
                                                 : "Approx %1Mb VideoMem free")
            .arg(static_cast<unsigned>(device_->AvailableTextureMemory() >> 20));
  } else if (device_failed_) {
    values.video_memory = "No graphics device";
  }
  status_panes_->Show(values);
}

}  // namespace luma::app
