// The recorder file's text byte for byte, and the duration display of the recorder panel.

#include "recorder/recorder_file.h"

#include <gtest/gtest.h>

#include "recorder/rec_time.h"
#include "support/scope_fixture.h"

namespace qrix::testing {
namespace {

TEST(RecorderFileText, HeaderColumnsAndSamplesAreTabSeparatedWithCrLf) {
  const std::string text = recorderHeader("07-31-2026", "23:05:09", 65535, -1500) +
                           recorderSampleLine({65535, 2048, 17, -123456, 0, 3});
  EXPECT_EQ(text,
            "07-31-2026 23:05:09\r\n"
            "Q-RIX-RECORDER-FILE: Time-Interval[s]: 65535\r\n"
            "SETPOINT-VALUE [\xB5m]: -1500\r\n"
            "SLAVE\tMASTER\tMVAL\tMVAL[um]\tS_EDGE\tM_EDGE\r\n"
            "65535\t2048\t17\t-123456\t0\t3\r\n");
}

TEST(RecorderDuration, LongestRecordingShowsDaysHoursMinutesSeconds) {
  Scope s;
  ASSERT_EQ(s.startOffline(), 0);
  const int panel = s.p.st.pPopUp;
  namespace pop = ids::popup;
  s.ui().SetCtrlVal(panel, pop::NUMRecCount, 7);
  s.ui().SetCtrlVal(panel, pop::NEDITRecTime, 65535);
  s.ui().SetCtrlVal(panel, pop::NEDITRecSamples, 65535);
  s.commit(panel, pop::NEDITRecSamples);
  // 65535 * 65535 s does not fit 32 signed bits; unsigned it is 49708 d 18 h 3 min 45 s.
  EXPECT_EQ(s.ui().GetCtrlVal(panel, pop::NUMRecDays), 49708);
  EXPECT_EQ(s.ui().GetCtrlVal(panel, pop::NUMRecHours), 18);
  EXPECT_EQ(s.ui().GetCtrlVal(panel, pop::NUMRecMinutes), 3);
  EXPECT_EQ(s.ui().GetCtrlVal(panel, pop::NUMRecSeconds), 45);
  EXPECT_EQ(s.ui().GetCtrlVal(panel, pop::NUMRecCount), 0);
}

}  // namespace
}  // namespace qrix::testing
