// The parameter file: its exact text, save and load through the dialogs, what the reader
// accepts, and the files it refuses without changing anything.

#include "params/param_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "support/scope_fixture.h"
#include "support/this_process.h"

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

namespace qrix::testing {
namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string line(unsigned word) {
  char text[16];
  std::snprintf(text, sizeof text, "%10u\r\n", word);
  return text;
}

void writeAll(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

class ParamFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / uniqueName("qrix-para");
    fs::create_directories(dir);
    ASSERT_EQ(s.startOffline(), 0);
    s.setValue(st.pHandle, ids::main::RBTFile, 1);
  }
  void TearDown() override { fs::remove_all(dir); }

  void save(const fs::path& path, int status = VAL_NEW_FILE_SELECTED) {
    s.rt.answerFileDialog({status, path.string()});
    s.click(st.pHandle, ids::main::BTNSend);
  }
  void load(const fs::path& path) {
    s.rt.answerFileDialog({VAL_EXISTING_FILE_SELECTED, path.string()});
    s.click(st.pHandle, ids::main::BTNGet);
  }
  std::string defaultsText() { return formatParaFile(recordToWords(ParameterRecord{})); }

  fs::path dir;
  Scope s;
  ProgramState& st = s.p.st;
};

TEST_F(ParamFile, DefaultsAreWrittenAsTheFrameWordsInOrderRightAlignedWithCrLf) {
  save(dir / "a.cfg");
  const unsigned sensor[] = {500, 1, 50, 512, 1, 4096, 0, 50, 0, 0, 0, 1024, 0, 37000, 0};
  std::string expected;
  for (unsigned w : {1, 0, 0, 1, 1, 1, 100, 100, 0, 0, 0, 0, 0, 16000, 0}) {
    expected += line(w);
  }
  for (int frame = 1; frame <= 2; ++frame) {
    for (unsigned w : sensor) {
      expected += line(w);
    }
  }
  EXPECT_EQ(readAll(dir / "a.cfg"), expected);
  EXPECT_EQ(s.status(), "Transmit...");
  ASSERT_FALSE(s.rt.dialogs().empty());
  EXPECT_EQ(s.rt.dialogs().back().title, "Q-RIX-MS-Series Parameter File");
  EXPECT_EQ(s.rt.dialogs().back().defaultName, "QRIXpara.cfg");
  EXPECT_EQ(s.rt.dialogs().back().filter, "*.cfg");
  EXPECT_EQ(s.rt.dialogs().back().button, "Save");
}

TEST_F(ParamFile, SaveAndLoadReproduceEveryFieldWithTheSpareWords) {
  st.parameter.slave.spare[2] = 9;
  st.parameter.master.spare32 = 123456;
  st.parameter.sys.spare[0] = 4;
  s.ui().SetCtrlVal(st.pPara2, ids::sensor::NUMPixelBegin, 17);
  s.ui().SetCtrlVal(st.pCalib, ids::calib::NUMSetpoint, -250);
  save(dir / "round.cfg");
  const ParaFileWords saved = recordToWords(st.parameter);

  st.parameter = ParameterRecord{};
  load(dir / "round.cfg");
  EXPECT_EQ(recordToWords(st.parameter), saved);
  EXPECT_EQ(st.parameter.slave.spare[2], 9);
  EXPECT_EQ(st.parameter.master.spare32, 123456u);
  EXPECT_EQ(s.ui().GetCtrlVal(st.pPara2, ids::sensor::NUMPixelBegin), 17);
  EXPECT_EQ(s.ui().GetCtrlVal(st.pCalib, ids::calib::NUMSetpoint), -250);
}

// The save asks as every other save of the window: a name with another extension gets the
// file's own, and a name of spaces only is refused with the error in the status line.
TEST_F(ParamFile, ASavedNameIsCheckedAsEverySaveOfTheWindowIs) {
  save(dir / "line3.txt");
  EXPECT_FALSE(fs::exists(dir / "line3.txt"));
  EXPECT_EQ(readAll(dir / "line3.txt.cfg"), defaultsText());
  save(dir / "   .cfg");
  EXPECT_FALSE(fs::exists(dir / "   .cfg"));
  EXPECT_EQ(s.status(), "Error writing parameter file!");
}

// Every file dialog starts where the user last chose a file in this run, whichever dialog that
// was; before any, in the documents folder (on this runtime the program's folder).
TEST_F(ParamFile, DialogsStartInTheFolderLastUsed) {
  s.rt.answerFileDialog({VAL_NO_FILE_SELECTED, ""});
  s.click(st.pHandle, ids::main::BTNGet);
  EXPECT_EQ(s.rt.dialogs().back().directory, s.rt.documentsDirectory());
  fs::create_directories(dir / "line 3");
  save(dir / "line 3" / "a.cfg");
  s.rt.answerFileDialog({VAL_NO_FILE_SELECTED, ""});
  s.click(st.pPopUp, ids::popup::CMDBTNrecfile);
  EXPECT_EQ(s.rt.dialogs().back().directory, (dir / "line 3").string());
  // A cancelled dialog leaves the folder as it was.
  s.rt.answerFileDialog({VAL_NO_FILE_SELECTED, ""});
  s.click(st.pHandle, ids::main::BTNGet);
  EXPECT_EQ(s.rt.dialogs().back().directory, (dir / "line 3").string());
}

TEST_F(ParamFile, ReaderTakesLowWordsLfLinesBlanksAndIgnoresTrailingText) {
  // Set-point 70000 from lines 14 and 15, power 1500 in line 16, and numbers above 65535 in
  // words no limit touches: a spare word and the low half of the master's spare32.
  std::vector<std::string> lines(45, "0");
  lines[8] = "65536";
  lines[13] = "  4464  ";
  lines[14] = "1";
  lines[15] = "1500";
  lines[28] = "65537";
  std::string edited;
  for (const auto& l : lines) {
    edited += l + "\n";
  }
  edited += "notes after the last number\n";
  st.parameter.sys.spare[0] = 5;
  writeAll(dir / "lf.cfg", edited);
  load(dir / "lf.cfg");
  EXPECT_EQ(st.parameter.sys.setpoint, 70000);
  EXPECT_EQ(s.ui().GetCtrlVal(st.pPara1, ids::sensor::SLIDEpower), 500);  // 1500 limited
  EXPECT_EQ(st.parameter.sys.spare[0], 0);                                // 65536 -> 0
  EXPECT_EQ(st.parameter.master.spare32, 1u);                             // 65537 -> 1, high 0
  // The file is taken as it always was, and the status line says what the limits changed.
  EXPECT_EQ(s.status(), "File limited: master Light power 1500 -> 500");

  lines[15] = "0";
  lines[0] = "99";
  lines[31] = "7";
  edited.clear();
  for (const auto& l : lines) {
    edited += l + "\n";
  }
  writeAll(dir / "two.cfg", edited);
  load(dir / "two.cfg");
  EXPECT_EQ(st.parameter.sys.evalmode, 1);
  EXPECT_EQ(st.parameter.slave.pmode, 0);
  EXPECT_EQ(s.status(), "File limited: system Evaluation mode 99 -> 1 (and 1 more)");
}

TEST_F(ParamFile, UnreadableFilesChangeNothing) {
  const std::string good = defaultsText();
  writeAll(dir / "short.cfg", good.substr(0, 12 * 30));
  writeAll(dir / "word.cfg", "         1\r\n       abc\r\n" + good);
  writeAll(dir / "negative.cfg", "        -1\r\n" + good);
  for (const char* name : {"short.cfg", "word.cfg", "negative.cfg", "missing.cfg"}) {
    s.ui().SetCtrlVal(st.pPara1, ids::sensor::SLIDEpower, 812);  // an edit not yet sent
    st.parameter.master.teach = 999;
    const size_t dialogs = s.rt.dialogs().size();
    load(dir / name);
    EXPECT_EQ(s.rt.dialogs().size(), dialogs + 1);
    EXPECT_EQ(s.rt.dialogs().back().button, "Load");
    EXPECT_EQ(s.status(), "Error reading parameter file!") << name;
    EXPECT_EQ(st.parameter.master.teach, 999) << name;
    EXPECT_EQ(s.ui().GetCtrlVal(st.pPara1, ids::sensor::SLIDEpower), 812) << name;
  }
}

TEST_F(ParamFile, CancelledLoadKeepsUnsavedEdits) {
  s.p.storeStatusText("old text");
  s.p.showStoredStatus();
  s.ui().SetCtrlVal(st.pPara1, ids::sensor::SLIDEpower, 812);
  s.click(st.pHandle, ids::main::BTNGet);  // no scripted answer: the dialog is cancelled
  EXPECT_EQ(s.ui().GetCtrlVal(st.pPara1, ids::sensor::SLIDEpower), 812);
  EXPECT_EQ(s.status(), "old text");
}

#ifndef _WIN32
// Writes that reach `bytes` fail (EFBIG) while it lives, for root too. Windows has no such limit.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit low = old_;
    low.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &low);
    signal(SIGXFSZ, SIG_IGN);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_); }

 private:
  rlimit old_{};
};
#endif

std::set<std::string> filesIn(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) {
    names.insert(e.path().filename().string());
  }
  return names;
}

TEST_F(ParamFile, OverwriteIsConfirmedAndNeitherTouchesOtherFilesNorLosesTheOldOne) {
  const fs::path path = dir / "keep.cfg";
  writeAll(path, "old contents");
  writeAll(dir / "keep.cfg.tmp", "someone else's file");
  save(path, VAL_EXISTING_FILE_SELECTED);  // confirmation not given
  EXPECT_EQ(readAll(path), "old contents");
  EXPECT_EQ(s.rt.dialogs().back().title, "ATTENTION!");
  EXPECT_EQ(s.rt.dialogs().back().text, "Output-File already exist! - Overwrite ?");

#ifndef _WIN32
  {
    const FileSizeLimit tooSmall(100);  // the file is 540 bytes
    s.rt.answerConfirm(1);
    save(path, VAL_EXISTING_FILE_SELECTED);
  }
  EXPECT_EQ(s.status(), "Error writing parameter file!");
  EXPECT_EQ(readAll(path), "old contents");
#endif

  s.rt.answerConfirm(1);
  save(path, VAL_EXISTING_FILE_SELECTED);
  EXPECT_EQ(readAll(path), defaultsText());
  EXPECT_EQ(readAll(dir / "keep.cfg.tmp"), "someone else's file");

  fs::create_directories(dir / "dir.cfg");  // a folder where the file should go
  save(dir / "dir.cfg");
  EXPECT_EQ(s.status(), "Error writing parameter file!");
  // No temporary file is left behind.
  EXPECT_EQ(filesIn(dir), (std::set<std::string>{"keep.cfg", "keep.cfg.tmp", "dir.cfg"}));
}

}  // namespace
}  // namespace qrix::testing
