#include "synthetic_panels.h"

#include <QBackingStore>
#include <QElapsedTimer>

namespace qrix::test {

namespace {

using ui::ControlKind;

std::optional<ui::PanelTemplate> syntheticPanel(int resource) {
  struct Row {
    const char* name;
    ControlKind kind;
    ui::Rect bounds;
  };
  const Row rows[] = {
      {"BTNrun", ControlKind::CommandButton, {10, 10, 90, 28}},
      {"TGLlaser", ControlKind::ToggleButton, {110, 10, 90, 28}},
      {"RADmaster", ControlKind::RadioButton, {210, 10, 90, 24}},
      {"RADslave", ControlKind::RadioButton, {300, 10, 90, 24}},
      {"NUMexposure", ControlKind::Numeric, {10, 70, 120, 26}},
      {"NUMgain", ControlKind::Numeric, {140, 70, 100, 26}},
      {"NUMframes", ControlKind::Numeric, {250, 70, 100, 26}},
      {"SLIDEpower", ControlKind::Slider, {360, 70, 150, 26}},
      {"RINGmode", ControlKind::Ring, {560, 70, 120, 26}},
      {"TXTstatus", ControlKind::TextMessage, {10, 110, 0, 0}},
      {"TBXlog", ControlKind::TextBox, {10, 150, 240, 90}},
      {"GRAPHprofile", ControlKind::Graph, {260, 130, 480, 200}},
      {"STRIPrate", ControlKind::StripChart, {10, 360, 300, 150}},
  };
  ui::PanelTemplate p;
  p.name = resource == 1 ? "pMain" : "pChild";
  p.bounds = resource == 1 ? ui::Rect{40, 40, 760, 560} : ui::Rect{330, 360, 200, 80};
  p.callback = "CC_" + p.name;
  if (resource != 1) {
    return p;
  }
  int next = 0;
  for (const Row& r : rows) {
    ui::Control& c = p.controls[++next];
    c.id = next;
    c.name = c.label = r.name;
    c.kind = r.kind;
    c.bounds = r.bounds;
    c.callback = "CC_" + c.name;
    c.maximum = 100;
  }
  auto& ctl = p.controls;
  ctl[5].maximum = 5000;  // NUMexposure
  ctl[5].value = 100;
  ctl[6].precision = 2;  // NUMgain
  ctl[6].increment = 0.25;
  ctl[7].readOnly = true;  // NUMframes
  ctl[9].items = {{"Off", 0}, {"Slow", 1}, {"Fast", 2}};
  ctl[13].strip.traces.resize(2);
  return p;
}

}  // namespace

ViewTest::ViewTest() : runtime(syntheticPanel) {
  main = ui().LoadPanel(0, 1);
  child = ui().LoadPanel(main, 2);
  const ui::Panel* p = ui().panel(main);
  auto record = [this](int panel, int control, int event, int, int) {
    events.push_back({control ? ui().panel(panel)->controls.at(control).name : "pMain", event});
    return 0;
  };
  runtime.callbacks().bind(p->callback, record);
  for (const auto& [cid, c] : p->controls) {
    runtime.callbacks().bind(c.callback, record);
  }
  ui().DisplayPanel(main);
  ui().DisplayPanel(child);
}

int ViewTest::id(const std::string& name) const {
  std::optional<int> found = ui().findControl(main, name);
  EXPECT_TRUE(found.has_value()) << name;
  return found.value_or(0);
}

QWidget* ViewTest::widget(const std::string& name) const {
  return runtime.view().controlWidget(main, id(name));
}

std::vector<int> ViewTest::eventsOf(const std::string& name) const {
  std::vector<int> out;
  for (const auto& [who, event] : events) {
    if (who == name) {
      out.push_back(event);
    }
  }
  return out;
}

void ViewTest::pumpFor(int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds) {
    runtime.ProcessSystemEvents();
  }
}

bool showsWhatItDraws(QWidget* w) {
  // The window's backing store, cut in device pixels: the offscreen screen's grab of a window
  // cuts it at its size in logical pixels.
  QPaintDevice* store = w->window()->backingStore()->paintDevice();
  if (store->devType() != QInternal::Image) {
    return false;
  }
  const QImage& window = *static_cast<QImage*>(store);
  const qreal dpr = w->devicePixelRatioF();
  const QRectF at(QPointF(w->mapTo(w->window(), QPoint(0, 0))) * dpr, QSizeF(w->size()) * dpr);
  const QImage shown = window.copy(at.toAlignedRect()).convertToFormat(QImage::Format_RGB32);
  return shown == w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace qrix::test
