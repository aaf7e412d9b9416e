// The panel table against the program: callbacks bound and carried, every control the program
// addresses present with its kind, list items covering the values the limits allow, and initial
// values equal to the parameter defaults.

#include "shell/panel_table.h"

#include <gtest/gtest.h>

#include <set>

#include "params/parameter.h"
#include "support/scope_fixture.h"

namespace qrix {
namespace {

// Every callback the program binds is carried by a panel or a control: a binding under a name the
// table does not use (or a table name mistyped) would never run.
TEST(PanelTable, EveryBoundCallbackIsCarriedByAPanelOrControl) {
  testing::Scope s;
  ASSERT_EQ(s.startOffline(), 0);
  std::set<std::string> carried;
  for (int handle : s.ui().panelHandles()) {
    const ui::Panel* panel = s.ui().panel(handle);
    carried.insert(panel->callback);
    for (const auto& [id, c] : panel->controls) carried.insert(c.callback);
  }
  for (const auto& [name, fn] : s.rt.callbacks().all()) EXPECT_TRUE(carried.count(name)) << name;
}

// Identifies the simulated sensor, runs every bound callback of every control with every event
// and every value the control offers, closes the panels and shuts down: each control the program
// addresses on the way must exist with the kind the operation needs.
TEST(PanelTable, EveryControlTheProgramAddressesExistsWithTheKindItNeeds) {
  testing::Scope s;
  std::set<std::string> failures;
  s.ui().setFailureHook([&failures](int panel, int control, int code) {
    failures.insert(std::to_string(panel) + "/" + std::to_string(control) + " -> " +
                    std::to_string(code));
  });
  ASSERT_EQ(s.start(), 0);
  for (int handle : s.ui().panelHandles()) {
    for (const auto& [id, c] : s.ui().panel(handle)->controls) {
      const ui::Callback* fn = s.rt.callbacks().find(c.callback);
      if (!fn) continue;
      std::set<double> values = {c.value, c.minimum, c.maximum, 0, 1};
      for (const ui::ListItem& item : c.items) values.insert(item.value);
      for (double v : values) {
        s.ui().SetCtrlVal(handle, id, v);
        for (int event :
             {ui::EVENT_COMMIT, ui::EVENT_VAL_CHANGED, ui::EVENT_LEFT_CLICK, ui::EVENT_RIGHT_CLICK})
          (*fn)(handle, id, event, 0, 0);
      }
    }
  }
  s.ui().dispatch(s.p.st.pPopUp, 0, ui::EVENT_CLOSE);
  s.ui().dispatch(s.p.st.pHandle, 0, ui::EVENT_CLOSE);
  ShutDown(s.p);
  EXPECT_EQ(failures, std::set<std::string>{});
}

TEST(PanelTable, ControlNamesAreUniqueWithinAPanel) {
  for (int resource : {1, 2, 3, 4, 5, 6}) {
    std::set<std::string> names;
    const auto panel = panelTemplate(resource);
    for (const auto& [id, c] : panel->controls) EXPECT_TRUE(names.insert(c.name).second) << c.name;
  }
}

std::set<double> itemValues(int resource, int id) {
  std::set<double> values;
  const auto panel = panelTemplate(resource);
  for (const auto& item : panel->controls.at(id).items) values.insert(item.value);
  return values;
}

TEST(PanelTable, ListsOfferEveryValueTheLimitsAllow) {
  EXPECT_EQ(itemValues(ids::kPara0Panel, ids::para0::DropEvalMode),
            (std::set<double>{0, 1, 2, 3, 4}));
  EXPECT_EQ(itemValues(ids::kPara0Panel, ids::para0::DROPtrigmode), (std::set<double>{0, 1, 2, 3}));
  EXPECT_EQ(itemValues(ids::kPara0Panel, ids::para0::DROPAnaMode),
            (std::set<double>{0, 1, 2, 3, 4}));
  EXPECT_EQ(itemValues(ids::kPara0Panel, ids::para0::DROPHardwareMode),
            (std::set<double>{0, 1, 2, 3, 4}));
  EXPECT_EQ(itemValues(ids::kPara0Panel, ids::para0::DROPpolarity), (std::set<double>{0, 1}));
  EXPECT_EQ(*itemValues(ids::kPara0Panel, ids::para0::DROPaverage).rbegin(), 2048);
  for (int panel : {ids::kPara1Panel, ids::kPara2Panel}) {
    EXPECT_EQ(itemValues(panel, ids::sensor::DROPpmode), (std::set<double>{0, 1}));
    EXPECT_EQ(itemValues(panel, ids::sensor::DROPopmode), (std::set<double>{0, 1}));
  }
}

TEST(PanelTable, InitialValuesAreTheParameterDefaults) {
  const ParameterRecord defaults;
  auto para0 = *panelTemplate(ids::kPara0Panel);
  EXPECT_EQ(para0.controls[ids::para0::DropEvalMode].value, defaults.sys.evalmode);
  EXPECT_EQ(para0.controls[ids::para0::DROPHardwareMode].value, defaults.sys.hwmode);
  EXPECT_EQ(para0.controls[ids::para0::NUMToleranceUP].value, defaults.sys.toleranceUP);
  auto master = *panelTemplate(ids::kPara1Panel);
  EXPECT_EQ(master.controls[ids::sensor::SLIDEpower].value, defaults.master.power);
  EXPECT_EQ(master.controls[ids::sensor::NUMPixelEnd].value, defaults.master.pixEnd);
  auto calib = *panelTemplate(ids::kCalibPanel);
  EXPECT_EQ(calib.controls[ids::calib::NUMSetpoint].value, defaults.sys.setpoint);
  EXPECT_EQ(calib.controls[ids::calib::NUMSetpoint].minimum, -2147483648.0);
  EXPECT_EQ(calib.controls[ids::calib::NUMSetpoint].maximum, 2147483647.0);
  // Ten fraction digits show every multiple of 1/1024 exactly.
  EXPECT_GE(calib.controls[ids::calib::NUMScaleA].precision, 10);
}

}  // namespace
}  // namespace qrix
