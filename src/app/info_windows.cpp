#include "app/info_windows.h"

#include <QBoxLayout>
#include <QCheckBox>

#include "app/byte_text.h"
#include "app/child_frame.h"
#include "app/command_table.h"
#include "app/error_report_window.h"
#include "app/main_frame.h"
#include "app/script_output_window.h"
#include "app/set_properties_window.h"
#include "core/view/doll_statistics.h"
#include "core/view/error_report_view.h"
#include "core/view/set_properties_text.h"

namespace luma::app {
namespace {

// How often shown windows look for changes (script statistics, cel state).
constexpr int kRefreshMs = 250;

}  // namespace

InfoWindows::InfoWindows(CMainFrame& main_frame, CChildFrame& child)
    : main_(main_frame), child_(child) {
  refresh_.setInterval(kRefreshMs);
  connect(&refresh_, &QTimer::timeout, this, [this] { Refresh(); });
  child_.view().SetDebugListener([this](std::string_view line) {
    ScriptOutputWindow& window = DebugWindow();
    if (!window.isVisible()) window.show();
    window.AddLine(line);
  });
}

InfoWindows::~InfoWindows() = default;

QString InfoWindows::DollName() const { return FromBytes(child_.doc().ShownTitle()); }

TextEncoding InfoWindows::text_encoding() const { return child_.doc().model().text_encoding; }

void InfoWindows::Present(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
  if (!refresh_.isActive()) refresh_.start();
}

bool InfoWindows::OnCommand(int id) {
  switch (id) {
    case kIdErrorReport:
      ShowErrorReport();
      return true;
    case kIdSetInfo:
      ShowSetProperties();
      return true;
    case kIdObjectCelInfo:
      RefreshObjectCel(true);
      Present(&ObjectCelWindow());
      return true;
    case kIdObjectInfo:
      ShowCelProperties(ObjectCelInfoWindow::kObjectTab);
      return true;
    case kIdCelInfo:
      ShowCelProperties(ObjectCelInfoWindow::kCelTab);
      return true;
    case kIdDisplayDebug:
      Present(&DebugWindow());
      return true;
    case kIdTraceFkiss:
      ToggleTrace();
      return true;
    default:
      return false;
  }
}

void InfoWindows::ShowErrorReport() {
  if (!error_report_) error_report_ = new ErrorReportWindow(DollName(), &child_);
  error_report_->Fill(child_.doc().report(), text_encoding());
  Present(error_report_);
}

void InfoWindows::ShowSetProperties() {
  if (!set_properties_) set_properties_ = new SetPropertiesWindow(DollName(), &child_);
  set_properties_->Fill(SetPropertiesRows(GatherStatistics(child_.doc(), child_.view().runtime())));
  Present(set_properties_);
}

ObjectCelInfoWindow& InfoWindows::ObjectCelWindow() {
  if (!object_cel_) {
    object_cel_ = new ObjectCelInfoWindow(DollName(), &child_);
    object_cel_->set_locked_handler([this](bool on) { child_.view().set_info_locked(on); });
    object_cel_->set_apply_handler(
        [this](const CelProperties& properties) { ApplyCelProperties(properties); });
    RefreshObjectCel(true);
  }
  return *object_cel_;
}

void InfoWindows::ShowCelProperties(ObjectCelInfoWindow::Tab tab) {
  // Asking for a cel's properties shows that cel, locked or not.
  cel_ = child_.view().last_clicked();
  ObjectCelInfoWindow& window = ObjectCelWindow();
  RefreshObjectCel(true);
  window.ShowTab(tab);
  Present(&window);
}

void InfoWindows::CelInfoShown(const CelInstance* cel) {
  if (object_cel_ && object_cel_->locked()) return;
  cel_ = cel;
  if (object_cel_ && object_cel_->isVisible()) RefreshObjectCel(true);
}

void InfoWindows::RefreshObjectCel(bool new_cel) {
  if (!object_cel_) return;
  if (!cel_) {
    object_cel_->Clear();
    return;
  }
  CKissCnfView& view = child_.view();
  const ObjectCelInfo info = DescribeCel(*cel_, child_.doc().model(), view.CurrentSet(),
                                         child_.doc().fkiss(), view.runtime());
  std::optional<CelProperties> edits;
  if (new_cel) {
    edits = CelProperties{cel_->in_set[view.CurrentSet()], cel_->mapped, cel_->ghost,
                          cel_->transparency};
  }
  object_cel_->Fill(info, edits);
}

void InfoWindows::ApplyCelProperties(const CelProperties& properties) {
  // The window holds the cel read-only; the view changes the doll's own record.
  for (const auto& instance : child_.doc().model().instances()) {
    if (instance.get() != cel_) continue;
    child_.view().ApplyCelProperties(*instance, properties);
    RefreshObjectCel(true);
    return;
  }
}

ScriptOutputWindow& InfoWindows::DebugWindow() {
  if (!debug_) {
    debug_ = new ScriptOutputWindow("Debug: " + DollName(), &child_);
    debug_->SetTextEncoding(text_encoding());
  }
  return *debug_;
}

void InfoWindows::ToggleTrace() {
  CKissCnfView& view = child_.view();
  if (view.trace_on()) {
    view.SetTrace(false);
    return;
  }
  if (!trace_) MakeTraceWindow();
  view.SetTrace(true, [this](std::string_view line) {
    if (trace_) trace_->AddLine(line);
  });
  Present(trace_);
}

void InfoWindows::MakeTraceWindow() {
  trace_ = new ScriptOutputWindow("FKiSS Trace: " + DollName(), &child_);
  trace_->SetTextEncoding(text_encoding());
  // Closing the trace window ends the tracing, which slows the script.
  trace_->set_closed_handler([this] {
    child_.view().SetTrace(false);
    main_.UpdateCommandUi();
  });
  auto* events_only = new QCheckBox("Events Only", trace_);
  auto* step_mode = new QCheckBox("Step Mode", trace_);
  trace_step_ = new QPushButton("Step", trace_);
  trace_step_->setEnabled(false);
  auto options = [this, events_only, step_mode] {
    child_.view().SetTraceOptions(events_only->isChecked(), step_mode->isChecked());
    trace_step_->setEnabled(child_.view().CanStepAlarm());
    // Alarms that waited for the steps fall due by the clock again.
    main_.alarm_loop().RunNow();
  };
  connect(events_only, &QCheckBox::toggled, this, options);
  connect(step_mode, &QCheckBox::toggled, this, options);
  connect(trace_step_, &QPushButton::clicked, this, [this] {
    child_.view().StepAlarm();
    trace_step_->setEnabled(child_.view().CanStepAlarm());
  });
  QBoxLayout* row = trace_->button_row();
  row->insertWidget(0, events_only);
  row->insertWidget(1, step_mode);
  row->insertWidget(2, trace_step_);
}

void InfoWindows::DollStarted() {
  // The records the windows showed may be gone after a load.
  cel_ = nullptr;
  ShowDollText();
  if (ShowReportAfterLoad(child_.doc().report(), main_.settings(), child_.doc().is_archive())) {
    // After the doll window has settled, so the report comes out on top.
    QTimer::singleShot(0, this, [this] { ShowErrorReport(); });
  }
}

void InfoWindows::TextEncodingChanged() {
  ShowDollText();
  if (object_cel_ && object_cel_->isVisible()) RefreshObjectCel(false);
}

void InfoWindows::ShowDollText() {
  const QString name = DollName();
  const TextEncoding encoding = text_encoding();
  if (error_report_) {
    error_report_->setWindowTitle("Error Report for " + name);
    error_report_->Fill(child_.doc().report(), encoding);
  }
  if (set_properties_) set_properties_->setWindowTitle("Set Properties for " + name);
  if (object_cel_) object_cel_->setWindowTitle("Object/Cel Properties for " + name);
  if (debug_) {
    debug_->setWindowTitle("Debug: " + name);
    debug_->SetTextEncoding(encoding);
  }
  if (trace_) {
    trace_->setWindowTitle("FKiSS Trace: " + name);
    trace_->SetTextEncoding(encoding);
  }
  Refresh();
}

void InfoWindows::Refresh() {
  // While a load runs the doll's records are being replaced.
  if (child_.doc().loading()) return;
  const bool properties = set_properties_ && set_properties_->isVisible();
  const bool object_cel = object_cel_ && object_cel_->isVisible();
  const bool trace = trace_ && trace_->isVisible();
  if (trace) trace_step_->setEnabled(child_.view().CanStepAlarm());
  if (properties) {
    set_properties_->Fill(
        SetPropertiesRows(GatherStatistics(child_.doc(), child_.view().runtime())));
  }
  if (object_cel) RefreshObjectCel(false);
  if (!properties && !object_cel && !trace) refresh_.stop();
}

}  // namespace luma::app
