// The linearisation file (the offset into flash words, the files that leave the loaded table
// alone) and its transfer into the external flash on the virtual clock: the frames on the wire,
// the progress bar, the outcome when an answer is lost or echoes the wrong block, the buttons
// and their access code, and the line held alone for the transfer.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <tuple>

#include "linearisation/lin_file.h"
#include "linearisation/xflash.h"
#include "program/transport.h"
#include "support/scope_fixture.h"
#include "support/this_process.h"

namespace qrix::testing {
namespace {

namespace fs = std::filesystem;
namespace m = ids::main;
namespace c = ids::calib;

constexpr const char* kIncomplete = "X-FLASH write incomplete!";

// The right end and colour of each rectangle a bar graph holds.
using Bar = std::pair<double, ui::Rgb>;
std::vector<Bar> bars(Scope& s, int graph) {
  std::vector<Bar> out;
  for (const ui::Plot& plot : s.ui().control(s.p.st.pHandle, graph)->graph.plots) {
    out.push_back({plot.x2, plot.colour});
  }
  return out;
}

// Answers flash frames as the sensor does (echo, then the argument and first payload word:
// a write's offset and page), except frame `lost` (0 is the clear frame), which goes
// unanswered, and frame `misechoed`, whose offset comes back as the next block's.
Responder flashSensor(int lost, int misechoed, int* frames) {
  return [=](const std::vector<std::uint8_t>& request) {
    const int n = (*frames)++;
    std::vector<std::uint8_t> answer(n == lost ? 0 : 36, 0);
    if (answer.empty()) {
      return answer;
    }
    answer[1] = 0xAA;
    answer[3] = request[3];
    std::copy_n(request.begin() + 4, 4, answer.begin() + 6);
    if (n == misechoed) {
      answer[7] += 8;
    }
    return answer;
  };
}

void enterCode(Scope& s, double code) {
  s.ui().SetCtrlVal(s.p.st.pPopUp, ids::popup::NEDITRecTime, code);
  s.commit(s.p.st.pPopUp, ids::popup::NEDITRecTime);
}

class XFlash : public ::testing::Test {
 protected:
  void SetUp() override {
    // The ends of the flash's range, then values over all of it, so every bit travels.
    for (std::size_t i = 0; i < kLinWords; ++i) {
      const int value = i < 4 ? std::array{0, -32767, 32767, 1}[i] : int(i * 7919 % 65535) - 32767;
      text += std::to_string(value) + "\r\n";
      words[i] = static_cast<std::uint16_t>(value + 32767);
    }
    std::ofstream(file) << text;
    ASSERT_EQ(s.start(), 0);
  }
  void TearDown() override { fs::remove(file); }
  // Shows the buttons, presses one and picks the file.
  void press(Scope& scope, int button) {
    enterCode(scope, kXFlashAccessCode);
    scope.rt.answerFileDialog({VAL_EXISTING_FILE_SELECTED, file.string()});
    scope.click(scope.p.st.pCalib, button);
  }

  fs::path file = fs::temp_directory_path() / ("qrix-xflash-" + std::to_string(processId()));
  std::string text;  // the file
  LinTable words;    // its flash words
  Scope s;
  const ProgramState& st = s.p.st;
};

using LinFile = XFlash;

TEST_F(LinFile, ValuesBecomeFlashWordsAndAFileThatCannotBeReadKeepsThemAndSaysSo) {
  LinTable table{};
  // Loads `content` as the chosen file; none: the chosen file does not exist.
  const auto load = [&](const std::optional<std::string>& content) {
    fs::remove(file);
    if (content) {
      std::ofstream(file, std::ios::binary) << *content;
    }
    s.rt.answerFileDialog({VAL_EXISTING_FILE_SELECTED, file.string()});
    return ReadLinDataFromFile(s.p, table);
  };
  // A 2049th value, even one out of range, is not read.
  ASSERT_EQ(load(text + "99999\r\n"), kLinFileLoaded);
  EXPECT_EQ((std::vector<int>{table[0], table[1], table[2], table[3]}),
            (std::vector<int>{32767, 0, 65534, 32768}));
  EXPECT_TRUE(table == words);
  EXPECT_EQ(s.rt.dialogs().back().button, "Load");

  // Each of these would otherwise reach the flash as wrong words.
  const LinTable loaded = table;
  const std::pair<const char*, std::optional<std::string>> bad[] = {
      {"short", text.substr(0, text.rfind("\r\n", text.size() - 3) + 2)},
      {"above 32767", "32768\r\n" + text},
      {"below -32768", "-32769\r\n" + text},
      {"-32768, which would wrap round to the top word", "-32768\r\n" + text},
      {"not a number", "1\r\n12a\r\n" + text},
      {"missing", std::nullopt},
  };
  for (const auto& [what, content] : bad) {
    SCOPED_TRACE(what);
    s.p.showStatusText("before");
    EXPECT_EQ(load(content), kLinFileError);
    EXPECT_TRUE(table == loaded);
    EXPECT_EQ(s.status(), "Error reading linearisation file!");
  }
  // A cancelled dialog keeps the table silently.
  s.p.showStatusText("before");
  EXPECT_EQ(ReadLinDataFromFile(s.p, table), kLinFileCancelled);
  EXPECT_TRUE(table == loaded);
  EXPECT_EQ(s.status(), "before");
}

TEST_F(XFlash, BothButtonsSendTheClearFrameAndTheTableInPageOrderAndTheBarGrowsToGrey) {
  using Frame = std::tuple<std::uint16_t, std::uint16_t, sim::Payload>;  // command, argument
  sim::Payload filler;
  filler.fill(0x00AA);
  std::vector<Frame> frames = {{101, 0, filler}};
  for (int block = 0; block < 256; ++block) {
    sim::Payload payload = filler;
    payload[0] = static_cast<std::uint16_t>(2 + block / 32);  // page
    std::copy_n(words.begin() + block * 8, 8, payload.begin() + 1);
    frames.emplace_back(102, block % 32 * 8, payload);
  }
  std::vector<Bar> expected;
  for (int b = 0; b <= 2040; b += 8) {
    expected.push_back({double(b), ui::kGreen});
  }
  expected.push_back({double(st.ccdvirtpixel), ui::kGrey});
  for (int button : {c::BTNWriteXFSL, c::BTNWriteXFMA}) {
    const std::size_t first = s.requests().size();
    press(s, button);
    std::vector<Frame> sent;
    for (auto r = s.requests().begin() + first; r != s.requests().end(); ++r) {
      sent.emplace_back(r->command, r->argument, r->payload);
    }
    EXPECT_TRUE(sent == frames) << "button " << button;
  }
  EXPECT_EQ(bars(s, m::GRAPHBarSlave), expected);
  EXPECT_EQ(bars(s, m::GRAPHBarMaster), expected);
}

// Without every answer echoing its block the flash may hold gaps: no success, no grey, the bar
// green to the last block confirmed, and no frame sent twice.
TEST_F(XFlash, ALostOrWrongAnswerEndsIncompleteWithTheBarAtTheLastConfirmedBlock) {
  const struct {
    const char* what;
    int lost, misechoed;
    std::size_t bars;
    double lastBar;
  } cases[] = {
      {"clear frame unanswered", 0, -1, 256, 2040},
      {"a middle block unanswered", 101, -1, 255, 2040},
      {"the last block echoes the wrong offset", -1, 256, 255, 2032},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    Scope scripted;
    int frames = 0;
    scripted.useResponder(flashSensor(k.lost, k.misechoed, &frames));
    ASSERT_EQ(scripted.startOffline(), 0);
    ASSERT_EQ(scripted.p.serial().OpenComConfig(1, "", 19200, 0, 8, 1, 4096, 4096), 0);
    installReceiveNotification(scripted.p, 1);
    press(scripted, c::BTNWriteXFSL);
    EXPECT_EQ(frames, 257);
    EXPECT_EQ(scripted.status(), kIncomplete);
    const std::vector<Bar> drawn = bars(scripted, m::GRAPHBarSlave);
    ASSERT_EQ(drawn.size(), k.bars);
    EXPECT_EQ(drawn.back(), Bar(k.lastBar, ui::kGreen));
  }
}

// A sensor that stops answering would cost a time-out for every frame left: the button's
// transfer ends after three in a row, while time-outs with answers between them do not end it.
TEST_F(XFlash, ASensorThatFallsSilentEndsTheTransferAfterThreeTimeOutsInARow) {
  const struct {
    const char* what;
    std::function<bool(int)> answered;
    int frames;
    std::size_t bars;
  } cases[] = {
      {"silent from frame 100", [](int n) { return n < 100; }, 103, 99},
      {"frames 50, 52 and 54 lost", [](int n) { return n != 50 && n != 52 && n != 54; }, 257, 253},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    Scope scripted;
    int frames = 0;
    const Responder sensor = flashSensor(-1, -1, &frames);
    scripted.useResponder([&](const std::vector<std::uint8_t>& request) {
      const bool answer = k.answered(frames);
      std::vector<std::uint8_t> reply = sensor(request);
      return answer ? reply : std::vector<std::uint8_t>{};
    });
    ASSERT_EQ(scripted.startOffline(), 0);
    ASSERT_EQ(scripted.p.serial().OpenComConfig(1, "", 19200, 0, 8, 1, 4096, 4096), 0);
    installReceiveNotification(scripted.p, 1);
    press(scripted, c::BTNWriteXFMA);
    EXPECT_EQ(frames, k.frames);
    EXPECT_EQ(scripted.status(), kIncomplete);
    EXPECT_EQ(bars(scripted, m::GRAPHBarMaster).size(), k.bars);
  }
}

TEST_F(XFlash, ABlockOutsideTheTableIsNotSent) {
  const std::size_t sent = s.requests().size();
  for (auto [offset, page] : {std::pair<std::uint16_t, std::uint16_t>{0, 1}, {0, 10}, {249, 2}}) {
    EXPECT_FALSE(WriteXFLASH(s.p, offset, page, words, kXFlashSlave));
  }
  EXPECT_EQ(s.requests().size(), sent);
}

// A cancelled dialog sends nothing and still uses the button up.
TEST_F(XFlash, EachButtonHidesAfterUseAndOnlyTheAccessCodeShowsBothAgain) {
  const auto shown = [&] {
    return std::pair{s.ui().IsVisible(st.pCalib, c::BTNWriteXFSL),
                     s.ui().IsVisible(st.pCalib, c::BTNWriteXFMA)};
  };
  const std::size_t sent = s.requests().size();
  enterCode(s, kXFlashAccessCode - 1);
  EXPECT_EQ(shown(), std::pair(false, false));
  enterCode(s, kXFlashAccessCode);
  EXPECT_EQ(shown(), std::pair(true, true));
  s.click(st.pCalib, c::BTNWriteXFMA);
  EXPECT_EQ(shown(), std::pair(true, false));
  EXPECT_EQ(s.requests().size(), sent);
  press(s, c::BTNWriteXFSL);
  EXPECT_EQ(shown(), std::pair(false, true));
}

// The transfer holds the line alone: RUN, TEACH, RESET, GET, SEND, a port change and a second
// transfer stay out while it runs, also when committed past the dimming, and it does not start
// inside RUN.
TEST_F(XFlash, NoOtherExchangeRunsDuringATransferAndNoneStartsInsideRun) {
  const std::size_t first = s.requests().size();
  bool dimmedDuring = false;
  s.rt.at(s.rt.Timer() + 1.0, [&] {
    dimmedDuring = s.ui().IsDimmed(st.pHandle, m::BTNRun) && s.ui().IsDimmed(st.pHandle, m::BTNGet);
    s.ui().SetCtrlVal(st.pHandle, m::DropDCom, 7);
    for (int control :
         {m::BTNRun, m::ButtonTeach, m::ButtonReset, m::BTNGet, m::BTNSend, m::DropDCom}) {
      s.commitPastDimming(st.pHandle, control);
    }
    s.commitPastDimming(st.pCalib, c::BTNWriteXFMA);
  });
  press(s, c::BTNWriteXFSL);
  EXPECT_TRUE(dimmedDuring);
  const std::vector<std::uint16_t> commands = s.commands();
  std::vector<std::uint16_t> expected(257, 102);
  expected[0] = 101;
  EXPECT_EQ(std::vector(commands.begin() + first, commands.end()), expected);
  EXPECT_FALSE(s.ui().IsDimmed(st.pHandle, m::BTNRun));
  EXPECT_FALSE(s.ui().IsDimmed(st.pHandle, m::BTNGet));
  EXPECT_EQ(s.ui().GetCtrlVal(st.pHandle, m::DropDCom), st.com);

  const std::size_t dialogs = s.rt.dialogs().size();
  enterCode(s, kXFlashAccessCode);
  s.rt.at(s.rt.Timer() + 0.3, [&] {
    s.click(st.pCalib, c::BTNWriteXFMA);
    s.click(st.pHandle, m::BTNStop);
  });
  s.click(st.pHandle, m::BTNRun);
  EXPECT_EQ(s.rt.dialogs().size(), dialogs);
}

TEST_F(XFlash, ClosingTheMainWindowEndsTheTransferBeforeItsNextFrame) {
  const std::size_t first = s.requests().size();
  double closedAt = 0;
  s.rt.at(s.rt.Timer() + 1.0, [&] {
    closedAt = s.rt.Timer();
    s.ui().dispatch(st.pHandle, 0, ui::EVENT_CLOSE);
  });
  press(s, c::BTNWriteXFSL);
  EXPECT_EQ(s.status(), kIncomplete);
  EXPECT_LT(s.requests().size(), first + 257);
  // The frame on its way when the port closed goes unanswered; its wait is the last.
  EXPECT_LT(s.requests().back().time, closedAt + 0.02);
  EXPECT_LE(s.rt.Timer() - closedAt, TIMEOUT + 0.01);
}

}  // namespace
}  // namespace qrix::testing
