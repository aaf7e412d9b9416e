// The program's files through the paths it builds and the paths a user picks: the recorder's
// default file in the program's folder, a parameter file saved and loaded, a linearisation file
// read. On Windows each path has a drive letter and backslashes, also when the program's folder
// comes in Qt's form with forward slashes; the files it writes end their lines in CR LF, which a
// text-mode reader on Windows sees as plain lines.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "linearisation/lin_file.h"
#include "params/param_file.h"
#include "recorder/record_batch.h"
#include "runtime/files.h"
#include "support/scope_fixture.h"
#include "support/this_process.h"

namespace qrix::testing {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
// A drive letter, then backslashes only.
const std::regex kNativePath(R"([A-Za-z]:\\[^/]+)");
constexpr const char* kTextModeLineEnd = "";  // the C runtime turns CR LF into a line end
#else
const std::regex kNativePath(R"(/[^\\]+)");
constexpr const char* kTextModeLineEnd = "\r";  // text mode is binary mode here
#endif

// The lines of a file as a text-mode reader gets them.
std::vector<std::string> textModeLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

class FilePaths : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }
  // The program's folder, in the system's own form or in Qt's (forward slashes).
  std::string programDir() const { return GetParam() ? dir.generic_string() : dir.string(); }
  fs::path dir = fs::temp_directory_path() / uniqueName("qrix-paths");
};

TEST_P(FilePaths, RecorderParameterAndLinearisationFilesAreWrittenAndReadWhereThePathsPoint) {
  Scope s({}, {}, programDir());
  ASSERT_EQ(s.start(), 0);
  ProgramState& st = s.p.st;

  // The recorder's default file lies in the program's folder, named in the system's form.
  const std::string record = st.rec_fname;
  EXPECT_TRUE(std::regex_match(record, kNativePath)) << record;
  EXPECT_EQ(fs::path(record).parent_path(), dir);
  EXPECT_EQ(s.ui().GetCtrlText(st.pPopUp, ids::popup::TEXTRecFile), record);
  ASSERT_TRUE(recordBatch(s.p, {record, 0, 3}));
  const std::vector<std::string> recorded = textModeLines(record);
  ASSERT_EQ(recorded.size(), 7u);  // four header lines and three samples
  for (const std::string& line : recorded) {
    EXPECT_TRUE(line.ends_with(kTextModeLineEnd)) << line;
  }
  EXPECT_EQ(recorded[3],
            std::string("SLAVE\tMASTER\tMVAL\tMVAL[um]\tS_EDGE\tM_EDGE") + kTextModeLineEnd);

  // A parameter file the user names in the program's folder: saved, then loaded back.
  const std::string para = files::MakePathname(programDir(), "QRIXpara.cfg");
  EXPECT_TRUE(std::regex_match(para, kNativePath)) << para;
  s.ui().SetCtrlVal(st.pPara2, ids::sensor::NUMPixelBegin, 17);
  s.setValue(st.pHandle, ids::main::RBTFile, 1);
  s.rt.answerFileDialog({VAL_NEW_FILE_SELECTED, para});
  s.click(st.pHandle, ids::main::BTNSend);
  EXPECT_EQ(s.rt.dialogs().back().directory, programDir());
  const std::vector<std::string> saved = textModeLines(para);
  ASSERT_EQ(saved.size(), std::size_t(kParaFileWords));
  EXPECT_EQ(saved[0], std::string("         1") + kTextModeLineEnd);
  s.ui().SetCtrlVal(st.pPara2, ids::sensor::NUMPixelBegin, 0);
  s.rt.answerFileDialog({VAL_EXISTING_FILE_SELECTED, para});
  s.click(st.pHandle, ids::main::BTNGet);
  EXPECT_EQ(s.ui().GetCtrlVal(st.pPara2, ids::sensor::NUMPixelBegin), 17);

  // A linearisation file written by a Windows editor in text mode: CR LF on the disk there.
  const std::string lin = files::MakePathname(programDir(), "XF-LINEAR.DAT");
  {
    std::ofstream out(lin);
    for (int i = 0; i < kLinWords; ++i) {
      out << (i % 2 ? -i : i) << '\n';
    }
  }
  LinTable table{};
  s.rt.answerFileDialog({VAL_EXISTING_FILE_SELECTED, lin});
  ASSERT_EQ(ReadLinDataFromFile(s.p, table), kLinFileLoaded);
  EXPECT_EQ(table[0], linWord(0));
  EXPECT_EQ(table[2047], linWord(-2047));
}

INSTANTIATE_TEST_SUITE_P(NativeAndQtForm, FilePaths, ::testing::Bool());

}  // namespace
}  // namespace qrix::testing
