// Context help and the header banner: where a help box goes beside the control right-clicked,
// one box toggled between two controls, every row reaching its text through the panels'
// callbacks, help wrapped around the callbacks bound before it, and the banner's picture with
// and without a tv.bmp in the working directory, in a build tree and installed. A click on a box
// closing it is pinned through the widgets (view/test_scope_window.cpp).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>

#include "runtime/files.h"
#include "shell/banner.h"
#include "shell/help_texts.h"
#include "support/scope_fixture.h"
#include "support/this_process.h"

namespace qrix::testing {
namespace {

namespace fs = std::filesystem;
namespace m = ids::main;

class Help : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(s.startOffline(), 0); }

  bool shown(int box) { return s.ui().IsVisible(st.pHandle, box); }
  std::string text(int box) { return s.ui().GetCtrlText(st.pHandle, box); }
  ui::Rect place(int box) { return s.ui().GetCtrlBoundingRect(st.pHandle, box); }
  const HelpRow& row(std::string_view control) {
    for (const HelpRow& r : helpTable()) {
      if (r.control == control) {
        return r;
      }
    }
    throw std::out_of_range(std::string(control));
  }

  Scope s;
  ProgramState& st = s.p.st;
};

TEST_F(Help, BoxIsPlacedBesideTheControlInMainPanelCoordinates) {
  // The master panel away from the others' common place.
  s.ui().SetPanelPos(st.pPara1, 150, 40);
  const ui::Rect run = s.ui().GetCtrlBoundingRect(st.pHandle, m::BTNRun);
  const ui::Rect teach = s.ui().GetCtrlBoundingRect(st.pHandle, m::ButtonTeach);
  const ui::Rect data = s.ui().GetCtrlBoundingRect(st.pHandle, m::BTNData);
  const ui::Rect num = s.ui().GetCtrlBoundingRect(st.pPara1, ids::sensor::NUMTeach);
  struct Case {
    int panel, id, left, top;
  };
  for (const Case& c : {
           Case{st.pHandle, m::BTNRun, run.left + run.width + 10, run.top - 20},
           Case{st.pPara1, ids::sensor::NUMTeach, 40 + num.left + num.width + 30,
                150 + num.top - 10},
           Case{st.pHandle, m::ButtonTeach, teach.left - 200, teach.top - 20},
           Case{st.pHandle, m::BTNData, data.left + 5, data.top - data.height - 30},
       }) {
    s.rightClick(c.panel, c.id);
    EXPECT_TRUE(shown(m::HelpText1)) << c.id;
    EXPECT_EQ(place(m::HelpText1).left, c.left) << c.id;
    EXPECT_EQ(place(m::HelpText1).top, c.top) << c.id;
    s.rightClick(c.panel, c.id);  // hidden again for the next case
  }
}

TEST_F(Help, OneBoxServesTwoControlsAndOnlyToggles) {
  s.rightClick(st.pHandle, m::BTNRun);
  ASSERT_TRUE(shown(m::HelpText1));
  EXPECT_EQ(text(m::HelpText1), row("BTNRun").text);

  // The STOP right-click moves the box beside STOP and hides it, yet loads its text.
  s.rightClick(st.pHandle, m::BTNStop);
  const ui::Rect stop = s.ui().GetCtrlBoundingRect(st.pHandle, m::BTNStop);
  EXPECT_FALSE(shown(m::HelpText1));
  EXPECT_EQ(place(m::HelpText1).left, stop.left + stop.width + 10);
  EXPECT_EQ(text(m::HelpText1), row("BTNStop").text);

  s.rightClick(st.pHandle, m::BTNStop);
  EXPECT_TRUE(shown(m::HelpText1));
  EXPECT_EQ(text(m::HelpText1), row("BTNStop").text);
  // The other box is independent.
  EXPECT_FALSE(shown(m::HelpText2));
  EXPECT_EQ(text(m::HelpText2), "HELPTEXT2");
}

TEST_F(Help, EveryRowReachesItsOwnTextThroughThePanelsCallbacks) {
  std::set<std::string> texts;
  std::set<std::string> controls;
  for (const HelpRow& r : helpTable()) {
    const int panel = st.*r.panel;
    // A dimmed control takes no user input, its help included.
    s.ui().SetDimmed(panel, r.id, false);
    s.rightClick(panel, r.id);
    EXPECT_TRUE(shown(r.box)) << r.control;
    EXPECT_EQ(text(r.box), r.text) << r.control;
    s.rightClick(panel, r.id);
    texts.insert(r.text);
    controls.insert(r.control);
  }
  EXPECT_EQ(texts.size(), helpTable().size());
  EXPECT_EQ(controls.size(), helpTable().size());

  // The slave's power slider and CCD mode switch carry the master's callbacks and help.
  s.ui().SetDimmed(st.pPara2, ids::sensor::SLIDEpower, false);
  s.rightClick(st.pPara2, ids::sensor::SLIDEpower);
  EXPECT_EQ(text(m::HelpText1), row("SLIDEpower").text);
  s.rightClick(st.pPara2, ids::sensor::DROPopmode);
  EXPECT_EQ(text(m::HelpText1), row("DROPopmodeA").text);
}

TEST_F(Help, RightClickShowsHelpOnlyOtherEventsReachTheCallbackBoundBefore) {
  std::vector<int> events;
  s.rt.callbacks().bind("CC_BTNGet", [&](int, int, int event, int, int) {
    events.push_back(event);
    return 0;
  });
  bindHelp(s.p);
  s.rightClick(st.pHandle, m::BTNGet);
  s.click(st.pHandle, m::BTNGet);
  EXPECT_EQ(events, (std::vector<int>{ui::EVENT_LEFT_CLICK, ui::EVENT_COMMIT}));
  EXPECT_EQ(text(m::HelpText1), row("BTNGet").text);
}

// Runs a test in a fresh working directory and returns to the old one afterwards.
class InDirectory {
 public:
  InDirectory()
      : old_(fs::current_path()), dir_(fs::temp_directory_path() / uniqueName("qrix-banner")) {
    fs::create_directories(dir_);
    fs::current_path(dir_);
  }
  ~InDirectory() {
    fs::current_path(old_);
    fs::remove_all(dir_);
  }
  InDirectory(const InDirectory&) = delete;
  InDirectory& operator=(const InDirectory&) = delete;

 private:
  fs::path old_, dir_;
};

// The banner's picture for a program in `programDir`, started in a fresh working directory.
std::string bannerPicture(const std::string& programDir, bool withTvBmp = false) {
  InDirectory here;
  if (withTvBmp) {
    std::ofstream("tv.bmp", std::ios::binary) << "BM";
  }
  HeadlessRuntime rt([](int id) { return panelTemplate(id); }, programDir);
  Program p(rt);
  StartOptions offline;
  offline.portSetup = [](Program&) {};
  EXPECT_EQ(StartUp(p, offline), 0);
  return rt.ui().control(p.st.pHandle, m::PICTLogo)->imagePath;
}

TEST(Banner, ShowsTvBmpOrElseTheLogoTheBuildCopiedBesideTheBinary) {
  const std::string dir = binaryDirectory().string();
  EXPECT_EQ(bannerPicture(dir), files::MakePathname(dir, kShippedLogo));
  EXPECT_EQ(bannerPicture(dir, true), files::MakePathname(".", "tv.bmp"));
}

// An installed program, <prefix>/bin/qrix-scope, finds its logo in <prefix>/share/qrix-scope; a
// logo beside the binary comes first, and without either the banner shows no picture.
TEST(Banner, AnInstalledProgramFindsItsLogoInItsDataFolder) {
  const fs::path prefix = fs::temp_directory_path() / uniqueName("qrix-prefix");
  const fs::path bin = prefix / "bin";
  const fs::path data = (bin / kInstalledDataDir).lexically_normal();
  EXPECT_EQ(data.lexically_relative(prefix), fs::path("share") / "qrix-scope");
  fs::create_directories(bin);
  fs::create_directories(data);
  EXPECT_EQ(bannerPicture(bin.string()), "");

  std::ofstream(data / kShippedLogo, std::ios::binary) << "BM";
  const std::string installed = bannerPicture(bin.string());
  EXPECT_TRUE(fs::exists(installed) && fs::equivalent(installed, data / kShippedLogo)) << installed;

  std::ofstream(bin / kShippedLogo, std::ios::binary) << "BM";
  const std::string beside = bannerPicture(bin.string());
  EXPECT_TRUE(fs::exists(beside) && fs::equivalent(beside, bin / kShippedLogo)) << beside;
  fs::remove_all(prefix);
}

}  // namespace
}  // namespace qrix::testing
