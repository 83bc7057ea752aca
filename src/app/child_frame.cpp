#include "app/child_frame.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMouseEvent>
#include <QSaveFile>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QWheelEvent>

#include "app/byte_text.h"
#include "app/command_table.h"
#include "app/document_viewer.h"
#include "app/doll_view_widget.h"
#include "app/info_windows.h"
#include "app/locate_dialog.h"
#include "app/main_frame.h"
#include "app/palette_editor_dialog.h"
#include "app/pointer_cursors.h"
#include "app/snap_to_wizard_window.h"
#include "app/text_editor.h"
#include "app/variable_watch_window.h"
#include "core/fkiss/key_codes.h"
#include "core/gfx/image.h"
#include "core/host/posix_file_system.h"
#include "core/host/text.h"
#include "core/render/bmp_file.h"
#include "core/render/view_transform.h"
#include "core/view/picture_saving.h"

namespace luma::app {
namespace {

// The script's code of a key, -1 for keys a script cannot name.
int ScriptKeyCode(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Up:
      return kKeyUp;
    case Qt::Key_Down:
      return kKeyDown;
    case Qt::Key_Left:
      return kKeyLeft;
    case Qt::Key_Right:
      return kKeyRight;
    case Qt::Key_Space:
      return kKeySpace;
    default:
      break;
  }
  const int key = event.key();
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return kKeyDigit0 + (key - Qt::Key_0);
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return kKeyLetterA + (key - Qt::Key_A);
  return -1;
}

ClientPoint ToClient(const QPointF& p) {
  return ClientPoint{static_cast<int>(p.x()), static_cast<int>(p.y())};
}

// "Text (*.x)|*.x|Other|*.y||" as a file dialog filter.
QString DialogFilter(std::string_view filter) {
  const QStringList parts = FromBytes(filter).split('|', Qt::SkipEmptyParts);
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    out.append(parts[i].contains('(') ? parts[i] : parts[i] + " (" + parts[i + 1] + ")");
  }
  return out.join(";;");
}

}  // namespace

CChildFrame::CChildFrame(CMainFrame& main_frame, std::unique_ptr<CKissCnfDoc> doc)
    : main_(main_frame), doc_(std::move(doc)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(DollName());
  setWindowIcon(main_.windowIcon());
  // The window's own menu would claim Close's keys (Ctrl+W, Ctrl+F4) beside
  // the main menu, and a key with two owners does nothing: the main menus
  // own every key.
  for (QAction* action : systemMenu()->actions()) action->setShortcuts({});
  view_ = std::make_unique<CKissCnfView>(*doc_, main_.settings());
  view_->set_front_end(this);
  snap_wizard_ = std::make_unique<SnapToWizard>(*view_);

  widget_ = new DollViewWidget(this);
  DollViewWidget::Handlers handlers;
  handlers.resized = [this](QSize client) { view_->Resize(client.width(), client.height()); };
  handlers.scrolled = [this](int x, int y) {
    if (!echoing_scroll_) view_->SetScrollPositions(x, y);
  };
  handlers.paint = [this] {
    const int before = frames_presented_;
    view_->DrawFrame();
    if (frames_presented_ != before) main_.dialogs().FramePresented(*this);
  };
  handlers.mouse = [this](QMouseEvent* event) { Mouse(event); };
  handlers.wheel = [this](QWheelEvent* event) {
    WheelInput wheel;
    wheel.delta_y = event->angleDelta().y();
    wheel.delta_x = event->angleDelta().x();
    wheel.ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
    wheel.shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    view_->Wheel(wheel);
    event->accept();
  };
  handlers.key = [this](QKeyEvent* event) { Key(event); };
  widget_->set_handlers(std::move(handlers));
  setWidget(widget_);
  view_->SetPresenter([this, show = widget_->MakePresenter()](const ImageView& frame) {
    ++frames_presented_;
    show(frame);
  });
  view_->set_renderer_ready(true);
  info_ = std::make_unique<InfoWindows>(main_, *this);
}

CChildFrame::~CChildFrame() {
  main_.ChildClosing(this);
  DropPaletteEditor();
  info_.reset();
  // The tool windows look at the view and the script.
  CloseToolWindows();
  // The view refers to the document; it goes first.
  view_.reset();
  if (doc_) doc_->Close();
}

void CChildFrame::StartDoll() {
  view_->StartDoll();
  AfterStart();
}

void CChildFrame::AfterStart() {
  doc_->set_loading(false);
  info_->DollStarted();
  main_.AutoCreateThumbnail(*this);
  main_.UpdateCommandUi();
}

bool CChildFrame::LoadAgain(Reload kind, const std::string& path) {
  // The old script must not run against a half-loaded doll.
  main_.alarm_loop().SetClient(nullptr);
  view_->EndDrag();
  bool ok = false;
  switch (kind) {
    case Reload::kExpansion:
      ok = doc_->OpenExpansion(path);
      break;
    case Reload::kOtherCnf:
      ok = doc_->OpenOtherCnf(path);
      break;
    case Reload::kThisCnf:
      ok = doc_->ReloadCnf();
      break;
  }
  // A file refused before loading began leaves the doll as it was and its
  // script running; any load that began has changed the doll, even one that
  // failed, so the view starts again with what is there now.
  if (ok || doc_->loading()) {
    DropPaletteEditor();
    view_->StartDoll();
    AfterStart();
    // The tool windows show the doll as it is now.
    if (watch_window_) watch_window_->Reload();
    if (locate_dialog_) locate_dialog_->Reload();
    if (snap_to_window_) snap_to_window_->Refresh();
  }
  if (main_.ActiveChild() == this) main_.alarm_loop().SetClient(this);
  return ok;
}

QString CChildFrame::DollName() const { return FromBytes(doc_->ShownTitle()); }

void CChildFrame::TextEncodingChanged() {
  const QString title = DollName();
  main_.RefreshTitles();
  info_->TextEncodingChanged();
  if (palette_dialog_) palette_dialog_->SetDollTitle(title);
  if (snap_to_window_) {
    snap_to_window_->SetDollTitle(title);
    snap_to_window_->Refresh();
  }
  if (watch_window_) watch_window_->SetDollTitle(title, doc_->model().text_encoding);
  if (locate_dialog_) {
    locate_dialog_->SetDollTitle(title);
    locate_dialog_->Reload();
  }
  if (main_.ActiveChild() == this) ShowCelInfo(view_->cel_info());
}

void CChildFrame::ShowPaletteEditor() {
  if (doc_->loading()) return;
  if (!palette_editor_) palette_editor_ = std::make_unique<PaletteEditor>(*view_);
  if (!palette_dialog_) {
    // A window of its own beside the main window, closed with the doll.
    palette_dialog_ = new PaletteEditorDialog(*palette_editor_, DollName(), &main_);
    palette_dialog_->setWindowFlag(Qt::Tool);
    palette_dialog_->set_save_path_chooser(
        [this](const std::string& name) { return AskPalettePath(name); });
    palette_dialog_->set_applied_listener([this] { main_.UpdateCommandUi(); });
  }
  palette_dialog_->OpenEditor();
}

std::string CChildFrame::AskPalettePath(const std::string& name) {
  const QString shown = DollText(name, doc_->model().text_encoding);
  const QString proposed =
      doc_->is_archive() ? QFileInfo(QFile::decodeName(QByteArray::fromStdString(doc_->path())))
                               .dir()
                               .filePath(shown)
                         : shown;
  return main_.AskSavePath("Save KCF Palette", proposed, "kcf", "KCF Palette Files (*.kcf)");
}

void CChildFrame::DropPaletteEditor() {
  delete palette_dialog_.data();
  palette_editor_.reset();
}

uint32_t CChildFrame::ProcessAlarms() { return view_->ProcessAlarms(); }

// --- What the view asks of the window ---------------------------------------------

void CChildFrame::Invalidate() { widget_->viewport()->update(); }

void CChildFrame::SetScrollSize(int width, int height) {
  echoing_scroll_ = true;
  widget_->SetScrollSize(QSize(width, height));
  echoing_scroll_ = false;
  // The zoom changed, or the doll window did: the title shows the zoom.
  if (!closing_ && mdiArea()) main_.RefreshTitles();
}

QString CChildFrame::DollTitle(bool numbered) const {
  QString title = DollName();
  if (numbered) title += QString(":%1").arg(instance_);
  if (view_->zoom_level() != 0) {
    title += QString(" (%1)").arg(QString::fromStdString(ZoomRatioText(view_->zoom_level())));
  }
  return title;
}

QSize CChildFrame::ClientWithoutBars() const {
  // The scroll area less its frame: what the viewport has when no bar shows.
  const int frame = 2 * widget_->frameWidth();
  return widget_->size() - QSize(frame, frame);
}

QSize CChildFrame::FittedSize() const {
  const QSize decoration = size() - ClientWithoutBars();
  return QSize(view_->horizontal_bar().content, view_->vertical_bar().content) + decoration;
}

void CChildFrame::SetScrollPosition(int x, int y) {
  echoing_scroll_ = true;
  widget_->horizontalScrollBar()->setValue(x);
  widget_->verticalScrollBar()->setValue(y);
  echoing_scroll_ = false;
}

void CChildFrame::FitWindow(int width, int height, bool maximize) {
  if (isMaximized() || isMinimized()) showNormal();
  // The frame's decoration around the client stays as it is; no scroll bar
  // is needed once the client holds the content.
  resize(QSize(width, height) + size() - ClientWithoutBars());
  if (maximize) showMaximized();
  Invalidate();
}

void CChildFrame::SetPointer(PointerCursor cursor) {
  cursor_ = CursorFor(cursor);
  ApplyCursor();
}

void CChildFrame::ApplyCursor() {
  widget_->viewport()->setCursor(pointer_shown_ ? cursor_ : QCursor(Qt::BlankCursor));
}

void CChildFrame::ConfinePointer() {
  confined_ = true;
  confined_at_ = QCursor::pos();
}

void CChildFrame::FreePointer() { confined_ = false; }

void CChildFrame::ShowPointer(bool shown) {
  pointer_shown_ = shown;
  ApplyCursor();
}

void CChildFrame::ShowCoordinates(std::string_view) {
  // The pane reads the view's text on the next refresh.
}

void CChildFrame::ShowCelInfo(std::string_view text) {
  if (text.empty()) {
    main_.statusBar()->clearMessage();
  } else {
    main_.statusBar()->showMessage(DollText(text, doc_->model().text_encoding));
  }
}

void CChildFrame::CelInfoShown(const CelInstance* cel) { info_->CelInfoShown(cel); }

void CChildFrame::BoundsModeChanged(BoundsMode) { main_.UpdateCommandUi(); }

std::string CChildFrame::AskSavePath(std::string_view title, std::string_view proposed,
                                     std::string_view extension, std::string_view filter) {
  // The proposed name comes from the doll's names; the file gets it as the
  // desktop writes names.
  return main_.AskSavePath(FromBytes(title), DollText(proposed, doc_->model().text_encoding),
                           FromBytes(extension), DialogFilter(filter));
}

bool CChildFrame::OpenFile(const std::string& path, std::string_view name, bool text_editor) {
  const QString file = QFile::decodeName(QByteArray::fromStdString(path));
  DesktopLauncher& launcher = main_.launcher();
  if (!launcher.HasProgramFor(file, text_editor)) {
    // Nothing on this desktop opens it: the program shows it itself.
    auto* viewer = new DocumentViewer(&main_, FromBytes(name) + " - " + windowTitle(), file,
                                      main_.settings().text_encoding_choice());
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->setWindowFlag(Qt::Tool);
    document_viewer_ = viewer;
    viewer->show();
    viewer->raise();
    return viewer->loaded();
  }
  if (launcher.Open(file, text_editor)) return true;
  main_.host().ShowMessage("Lumadoll", "Unable to open " + path, MessageIcon::kWarning);
  return false;
}

void CChildFrame::ShowStatus(std::string_view text) {
  main_.statusBar()->showMessage(FromBytes(text));
}

bool CChildFrame::CallBackAfter(uint32_t ms) {
  QTimer::singleShot(static_cast<int>(ms), this, [this] { view_->AdvanceFlash(); });
  return true;
}

void CChildFrame::CloseDoll() {
  // The script that asked is still running; the window closes after it.
  QTimer::singleShot(1, this, [this] { close(); });
}

// --- Input ----------------------------------------------------------------------------

void CChildFrame::Mouse(QMouseEvent* event) {
  const ClientPoint at = ToClient(event->position());
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      if (event->button() == Qt::LeftButton) {
        view_->LeftButtonDown(at);
      } else if (event->button() == Qt::RightButton) {
        view_->RightButtonDown(at);
      }
      break;
    case QEvent::MouseButtonRelease:
      if (event->button() == Qt::LeftButton) {
        view_->LeftButtonUp(at);
      } else if (event->button() == Qt::RightButton) {
        ShowContextMenu(event->globalPosition().toPoint());
      }
      break;
    case QEvent::MouseMove:
      if (confined_) {
        // An immovable object holds the pointer where it was pressed.
        if (QCursor::pos() != confined_at_) QCursor::setPos(confined_at_);
        break;
      }
      view_->MouseMove(at, (event->buttons() & Qt::LeftButton) != 0);
      break;
    default:
      return;
  }
  event->accept();
  main_.alarm_loop().MessageHandled();
}

void CChildFrame::Key(QKeyEvent* event) {
  const int code = ScriptKeyCode(*event);
  if (code < 0) {
    event->ignore();
    return;
  }
  if (event->type() == QEvent::KeyPress) {
    view_->KeyDown(code, event->isAutoRepeat());
  } else if (!event->isAutoRepeat()) {
    view_->KeyUp(code);
  }
  event->accept();
  main_.alarm_loop().MessageHandled();
}

void CChildFrame::ShowContextMenu(QPoint global) {
  const std::vector<ContextMenuEntry> entries = view_->ContextMenu();
  if (entries.empty()) return;
  QMenu menu(this);
  for (const ContextMenuEntry& entry : entries) {
    QAction* action = menu.addAction(FromBytes(entry.text));
    action->setEnabled(entry.enabled);
    if (entry.checked) {
      action->setCheckable(true);
      action->setChecked(true);
    }
    const ContextCommand command = entry.command;
    connect(action, &QAction::triggered, this, [this, command] { RunContextCommand(command); });
  }
  menu.exec(global);
}

void CChildFrame::RunContextCommand(ContextCommand command) {
  switch (command) {
    case ContextCommand::kSelectSnapParent:
      snap_wizard_->PickParentFromView();
      if (snap_to_window_) snap_to_window_->Refresh();
      break;
    case ContextCommand::kObjectProperties:
      info_->ShowCelProperties(ObjectCelInfoWindow::kObjectTab);
      break;
    case ContextCommand::kCelProperties:
      info_->ShowCelProperties(ObjectCelInfoWindow::kCelTab);
      break;
    default:
      view_->RunContextCommand(command);
      break;
  }
  main_.UpdateCommandUi();
}

// --- Commands ---------------------------------------------------------------------------

bool CChildFrame::OnCommand(int id) {
  if (info_->OnCommand(id)) return true;
  CKissCnfView& v = *view_;
  if (id >= kIdSet0 && id < kIdSet0 + kSetCount) {
    v.SelectSet(id - kIdSet0);
    return true;
  }
  if (id >= kIdPalette0 && id < kIdPalette0 + kPaletteGroupCount) {
    v.SelectPaletteGroup(id - kIdPalette0);
    return true;
  }
  for (size_t mode = 0; mode < std::size(kBoundingIds); ++mode) {
    if (id == kBoundingIds[mode]) {
      v.SetBoundsMode(static_cast<BoundsMode>(mode));
      return true;
    }
  }
  switch (id) {
    case kIdZoomIn:
      if (v.CanZoomIn()) v.ZoomIn();
      return true;
    case kIdZoomOut:
      if (v.CanZoomOut()) v.ZoomOut();
      return true;
    case kIdZoomHome:
      v.ZoomHome();
      return true;
    case kIdFitWindow:
      v.FitWindow();
      return true;
    case kIdZoomFit: {
      const QSize area = ClientWithoutBars();
      v.ZoomToFit(area.width(), area.height());
      return true;
    }
    case kIdEditUndo:
      v.Undo();
      return true;
    case kIdEditRedo:
      v.Redo();
      return true;
    case kIdPreviousSet:
      v.PreviousSet();
      return true;
    case kIdNextSet:
      v.NextSet();
      return true;
    case kIdPreviousPalette:
      v.PreviousPalette();
      return true;
    case kIdNextPalette:
      v.NextPalette();
      return true;
    case kIdPatrolBounds:
      v.PatrolBounds();
      return true;
    case kIdFindBorderViolators:
      v.FindBorderViolators();
      return true;
    case kIdFindFkiss:
      v.FindFkiss();
      return true;
    case kIdReset:
      v.ResetDoll();
      return true;
    case kIdResetAllPositions:
      v.ResetAllPositions();
      return true;
    case kIdCopyAllPositions:
      v.CopyAllPositions();
      return true;
    case kIdCopyPosition:
      v.CopyPosition();
      return true;
    case kIdPauseFkiss:
      v.TogglePause();
      return true;
    case kIdViewCnf:
      v.OpenCnf();
      return true;
    case kIdPaletteEditor:
      ShowPaletteEditor();
      return true;
    case kIdSaveThumbnail:
      SaveThumbnail();
      return true;
    case kIdSnapToWizard:
      ShowSnapToWizard();
      return true;
    case kIdVariables:
      ShowVariableWatch();
      return true;
    case kIdLocate:
      ShowLocate();
      return true;
    case kIdCreateScreenshot:
      CreateScreenshot();
      return true;
    case kIdFileSaveAs:
    case kIdBuildLzh:
      if (!doc_->loading()) RunFileCommand(id);
      return true;
    case kIdEditCopy:
      // The picture as the window shows it.
      QApplication::clipboard()->setImage(widget_->frame());
      return true;
    case kIdBoundCycle:
      v.CycleBoundsMode();
      return true;
    default:
      return false;
  }
}

void CChildFrame::SaveThumbnail() {
  luma::SaveThumbnail(doc_->device(), view_->CurrentScene(), doc_->path(), main_.settings(),
                      main_.host().DataFolder(), main_.host());
  Invalidate();
}

namespace {

// A screenshot in the format its name asks for: PNG for ".png", else BMP.
Status WritePicture(const std::string& path, const ImageView& image) {
  if (!EqualsIgnoreCase(ExtensionPart(path), "png")) {
    PosixFileSystem disk;
    return WriteBmp(disk, path, image);
  }
  QImage picture(image.width, image.height, QImage::Format_RGB32);
  for (int y = 0; y < image.height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(picture.scanLine(y));
    for (int x = 0; x < image.width; ++x) row[x] = image.at(x, y) | 0xFF000000u;
  }
  // Written whole to a file beside it, then renamed over any old one.
  QSaveFile file(FromBytes(path));
  if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "PNG") || !file.commit()) {
    return Status::Error(file.errorString().toLocal8Bit().toStdString());
  }
  return Status::Ok();
}

}  // namespace

void CChildFrame::CreateScreenshot() {
  std::string path = AskSavePath("Save Screenshot", "", "bmp",
                                 "BMP image (*.bmp)|*.bmp|PNG image (*.png)|*.png||");
  if (path.empty()) return;
  const std::string_view extension = ExtensionPart(path);
  if (!EqualsIgnoreCase(extension, "bmp") && !EqualsIgnoreCase(extension, "png")) path += ".bmp";
  luma::SaveScreenshot(doc_->device(), view_->CurrentScene(), path, main_.host(), WritePicture);
  Invalidate();
}

// --- Tool windows -------------------------------------------------------------------------

namespace {

// Tool windows float over the main window and go when closed.
template <typename Window>
void Present(Window* window) {
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace

SnapToWizardWindow* CChildFrame::snap_to_window() const { return snap_to_window_; }
VariableWatchWindow* CChildFrame::watch_window() const { return watch_window_; }
LocateDialog* CChildFrame::locate_dialog() const { return locate_dialog_; }
DocumentViewer* CChildFrame::document_viewer() const { return document_viewer_; }

void CChildFrame::ShowSnapToWizard() {
  if (!snap_to_window_) {
    snap_to_window_ = new SnapToWizardWindow(&main_, *snap_wizard_, DollName());
  }
  snap_to_window_->Refresh();
  Present(snap_to_window_.data());
}

void CChildFrame::ShowVariableWatch() {
  FkissScript* script = doc_->fkiss();
  if (!script) return;
  if (!watch_window_) {
    watch_window_ =
        new VariableWatchWindow(&main_, *script, DollName(), doc_->model().text_encoding);
  }
  Present(watch_window_.data());
}

void CChildFrame::ShowLocate() {
  if (!locate_dialog_) locate_dialog_ = new LocateDialog(&main_, *view_, DollName());
  Present(locate_dialog_.data());
}

void CChildFrame::CloseToolWindows() {
  delete snap_to_window_.data();
  delete watch_window_.data();
  delete locate_dialog_.data();
}

// --- Window events ------------------------------------------------------------------------

void CChildFrame::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    closing_ = true;
    main_.ChildClosing(this);
    DropPaletteEditor();
    view_->Deactivate();
    CloseToolWindows();
  }
  QMdiSubWindow::closeEvent(event);
}

}  // namespace luma::app
