#ifndef LUMA_APP_CHILD_FRAME_H_
#define LUMA_APP_CHILD_FRAME_H_

#include <QCursor>
#include <QMdiSubWindow>
#include <QPoint>
#include <QPointer>
#include <memory>
#include <optional>
#include <string>

#include "app/alarm_loop.h"
#include "app/palette_editor_dialog.h"
#include "core/doll/kiss_cnf_doc.h"
#include "core/view/kiss_cnf_view.h"
#include "core/view/palette_editor.h"
#include "core/view/snap_to_wizard.h"
#include "core/view/view_front_end.h"

namespace luma::app {

class CMainFrame;
class DocumentViewer;
class DollViewWidget;
class InfoWindows;
class LocateDialog;
class SnapToWizardWindow;
class VariableWatchWindow;

// The window of one open doll. It owns the document and its view, feeds the
// view what the window sees (client size, scroll positions, mouse, wheel and
// keys) and carries out what the view asks of a window: repaint, scroll
// bars, fitting, pointer shapes and confinement, status texts, dialogs.
class CChildFrame : public QMdiSubWindow, public ViewFrontEnd, public AlarmClient {
 public:
  CChildFrame(CMainFrame& main_frame, std::unique_ptr<CKissCnfDoc> doc);
  ~CChildFrame() override;

  CKissCnfDoc& doc() { return *doc_; }
  CKissCnfView& view() { return *view_; }
  DollViewWidget* view_widget() const { return widget_; }
  InfoWindows& info_windows() { return *info_; }

  // Shows the doll from its start: fits the window, runs the script's
  // start-up events and draws the first frame.
  void StartDoll();
  // Reloads into this window: an expansion, another CNF, or this CNF again.
  enum class Reload { kExpansion, kOtherCnf, kThisCnf };
  bool LoadAgain(Reload kind, const std::string& path);

  // The doll's title decoded, as its tool windows show it.
  QString DollName() const;
  // The doll's text encoding changed: titles, tool windows and the status
  // line show its texts again.
  void TextEncodingChanged();

  // Carries out a doll command of the menus or toolbars; false when the
  // command is not one of the doll window's.
  bool OnCommand(int id);
  // The snap-to wizard's picks, kept while its window is closed: "Select as
  // Snap-To Parent" picks the parent here.
  SnapToWizard& snap_wizard() { return *snap_wizard_; }
  // The doll's modeless tool windows, nullptr while not open.
  SnapToWizardWindow* snap_to_window() const;
  VariableWatchWindow* watch_window() const;
  LocateDialog* locate_dialog() const;
  // The window showing a document the desktop has no program for, if open.
  DocumentViewer* document_viewer() const;
  // Set once the window has begun to close.
  bool closing() const { return closing_; }

  // Which of several windows of one file this is (1, 2, ...).
  int instance() const { return instance_; }
  void set_instance(int instance) { instance_ = instance; }
  // The window's title: the doll's name, ":2" for the second window of a
  // file when `numbered`, and the zoom when it is not 1:1 ("doll.cnf (2:1)").
  QString DollTitle(bool numbered) const;
  // The window's size when its client holds the doll window at the zoom
  // level exactly, without scroll bars.
  QSize FittedSize() const;
  // The client area as it is once no scroll bar takes room from it.
  QSize ClientWithoutBars() const;

  // The "KCF Palette Editor" window, opened on first use (nullptr before).
  PaletteEditorDialog* palette_editor_dialog() const { return palette_dialog_; }
  // The palette editor, which outlives its window: unsaved palettes stay marked.
  PaletteEditor* palette_editor() const { return palette_editor_.get(); }

  // Frames presented so far; the first one ends the start-up.
  int frames_presented() const { return frames_presented_; }

  // AlarmClient.
  uint32_t ProcessAlarms() override;

  // ViewFrontEnd.
  void Invalidate() override;
  void SetScrollSize(int width, int height) override;
  void SetScrollPosition(int x, int y) override;
  void FitWindow(int width, int height, bool maximize) override;
  void SetPointer(PointerCursor cursor) override;
  void ConfinePointer() override;
  void FreePointer() override;
  void ShowPointer(bool shown) override;
  void ShowCoordinates(std::string_view text) override;
  void ShowCelInfo(std::string_view text) override;
  void CelInfoShown(const CelInstance* cel) override;
  void BoundsModeChanged(BoundsMode mode) override;
  std::string AskSavePath(std::string_view title, std::string_view proposed,
                          std::string_view extension, std::string_view filter) override;
  bool OpenFile(const std::string& path, std::string_view name, bool text_editor) override;
  void ShowStatus(std::string_view text) override;
  bool CallBackAfter(uint32_t ms) override;
  void CloseDoll() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Mouse(QMouseEvent* event);
  void Key(QKeyEvent* event);
  void ShowContextMenu(QPoint global);
  void RunContextCommand(ContextCommand command);
  // "Save As" and "Build LZH Archive", with the doll's script waiting.
  void RunFileCommand(int id);
  // "Save As": the doll's CNF written to a file chosen in the "Save to new
  // CNF" dialog; a doll from disk becomes that file. The path written, or
  // nullopt when cancelled or failed.
  std::optional<std::string> SaveCnfAs();
  // "Build LZH Archive": the doll's files and chosen documents packed into
  // a new archive.
  bool BuildArchive();
  void ShowPaletteEditor();
  // A doll loaded again has palettes read afresh: the editor starts over.
  void DropPaletteEditor();
  // Where a palette without a file of its own (an archived doll's) is
  // saved: asked, proposing its name beside the archive.
  std::string AskPalettePath(const std::string& name);
  void SaveThumbnail();
  void CreateScreenshot();
  void AfterStart();
  // Opens (or brings forward) a tool window of this doll.
  void ShowSnapToWizard();
  void ShowVariableWatch();
  void ShowLocate();
  void CloseToolWindows();
  void ApplyCursor();

  CMainFrame& main_;
  std::unique_ptr<CKissCnfDoc> doc_;
  std::unique_ptr<CKissCnfView> view_;
  DollViewWidget* widget_ = nullptr;
  std::unique_ptr<PaletteEditor> palette_editor_;
  QPointer<PaletteEditorDialog> palette_dialog_;
  std::unique_ptr<InfoWindows> info_;
  std::unique_ptr<SnapToWizard> snap_wizard_;
  QPointer<SnapToWizardWindow> snap_to_window_;
  QPointer<VariableWatchWindow> watch_window_;
  QPointer<LocateDialog> locate_dialog_;
  QPointer<DocumentViewer> document_viewer_;
  int frames_presented_ = 0;
  bool echoing_scroll_ = false;
  bool confined_ = false;
  QPoint confined_at_;
  bool pointer_shown_ = true;
  QCursor cursor_;
  bool closing_ = false;
  int instance_ = 1;
};

}  // namespace luma::app

#endif  // LUMA_APP_CHILD_FRAME_H_
