// The linearisation file: the offset into flash words, the dialog, and the files that are
// refused without touching the table already loaded.

#include "linearisation/lin_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/scope_fixture.h"

namespace qrix::testing {
namespace {

namespace fs = std::filesystem;

class LinFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("qrix-lin-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
    ASSERT_EQ(s.startOffline(), 0);
  }
  void TearDown() override { fs::remove_all(dir); }

  fs::path write(const std::string& name, const std::string& text) {
    std::ofstream(dir / name, std::ios::binary) << text;
    return dir / name;
  }
  int load(const fs::path& path) {
    s.rt.answerFileDialog({VAL_EXISTING_FILE_SELECTED, path.string()});
    return ReadLinDataFromFile(s.p, table);
  }

  fs::path dir;
  Scope s;
  LinTable table{};
};

// n lines of "1", with `lines` replacing the first ones.
std::string fileText(std::size_t n, std::vector<std::string> lines = {}) {
  lines.resize(std::max(n, lines.size()), "1");
  std::string text;
  for (std::size_t i = 0; i < n; ++i) text += lines[i] + "\r\n";
  return text;
}

TEST_F(LinFile, ValuesBecomeFlashWordsWithAnOffsetOf32767KeptTo16Bits) {
  // A 2049th value, even one out of range, is not read.
  const auto path =
      write("lin.dat", fileText(2049, {"0", "-32767", "32767", "-32768", "+5"}) + "99999\r\n");
  ASSERT_EQ(load(path), kLinFileLoaded);
  EXPECT_EQ(table[0], 32767);
  EXPECT_EQ(table[1], 0);
  EXPECT_EQ(table[2], 65534);
  EXPECT_EQ(table[3], 65535);
  EXPECT_EQ(table[4], 32772);
  EXPECT_EQ(table[2047], 32768);
  const auto& dialog = s.rt.dialogs().back();
  EXPECT_EQ(dialog.title, "Q-RIX-LT-Series-Linearisation-File");
  EXPECT_EQ(dialog.defaultName, "XF-LINEAR.DAT");
  EXPECT_EQ(dialog.filter, "*.dat");
  EXPECT_EQ(dialog.directory, s.p.st.proj_dir);
  EXPECT_EQ(s.p.st.file_name, path.string());
}

// Each of these would otherwise reach the flash as wrong words.
TEST_F(LinFile, AnUnreadableFileKeepsTheEarlierTableAndSaysSo) {
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"short", fileText(2047)},
      {"above 32767", fileText(2048, {"1", "32768"})},
      {"below -32768", fileText(2048, {"-32769"})},
      {"not a number", fileText(2048, {"1", "1", "12a"})},
      {"empty", ""},
  };
  LinTable earlier;
  earlier.fill(4321);
  for (const auto& c : cases) {
    table = earlier;
    s.p.showText("before");
    EXPECT_LT(load(write("bad.dat", c.text)), 0) << c.what;
    EXPECT_TRUE(table == earlier) << c.what;
    EXPECT_EQ(s.status(), "Error reading linearisation file!") << c.what;
  }
  table = earlier;
  EXPECT_LT(load(dir / "missing.dat"), 0);
  EXPECT_TRUE(table == earlier);
}

TEST_F(LinFile, ACancelledDialogKeepsTheTableSilently) {
  table.fill(4321);
  s.p.showText("before");
  EXPECT_EQ(ReadLinDataFromFile(s.p, table), kLinFileCancelled);
  EXPECT_EQ(table[2047], 4321);
  EXPECT_EQ(s.status(), "before");
}

}  // namespace
}  // namespace qrix::testing
