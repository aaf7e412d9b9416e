#pragma once
// The retained user-interface model: panels by handle, controls by id, graphs with their plots
// and cursors, strip charts with their traces. Every operation the program performs on its
// windows goes through here; a view observes the changes and user input comes back as events.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/callbacks.h"
#include "runtime/ui_types.h"

namespace qrix::ui {

// What changed, so a view can refresh only that.
enum class Aspect {
  Panel,        // visibility, position, title, a control added or removed
  Value,        // value or text
  Attributes,   // visible, dimmed, position, colours, items, label
  Tooltip,      // the text shown on hover, which may change with every exchange
  Description,  // what the control shows in words, which may change with every exchange
  Plots,        // graph plots, axes, cursors, strip chart
};

// What a plot change did to a graph or strip chart, so a view redraws only that. Areas are in
// the graph's own coordinates (x1 <= x2, y1 <= y2).
struct PlotArea {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool operator==(const PlotArea&) const = default;
};
struct PlotChange {
  // A rectangle that stayed in its place in the drawing order, or a cursor, that moved or
  // changed colour: where it was and where it is now.
  struct MovedMark {
    enum class Kind { Rectangle, Cursor };
    Kind kind = Kind::Rectangle;
    int index = 0;  // the plot's place among the graph's plots, or the cursor (0 or 1)
    PlotArea was;
    PlotArea now;
    bool operator==(const MovedMark&) const = default;
  };
  std::vector<MovedMark> moved;
  // Samples appended to every trace of a strip chart, the oldest scrolling out.
  int appendedSamples = 0;
  // Anything else: plots added or removed, axes, trace settings. The view draws all again.
  bool whole = false;
};

// Told only of real changes: setting a control's value, text, colours, position, visibility,
// dimming, label or plot settings to what they already are tells it nothing.
class UiObserver {
 public:
  virtual ~UiObserver() = default;
  virtual void panelLoaded(int panel) = 0;
  virtual void panelDiscarded(int panel) = 0;
  // control 0 means the panel itself.
  virtual void changed(int panel, int control, Aspect aspect) = 0;
  // A change of a graph's or strip chart's content, with what it did. An observer that does
  // not care hears of it as the Plots aspect.
  virtual void plotsChanged(int panel, int control, const PlotChange& change) {
    (void)change;
    changed(panel, control, Aspect::Plots);
  }
};

// Status codes of model operations.
inline constexpr int kOk = 0;
inline constexpr int kErrNoPanel = -42;
inline constexpr int kErrNoControl = -43;
inline constexpr int kErrWrongKind = -44;
inline constexpr int kErrPanelLoad = -45;
inline constexpr int kErrCountMismatch = -46;  // values given for another number of traces
inline constexpr int kErrOutOfRange = -47;     // an index or a size the control cannot take

class UiModel {
 public:
  using PanelSource = std::function<std::optional<PanelTemplate>(int resourceId)>;

  explicit UiModel(PanelSource source);

  void setObserver(UiObserver* observer) { observer_ = observer; }
  // Hears of every operation on a panel or control that does not exist or is of another kind,
  // with the status code; without one the failure goes to stderr.
  using FailureHook = std::function<void(int panel, int control, int code)>;
  void setFailureHook(FailureHook hook) { failureHook_ = std::move(hook); }
  CallbackRegistry& callbacks() { return callbacks_; }

  // Panels. Handles count from 1 in load order; a negative result is a failed load.
  int LoadPanel(int parent, int resourceId);
  int DisplayPanel(int panel);
  int HidePanel(int panel);
  int DiscardPanel(int panel);
  int SetActivePanel(int panel);
  int SetActiveCtrl(int panel, int control);
  int SetPanelPos(int panel, int top, int left);
  int activePanel() const { return activePanel_; }
  const Panel* panel(int handle) const;
  Panel* panel(int handle);
  std::vector<int> panelHandles() const;
  std::optional<int> findPanel(std::string_view name) const;
  std::optional<int> findControl(int panel, std::string_view name) const;

  // Controls.
  const Control* control(int panel, int id) const;
  int SetCtrlVal(int panel, int id, double value);
  int SetCtrlText(int panel, int id, std::string_view text);
  double GetCtrlVal(int panel, int id) const;
  std::string GetCtrlText(int panel, int id) const;
  int SetVisible(int panel, int id, bool visible);
  int SetDimmed(int panel, int id, bool dimmed);
  bool IsVisible(int panel, int id) const;
  bool IsDimmed(int panel, int id) const;
  int SetCtrlPos(int panel, int id, int top, int left);
  Rect GetCtrlBoundingRect(int panel, int id) const;
  int SetBackColour(int panel, int id, Rgb colour);
  int SetTextColour(int panel, int id, Rgb colour);
  int SetLabel(int panel, int id, std::string_view label);
  int ResetTextBox(int panel, int id, std::string_view text);
  int ReplaceTextBoxLine(int panel, int id, int line, std::string_view text);
  // Highlights these lines of a text box (counted from 0) and no others.
  int SetTextBoxMarks(int panel, int id, std::vector<int> lines);
  int ReplaceListItem(int panel, int id, int index, std::string_view label, double value);
  int SetListItems(int panel, int id, std::vector<ListItem> items);
  int DisplayImageFile(int panel, int id, std::string_view path);
  // Any kind of control; an empty text removes the tooltip.
  int SetTooltip(int panel, int id, std::string_view text);
  int SetLedColour(int panel, int id, Rgb colour);
  // Any kind of control; told to the observer only when the text differs.
  int SetDescription(int panel, int id, std::string_view text);
  // A new text label on a panel; returns its control id.
  int NewTextLabel(int panel, int top, int left, std::string_view text, std::string_view font,
                   Rgb textColour, Rgb backColour, int pointSize);

  // Graphs.
  int PlotXY(int panel, int id, const std::vector<double>& x, const std::vector<double>& y,
             Rgb colour, int plotStyle, int pointStyle, int lineStyle);
  int PlotRectangle(int panel, int id, double x1, double y1, double x2, double y2, Rgb colour,
                    Rgb fillColour);
  // Makes the graph hold these rectangles, in this order, and no other plots. A rectangle at a
  // place the graph already holds one moves there, which the observer hears as a move from its
  // old area; the same rectangles again tell it nothing. Returns the number of rectangles.
  struct RectanglePlot {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Rgb colour = kBlack;
    Rgb fillColour = kBlack;
  };
  int SetGraphRectangles(int panel, int id, const std::vector<RectanglePlot>& rectangles);
  // plotHandle -1 deletes every plot of the graph.
  int DeleteGraphPlot(int panel, int id, int plotHandle);
  int SetAxisRange(int panel, int id, Axis axis, double min, double max);
  int SetGraphCursor(int panel, int id, int cursor, double x, double y);
  int SetCursorPointStyle(int panel, int id, int cursor, int pointStyle);

  // Strip charts. Points are interleaved by trace: trace t of sample s is data[s * traces + t].
  int SetStripTraces(int panel, int id, int traceCount);
  int SetStripPointsPerScreen(int panel, int id, int points);
  int SetTraceColour(int panel, int id, int trace, Rgb colour);
  int SetTraceVisible(int panel, int id, int trace, bool visible);
  int PlotStripChart(int panel, int id, const double* data, int count);
  // Appends one sample, sample[t] to trace t + 1; `traces` must be the chart's trace count.
  // The same as PlotStripChart with those values, but each answer hands over only its own.
  int PlotStripChartPoints(int panel, int id, const double* sample, int traces);

  // Routes an event to the callback bound to the control (control 0: the panel's callback).
  int dispatch(int panel, int control, int event, int data1 = 0, int data2 = 0);

 private:
  // The control, or null with the reason in `status` (when given) after reporting the miss.
  Control* mutableControl(int panel, int id, std::optional<ControlKind> kind = std::nullopt,
                          int* status = nullptr);
  // control(), reporting a miss: the program reads only controls it knows.
  const Control* readControl(int panel, int id) const;
  void failed(int panel, int id, int code, const std::string& what) const;
  void notify(int panel, int control, Aspect aspect);
  void notifyPlots(int panel, int control, const PlotChange& change);
  void notifyCursor(int panel, int control, int cursor, bool wasShown, PlotArea was, PlotArea now);
  // Reports an index the control does not have; returns kErrOutOfRange.
  int outOfRange(int panel, int control, const char* what, int index) const;

  PanelSource source_;
  CallbackRegistry callbacks_;
  UiObserver* observer_ = nullptr;
  FailureHook failureHook_;
  std::map<int, Panel> panels_;
  int nextHandle_ = 1;
  int activePanel_ = 0;
};

}  // namespace qrix::ui
