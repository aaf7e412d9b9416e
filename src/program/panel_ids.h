#pragma once
// Resource and control ids of the panels. The panel table (panel_table.cpp) defines the
// controls under these ids; the program refers to controls only through these names.

namespace qrix::ids {

// Resource ids of the panels.
inline constexpr int kMainPanel = 2;
inline constexpr int kPara0Panel = 3;
inline constexpr int kPara1Panel = 4;
inline constexpr int kPara2Panel = 5;
inline constexpr int kCalibPanel = 1;
inline constexpr int kPopUpPanel = 6;
inline constexpr int kLinkLogPanel = 7;
inline constexpr int kComparePanel = 8;
inline constexpr int kExportPanel = 9;
inline constexpr int kStatisticsPanel = 10;

namespace main {
inline constexpr int DropDCom = 2;
inline constexpr int ButtonReset = 3;
inline constexpr int ButtonTeach = 4;
inline constexpr int BTNGet = 6;
inline constexpr int BTNSend = 7;
inline constexpr int RBTFile = 8;
inline constexpr int RBTEeprom = 9;
inline constexpr int RBTRam = 10;
inline constexpr int BTNData = 11;
inline constexpr int BTNVideo = 12;
inline constexpr int BTNStop = 13;
inline constexpr int BTNRun = 14;
inline constexpr int NUMValueMM = 15;
inline constexpr int NUMMvalue = 16;
inline constexpr int NUMBval = 17;
inline constexpr int NUMAval = 18;
inline constexpr int DECOHeader = 19;
inline constexpr int TEXTStatus = 20;
inline constexpr int GRAPHDataSlave = 21;
inline constexpr int GRAPHVideoSlave = 22;
inline constexpr int GRAPHDataMaster = 23;
inline constexpr int GRAPHVideoMaster = 24;
inline constexpr int GRAPHBarSlave = 25;
inline constexpr int GRAPHBarMaster = 26;
inline constexpr int GRAPHRaw = 27;
inline constexpr int PICTLogo = 28;
inline constexpr int TOGGBTN_Recorder = 29;
inline constexpr int TOGBTN_Zoom = 30;
inline constexpr int TOGGBTN_Calib = 31;
inline constexpr int TOGGBTN_Para2 = 32;
inline constexpr int TOGGBTN_Para1 = 33;
inline constexpr int TOGGBTN_Para0 = 34;
inline constexpr int NUMAnaMin = 35;
inline constexpr int NUMTolLoMM = 36;
inline constexpr int NUMTolUpMM = 37;
inline constexpr int NUMAnaMax = 38;
inline constexpr int HelpText1 = 40;
inline constexpr int HelpText2 = 41;
inline constexpr int RAWSelect = 47;
inline constexpr int LEDLink = 48;        // the link indicator; a press opens the link log
inline constexpr int BTNCompare = 49;     // opens the parameter compare window
inline constexpr int BTNExport = 50;      // opens the export window
inline constexpr int BTNStatistics = 51;  // opens the statistics window
}  // namespace main

namespace para0 {
inline constexpr int NUMToleranceLO = 3;
inline constexpr int NUMToleranceUP = 4;
inline constexpr int DROPAnaMode = 5;
inline constexpr int DropEvalMode = 6;
inline constexpr int DROPpolarity = 15;
inline constexpr int DROPHardwareMode = 16;
inline constexpr int DROPaverage = 17;
inline constexpr int DROPtrigmode = 18;
}  // namespace para0

// The master (pPara1) and slave (pPara2) panels share their ids.
namespace sensor {
inline constexpr int SLIDEVideoTHD = 3;
inline constexpr int SLIDEpower = 11;
inline constexpr int DROPopmode = 12;
inline constexpr int DROPpmode = 13;
inline constexpr int NUMPixelBegin = 14;
inline constexpr int NUMPixelEnd = 15;
inline constexpr int NUMTriggThreshold = 16;
inline constexpr int NUMTeach = 17;
inline constexpr int NEDITeach = 18;  // button that moves the bar graph's teach cursor
}  // namespace sensor

namespace calib {
inline constexpr int TEXTCCDInfo = 2;
inline constexpr int BTNWriteXFMA = 8;
inline constexpr int BTNWriteXFSL = 9;
inline constexpr int NUMScaleB = 10;
inline constexpr int NUMSetpoint = 12;
inline constexpr int NUMScaleA = 13;
}  // namespace calib

namespace popup {
inline constexpr int TEXTRecFile = 2;
inline constexpr int TEXTRecState = 3;
inline constexpr int NEDITRecSamples = 4;
inline constexpr int NEDITRecTime = 5;
inline constexpr int NUMRecSeconds = 6;
inline constexpr int NUMRecMinutes = 7;
inline constexpr int NUMRecHours = 8;
inline constexpr int NUMRecDays = 9;
inline constexpr int NUMRecCount = 10;
inline constexpr int CMDBTNrecfile = 11;
inline constexpr int BTNStopRecord = 12;
inline constexpr int BTNStartRecord = 13;
}  // namespace popup

// The link log window: the line events, and their copy and save.
namespace linklog {
inline constexpr int TEXTLinkLog = 2;
inline constexpr int TEXTLogState = 3;
inline constexpr int BTNCopyLog = 4;
inline constexpr int BTNSaveLog = 5;
}  // namespace linklog

// The parameter compare window: RAM, EEPROM and a parameter file side by side.
namespace compare {
inline constexpr int TEXTCompare = 2;
inline constexpr int TEXTCompareState = 3;
inline constexpr int TEXTCompareFile = 4;
inline constexpr int BTNCompareFile = 5;
inline constexpr int BTNCompareRead = 6;
}  // namespace compare

// The export window: a graph or the main window as a picture, a graph's data as CSV.
namespace exporting {
inline constexpr int RINGExportGraph = 2;
inline constexpr int RINGExportFormat = 3;
inline constexpr int BTNExportSave = 4;
inline constexpr int TEXTExportState = 5;
}  // namespace exporting

// The statistics window: figures, capability and histogram of the measured value, live from RUN
// or from a recording.
namespace statistics {
inline constexpr int RINGStatSpan = 2;
inline constexpr int TEXTStatFigures = 3;
inline constexpr int GRAPHStatHistogram = 4;
inline constexpr int NUMStatLower = 5;
inline constexpr int NUMStatUpper = 6;
inline constexpr int BTNStatReset = 7;
inline constexpr int BTNStatOpen = 8;
inline constexpr int BTNStatExport = 9;
inline constexpr int TEXTStatSource = 10;
inline constexpr int TEXTStatState = 11;
}  // namespace statistics

}  // namespace qrix::ids
