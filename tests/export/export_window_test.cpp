// The export window on the headless runtime: a graph's data as CSV holds what the sensor sent
// (the blocks of a VIDEO or DATA pass with each sensor's own lines, the RUN answers behind the
// raw chart and the bars), and nothing before the sensor sent it; a window without a view, a
// whole window as SVG, a loop holding the line and a declined overwrite each leave an existing
// file as it was and say why.

#include "export/export_window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "program/frame_codec.h"
#include "services/block_reads.h"
#include "support/scope_fixture.h"
#include "support/this_process.h"

namespace qrix::testing {
namespace {

namespace e = ids::exporting;
namespace m = ids::main;
namespace fs = std::filesystem;

enum Graph {
  kBarMaster = 0,
  kBarSlave = 1,
  kRaw = 2,
  kVideoMaster = 3,
  kVideoSlave = 4,
  kDataMaster = 5,
  kDataSlave = 6,
  kWholeWindow = 7
};
enum Format { kPng = 0, kSvg = 1, kCsv = 2 };

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::vector<std::string>> csvRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    EXPECT_TRUE(line.ends_with('\r'));
    line.pop_back();
    std::vector<std::string> cells;
    std::istringstream fields(line);
    for (std::string cell; std::getline(fields, cell, ',');) {
      cells.push_back(cell);
    }
    rows.push_back(cells);
  }
  return rows;
}

class ExportWindow : public ::testing::Test {
 protected:
  ~ExportWindow() override { fs::remove(file); }

  // Chooses the graph and format and saves into `file`, the dialogs answered as a user would
  // (when they are expected to open).
  std::string save(int graph, int format, bool dialogOpens = true) {
    s.commit(st.pHandle, m::BTNExport);
    s.ui().SetCtrlVal(st.pExport, e::RINGExportGraph, graph);
    s.ui().SetCtrlVal(st.pExport, e::RINGExportFormat, format);
    const bool exists = fs::exists(file);
    if (dialogOpens) {
      s.rt.answerFileDialog(
          {exists ? VAL_EXISTING_FILE_SELECTED : VAL_NEW_FILE_SELECTED, file.string()});
    }
    if (dialogOpens && exists) {
      s.rt.answerConfirm(overwrite);
    }
    s.commit(st.pExport, e::BTNExportSave);
    return s.ui().GetCtrlText(st.pExport, e::TEXTExportState);
  }

  Scope s;
  ProgramState& st = s.p.st;
  int overwrite = 1;  // the answer to the question whether to replace the file
  const fs::path file = fs::temp_directory_path() / uniqueName("export");
};

TEST_F(ExportWindow, CsvOfAVideoPassHoldsTheBlocksTheSimulatorSent) {
  // Every block the simulator sends, by buffer and start, the last one kept.
  std::map<std::pair<int, int>, std::vector<std::uint8_t>> blocks;
  s.useResponder([&](const std::vector<std::uint8_t>& request) {
    std::vector<std::uint8_t> bytes = s.simulatorAnswer(request);
    if (request[3] == 9) {
      blocks[{wordAt(request.data(), 6), wordAt(request.data(), 4)}] = bytes;
    }
    return bytes;
  });
  ASSERT_EQ(s.start(), 0);
  s.rt.at(s.rt.Timer() + 0.5, [&] { s.click(st.pHandle, m::BTNStop); });
  s.click(st.pHandle, m::BTNVideo);
  ASSERT_EQ(blocks.size(), 4u);

  for (auto [graph, buffer] : {std::pair{kVideoMaster, kMasterVideo}, {kVideoSlave, kSlaveVideo}}) {
    EXPECT_EQ(save(graph, kCsv).rfind("Saved Video ", 0), 0u);
    const auto rows = csvRows(readFile(file));
    ASSERT_EQ(rows.size(), 129u);
    const char* sensor = graph == kVideoMaster ? "master" : "slave";
    EXPECT_EQ(rows[0], (std::vector<std::string>{"position [virtual px]",
                                                 std::string(sensor) + " [ADC counts]",
                                                 std::string(sensor) + " threshold [ADC counts]"}));
    for (int i = 0; i < 128; ++i) {
      const std::vector<std::uint8_t>& block = blocks.at({buffer, i < 64 ? 0 : 64});
      ASSERT_EQ(block.size(), 128u);
      EXPECT_EQ(rows[static_cast<std::size_t>(i + 1)].at(1),
                std::to_string(wordAt(block.data(), 2 * (i % 64))))
          << sensor << " point " << i;
      EXPECT_EQ(rows[static_cast<std::size_t>(i + 1)].at(0), std::to_string(32 * i));
    }
  }
}

TEST_F(ExportWindow, CsvOfADataPassHoldsEachSensorsOwnCurveAndLines) {
  // Master and slave set apart in the sensor's EEPROM, which its RAM takes at power-up.
  sim::ParameterFrame sys = s.sensor->eeprom(0);
  sys[6] = 60, sys[7] = 40;  // tolerance low and up
  sim::ParameterFrame master = s.sensor->eeprom(1), slave = s.sensor->eeprom(2);
  master[3] = 1500, master[7] = 210;  // teach value and trigger threshold
  slave[3] = 2600, slave[7] = 330;
  s.sensor->setEeprom(0, sys);
  s.sensor->setEeprom(1, master);
  s.sensor->setEeprom(2, slave);
  s.sensor->powerCycle();
  std::map<std::pair<int, int>, std::vector<std::uint8_t>> blocks;  // by buffer and start
  s.useResponder([&](const std::vector<std::uint8_t>& request) {
    std::vector<std::uint8_t> bytes = s.simulatorAnswer(request);
    if (request[3] == 9) {
      blocks[{wordAt(request.data(), 6), wordAt(request.data(), 4)}] = bytes;
    }
    return bytes;
  });
  ASSERT_EQ(s.start(), 0);
  s.click(st.pHandle, m::BTNData);
  ASSERT_EQ(blocks.size(), 4u);
  ASSERT_NE(blocks.at({kMasterData, 0}), blocks.at({kSlaveData, 0}));

  const struct {
    Graph graph;
    int buffer;
    const char* sensor;
    std::vector<std::string> lines;  // trigger, upper, reference, lower
  } sensors[] = {{kDataMaster, kMasterData, "master", {"210", "1540", "1500", "1440"}},
                 {kDataSlave, kSlaveData, "slave", {"330", "2640", "2600", "2540"}}};
  for (const auto& k : sensors) {
    SCOPED_TRACE(k.sensor);
    EXPECT_EQ(save(k.graph, kCsv).rfind("Saved Measurement buffer ", 0), 0u);
    const auto rows = csvRows(readFile(file));
    ASSERT_EQ(rows.size(), 129u);
    const std::string name = k.sensor;
    EXPECT_EQ(rows[0], (std::vector<std::string>{
                           "scan", name + " [virtual px]", name + " trigger [virtual px]",
                           name + " upper [virtual px]", name + " reference [virtual px]",
                           name + " lower [virtual px]"}));
    for (int i = 0; i < 128; ++i) {
      const std::vector<std::uint8_t>& block = blocks.at({k.buffer, i < 64 ? 0 : 64});
      ASSERT_EQ(block.size(), 128u);
      const std::vector<std::string>& row = rows[static_cast<std::size_t>(i + 1)];
      ASSERT_EQ(row.size(), 6u);
      EXPECT_EQ(row[0], std::to_string(2 * i));
      EXPECT_EQ(row[1], std::to_string(wordAt(block.data(), 2 * (i % 64)))) << "scan " << i;
      EXPECT_EQ(std::vector(row.begin() + 2, row.end()), k.lines) << "scan " << i;
    }
  }
}

// Until the sensor sent a graph's data, its CSV would hold only zeros: refused before the dialog.
TEST_F(ExportWindow, ACsvOfDataNotYetSentIsRefused) {
  ASSERT_EQ(s.start(), 0);
  const Graph graphs[] = {kBarMaster,  kBarSlave,   kRaw,      kVideoMaster,
                          kVideoSlave, kDataMaster, kDataSlave};
  // Which CSVs are saved: none after the identification, then after each loop.
  const std::function<void()> noLoop = [] {};
  const struct {
    const char* after;
    std::function<void()> loop;
    std::vector<bool> saved;
  } steps[] = {
      {"the identification", noLoop, {false, false, false, false, false, false, false}},
      {"a VIDEO pass",  // its RUN exchange brings the bars' values, but no raw chart sample
       [&] {
         s.rt.at(s.rt.Timer() + 0.3, [&] { s.click(st.pHandle, m::BTNStop); });
         s.click(st.pHandle, m::BTNVideo);
       },
       {true, true, false, true, true, false, false}},
      {"a DATA pass",
       [&] { s.click(st.pHandle, m::BTNData); },
       {true, true, false, true, true, true, true}},
      {"RUN",
       [&] {
         s.rt.at(s.rt.Timer() + 0.3, [&] { s.click(st.pHandle, m::BTNStop); });
         s.click(st.pHandle, m::BTNRun);
       },
       {true, true, true, true, true, true, true}},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.after);
    step.loop();
    for (std::size_t g = 0; g < std::size(graphs); ++g) {
      fs::remove(file);
      const std::size_t dialogs = s.rt.dialogs().size();
      const std::string told = save(graphs[g], kCsv, step.saved[g]);
      if (step.saved[g]) {
        EXPECT_EQ(told.rfind("Saved ", 0), 0u) << "graph " << g << ": " << told;
        continue;
      }
      EXPECT_EQ(told, "Not saved: no data yet.") << "graph " << g;
      EXPECT_EQ(s.ui().control(st.pExport, e::TEXTExportState)->textColour, ui::kRed);
      EXPECT_EQ(s.rt.dialogs().size(), dialogs) << "graph " << g;
      EXPECT_FALSE(fs::exists(file)) << "graph " << g;
    }
  }
}

TEST_F(ExportWindow, CsvOfTheRawChartAndTheBarsHoldTheLastRunAnswer) {
  ASSERT_EQ(s.start(), 0);
  s.rt.at(s.rt.Timer() + 1.0, [&] { s.click(st.pHandle, m::BTNStop); });
  s.click(st.pHandle, m::BTNRun);
  ASSERT_NE(st.Aval, st.Bval);  // the two edges tell the columns apart

  save(kRaw, kCsv);
  const auto raw = csvRows(readFile(file));
  ASSERT_EQ(raw.size(), 101u);
  EXPECT_EQ(raw[0].at(6), "master edge [virtual px]");
  EXPECT_EQ(raw[100],
            (std::vector<std::string>{"0", std::to_string(st.tVal), std::to_string(st.MvalueHeld),
                                      raw[100].at(3), raw[100].at(4), raw[100].at(5),
                                      std::to_string(st.Aval), std::to_string(st.Bval)}));
  EXPECT_EQ(raw[1].at(0), "-99");

  save(kBarMaster, kCsv);
  const auto bars = csvRows(readFile(file));
  ASSERT_EQ(bars.size(), 2u);
  EXPECT_EQ(bars[0].at(1), "slave edge [virtual px]");
  EXPECT_EQ(bars[1].at(0), std::to_string(st.Aval));
  EXPECT_EQ(bars[1].at(1), std::to_string(st.Bval));
  EXPECT_EQ(bars[1].at(2), std::to_string(st.Mvalue));
}

TEST_F(ExportWindow, AnExportThatCannotBeMadeLeavesTheFileAndSaysWhy) {
  ASSERT_EQ(s.start(), 0);
  std::ofstream(file) << "KEEP";
  auto tellsInRed = [&](const std::string& text) {
    EXPECT_EQ(s.ui().GetCtrlText(st.pExport, e::TEXTExportState), text);
    EXPECT_EQ(s.ui().control(st.pExport, e::TEXTExportState)->textColour, ui::kRed);
  };
  // No window to draw from on this runtime.
  save(kBarMaster, kPng);
  tellsInRed("Not saved: no window to draw from.");
  // A whole window only as PNG: refused before the dialog.
  const std::size_t dialogs = s.rt.dialogs().size();
  save(kWholeWindow, kSvg, false);
  tellsInRed("Not saved: the whole window is saved as PNG only.");
  EXPECT_EQ(s.rt.dialogs().size(), dialogs);
  // While RUN holds the line, no dialog opens.
  s.rt.at(s.rt.Timer() + 0.3, [&] { save(kRaw, kCsv, false); });
  s.rt.at(s.rt.Timer() + 0.6, [&] { s.click(st.pHandle, m::BTNStop); });
  s.click(st.pHandle, m::BTNRun);
  tellsInRed("Not saved: stop RUN, VIDEO, DATA or the recording first.");
  EXPECT_EQ(s.rt.dialogs().size(), dialogs);
  // The overwrite declined, once RUN has given the raw chart its data.
  overwrite = 0;
  save(kRaw, kCsv);
  EXPECT_EQ(s.rt.dialogs().size(), dialogs + 2);  // the declined save's file dialog and question
  EXPECT_EQ(readFile(file), "KEEP");
}

}  // namespace
}  // namespace qrix::testing
