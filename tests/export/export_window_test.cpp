// The export window on the headless runtime: a graph's data as CSV holds what the sensor sent
// (the blocks of a VIDEO pass, the RUN answers behind the raw chart and the bars); a window
// without a view, a whole window as SVG, a loop holding the line and a declined overwrite each
// leave an existing file as it was and say why.

#include "export/export_window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "program/frame_codec.h"
#include "sensor_link/block_reads.h"
#include "support/scope_fixture.h"
#include "support/this_process.h"

namespace qrix::testing {
namespace {

namespace e = ids::exporting;
namespace m = ids::main;
namespace fs = std::filesystem;

enum Graph { kBarMaster = 0, kRaw = 2, kVideoMaster = 3, kVideoSlave = 4, kWholeWindow = 7 };
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
    for (std::string cell; std::getline(fields, cell, ',');) cells.push_back(cell);
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
    if (dialogOpens)
      s.rt.answerFileDialog(
          {exists ? VAL_EXISTING_FILE_SELECTED : VAL_NEW_FILE_SELECTED, file.string()});
    if (dialogOpens && exists) s.rt.answerConfirm(overwrite);
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
    std::vector<std::uint8_t> bytes;
    for (const sim::Transmission& t : s.sensor->receive(request, s.rt.Timer()))
      bytes.insert(bytes.end(), t.bytes.begin(), t.bytes.end());
    if (request[3] == 9) blocks[{wordAt(request.data(), 6), wordAt(request.data(), 4)}] = bytes;
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
  // The overwrite declined.
  overwrite = 0;
  save(kRaw, kCsv);
  // While RUN holds the line, no dialog opens.
  s.rt.at(s.rt.Timer() + 0.3, [&] { save(kRaw, kCsv, false); });
  s.rt.at(s.rt.Timer() + 0.6, [&] { s.click(st.pHandle, m::BTNStop); });
  s.click(st.pHandle, m::BTNRun);
  tellsInRed("Not saved: stop RUN, VIDEO, DATA or the recording first.");
  EXPECT_EQ(s.rt.dialogs().size(), dialogs + 2);  // the declined save's file dialog and question
  EXPECT_EQ(readFile(file), "KEEP");
}

}  // namespace
}  // namespace qrix::testing
