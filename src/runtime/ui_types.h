#pragma once
// Plain data of the retained user-interface model: panels, controls, graphs and strip charts.
// The model is the single source of truth; a view (Qt) renders it and a test reads it.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace qrix::ui {

// Events a callback receives.
enum Event : int {
  EVENT_COMMIT = 1,
  EVENT_VAL_CHANGED = 2,
  EVENT_LEFT_CLICK = 3,
  EVENT_KEYPRESS = 4,  // to the panel's callback, with the key in data1
  EVENT_RIGHT_CLICK = 5,
  EVENT_CLOSE = 11,
};

// Keys a panel's callback hears of (EVENT_KEYPRESS); the others stay with the controls.
inline constexpr int kKeyEscape = 0x1B;

// Colours are 0xRRGGBB.
using Rgb = std::uint32_t;
inline constexpr Rgb kBlack = 0x000000;
inline constexpr Rgb kWhite = 0xFFFFFF;
inline constexpr Rgb kRed = 0xFF0000;
inline constexpr Rgb kGreen = 0x00FF00;
inline constexpr Rgb kDarkGreen = 0x008000;
inline constexpr Rgb kBlue = 0x0000FF;
inline constexpr Rgb kGrey = 0xA0A0A0;
inline constexpr Rgb kLightGrey = 0xE0E0E0;
inline constexpr Rgb kAmber = 0xFFB000;

// A font role, not a family: the system's fixed-pitch font, for text read in columns.
inline constexpr const char* kFixedPitchFont = "VAL_FIXED_PITCH_FONT";

enum class ControlKind {
  CommandButton,
  ToggleButton,
  RadioButton,
  Numeric,  // editable number field, or an indicator when readOnly
  Slider,
  Ring,         // drop-down list; the value is the selected item's value
  TextMessage,  // one-line label
  TextBox,      // multi-line text
  Graph,
  StripChart,
  Decoration,
  Picture,
  Led,  // a round light in one colour; pressed like a command button
};

const char* kindName(ControlKind kind);

struct ListItem {
  std::string label;
  double value = 0;
  bool operator==(const ListItem&) const = default;
};

// Plot and cursor style codes, as the program passes them.
inline constexpr int kPlotStyleThinLine = 0;
inline constexpr int kPlotStyleConnectedPoints = 5;
inline constexpr int kPointStyleNone = 0;
inline constexpr int kPointStyleSmallDot = 10;
inline constexpr int kPointStyleMarker = 13;    // a cursor with a visible marker
inline constexpr int kPointStyleNoMarker = 24;  // a cursor drawn without a point marker
inline constexpr int kLineStyleSolid = 0;
inline constexpr int kLineStyleDash = 1;

struct Plot {
  enum class Kind { Polyline, Rectangle };
  int handle = 0;
  Kind kind = Kind::Polyline;
  std::vector<double> x, y;               // polyline points
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // rectangle corners
  Rgb colour = kBlack;
  Rgb fillColour = kBlack;
  bool filled = false;
  int plotStyle = kPlotStyleConnectedPoints;
  int pointStyle = kPointStyleNone;
  int lineStyle = kLineStyleSolid;

  bool operator==(const Plot&) const = default;
};

struct AxisRange {
  double min = 0;
  double max = 10;

  bool operator==(const AxisRange&) const = default;
};

struct GraphCursor {
  double x = 0;
  double y = 0;
  int pointStyle = kPointStyleMarker;
  Rgb colour = kBlue;

  bool operator==(const GraphCursor&) const = default;
};

enum class Axis { X, YLeft, YRight };

struct GraphState {
  std::vector<Plot> plots;
  int nextHandle = 1;
  AxisRange x{0, 100};
  AxisRange yLeft{0, 100};
  AxisRange yRight{0, 100};
  std::array<GraphCursor, 2> cursors{};
  int cursorCount = 0;
  std::string xLabel, yLabel;

  bool operator==(const GraphState&) const = default;
};

struct StripTrace {
  Rgb colour = kBlack;
  bool visible = true;
  std::vector<double> points;  // the last pointsPerScreen values

  bool operator==(const StripTrace&) const = default;
};

struct StripChartState {
  int pointsPerScreen = 100;
  std::vector<StripTrace> traces;
  AxisRange yLeft{0, 100};
  std::string yLabel;

  bool operator==(const StripChartState&) const = default;
};

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
};

struct Control {
  int id = 0;
  std::string name;
  ControlKind kind = ControlKind::TextMessage;
  Rect bounds;
  std::string label;
  bool visible = true;
  bool dimmed = false;
  bool readOnly = false;  // indicators: numbers the program shows, not edits

  double value = 0;              // numbers, sliders, rings, toggles and radio buttons (0 off, 1 on)
  std::string text;              // strings, labels and text boxes (lines separated by '\n')
  std::vector<int> markedLines;  // text box lines shown highlighted, counted from 0
  double minimum = 0, maximum = 0, increment = 1;
  int precision = 0;  // digits after the point shown by a number field
  std::string unit;   // shown beside the number
  std::vector<ListItem> items;

  Rgb textColour = kBlack;
  Rgb backColour = kWhite;
  bool hasBackColour = false;
  int pointSize = 0;  // 0: the view's default
  std::string font;
  std::string imagePath;
  std::string callback;  // "CC_<name>", empty when the control has none
  std::string tooltip;   // shown when the pointer rests on the control; empty: none
  // What the control shows, in words, for those who cannot see it (a graph's content).
  std::string description;
  Rgb ledColour = kGrey;  // the light of an LED

  GraphState graph;
  StripChartState strip;
};

struct Panel {
  int handle = 0;
  int resourceId = 0;
  std::string name;  // pHandle, pPara0, ...
  std::string title;
  int parent = 0;  // 0: top-level window
  Rect bounds;
  bool visible = false;
  std::string callback;
  int activeControl = 0;
  std::map<int, Control> controls;
};

// A panel as the resource table describes it; loading copies it into the model.
using PanelTemplate = Panel;

}  // namespace qrix::ui
