// The parameter compare window against the simulated pair: RAM, EEPROM and a parameter file
// side by side with exactly the differing fields marked, nothing written and nothing of the
// record, the panels or the status line changed; no read while another loop holds the line or
// without a port; a silent sensor said as such and a read that failed, or a file refused, leaving
// no table behind.

#include "compare/compare_window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "params/param_file.h"
#include "qrix/link/commands.h"
#include "support/scope_fixture.h"
#include "support/this_process.h"

namespace qrix::testing {
namespace {

namespace c = ids::compare;
namespace m = ids::main;

class CompareWindow : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(s.start(), 0); }

  std::string table() { return s.ui().GetCtrlText(st.pCompare, c::TEXTCompare); }
  std::vector<int> marks() { return s.ui().control(st.pCompare, c::TEXTCompare)->markedLines; }
  std::string fileShown() { return s.ui().GetCtrlText(st.pCompare, c::TEXTCompareFile); }
  bool toldInRed() {
    return s.ui().control(st.pCompare, c::TEXTCompareState)->textColour == ui::kRed;
  }

  std::vector<std::string> tableLines() {
    std::vector<std::string> lines;
    std::istringstream text(s.ui().GetCtrlText(st.pCompare, c::TEXTCompare));
    for (std::string line; std::getline(text, line);) {
      lines.push_back(line);
    }
    return lines;
  }
  std::vector<std::string> markedLines() {
    const std::vector<std::string> lines = tableLines();
    std::vector<std::string> marked;
    for (int i : s.ui().control(st.pCompare, c::TEXTCompare)->markedLines) {
      marked.push_back(lines.at(static_cast<std::size_t>(i)));
    }
    return marked;
  }
  std::vector<std::uint16_t> commandsSince(std::size_t n) {
    const std::vector<std::uint16_t> all = s.commands();
    return {all.begin() + static_cast<std::ptrdiff_t>(n), all.end()};
  }
  std::string told() { return s.ui().GetCtrlText(st.pCompare, c::TEXTCompareState); }

  Scope s;
  ProgramState& st = s.p.st;
};

TEST_F(CompareWindow, ShowsRamEepromAndAFileWithTheDifferingFieldsMarkedAndChangesNothing) {
  // The EEPROM differs from RAM in the master's video threshold and the slave's teach value.
  sim::ParameterFrame master = s.sensor->eeprom(1);
  master[2] = 61;
  s.sensor->setEeprom(1, master);
  sim::ParameterFrame slave = s.sensor->eeprom(2);
  slave[3] = 777;
  s.sensor->setEeprom(2, slave);
  // An edit not sent yet, the record and the status line: the compare leaves them alone.
  s.ui().SetCtrlVal(st.pPara1, ids::sensor::SLIDEpower, 888);
  const ParaFileWords record = recordToWords(st.parameter);
  const std::string status = s.status();
  const std::size_t before = s.commands().size();

  s.click(st.pHandle, m::BTNCompare);
  EXPECT_TRUE(s.ui().panel(st.pCompare)->visible);
  EXPECT_EQ(s.ui().activePanel(), st.pCompare);
  EXPECT_EQ(commandsSince(before), (std::vector<std::uint16_t>{2, 2, 2, 4, 4, 4}));
  // Master RAM and EEPROM, then slave RAM and EEPROM.
  auto ram = [&](int frame, int word) {
    return std::to_string(
        s.sensor->ram(static_cast<std::size_t>(frame))[static_cast<std::size_t>(word)]);
  };
  const std::vector<std::string> marked = markedLines();
  ASSERT_EQ(marked.size(), 2u);
  EXPECT_TRUE(std::regex_match(marked[0], std::regex("\\* Video threshold +% +" + ram(1, 2) +
                                                     " +61 +" + ram(2, 2) + " +" + ram(2, 2))))
      << marked[0];
  EXPECT_TRUE(
      std::regex_match(marked[1], std::regex("\\* Teach value +virtual px +" + ram(1, 3) + " +" +
                                             ram(1, 3) + " +" + ram(2, 3) + " +777")))
      << marked[1];
  EXPECT_EQ(told(), "2 fields differ (marked *).");
  EXPECT_EQ(s.ui().GetCtrlVal(st.pPara1, ids::sensor::SLIDEpower), 888);
  EXPECT_EQ(recordToWords(st.parameter), record);
  EXPECT_EQ(s.status(), status);

  // A file whose system tolerance up differs from both memories makes a third column.
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / (uniqueName("compare") + ".cfg");
  ParaFileWords words = recordToWords(st.parameter);
  for (int i = 0; i < 15; ++i) {
    words[static_cast<std::size_t>(15 + i)] = s.sensor->ram(1)[static_cast<std::size_t>(i)];
    words[static_cast<std::size_t>(30 + i)] = s.sensor->ram(2)[static_cast<std::size_t>(i)];
    words[static_cast<std::size_t>(i)] = s.sensor->ram(0)[static_cast<std::size_t>(i)];
  }
  words[7] = static_cast<std::uint16_t>(words[7] + 5);
  std::ofstream(file) << formatParaFile(words);
  s.rt.answerFileDialog({VAL_EXISTING_FILE_SELECTED, file.string()});
  s.click(st.pCompare, c::BTNCompareFile);
  EXPECT_NE(tableLines().at(1).find("RAM   EEPROM     FILE"), std::string::npos);
  ASSERT_EQ(markedLines().size(), 3u);
  EXPECT_TRUE(markedLines()[2].starts_with("* Tolerance up")) << markedLines()[2];
  EXPECT_EQ(told(), "3 fields differ (marked *).");
  for (std::uint16_t command : s.commands()) {
    EXPECT_TRUE(command != 1 && command != 3);
  }

  // 70000 in a spare word is shown as its low 16 bits, as GET takes it, and the state says so.
  std::string text = formatParaFile(words);
  text.replace(8 * 12, 10, "     70000");
  std::ofstream(file, std::ios::binary) << text;
  s.click(st.pCompare, c::BTNCompareRead);
  EXPECT_TRUE(markedLines().back().starts_with("* Spare word 1")) << markedLines().back();
  EXPECT_NE(markedLines().back().find(" 4464"), std::string::npos) << markedLines().back();
  EXPECT_EQ(told(), "4 fields differ (marked *). Note: " + file.string() +
                        " line 9: 70000 is not a word (0 to 65535)");
  std::filesystem::remove(file);
}

TEST_F(CompareWindow, ReadsOnlyWhenTheLineIsFreeAndSaysWhenTheSensorIsSilent) {
  std::size_t before = s.commands().size();
  // Pressed while RUN holds the line: no parameter request goes out.
  s.rt.at(s.rt.Timer() + 0.3, [&] { s.commit(st.pHandle, m::BTNCompare); });
  s.rt.at(s.rt.Timer() + 0.6, [&] { s.click(st.pHandle, m::BTNStop); });
  s.click(st.pHandle, m::BTNRun);
  for (std::uint16_t command : commandsSince(before)) {
    EXPECT_EQ(command, cmd::kRun);
  }
  EXPECT_EQ(told(), "Not read: stop RUN, VIDEO, DATA, the recording or the flash transfer first.");
  EXPECT_EQ(s.ui().control(st.pCompare, c::TEXTCompareState)->textColour, ui::kRed);

  // While the compare reads, it holds the line: GET is dimmed and refused, and so is a second
  // read, and STOP does not give RUN back. A silent sensor ends the read after the RAM frames.
  s.sensor->setFaults({.silent = true});
  before = s.commands().size();
  const std::string status = s.status();  // RUN's last text, not szStatus
  bool dimmedWhileReading = false;
  s.rt.at(s.rt.Timer() + 0.2, [&] {
    dimmedWhileReading =
        s.ui().IsDimmed(st.pHandle, m::BTNGet) && s.ui().IsDimmed(st.pCompare, c::BTNCompareRead);
    s.commitPastDimming(st.pHandle, m::BTNGet);
    s.commitPastDimming(st.pCompare, c::BTNCompareRead);
    s.commitPastDimming(st.pHandle, m::BTNStop);
    dimmedWhileReading = dimmedWhileReading && s.ui().IsDimmed(st.pHandle, m::BTNRun);
  });
  s.commit(st.pCompare, c::BTNCompareRead);
  EXPECT_TRUE(dimmedWhileReading);
  EXPECT_EQ(commandsSince(before), (std::vector<std::uint16_t>{2, 2, 2}));
  EXPECT_EQ(told(), "Not read: the sensor did not answer every frame.");
  EXPECT_EQ(s.status(), status);
  EXPECT_EQ(table(), "");
  EXPECT_FALSE(s.ui().IsDimmed(st.pHandle, m::BTNGet));
  EXPECT_FALSE(s.ui().IsDimmed(st.pCompare, c::BTNCompareRead));
}

TEST_F(CompareWindow, AFileThatIsNotAParameterFileLeavesNoColumnAndCancelKeepsTheLastGoodOne) {
  namespace fs = std::filesystem;
  const fs::path good = fs::temp_directory_path() / (uniqueName("compare-good") + ".cfg");
  const fs::path bad = fs::temp_directory_path() / (uniqueName("compare-bad") + ".cfg");
  ParaFileWords words = recordToWords(st.parameter);  // RAM as read at start-up
  words[7] = static_cast<std::uint16_t>(words[7] + 5);
  std::ofstream(good) << formatParaFile(words);
  std::ofstream(bad) << "line 3 settings\n";
  const auto choose = [&](const fs::path& file) {
    s.rt.answerFileDialog({VAL_EXISTING_FILE_SELECTED, file.string()});
    s.click(st.pCompare, c::BTNCompareFile);
  };
  const auto hasFileColumn = [&] { return table().find("FILE") != std::string::npos; };

  s.click(st.pHandle, m::BTNCompare);
  choose(good);
  ASSERT_TRUE(hasFileColumn());
  EXPECT_EQ(marks().size(), 1u);

  std::size_t before = s.commands().size();
  choose(bad);
  EXPECT_EQ(told(), "Not read: " + bad.string() + " is not a parameter file.");
  EXPECT_TRUE(toldInRed());
  EXPECT_EQ(table(), "");
  EXPECT_TRUE(marks().empty());
  EXPECT_EQ(fileShown(), "");
  EXPECT_EQ(commandsSince(before), std::vector<std::uint16_t>{});
  // Read compares the memories alone, which agree.
  s.click(st.pCompare, c::BTNCompareRead);
  EXPECT_NE(table(), "");
  EXPECT_FALSE(hasFileColumn());
  EXPECT_TRUE(marks().empty());
  EXPECT_EQ(told(), "No field differs.");

  // Cancel in the dialog keeps the file chosen before, for this read and the next.
  choose(good);
  before = s.commands().size();
  s.click(st.pCompare, c::BTNCompareFile);  // no answer scripted: the dialog is cancelled
  EXPECT_EQ(commandsSince(before), std::vector<std::uint16_t>{});
  EXPECT_EQ(fileShown(), good.string());
  s.click(st.pCompare, c::BTNCompareRead);
  EXPECT_TRUE(hasFileColumn());
  EXPECT_EQ(marks().size(), 1u);
  fs::remove(good);
  fs::remove(bad);
}

class CompareWithoutPort : public CompareWindow {
 protected:
  void SetUp() override { ASSERT_EQ(s.startOffline(), 0); }
};

TEST_F(CompareWithoutPort, ReadSaysSoAtOnce) {
  s.p.showStatusText("as it was");
  const double start = s.rt.Timer();
  s.click(st.pHandle, m::BTNCompare);
  EXPECT_EQ(told(), "Not read: no port open.");
  EXPECT_TRUE(toldInRed());
  EXPECT_LT(s.rt.Timer() - start, 0.01);
  EXPECT_TRUE(s.requests().empty());
  EXPECT_EQ(s.status(), "as it was");
}

// The simulated pair, with the EEPROM's answers switched off at will.
class CompareEepromSilent : public CompareWindow {
 protected:
  void SetUp() override {
    s.useResponder([this](const std::vector<std::uint8_t>& request) {
      std::vector<std::uint8_t> bytes = s.simulatorAnswer(request);
      if (eepromSilent && request[3] == cmd::kReadEeprom) {
        bytes.clear();
      }
      return bytes;
    });
    CompareWindow::SetUp();
  }
  bool eepromSilent = false;
};

TEST_F(CompareEepromSilent, ARamReadWithoutTheEepromLeavesNoTable) {
  sim::ParameterFrame slave = s.sensor->eeprom(2);
  slave[3] = 777;
  s.sensor->setEeprom(2, slave);
  s.click(st.pHandle, m::BTNCompare);
  ASSERT_EQ(marks().size(), 1u);

  eepromSilent = true;
  const std::string status = s.status();
  const std::size_t before = s.commands().size();
  s.click(st.pCompare, c::BTNCompareRead);
  EXPECT_EQ(commandsSince(before), (std::vector<std::uint16_t>{2, 2, 2, 4, 4, 4}));
  EXPECT_EQ(told(), "Not read: the sensor did not answer every frame.");
  EXPECT_TRUE(toldInRed());
  EXPECT_EQ(table(), "");
  EXPECT_TRUE(marks().empty());
  EXPECT_EQ(s.status(), status);
}

}  // namespace
}  // namespace qrix::testing
