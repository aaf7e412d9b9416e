#pragma once
// One control on screen: a QObject child of its panel window that owns the control's widgets
// (through the window), keeps them in step with the model, and turns user input into model
// writes and callback events.

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <optional>

#include "runtime/qt/event_router.h"
#include "runtime/ui_model.h"

class QLabel;
class QWidget;

namespace qrix::qt {

class RateLimitedUpdate;

class ControlView : public QObject {
 public:
  // A tooltip that changes with every exchange of the line (the link light's counters) is
  // brought up to date at most this often: it is read at leisure.
  static constexpr int kTooltipMs = 500;
  // The same for a description in words that changes with every RUN answer (a bar graph's).
  static constexpr int kDescriptionMs = 250;

  ControlView(EventRouter& router, int panel, int control, QWidget* panelWidget);

  int panel() const { return panel_; }
  int id() const { return id_; }
  // The widget that stands for the control. Its accessible name is what a sighted user reads on
  // or beside it; its object name, and the end of its description in brackets, the model's name.
  QWidget* widget() const { return widget_; }
  // Where the model puts the control on its panel, at the size it is drawn; empty once detached.
  QRect modelRect() const;

  // Brings the widgets in step with one aspect of the model.
  void update(ui::Aspect aspect);
  // A change of a graph's or strip chart's content, with what it did.
  virtual void updatePlots(const ui::PlotChange& change) {
    (void)change;
    update(ui::Aspect::Plots);
  }
  void refreshAll();
  // Brings the widgets in step with the model now where that waits: graphs and strip charts
  // redraw at a limited rate, indicators show their numbers at one, tooltips change at one.
  virtual void flushPending();
  // The panel was discarded: from now on no model access and no events from here.
  virtual void detach();

 protected:
  // Subclass constructors hand over their widget; a captioned control shows its label above.
  void setWidget(QWidget* widget, bool captioned);
  QWidget* panelWidget() const;
  // The model's control, or null once the panel is gone.
  const ui::Control* control() const;

  virtual void applyValue(const ui::Control& c) = 0;
  virtual void applyAttributes(const ui::Control& c) { (void)c; }
  virtual void applyPlots(const ui::Control& c) { (void)c; }
  virtual void applyTooltip(const ui::Control& c);
  // Places widgets beside the body (a slider's value read-out).
  virtual void layoutExtras(const QRect& body, bool visible) { (void)body, (void)visible; }
  // Where the body goes: the model's bounds, a zero width or height taken from the size hint.
  QRect bodyRect(const ui::Control& c) const;
  // Screen pixels per layout unit of the panel (see PanelWindow), and the body on the screen.
  double scale() const;
  QRect screenRect(const ui::Control& c) const;
  // A spot in `w` as the program's click events carry it: on the panel, in layout units.
  QPoint onPanel(QWidget* w, QPoint at) const;

  // The words the control shows besides its name (a button's text, the chosen item, a box's
  // text); a description the program gives in words takes their place.
  void showWords(const QString& words);

  // A user edit into the model, not echoed back to the widget that made it.
  bool writeValue(double value);
  // A user event; false when the panel is gone afterwards (the callback discarded it).
  bool send(int event, int data1 = 0, int data2 = 0);
  // Whether the user may change the control now: live, not dimmed, not an indicator.
  bool acceptsInput() const;

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void applyCommon(const ui::Control& c);
  void applyAccessible(const ui::Control& c);
  // Gives a font the view set on its widget the panel's scale.
  void scaleFont(double scale);

  EventRouter* router_;
  int panel_;
  int id_;
  QPointer<QWidget> widget_;
  QPointer<QLabel> caption_;
  RateLimitedUpdate* tooltip_ = nullptr;      // made for the first tooltip that changes
  RateLimitedUpdate* description_ = nullptr;  // made for the first description that changes
  QString words_;
  bool writing_ = false;
  // The font size the view asked for, and the font last shown for it at the panel's scale.
  double fontSize_ = 0;
  std::optional<QFont> shownFont_;
};

}  // namespace qrix::qt
