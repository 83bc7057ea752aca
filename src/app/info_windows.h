#ifndef LUMA_APP_INFO_WINDOWS_H_
#define LUMA_APP_INFO_WINDOWS_H_

#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "app/error_report_window.h"
#include "app/object_cel_info_window.h"
#include "app/script_output_window.h"
#include "app/set_properties_window.h"

namespace luma {
struct CelInstance;
}

namespace luma::app {

class CChildFrame;
class CMainFrame;

// The information windows of one doll window: error report, set
// properties, object/cel properties, debug output and FKiSS trace. Each is
// made on first need, belongs to the doll window and closes with it; each
// is filled when shown and again while it is shown and what it describes
// changes.
class InfoWindows : public QObject {
 public:
  InfoWindows(CMainFrame& main_frame, CChildFrame& child);
  ~InfoWindows() override;

  // Error Report, Set Info, Object/Cel Info, Object Info, Cel Info,
  // Display Debug and Trace FKiSS; false for other commands.
  bool OnCommand(int id);
  // The object/cel window on one of its tabs for the cel clicked last.
  void ShowCelProperties(ObjectCelInfoWindow::Tab tab);
  // The doll (re)started after a load: the windows show the new doll and
  // the error report opens when the settings ask for it.
  void DollStarted();
  // The doll's text encoding changed (the "Text Encoding" setting): titles
  // and texts are shown again.
  void TextEncodingChanged();
  // The view described a cel (nullptr: none); followed unless locked.
  void CelInfoShown(const CelInstance* cel);

  // The windows made so far (nullptr before their first use).
  ErrorReportWindow* error_report() const { return error_report_; }
  SetPropertiesWindow* set_properties() const { return set_properties_; }
  ObjectCelInfoWindow* object_cel_info() const { return object_cel_; }
  ScriptOutputWindow* debug_window() const { return debug_; }
  ScriptOutputWindow* trace_window() const { return trace_; }
  // The trace window's "Step" button (step mode runs alarms one by one).
  QPushButton* trace_step_button() const { return trace_step_; }

 private:
  void ShowErrorReport();
  void ShowSetProperties();
  ObjectCelInfoWindow& ObjectCelWindow();
  ScriptOutputWindow& DebugWindow();
  void ToggleTrace();
  void MakeTraceWindow();
  void Refresh();
  void RefreshObjectCel(bool new_cel);
  void ApplyCelProperties(const CelProperties& properties);
  void Present(QWidget* window);
  QString DollName() const;
  TextEncoding text_encoding() const;
  // Titles, the error report and the script windows' text for the doll as
  // it is now.
  void ShowDollText();

  CMainFrame& main_;
  CChildFrame& child_;
  QPointer<ErrorReportWindow> error_report_;
  QPointer<SetPropertiesWindow> set_properties_;
  QPointer<ObjectCelInfoWindow> object_cel_;
  QPointer<ScriptOutputWindow> debug_;
  QPointer<ScriptOutputWindow> trace_;
  QPointer<QPushButton> trace_step_;
  // The cel the object/cel window describes.
  const CelInstance* cel_ = nullptr;
  QTimer refresh_;
};

}  // namespace luma::app

#endif  // LUMA_APP_INFO_WINDOWS_H_
