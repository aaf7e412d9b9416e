// The panel table against the program: callbacks bound and carried, every control the program
// addresses present with its kind, list items covering the values the limits allow, and initial
// values equal to the parameter defaults.

#include "program/panel_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <set>
#include <string>

#include "params/panel_binding.h"
#include "params/param_file.h"
#include "support/scope_fixture.h"
#include "support/this_process.h"

namespace qrix {
namespace {

// Every callback the program binds is carried by a panel or a control: a binding under a name the
// table does not use (or a table name mistyped) would never run.
TEST(PanelTable, EveryBoundCallbackIsCarriedAndControlNamesAreUniqueWithinAPanel) {
  testing::Scope s;
  ASSERT_EQ(s.startOffline(), 0);
  std::set<std::string> carried;
  for (int handle : s.ui().panelHandles()) {
    const ui::Panel* panel = s.ui().panel(handle);
    carried.insert(panel->callback);
    std::set<std::string> names;  // a control is found by its name within its panel
    for (const auto& [id, c] : panel->controls) {
      carried.insert(c.callback);
      EXPECT_TRUE(names.insert(c.name).second) << panel->name << " " << c.name;
    }
  }
  for (const auto& [name, fn] : s.rt.callbacks().all()) {
    EXPECT_TRUE(carried.count(name)) << name;
  }
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
  // START records on the way: into a file of this test's own.
  const auto recording =
      std::filesystem::temp_directory_path() / (testing::uniqueName("qrix-sweep") + ".dat");
  s.p.st.rec_fname = recording.string();
  for (int handle : s.ui().panelHandles()) {
    for (const auto& [id, c] : s.ui().panel(handle)->controls) {
      const ui::Callback* fn = s.rt.callbacks().find(c.callback);
      if (!fn) {
        continue;
      }
      std::set<double> values = {c.value, c.minimum, c.maximum, 0, 1};
      for (const ui::ListItem& item : c.items) {
        values.insert(item.value);
      }
      for (double v : values) {
        s.ui().SetCtrlVal(handle, id, v);
        for (int event : {ui::EVENT_COMMIT, ui::EVENT_VAL_CHANGED, ui::EVENT_LEFT_CLICK,
                          ui::EVENT_RIGHT_CLICK}) {
          // The loops (RUN, VIDEO, a recording) run until something raises stop_flag.
          s.rt.at(s.rt.Timer() + 0.3, [&s] { s.p.st.stop_flag = 1; });
          (*fn)(handle, id, event, 0, 0);
        }
      }
    }
  }
  s.ui().dispatch(s.p.st.pPopUp, 0, ui::EVENT_CLOSE);
  s.ui().dispatch(s.p.st.pHandle, 0, ui::EVENT_CLOSE);
  ShutDown(s.p);
  std::filesystem::remove(recording);
  EXPECT_EQ(failures, std::set<std::string>{});
}

// Whatever the record holds, the lists show a value they offer once the limits have run.
TEST(PanelTable, ListsOfferEveryValueTheLimitsLeave) {
  testing::Scope s;
  ASSERT_EQ(s.startOffline(), 0);
  const ProgramState& st = s.p.st;
  for (unsigned v : {0u, 1u, 2u, 3u, 4u, 5u, 16u, 2048u, 4096u, 65535u}) {
    WordArray pp;
    pp.fill(static_cast<std::uint16_t>(v));
    for (std::uint16_t frame = 0; frame < 3; ++frame) {
      CopyPPtoVars(pp, frame, s.p.st.parameter);
    }
    SetPanelValues(s.p);
    for (int panel : {st.pPara0, st.pPara1, st.pPara2}) {
      for (const auto& [id, c] : s.ui().panel(panel)->controls) {
        if (c.kind != ui::ControlKind::Ring) {
          continue;
        }
        // Averaging counts the list lacks are kept on purpose (see the binding tests).
        if (id == ids::para0::DROPaverage && !std::has_single_bit(v)) {
          continue;
        }
        const bool offered = std::any_of(c.items.begin(), c.items.end(),
                                         [&](const ui::ListItem& i) { return i.value == c.value; });
        EXPECT_TRUE(offered) << c.name << " shows " << c.value << " for " << v;
      }
    }
  }
}

TEST(PanelTable, InitialValuesAreTheParameterDefaults) {
  testing::Scope s;
  ASSERT_EQ(s.startOffline(), 0);  // start-up reads the controls into the record
  EXPECT_EQ(recordToWords(s.p.st.parameter), recordToWords(ParameterRecord{}));
  // Ten fraction digits show every multiple of 1/1024 exactly.
  EXPECT_GE(s.ui().control(s.p.st.pCalib, ids::calib::NUMScaleA)->precision, 10);
}

}  // namespace
}  // namespace qrix
