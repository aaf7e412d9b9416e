#include "synthetic_panels.h"

#include <QElapsedTimer>

namespace qrix::test {

namespace {

using ui::Control;
using ui::ControlKind;

Control make(int id, const std::string& name, ControlKind kind, ui::Rect bounds,
             const std::string& label = {}) {
  Control c;
  c.id = id;
  c.name = name;
  c.kind = kind;
  c.bounds = bounds;
  c.label = label;
  c.callback = "CC_" + name;
  return c;
}

ui::PanelTemplate mainPanel() {
  ui::PanelTemplate p;
  p.name = "pMain";
  p.title = "Synthetic panel";
  p.bounds = {40, 40, 760, 560};
  p.callback = "CC_pMain";
  auto add = [&p](Control c) { p.controls[c.id] = std::move(c); };

  add(make(1, "BTNrun", ControlKind::CommandButton, {10, 10, 90, 28}, "Run"));
  add(make(2, "TGLlaser", ControlKind::ToggleButton, {110, 10, 90, 28}, "Laser"));
  add(make(3, "RADmaster", ControlKind::RadioButton, {210, 10, 90, 24}, "Master"));
  add(make(4, "RADslave", ControlKind::RadioButton, {300, 10, 90, 24}, "Slave"));
  Control exposure = make(5, "NUMexposure", ControlKind::Numeric, {10, 70, 120, 26}, "Exposure");
  exposure.maximum = 5000;
  exposure.unit = "us";
  exposure.value = 100;
  add(exposure);
  Control gain = make(6, "NUMgain", ControlKind::Numeric, {140, 70, 100, 26}, "Gain");
  gain.precision = 2;
  gain.maximum = 10;
  gain.increment = 0.25;
  add(gain);
  Control frames = make(7, "NUMframes", ControlKind::Numeric, {250, 70, 100, 26}, "Frames");
  frames.readOnly = true;
  add(frames);
  Control power = make(8, "SLIDEpower", ControlKind::Slider, {360, 70, 150, 26}, "Power");
  power.maximum = 100;
  add(power);
  Control mode = make(9, "RINGmode", ControlKind::Ring, {560, 70, 120, 26}, "Mode");
  mode.items = {{"Off", 0}, {"Slow", 1}, {"Fast", 2}};
  add(mode);
  Control status = make(10, "TXTstatus", ControlKind::TextMessage, {10, 110, 0, 0});
  status.text = "Ready";
  add(status);
  Control log = make(11, "TBXlog", ControlKind::TextBox, {10, 150, 240, 90}, "Log");
  log.text = "line 1\nline 2";
  add(log);
  add(make(12, "GRAPHprofile", ControlKind::Graph, {260, 130, 480, 200}, "Profile"));
  Control rate = make(13, "STRIPrate", ControlKind::StripChart, {10, 360, 300, 150}, "Rate");
  rate.strip.traces.resize(2);
  rate.strip.traces[0].colour = ui::kRed;
  rate.strip.traces[1].colour = ui::kBlue;
  add(rate);
  Control frame = make(14, "DECOframe", ControlKind::Decoration, {5, 5, 400, 40});
  frame.hasBackColour = true;
  frame.backColour = ui::kLightGrey;
  add(frame);
  add(make(15, "PICTlogo", ControlKind::Picture, {700, 10, 40, 40}));
  return p;
}

ui::PanelTemplate paraPanel(const std::string& name) {
  ui::PanelTemplate p;
  p.name = name;
  p.bounds = {name == "pPara1" ? 330 : 540, 360, 200, 80};
  Control power = make(1, "SLIDEpower", ControlKind::Slider, {10, 30, 120, 26}, "Power");
  power.maximum = 100;
  p.controls[1] = power;
  return p;
}

}  // namespace

ui::UiModel::PanelSource syntheticPanels() {
  return [](int resource) -> std::optional<ui::PanelTemplate> {
    switch (resource) {
      case kMainResource: return mainPanel();
      case kPara1Resource: return paraPanel("pPara1");
      case kPara2Resource: return paraPanel("pPara2");
      default: return std::nullopt;
    }
  };
}

ViewTest::ViewTest() : runtime(syntheticPanels()) {
  main = ui().LoadPanel(0, kMainResource);
  para1 = ui().LoadPanel(main, kPara1Resource);
  para2 = ui().LoadPanel(main, kPara2Resource);
  for (int panel : {main, para1, para2}) {
    const ui::Panel* p = ui().panel(panel);
    auto record = [this](int panelHandle, int control, int event, int, int) {
      const ui::Panel* where = ui().panel(panelHandle);
      std::string name = control == 0 ? where->name : where->controls.at(control).name;
      events.push_back({where->name, name, event});
      return 0;
    };
    if (!p->callback.empty()) runtime.callbacks().bind(p->callback, record);
    for (const auto& [cid, c] : p->controls) runtime.callbacks().bind(c.callback, record);
    ui().DisplayPanel(panel);
  }
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
  for (const Recorded& r : events)
    if (r.panel == "pMain" && r.name == name) out.push_back(r.event);
  return out;
}

void ViewTest::pumpFor(int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds) runtime.ProcessSystemEvents();
}

}  // namespace qrix::test
