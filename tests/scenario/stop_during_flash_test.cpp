// STOP pressed while a flash transfer holds the line: the transfer goes on, and the buttons that
// would start another exchange stay dimmed until it has ended.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "linearisation/xflash.h"
#include "support/scope_fixture.h"
#include "support/this_process.h"

namespace qrix::testing {
namespace {

namespace fs = std::filesystem;
namespace m = ids::main;

TEST(StopDuringFlash, LeavesTheExchangeButtonsDimmedUntilTheTransferHasEnded) {
  const fs::path file = fs::temp_directory_path() / (uniqueName("stop-flash") + ".txt");
  {
    std::ofstream table(file);
    for (int i = 0; i < 2048; ++i) {
      table << i - 1024 << "\r\n";
    }
  }
  Scope s;
  ASSERT_EQ(s.start(), 0);
  ProgramState& st = s.p.st;
  // RUN, VIDEO, DATA, TEACH, RESET and the recorder's START, each dimmed or not.
  const auto starters = [&] {
    std::vector<bool> dimmed;
    for (int control : {m::BTNRun, m::BTNVideo, m::BTNData, m::ButtonTeach, m::ButtonReset}) {
      dimmed.push_back(s.ui().IsDimmed(st.pHandle, control));
    }
    dimmed.push_back(s.ui().IsDimmed(st.pPopUp, ids::popup::BTNStartRecord));
    return dimmed;
  };
  const std::vector<bool> allDimmed(6, true);
  ASSERT_EQ(starters(), std::vector<bool>(6, false));

  bool stopUsable = false;
  std::vector<bool> afterStop, later;
  s.rt.at(s.rt.Timer() + 1.0, [&] {
    stopUsable = !s.ui().IsDimmed(st.pHandle, m::BTNStop);
    s.click(st.pHandle, m::BTNStop);
    afterStop = starters();
  });
  s.rt.at(s.rt.Timer() + 3.0, [&] { later = starters(); });
  s.ui().SetCtrlVal(st.pPopUp, ids::popup::NEDITRecTime, kXFlashAccessCode);
  s.commit(st.pPopUp, ids::popup::NEDITRecTime);
  s.rt.answerFileDialog({VAL_EXISTING_FILE_SELECTED, file.string()});
  s.click(st.pCalib, ids::calib::BTNWriteXFMA);
  fs::remove(file);

  EXPECT_TRUE(stopUsable);
  EXPECT_EQ(afterStop, allDimmed);
  EXPECT_EQ(later, allDimmed);
  EXPECT_EQ(s.status(), "X-FLASH Data successfully written!");
  EXPECT_EQ(starters(), std::vector<bool>(6, false));
}

}  // namespace
}  // namespace qrix::testing
