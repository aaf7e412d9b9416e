// The panel table: every control the program touches exists on its panel with the expected
// kind and id, list items cover every value the range limits allow, and the initial values are
// the parameter defaults.

#include "shell/panel_table.h"

#include <gtest/gtest.h>

#include <set>

#include "params/parameter.h"
#include "shell/panel_ids.h"

namespace qrix {
namespace {

using ui::ControlKind;

struct Expected {
  int resource;
  int id;
  const char* name;
  ControlKind kind;
};

const Expected kControls[] = {
    {ids::kMainPanel, ids::main::DropDCom, "DropDCom", ControlKind::Ring},
    {ids::kMainPanel, ids::main::ButtonReset, "ButtonReset", ControlKind::CommandButton},
    {ids::kMainPanel, ids::main::ButtonTeach, "ButtonTeach", ControlKind::CommandButton},
    {ids::kMainPanel, ids::main::BTNGet, "BTNGet", ControlKind::CommandButton},
    {ids::kMainPanel, ids::main::BTNSend, "BTNSend", ControlKind::CommandButton},
    {ids::kMainPanel, ids::main::RBTFile, "RBTFile", ControlKind::RadioButton},
    {ids::kMainPanel, ids::main::RBTEeprom, "RBTEeprom", ControlKind::RadioButton},
    {ids::kMainPanel, ids::main::RBTRam, "RBTRam", ControlKind::RadioButton},
    {ids::kMainPanel, ids::main::BTNData, "BTNData", ControlKind::CommandButton},
    {ids::kMainPanel, ids::main::BTNVideo, "BTNVideo", ControlKind::CommandButton},
    {ids::kMainPanel, ids::main::BTNStop, "BTNStop", ControlKind::CommandButton},
    {ids::kMainPanel, ids::main::BTNRun, "BTNRun", ControlKind::CommandButton},
    {ids::kMainPanel, ids::main::NUMValueMM, "NUMValueMM", ControlKind::Numeric},
    {ids::kMainPanel, ids::main::NUMMvalue, "NUMMvalue", ControlKind::Numeric},
    {ids::kMainPanel, ids::main::NUMBval, "NUMBval", ControlKind::Numeric},
    {ids::kMainPanel, ids::main::NUMAval, "NUMAval", ControlKind::Numeric},
    {ids::kMainPanel, ids::main::DECOHeader, "DECOHeader", ControlKind::Decoration},
    {ids::kMainPanel, ids::main::TEXTStatus, "TEXTStatus", ControlKind::TextMessage},
    {ids::kMainPanel, ids::main::GRAPHDataSlave, "GRAPHDataSlave", ControlKind::Graph},
    {ids::kMainPanel, ids::main::GRAPHVideoSlave, "GRAPHVideoSlave", ControlKind::Graph},
    {ids::kMainPanel, ids::main::GRAPHDataMaster, "GRAPHDataMaster", ControlKind::Graph},
    {ids::kMainPanel, ids::main::GRAPHVideoMaster, "GRAPHVideoMaster", ControlKind::Graph},
    {ids::kMainPanel, ids::main::GRAPHBarSlave, "GRAPHBarSlave", ControlKind::Graph},
    {ids::kMainPanel, ids::main::GRAPHBarMaster, "GRAPHBarMaster", ControlKind::Graph},
    {ids::kMainPanel, ids::main::GRAPHRaw, "GRAPHRaw", ControlKind::StripChart},
    {ids::kMainPanel, ids::main::PICTLogo, "PICTLogo", ControlKind::Picture},
    {ids::kMainPanel, ids::main::TOGGBTN_Recorder, "TOGGBTN_Recorder", ControlKind::ToggleButton},
    {ids::kMainPanel, ids::main::TOGBTN_Zoom, "TOGBTN_Zoom", ControlKind::ToggleButton},
    {ids::kMainPanel, ids::main::TOGGBTN_Calib, "TOGGBTN_Calib", ControlKind::ToggleButton},
    {ids::kMainPanel, ids::main::TOGGBTN_Para2, "TOGGBTN_Para2", ControlKind::ToggleButton},
    {ids::kMainPanel, ids::main::TOGGBTN_Para1, "TOGGBTN_Para1", ControlKind::ToggleButton},
    {ids::kMainPanel, ids::main::TOGGBTN_Para0, "TOGGBTN_Para0", ControlKind::ToggleButton},
    {ids::kMainPanel, ids::main::NUMAnaMin, "NUMAnaMin", ControlKind::Numeric},
    {ids::kMainPanel, ids::main::NUMTolLoMM, "NUMTolLoMM", ControlKind::Numeric},
    {ids::kMainPanel, ids::main::NUMTolUpMM, "NUMTolUpMM", ControlKind::Numeric},
    {ids::kMainPanel, ids::main::NUMAnaMax, "NUMAnaMax", ControlKind::Numeric},
    {ids::kMainPanel, ids::main::HelpText1, "HelpText1", ControlKind::TextBox},
    {ids::kMainPanel, ids::main::HelpText2, "HelpText2", ControlKind::TextBox},
    {ids::kMainPanel, ids::main::RAWSelect, "RAWSelect", ControlKind::ToggleButton},
    {ids::kPara0Panel, ids::para0::NUMToleranceLO, "NUMToleranceLO", ControlKind::Numeric},
    {ids::kPara0Panel, ids::para0::NUMToleranceUP, "NUMToleranceUP", ControlKind::Numeric},
    {ids::kPara0Panel, ids::para0::DROPAnaMode, "DROPAnaMode", ControlKind::Ring},
    {ids::kPara0Panel, ids::para0::DropEvalMode, "DropEvalMode", ControlKind::Ring},
    {ids::kPara0Panel, ids::para0::DROPpolarity, "DROPpolarity", ControlKind::Ring},
    {ids::kPara0Panel, ids::para0::DROPHardwareMode, "DROPHardwareMode", ControlKind::Ring},
    {ids::kPara0Panel, ids::para0::DROPaverage, "DROPaverage", ControlKind::Ring},
    {ids::kPara0Panel, ids::para0::DROPtrigmode, "DROPtrigmode", ControlKind::Ring},
    {ids::kPara1Panel, ids::sensor::SLIDEVideoTHD, "SLIDEVideoTHD_A", ControlKind::Slider},
    {ids::kPara1Panel, ids::sensor::SLIDEpower, "SLIDEpower", ControlKind::Slider},
    {ids::kPara1Panel, ids::sensor::DROPopmode, "DROPopmodeA", ControlKind::Ring},
    {ids::kPara1Panel, ids::sensor::DROPpmode, "DROPpmodeA", ControlKind::Ring},
    {ids::kPara1Panel, ids::sensor::NUMPixelBegin, "NUMPixelBeginA", ControlKind::Numeric},
    {ids::kPara1Panel, ids::sensor::NUMPixelEnd, "NUMPixelEndA", ControlKind::Numeric},
    {ids::kPara1Panel, ids::sensor::NUMTriggThreshold, "NUMTriggThresholdA", ControlKind::Numeric},
    {ids::kPara1Panel, ids::sensor::NUMTeach, "NUMTeachA", ControlKind::Numeric},
    {ids::kPara1Panel, ids::sensor::NEDITeach, "NEDITeachA", ControlKind::CommandButton},
    {ids::kPara2Panel, ids::sensor::SLIDEVideoTHD, "SLIDEVideoTHD_B", ControlKind::Slider},
    {ids::kPara2Panel, ids::sensor::SLIDEpower, "SLIDEpower", ControlKind::Slider},
    {ids::kPara2Panel, ids::sensor::DROPopmode, "DROPopmodeB", ControlKind::Ring},
    {ids::kPara2Panel, ids::sensor::DROPpmode, "DROPpmodeB", ControlKind::Ring},
    {ids::kPara2Panel, ids::sensor::NUMPixelBegin, "NUMPixelBeginB", ControlKind::Numeric},
    {ids::kPara2Panel, ids::sensor::NUMPixelEnd, "NUMPixelEndB", ControlKind::Numeric},
    {ids::kPara2Panel, ids::sensor::NUMTriggThreshold, "NUMTriggThresholdB", ControlKind::Numeric},
    {ids::kPara2Panel, ids::sensor::NUMTeach, "NUMTeachB", ControlKind::Numeric},
    {ids::kPara2Panel, ids::sensor::NEDITeach, "NEDITeachB", ControlKind::CommandButton},
    {ids::kCalibPanel, ids::calib::TEXTCCDInfo, "TEXTCCDInfo", ControlKind::TextBox},
    {ids::kCalibPanel, ids::calib::BTNWriteXFMA, "BTNWriteXFMA", ControlKind::CommandButton},
    {ids::kCalibPanel, ids::calib::BTNWriteXFSL, "BTNWriteXFSL", ControlKind::CommandButton},
    {ids::kCalibPanel, ids::calib::NUMScaleB, "NUMScaleB", ControlKind::Numeric},
    {ids::kCalibPanel, ids::calib::NUMSetpoint, "NUMSetpoint", ControlKind::Numeric},
    {ids::kCalibPanel, ids::calib::NUMScaleA, "NUMScaleA", ControlKind::Numeric},
    {ids::kPopUpPanel, ids::popup::TEXTRecFile, "TEXTRecFile", ControlKind::TextBox},
    {ids::kPopUpPanel, ids::popup::TEXTRecState, "TEXTRecState", ControlKind::TextMessage},
    {ids::kPopUpPanel, ids::popup::NEDITRecSamples, "NEDITRecSamples", ControlKind::Numeric},
    {ids::kPopUpPanel, ids::popup::NEDITRecTime, "NEDITRecTime", ControlKind::Numeric},
    {ids::kPopUpPanel, ids::popup::NUMRecSeconds, "NUMRecSeconds", ControlKind::Numeric},
    {ids::kPopUpPanel, ids::popup::NUMRecMinutes, "NUMRecMinutes", ControlKind::Numeric},
    {ids::kPopUpPanel, ids::popup::NUMRecHours, "NUMRecHours", ControlKind::Numeric},
    {ids::kPopUpPanel, ids::popup::NUMRecDays, "NUMRecDays", ControlKind::Numeric},
    {ids::kPopUpPanel, ids::popup::NUMRecCount, "NUMRecCount", ControlKind::Numeric},
    {ids::kPopUpPanel, ids::popup::CMDBTNrecfile, "CMDBTNrecfile", ControlKind::CommandButton},
    {ids::kPopUpPanel, ids::popup::BTNStopRecord, "BTNStopRecord", ControlKind::CommandButton},
    {ids::kPopUpPanel, ids::popup::BTNStartRecord, "BTNStartRecord", ControlKind::CommandButton},
};

TEST(PanelTable, EveryControlTheProgramNamesExistsWithItsKindAndId) {
  for (const Expected& e : kControls) {
    auto panel = panelTemplate(e.resource);
    ASSERT_TRUE(panel) << e.resource;
    auto it = panel->controls.find(e.id);
    ASSERT_NE(it, panel->controls.end()) << e.name;
    EXPECT_EQ(it->second.name, e.name);
    EXPECT_EQ(it->second.kind, e.kind) << e.name;
  }
  EXPECT_FALSE(panelTemplate(99));
}

TEST(PanelTable, ControlNamesAreUniqueWithinAPanel) {
  for (int resource : {1, 2, 3, 4, 5, 6}) {
    std::set<std::string> names;
    const auto panel = panelTemplate(resource);
    for (const auto& [id, c] : panel->controls) EXPECT_TRUE(names.insert(c.name).second) << c.name;
  }
}

std::set<double> itemValues(int resource, int id) {
  std::set<double> values;
  const auto panel = panelTemplate(resource);
  for (const auto& item : panel->controls.at(id).items) values.insert(item.value);
  return values;
}

TEST(PanelTable, ListsOfferEveryValueTheLimitsAllow) {
  EXPECT_EQ(itemValues(ids::kPara0Panel, ids::para0::DropEvalMode),
            (std::set<double>{0, 1, 2, 3, 4}));
  EXPECT_EQ(itemValues(ids::kPara0Panel, ids::para0::DROPtrigmode), (std::set<double>{0, 1, 2, 3}));
  EXPECT_EQ(itemValues(ids::kPara0Panel, ids::para0::DROPAnaMode),
            (std::set<double>{0, 1, 2, 3, 4}));
  EXPECT_EQ(itemValues(ids::kPara0Panel, ids::para0::DROPHardwareMode),
            (std::set<double>{0, 1, 2, 3, 4}));
  EXPECT_EQ(itemValues(ids::kPara0Panel, ids::para0::DROPpolarity), (std::set<double>{0, 1}));
  EXPECT_EQ(*itemValues(ids::kPara0Panel, ids::para0::DROPaverage).rbegin(), 2048);
  for (int panel : {ids::kPara1Panel, ids::kPara2Panel}) {
    EXPECT_EQ(itemValues(panel, ids::sensor::DROPpmode), (std::set<double>{0, 1}));
    EXPECT_EQ(itemValues(panel, ids::sensor::DROPopmode), (std::set<double>{0, 1}));
  }
}

TEST(PanelTable, InitialValuesAreTheParameterDefaults) {
  const ParameterRecord defaults;
  auto para0 = *panelTemplate(ids::kPara0Panel);
  EXPECT_EQ(para0.controls[ids::para0::DropEvalMode].value, defaults.sys.evalmode);
  EXPECT_EQ(para0.controls[ids::para0::DROPHardwareMode].value, defaults.sys.hwmode);
  EXPECT_EQ(para0.controls[ids::para0::NUMToleranceUP].value, defaults.sys.toleranceUP);
  auto master = *panelTemplate(ids::kPara1Panel);
  EXPECT_EQ(master.controls[ids::sensor::SLIDEpower].value, defaults.master.power);
  EXPECT_EQ(master.controls[ids::sensor::NUMPixelEnd].value, defaults.master.pixEnd);
  auto calib = *panelTemplate(ids::kCalibPanel);
  EXPECT_EQ(calib.controls[ids::calib::NUMSetpoint].value, defaults.sys.setpoint);
  EXPECT_EQ(calib.controls[ids::calib::NUMSetpoint].minimum, -2147483648.0);
  EXPECT_EQ(calib.controls[ids::calib::NUMSetpoint].maximum, 2147483647.0);
  // Ten fraction digits show every multiple of 1/1024 exactly.
  EXPECT_GE(calib.controls[ids::calib::NUMScaleA].precision, 10);
}

TEST(PanelTable, SlavePanelSharesTheMastersPowerAndModeHelp) {
  auto slave = *panelTemplate(ids::kPara2Panel);
  EXPECT_EQ(slave.controls[ids::sensor::SLIDEpower].callback, "CC_SLIDEpower");
  EXPECT_EQ(slave.controls[ids::sensor::DROPopmode].callback, "CC_DROPopmodeA");
}

}  // namespace
}  // namespace qrix
