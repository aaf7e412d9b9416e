#include "runtime/qt/control_view.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "runtime/qt/deferred_update.h"
#include "runtime/qt/panel_window.h"

namespace qrix::qt {

namespace {
constexpr int kCaptionGap = 1;
constexpr int kCaptionPointSize = 8;

// What a sighted user reads on or beside the control: its label, else the text it shows (a
// box's first line); a control with no words at all (a picture) is called by its model name.
QString readableName(const ui::Control& c) {
  if (!c.label.empty()) {
    return QString::fromStdString(c.label);
  }
  if (c.kind == ui::ControlKind::TextMessage) {
    return QString::fromStdString(c.text);
  }
  if (c.kind == ui::ControlKind::TextBox) {
    return QString::fromStdString(c.text.substr(0, c.text.find('\n')));
  }
  return QString::fromStdString(c.name);
}
}  // namespace

ControlView::ControlView(EventRouter& router, int panel, int control, QWidget* panelWidget)
    : QObject(panelWidget), router_(&router), panel_(panel), id_(control) {}

QWidget* ControlView::panelWidget() const {
  return qobject_cast<QWidget*>(parent());
}

const ui::Control* ControlView::control() const {
  return router_ ? router_->control(panel_, id_) : nullptr;
}

void ControlView::setWidget(QWidget* widget, bool captioned) {
  widget_ = widget;
  const ui::Control* c = control();
  if (c) {
    widget->setObjectName(QString::fromStdString(c->name));
    applyAccessible(*c);
  }
  // Right-clicks land on inner widgets too (a spin box's line edit, a text box's viewport).
  widget->installEventFilter(this);
  for (QWidget* inner : widget->findChildren<QWidget*>()) {
    inner->installEventFilter(this);
  }
  if (captioned) {
    caption_ = new QLabel(panelWidget());
    QFont font = caption_->font();
    font.setPointSize(kCaptionPointSize);
    caption_->setFont(font);
    caption_->setBuddy(widget);
  }
}

void ControlView::detach() {
  router_ = nullptr;
  if (widget_) {
    widget_->removeEventFilter(this);
  }
}

QRect ControlView::modelRect() const {
  const ui::Control* c = control();
  return c ? bodyRect(*c) : QRect();
}

void ControlView::showWords(const QString& words) {
  words_ = words;
  if (const ui::Control* c = control()) {
    applyAccessible(*c);
  }
}

void ControlView::applyAccessible(const ui::Control& c) {
  if (!widget_) {
    return;
  }
  const QString words = c.description.empty() ? words_ : QString::fromStdString(c.description);
  const QString tag = "[" + QString::fromStdString(c.name) + "]";
  const QString description = words.isEmpty() ? tag : words + " " + tag;
  // Each change is an event to every screen reader listening: only real ones.
  if (const QString name = readableName(c); widget_->accessibleName() != name) {
    widget_->setAccessibleName(name);
  }
  if (widget_->accessibleDescription() != description) {
    widget_->setAccessibleDescription(description);
  }
}

QRect ControlView::bodyRect(const ui::Control& c) const {
  // A size hint is in screen pixels.
  QSize hint = widget_ ? (QSizeF(widget_->sizeHint()) / scale()).toSize() : QSize(0, 0);
  int width = c.bounds.width > 0 ? c.bounds.width : hint.width();
  int height = c.bounds.height > 0 ? c.bounds.height : hint.height();
  return QRect(c.bounds.left, c.bounds.top, width, height);
}

double ControlView::scale() const {
  return panelScale(panelWidget());
}

QRect ControlView::screenRect(const ui::Control& c) const {
  return toScreen(bodyRect(c), scale());
}

QPoint ControlView::onPanel(QWidget* w, QPoint at) const {
  if (w && panelWidget()) {
    at = w->mapTo(panelWidget(), at);
  }
  return (QPointF(at) / scale()).toPoint();
}

namespace {
// A font's size, in points or in pixels, whichever it was given in.
double sizeOf(const QFont& f) {
  return f.pointSizeF() > 0 ? f.pointSizeF() : f.pixelSize();
}
void setSize(QFont& f, double size) {
  if (f.pointSizeF() > 0) {
    f.setPointSizeF(size);
  } else {
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(size))));
  }
}
}  // namespace

void ControlView::scaleFont(double s) {
  // A widget without a font of its own takes the panel's, which is scaled already.
  if (!widget_->testAttribute(Qt::WA_SetFont)) {
    return;
  }
  QFont font = widget_->font();
  if (!shownFont_ || sizeOf(font) != sizeOf(*shownFont_)) {
    // A new size from the view; one taken over from the panel's font was scaled already.
    const bool panels = panelWidget() && sizeOf(font) == sizeOf(panelWidget()->font());
    fontSize_ = panels ? sizeOf(font) / s : sizeOf(font);
  }
  setSize(font, fontSize_ * s);
  if (font != widget_->font()) {
    widget_->setFont(font);
  }
  shownFont_ = font;
}

void ControlView::applyCommon(const ui::Control& c) {
  if (!widget_) {
    return;
  }
  const double s = scale();
  scaleFont(s);
  QRect body = screenRect(c);
  widget_->setGeometry(body);
  widget_->setEnabled(!c.dimmed);
  widget_->setVisible(c.visible);
  applyTooltip(c);
  if (caption_) {
    QFont font = caption_->font();
    font.setPointSizeF(kCaptionPointSize * s);
    if (font != caption_->font()) {
      caption_->setFont(font);
    }
    caption_->setText(QString::fromStdString(c.label));
    caption_->adjustSize();
    caption_->move(body.left(), body.top() - caption_->height() - kCaptionGap);
    caption_->setEnabled(!c.dimmed);
    caption_->setVisible(c.visible && !c.label.empty());
  }
  layoutExtras(body, c.visible);
  applyAccessible(c);
}

void ControlView::applyTooltip(const ui::Control& c) {
  if (!widget_) {
    return;
  }
  if (const QString tip = QString::fromStdString(c.tooltip); widget_->toolTip() != tip) {
    widget_->setToolTip(tip);
  }
}

void ControlView::update(ui::Aspect aspect) {
  const ui::Control* c = control();
  if (!c) {
    return;
  }
  switch (aspect) {
    case ui::Aspect::Value:
      if (!writing_) {
        applyValue(*c);
      }
      break;
    case ui::Aspect::Attributes:
      applyAttributes(*c);
      applyCommon(*c);
      break;
    case ui::Aspect::Tooltip:
      if (!tooltip_) {
        tooltip_ = new RateLimitedUpdate(
            widget_, kTooltipMs, 0,
            [this] {
              if (const ui::Control* now = control()) {
                applyTooltip(*now);
              }
            },
            this);
      }
      tooltip_->request();
      break;
    case ui::Aspect::Description:
      if (!description_) {
        description_ = new RateLimitedUpdate(
            widget_, kDescriptionMs, 0,
            [this] {
              if (const ui::Control* now = control()) {
                applyAccessible(*now);
              }
            },
            this);
      }
      description_->request();
      break;
    case ui::Aspect::Plots: applyPlots(*c); break;
    case ui::Aspect::Panel: refreshAll(); break;
  }
}

void ControlView::flushPending() {
  if (tooltip_) {
    tooltip_->flush();
  }
  if (description_) {
    description_->flush();
  }
}

void ControlView::refreshAll() {
  const ui::Control* c = control();
  if (!c) {
    return;
  }
  applyAttributes(*c);
  applyValue(*c);
  applyCommon(*c);
  applyPlots(*c);
}

bool ControlView::writeValue(double value) {
  if (!router_) {
    return false;
  }
  writing_ = true;
  int status = router_->model().SetCtrlVal(panel_, id_, value);
  writing_ = false;
  return status == ui::kOk;
}

bool ControlView::send(int event, int data1, int data2) {
  if (!router_) {
    return false;
  }
  QPointer<ControlView> self(this);
  router_->send(panel_, id_, event, data1, data2);
  return self && router_ && router_->panelAlive(panel_);
}

bool ControlView::acceptsInput() const {
  const ui::Control* c = control();
  return c && !c->dimmed && !c->readOnly;
}

bool ControlView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::RightButton && router_) {
      // The program decides what a right-click does; its data is the spot on the panel.
      const QPoint at = onPanel(qobject_cast<QWidget*>(watched), mouse->position().toPoint());
      send(ui::EVENT_RIGHT_CLICK, at.y(), at.x());
      return true;
    }
  } else if (event->type() == QEvent::ContextMenu) {
    // The right-click event replaces the widget's own menu.
    return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace qrix::qt
