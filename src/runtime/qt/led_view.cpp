#include "runtime/qt/led_view.h"

#include <QPainter>
#include <QPointer>
#include <algorithm>

#include "runtime/qt/mouse_aware_button.h"
#include "runtime/qt/qt_colours.h"

namespace qrix::qt {

namespace {
constexpr int kDiameter = 18;
constexpr int kFocusGap = 2;
}  // namespace

// A button drawn as a lit circle; its colour is the model's.
class LedLight : public QAbstractButton {
 public:
  explicit LedLight(QWidget* parent) : QAbstractButton(parent) { setFocusPolicy(Qt::StrongFocus); }

  void setColour(const QColor& colour) {
    if (colour == colour_) {
      return;
    }
    colour_ = colour;
    update();
  }
  QSize sizeHint() const override {
    return {kDiameter + 2 * kFocusGap + 2, kDiameter + 2 * kFocusGap + 2};
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(width(), height());
    const QRectF square((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    const QRectF light =
        square.adjusted(kFocusGap + 1, kFocusGap + 1, -kFocusGap - 1, -kFocusGap - 1);
    painter.setPen(QPen(colour_.darker(170), 1));
    painter.setBrush(isEnabled() ? colour_ : colour_.lighter(130));
    painter.drawEllipse(light);
    if (hasFocus()) {
      painter.setBrush(Qt::NoBrush);
      painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
      painter.drawEllipse(square.adjusted(0.5, 0.5, -0.5, -0.5));
    }
  }

 private:
  QColor colour_;
};

LedView::LedView(EventRouter& router, int panel, int control, QWidget* panelWidget)
    : ControlView(router, panel, control, panelWidget) {
  QPointer<LedView> self(this);
  light_ = new MouseAwareButton<LedLight>(panelWidget, [self] {
    if (self) {
      self->send(ui::EVENT_LEFT_CLICK);
    }
  });
  setWidget(light_, true);
  // `clicked` comes from the mouse, the keyboard and a screen reader's press alike.
  connect(light_, &QAbstractButton::clicked, this, [this] { send(ui::EVENT_COMMIT); });
}

void LedView::applyAttributes(const ui::Control& c) {
  light_->setColour(toQColor(c.ledColour));
}

void LedView::applyTooltip(const ui::Control& c) {
  ControlView::applyTooltip(c);
  // A screen reader cannot see the colour: the description tells what the tooltip tells.
  showWords(QString::fromStdString(c.tooltip));
}

}  // namespace qrix::qt
