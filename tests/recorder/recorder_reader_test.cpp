// The recorder file read back: header and samples of a literal file, the same bytes in pieces
// of any size, an empty recording, and each kind of fault with its line number and its words.

#include "recorder/recorder_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/this_process.h"

namespace qrix::testing {
namespace {

namespace fs = std::filesystem;

const std::string kHeader =
    "02-29-2028 23:05:09\r\n"
    "Q-RIX-RECORDER-FILE: Time-Interval[s]: 65535\r\n"
    "SETPOINT-VALUE [\xB5m]: -1500\r\n"
    "SLAVE\tMASTER\tMVAL\tMVAL[um]\tS_EDGE\tM_EDGE\r\n";

const std::string kSamples =
    "1716\t2396\t1717\t-123456\t2\t1\r\n"
    "65535\t0\t17\t2147483647\t65535\t3\r\n"
    "0\t1\t2\t-2147483648\t4\t5\r\n";

struct Read {
  std::vector<std::uint64_t> indices;
  std::vector<RecorderSample> samples;
  RecorderHeader header;
  RecorderFault fault;
  bool ok = false;
};

Read readInPieces(const std::string& bytes, std::size_t piece) {
  Read r;
  RecorderReader reader([&r](std::uint64_t index, const RecorderSample& s) {
    r.indices.push_back(index);
    r.samples.push_back(s);
  });
  bool ok = true;
  for (std::size_t at = 0; at < bytes.size() && ok; at += piece) {
    ok = reader.feed(std::string_view(bytes).substr(at, piece));
  }
  r.ok = ok && reader.finish();
  r.header = reader.header();
  r.fault = reader.fault();
  EXPECT_EQ(reader.samples(), r.samples.size());
  return r;
}

TEST(RecorderReader, HeaderAndSamplesInPiecesOfAnySize) {
  const std::vector<RecorderSample> expected = {{1716, 2396, 1717, -123456, 2, 1},
                                                {65535, 0, 17, 2147483647, 65535, 3},
                                                {0, 1, 2, -2147483648, 4, 5}};
  for (std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{1} << 20}) {
    SCOPED_TRACE(piece);
    const Read r = readInPieces(kHeader + kSamples, piece);
    ASSERT_TRUE(r.ok) << r.fault.line << ": " << r.fault.what;
    EXPECT_EQ(r.header.date, "02-29-2028");
    EXPECT_EQ(r.header.time, "23:05:09");
    EXPECT_EQ(r.header.year, 2028);
    EXPECT_EQ(r.header.month, 2);
    EXPECT_EQ(r.header.day, 29);
    EXPECT_EQ(r.header.hour, 23);
    EXPECT_EQ(r.header.minute, 5);
    EXPECT_EQ(r.header.second, 9);
    EXPECT_EQ(r.header.interval, 65535);
    EXPECT_EQ(r.header.setpoint, -1500);
    EXPECT_EQ(r.samples, expected);
    EXPECT_EQ(r.indices, (std::vector<std::uint64_t>{0, 1, 2}));
  }
}

TEST(RecorderReader, AnEmptyRecordingAndLinesWithoutCarriageReturns) {
  const Read empty = readInPieces(kHeader, 5);
  EXPECT_TRUE(empty.ok) << empty.fault.what;
  EXPECT_TRUE(empty.samples.empty());
  EXPECT_EQ(empty.header.interval, 65535);

  // LF alone, and the micro sign in UTF-8, as an editor may leave the file.
  const Read lf = readInPieces(
      "12-31-2026 00:00:00\nQ-RIX-RECORDER-FILE: Time-Interval[s]: 0\n"
      "SETPOINT-VALUE [\xC2\xB5m]: 16000\nSLAVE\tMASTER\tMVAL\tMVAL[um]\tS_EDGE\tM_EDGE\n"
      "1\t2\t3\t4\t5\t6\n",
      64);
  ASSERT_TRUE(lf.ok) << lf.fault.what;
  EXPECT_EQ(lf.header.setpoint, 16000);
  EXPECT_EQ(lf.header.interval, 0);
  ASSERT_EQ(lf.samples.size(), 1u);
  EXPECT_EQ(lf.samples[0].masterEdges, 6);
}

TEST(RecorderReader, EachFaultNamesItsLineAndWhatIsWrong) {
  const std::string interval = "Q-RIX-RECORDER-FILE: Time-Interval[s]: 1\r\n";
  const std::string setpoint = "SETPOINT-VALUE [\xB5m]: 0\r\n";
  const std::string columns = "SLAVE\tMASTER\tMVAL\tMVAL[um]\tS_EDGE\tM_EDGE\r\n";
  const std::string good = "1\t2\t3\t4\t5\t6\r\n";
  struct Case {
    std::string text;
    std::uint64_t line;
    std::string what;
  };
  const std::vector<Case> cases = {
      {"", 1, "not a recorder file: the file is empty"},
      {"SLAVE\tMASTER\r\n", 1,
       "not a recorder file: the first line is no date and time MM-DD-YYYY HH:MM:SS"},
      {"02-29-2026 10:00:00\r\n", 1,
       "not a recorder file: the first line is no date and time MM-DD-YYYY HH:MM:SS"},
      {"03-14-2026 24:00:00\r\n", 1,
       "not a recorder file: the first line is no date and time MM-DD-YYYY HH:MM:SS"},
      {"03-14-2026 15:09:26\r\n", 2, "not a recorder file: the header ends after 1 line"},
      {"03-14-2026 15:09:26\r\nTime-Interval: 1\r\n", 2,
       "not a recorder file: no recorder line with the interval"},
      {"03-14-2026 15:09:26\r\nQ-RIX-RECORDER-FILE: Time-Interval[s]: 65536\r\n", 2,
       "the interval \"65536\" is no whole number of seconds 0..65535"},
      {"03-14-2026 15:09:26\r\n" + interval + "SETPOINT-VALUE [\xB5m]: 1.5\r\n", 3,
       "the set-point \"1.5\" is no number -2147483648..2147483647"},
      {"03-14-2026 15:09:26\r\n" + interval + "SETPOINT: 1\r\n", 3,
       "not a recorder file: no set-point line"},
      {"03-14-2026 15:09:26\r\n" + interval + setpoint, 4,
       "not a recorder file: the header ends after 3 lines"},
      {"03-14-2026 15:09:26\r\n" + interval + setpoint + "SLAVE MASTER MVAL\r\n", 4,
       "not a recorder file: the columns are not SLAVE MASTER MVAL MVAL[um] S_EDGE M_EDGE"},
  };
  const std::string head = "03-14-2026 15:09:26\r\n" + interval + setpoint + columns + good;
  const std::vector<Case> lines = {
      {"1\t2\t3\t4\t5\r\n", 6, "5 fields where the recorder writes 6"},
      {"1\t2\t3\t4\t5\t6\t7\r\n", 6, "7 fields where the recorder writes 6"},
      {"\r\n", 6, "1 field where the recorder writes 6"},
      {"1\t2\t65536\t4\t5\t6\r\n", 6, "MVAL: \"65536\" is out of range 0..65535"},
      {"-1\t2\t3\t4\t5\t6\r\n", 6, "SLAVE: \"-1\" is out of range 0..65535"},
      {"1\t2\t3\t2147483648\t5\t6\r\n", 6,
       "MVAL[um]: \"2147483648\" is out of range -2147483648..2147483647"},
      {"1\t2\t3\t4\t99999999999999999999\t6\r\n", 6,
       "S_EDGE: \"9999999999999999...\" is out of range 0..65535"},
      {"1\t2\t3\t4\t5\t6x\r\n", 6, "M_EDGE: \"6x\" is not a number"},
      {"1\t\t3\t4\t5\t6\r\n", 6, "MASTER: \"\" is not a number"},
      {"1\t2\t3\t 4\t5\t6\r\n", 6, "MVAL[um]: \" 4\" is not a number"},
      {"1\t2\t3\t\x1b[2J\t5\t6\r\n", 6, "MVAL[um]: \"?[2J\" is not a number"},
      {good + "1\t2\t3", 7, "the line has no line end: the file is cut off"},
      {std::string(2000, '7'), 6, "longer than 1024 bytes: no recorder line"},
  };
  std::vector<Case> all = cases;
  for (const Case& c : lines) {
    all.push_back({head + c.text, c.line, c.what});
  }
  for (const Case& c : all) {
    SCOPED_TRACE(c.text);
    for (std::size_t piece : {std::size_t{3}, std::size_t{4096}}) {
      const Read r = readInPieces(c.text, piece);
      EXPECT_FALSE(r.ok);
      EXPECT_EQ(r.fault.line, c.line);
      EXPECT_EQ(r.fault.what, c.what);
    }
  }
}

TEST(RecorderReader, AFileOnDiskAndOneThatIsNot) {
  const fs::path dir = fs::temp_directory_path() / uniqueName("qrix-reader");
  fs::create_directories(dir);
  const fs::path path = dir / "rec.dat";
  {
    std::ofstream out(path, std::ios::binary);
    out << kHeader << kSamples << "1\t2\r\n";
  }
  std::vector<std::int32_t> micrometres;
  RecorderHeader header;
  RecorderFault fault;
  const auto collect = [&](std::uint64_t, const RecorderSample& s) {
    micrometres.push_back(s.mvalUm);
  };
  EXPECT_FALSE(readRecorderFile(path.string(), collect, header, fault));
  EXPECT_EQ(fault.line, 8u);
  EXPECT_EQ(fault.what, "2 fields where the recorder writes 6");
  // The samples before the fault were handed on.
  EXPECT_EQ(micrometres, (std::vector<std::int32_t>{-123456, 2147483647, -2147483648}));
  EXPECT_EQ(header.setpoint, -1500);

  EXPECT_FALSE(readRecorderFile((dir / "missing.dat").string(), collect, header, fault));
  EXPECT_EQ(fault.line, 0u);
  EXPECT_EQ(fault.what, "No such file or directory");
  fs::remove_all(dir);
}

}  // namespace
}  // namespace qrix::testing
