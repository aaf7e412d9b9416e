// Writing the linearisation table into the external flash on the virtual clock: the frames on
// the wire, what the simulated flash holds, the progress bar as it is drawn, the outcome when an
// answer is lost or echoes the wrong block, the buttons and their access code, and the line held
// alone for the transfer.

#include "linearisation/xflash.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <tuple>

#include "link/transport.h"
#include "support/scope_fixture.h"

namespace qrix::testing {
namespace {

namespace fs = std::filesystem;
namespace m = ids::main;
namespace c = ids::calib;

constexpr const char* kSuccess = "X-FLASH Data successfully written!";
constexpr const char* kIncomplete = "X-FLASH write incomplete!";

// The right end and colour of a rectangle drawn.
using Bar = std::pair<double, ui::Rgb>;

// Records every rectangle drawn into the two bar graphs and every text the status line shows.
class Watch : public ui::UiObserver {
 public:
  explicit Watch(Scope& s) : s_(s) {
    for (int g : {m::GRAPHBarSlave, m::GRAPHBarMaster}) seen_[g] = plots(g).size();
    s.ui().setObserver(this);
  }
  ~Watch() override { s_.ui().setObserver(nullptr); }
  void panelLoaded(int) override {}
  void panelDiscarded(int) override {}
  void changed(int panel, int control, ui::Aspect) override {
    if (panel != s_.p.st.pHandle) return;
    if (control == m::TEXTStatus) texts.push_back(s_.status());
    if (!seen_.count(control)) return;
    const std::vector<ui::Plot>& now = plots(control);
    if (now.size() > seen_[control] && now.back().kind == ui::Plot::Kind::Rectangle)
      bars[control].push_back({now.back().x2, now.back().colour});
    seen_[control] = now.size();
  }

  std::map<int, std::vector<Bar>> bars;
  std::vector<std::string> texts;

 private:
  const std::vector<ui::Plot>& plots(int graph) {
    return s_.ui().control(s_.p.st.pHandle, graph)->graph.plots;
  }
  Scope& s_;
  std::map<int, std::size_t> seen_;
};

// Answers flash frames as the sensor does (echo, then the offset and page of a write), except
// request `lost` (0 is the clear frame), which goes unanswered, and request `misechoed`, whose
// offset comes back as the next block's.
Responder flashSensor(int lost, int misechoed, std::vector<std::vector<std::uint8_t>>* seen) {
  return [=](const std::vector<std::uint8_t>& request) {
    const int n = static_cast<int>(seen->size());
    seen->push_back(request);
    if (n == lost) return std::vector<std::uint8_t>{};
    std::vector<std::uint8_t> answer(36, 0);
    answer[1] = 0xAA;
    answer[3] = request[3];
    if (request[3] == 102) {
      answer[6] = request[4];
      answer[7] = static_cast<std::uint8_t>(request[5] + (n == misechoed ? 8 : 0));
      answer[8] = request[6];
      answer[9] = request[7];
    }
    return answer;
  };
}

// Port 1 open with the receive notification, without the start-up exchanges.
void openLine(Scope& s) {
  ASSERT_EQ(s.startOffline(), 0);
  ASSERT_EQ(s.p.serial().OpenComConfig(1, "", 19200, 0, 8, 1, 4096, 4096), 0);
  installReceiveNotification(s.p, 1);
}

void enterCode(Scope& s, double code) {
  s.ui().SetCtrlVal(s.p.st.pPopUp, ids::popup::NEDITRecTime, code);
  s.commit(s.p.st.pPopUp, ids::popup::NEDITRecTime);
}

// Shows the buttons, presses one and picks the file.
void press(Scope& s, int button, const fs::path& file) {
  enterCode(s, kXFlashAccessCode);
  s.rt.answerFileDialog({VAL_EXISTING_FILE_SELECTED, file.string()});
  s.click(s.p.st.pCalib, button);
}

class XFlash : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("qrix-xflash-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
    std::ofstream out(file());
    // Values over the whole signed range, so every bit of a word travels.
    for (int i = 0; i < kLinWords; ++i) {
      const int value = (i * 7919) % 65536 - 32768;
      out << value << "\n";
      words[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(value + 32767);
    }
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path file() const { return dir / "lin.dat"; }

  fs::path dir;
  LinTable words;  // the flash words of the file
};

TEST_F(XFlash, BothButtonsWriteTheTableInPageOrderAndTheBarGrowsToGrey) {
  Scope s;
  ProgramState& st = s.p.st;
  ASSERT_EQ(s.start(), 0);
  Watch watch(s);
  using Frame = std::tuple<std::uint16_t, std::uint16_t, sim::Payload>;  // command, argument
  sim::Payload filler;
  filler.fill(0x00AA);
  std::vector<Frame> frames = {{101, 0, filler}};
  for (int block = 0; block < 256; ++block) {
    sim::Payload payload = filler;
    payload[0] = static_cast<std::uint16_t>(2 + block / 32);  // page
    for (int k = 0; k < 8; ++k)
      payload[static_cast<std::size_t>(1 + k)] = words[static_cast<std::size_t>(block * 8 + k)];
    frames.emplace_back(102, block % 32 * 8, payload);
  }
  for (int button : {c::BTNWriteXFSL, c::BTNWriteXFMA}) {
    const std::size_t first = s.requests().size();
    press(s, button, file());
    std::vector<Frame> sent;
    for (std::size_t i = first; i < s.requests().size(); ++i)
      sent.emplace_back(s.requests()[i].command, s.requests()[i].argument, s.requests()[i].payload);
    EXPECT_TRUE(sent == frames) << "button " << button;
  }
  EXPECT_TRUE(s.sensor->flash() == words);

  std::vector<Bar> expected;
  for (int b = 0; b <= 2040; b += 8) expected.push_back({double(b), ui::kGreen});
  expected.push_back({double(st.ccdvirtpixel), ui::kGrey});
  EXPECT_EQ(watch.bars[m::GRAPHBarSlave], expected);
  EXPECT_EQ(watch.bars[m::GRAPHBarMaster], expected);
  const ui::GraphState& graph = s.ui().control(st.pHandle, m::GRAPHBarMaster)->graph;
  EXPECT_EQ(graph.x.min, 1.0);
  EXPECT_EQ(graph.x.max, st.ccdvirtpixel);

  // One transfer's texts, as the status line showed them.
  std::vector<std::string> texts = {"clearing X-FLASH...", "X-FLASH-cleared!"};
  for (int block = 0; block < 256; ++block)
    texts.push_back("X-FLASH-write OK: PAGE" + std::to_string(2 + block / 32) + " ...");
  texts.push_back(kSuccess);
  ASSERT_EQ(watch.texts.size(), 2 * texts.size());
  EXPECT_TRUE(std::equal(texts.begin(), texts.end(), watch.texts.begin()));
  EXPECT_EQ(s.ui().GetCtrlVal(st.pHandle, m::NUMAnaMax), 2040);
  EXPECT_FALSE(s.ui().IsDimmed(st.pHandle, m::BTNRun));
}

// Without every answer echoing its block the flash may hold gaps: no success, the bar green to
// the last block confirmed, and no frame sent twice.
TEST_F(XFlash, ALostOrWrongAnswerEndsIncompleteWithTheBarAtTheLastConfirmedBlock) {
  const struct {
    const char* what;
    int answerEvery, lost, misechoed;
    double lastBar;
    std::size_t bars;
    long timeouts;
  } cases[] = {
      {"every other answer lost", 2, -1, -1, 2032, 128, 129},
      {"clear frame unanswered", 1, 0, -1, 2040, 256, 1},
      {"a middle block unanswered", 1, 101, -1, 2040, 255, 1},
      {"the last block echoes the wrong offset", 1, -1, 256, 2032, 255, 0},
  };
  for (const auto& k : cases) {
    Scope s;
    std::vector<std::vector<std::uint8_t>> seen;
    if (k.answerEvery > 1) {
      sim::Faults faults;
      faults.answerEvery = k.answerEvery;
      s.sensor->setFaults(faults);
    } else {
      s.useResponder(flashSensor(k.lost, k.misechoed, &seen));
    }
    openLine(s);
    Watch watch(s);
    press(s, c::BTNWriteXFSL, file());
    const std::size_t frames = k.answerEvery > 1 ? s.requests().size() : seen.size();
    EXPECT_EQ(frames, 257u) << k.what;
    EXPECT_EQ(s.status(), kIncomplete) << k.what;
    EXPECT_EQ(std::count(watch.texts.begin(), watch.texts.end(), "Timeout-RS-232..."), k.timeouts)
        << k.what;
    const std::vector<Bar>& bars = watch.bars[m::GRAPHBarSlave];
    ASSERT_EQ(bars.size(), k.bars) << k.what;
    EXPECT_EQ(bars.back(), Bar(k.lastBar, ui::kGreen)) << k.what;
  }
}

TEST(XFlashBlock, ABlockOutsideTheTableIsNotSent) {
  Scope s;
  openLine(s);
  const LinTable table{};
  for (auto [offset, page] : {std::pair{0, 1}, {0, 10}, {249, 2}})
    EXPECT_FALSE(WriteXFLASH(s.p, static_cast<std::uint16_t>(offset),
                             static_cast<std::uint16_t>(page), table, kXFlashSlave));
  EXPECT_TRUE(s.requests().empty());
}

TEST_F(XFlash, EachButtonHidesAfterUseAndOnlyTheAccessCodeShowsBothAgain) {
  Scope s;
  openLine(s);
  const int calib = s.p.st.pCalib;
  enterCode(s, 6046);
  EXPECT_FALSE(s.ui().IsVisible(calib, c::BTNWriteXFSL));
  EXPECT_FALSE(s.ui().IsVisible(calib, c::BTNWriteXFMA));
  // A cancelled dialog and an unreadable file send nothing, and still use the button up.
  std::ofstream(dir / "short.dat") << "1\n2\n";
  s.p.st.linArray.fill(5);
  for (const char* name : {"", "short.dat"}) {
    enterCode(s, kXFlashAccessCode);
    EXPECT_TRUE(s.ui().IsVisible(calib, c::BTNWriteXFSL));
    EXPECT_TRUE(s.ui().IsVisible(calib, c::BTNWriteXFMA));
    if (*name) s.rt.answerFileDialog({VAL_EXISTING_FILE_SELECTED, (dir / name).string()});
    s.click(calib, c::BTNWriteXFMA);
    EXPECT_FALSE(s.ui().IsVisible(calib, c::BTNWriteXFMA)) << name;
    EXPECT_TRUE(s.ui().IsVisible(calib, c::BTNWriteXFSL)) << name;
  }
  EXPECT_TRUE(s.requests().empty());
  EXPECT_EQ(s.p.st.linArray[0], 5);
  EXPECT_EQ(s.status(), "Error reading linearisation file!");
  press(s, c::BTNWriteXFSL, file());
  EXPECT_FALSE(s.ui().IsVisible(calib, c::BTNWriteXFSL));
  EXPECT_TRUE(s.ui().IsVisible(calib, c::BTNWriteXFMA));
}

// The transfer holds the line alone: RUN, GET and a second transfer stay out while it runs, and
// it does not start inside RUN.
TEST_F(XFlash, NoOtherExchangeRunsDuringATransferAndNoneStartsInsideRun) {
  Scope s;
  ASSERT_EQ(s.start(), 0);
  const ProgramState& st = s.p.st;
  const std::size_t first = s.requests().size();
  bool dimmedDuring = false;
  s.rt.at(s.rt.Timer() + 1.0, [&] {
    dimmedDuring = s.ui().IsDimmed(st.pHandle, m::BTNRun) && s.ui().IsDimmed(st.pHandle, m::BTNGet);
    s.click(st.pHandle, m::BTNRun);
    s.click(st.pHandle, m::BTNGet);
    s.click(st.pCalib, c::BTNWriteXFMA);
  });
  press(s, c::BTNWriteXFSL, file());
  EXPECT_TRUE(dimmedDuring);
  EXPECT_EQ(s.status(), kSuccess);
  std::vector<std::uint16_t> commands;
  for (std::size_t i = first; i < s.requests().size(); ++i)
    commands.push_back(s.requests()[i].command);
  std::vector<std::uint16_t> expected(257, 102);
  expected[0] = 101;
  EXPECT_EQ(commands, expected);
  EXPECT_FALSE(s.ui().IsDimmed(st.pHandle, m::BTNRun));
  EXPECT_FALSE(s.ui().IsDimmed(st.pHandle, m::BTNGet));

  // Pressed while RUN runs, the button asks for no file and sends nothing.
  const std::size_t dialogs = s.rt.dialogs().size();
  enterCode(s, kXFlashAccessCode);
  s.rt.at(s.rt.Timer() + 0.3, [&] { s.click(st.pCalib, c::BTNWriteXFMA); });
  s.rt.at(s.rt.Timer() + 0.6, [&] { s.click(st.pHandle, m::BTNStop); });
  s.click(st.pHandle, m::BTNRun);
  EXPECT_EQ(s.rt.dialogs().size(), dialogs);
  for (std::size_t i = first + 257; i < s.requests().size(); ++i)
    EXPECT_EQ(s.requests()[i].command, 8);
}

TEST_F(XFlash, ClosingTheMainWindowEndsTheTransferBeforeItsNextFrame) {
  Scope s;
  ASSERT_EQ(s.start(), 0);
  const std::size_t first = s.requests().size();
  double closedAt = 0;
  s.rt.at(s.rt.Timer() + 1.0, [&] {
    closedAt = s.rt.Timer();
    s.ui().dispatch(s.p.st.pHandle, 0, ui::EVENT_CLOSE);
  });
  press(s, c::BTNWriteXFSL, file());
  ASSERT_GT(s.requests().size(), first + 10);
  EXPECT_LT(s.requests().size(), first + 257);
  // The frame on its way when the port closed goes unanswered; its wait is the last.
  EXPECT_LT(s.requests().back().time, closedAt + 0.02);
  EXPECT_LE(s.rt.Timer() - closedAt, TIMEOUT + 0.01);
  EXPECT_EQ(s.status(), kIncomplete);
}

}  // namespace
}  // namespace qrix::testing
