#include "runtime/qt/number_views.h"

#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <algorithm>
#include <climits>
#include <cmath>

#include "runtime/qt/qt_colours.h"

namespace qrix::qt {

namespace {

constexpr int kMaxDecimals = 10;
constexpr int kMaxSliderPrecision = 6;
constexpr int kReadoutGap = 4;

// Spin boxes that tell a step (arrow, wheel, Up/Down) and typing from a value set from outside.
template <class Base>
class TrackedSpin : public Base {
 public:
  using Base::Base;
  bool stepping() const { return stepping_; }
  bool typing() const { return typing_; }

  void stepBy(int steps) override {
    stepping_ = true;
    Base::stepBy(steps);
    stepping_ = false;
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    typing_ = true;
    Base::keyPressEvent(event);
    typing_ = false;
  }

 private:
  bool stepping_ = false;
  bool typing_ = false;
};

using IntSpin = TrackedSpin<QSpinBox>;
using DoubleSpin = TrackedSpin<QDoubleSpinBox>;

// Doubles onto int without overflow; NaN becomes 0.
int clampToInt(double value) {
  if (std::isnan(value)) {
    return 0;
  }
  double r = std::round(value);
  if (r <= static_cast<double>(INT_MIN)) {
    return INT_MIN;
  }
  if (r >= static_cast<double>(INT_MAX)) {
    return INT_MAX;
  }
  return static_cast<int>(r);
}

struct Range {
  double min, max;
};

// The model's limits; none set (both 0) or reversed means the full signed 32-bit range.
// The range always holds the value, so the field never shows something else than the model.
Range rangeFor(const ui::Control& c) {
  Range r{c.minimum, c.maximum};
  if ((r.min == 0 && r.max == 0) || r.min > r.max) {
    r = {INT_MIN, INT_MAX};
  }
  if (std::isfinite(c.value)) {
    r.min = std::min(r.min, c.value);
    r.max = std::max(r.max, c.value);
  }
  return r;
}

void applyColours(QWidget* w, const ui::Control& c) {
  QPalette palette = w->palette();
  palette.setColor(QPalette::Text, toQColor(c.textColour));
  if (c.hasBackColour) {
    palette.setColor(QPalette::Base, toQColor(c.backColour));
  }
  w->setPalette(palette);
}

}  // namespace

NumericView::NumericView(EventRouter& router, int panel, int control, QWidget* panelWidget,
                         int precision)
    : ControlView(router, panel, control, panelWidget),
      decimals_(std::clamp(precision, 0, kMaxDecimals)) {
  if (decimals_ == 0) {
    auto* spin = new IntSpin(panelWidget);
    connect(spin, &QSpinBox::valueChanged, this, [this](int v) { userChanged(v); });
    spin_ = spin;
  } else {
    auto* spin = new DoubleSpin(panelWidget);
    spin->setDecimals(decimals_);
    connect(spin, &QDoubleSpinBox::valueChanged, this, &NumericView::userChanged);
    spin_ = spin;
  }
  spin_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  indicator_ = new RateLimitedUpdate(
      spin_, kIndicatorMs, kJoinRepaintMs,
      [this] {
        // `control` alone is the constructor's id.
        if (const ui::Control* c = this->control()) {
          showValue(*c);
        }
      },
      this);
  connect(spin_, &QAbstractSpinBox::editingFinished, this, &NumericView::editingFinished);
  setWidget(spin_, true);
}

bool NumericView::stepping() const {
  if (auto* s = dynamic_cast<IntSpin*>(spin_)) {
    return s->stepping();
  }
  return static_cast<DoubleSpin*>(spin_)->stepping();
}

bool NumericView::typing() const {
  if (auto* s = dynamic_cast<IntSpin*>(spin_)) {
    return s->typing();
  }
  return static_cast<DoubleSpin*>(spin_)->typing();
}

void NumericView::applyAttributes(const ui::Control& c) {
  QSignalBlocker block(spin_);
  Range r = rangeFor(c);
  double step = c.increment > 0 ? c.increment : 1;
  QString suffix = c.unit.empty() ? QString() : " " + QString::fromStdString(c.unit);
  if (auto* s = qobject_cast<QSpinBox*>(spin_)) {
    s->setRange(clampToInt(std::floor(r.min)), clampToInt(std::ceil(r.max)));
    s->setSingleStep(std::max(1, clampToInt(step)));
    s->setSuffix(suffix);
  } else {
    auto* d = static_cast<QDoubleSpinBox*>(spin_);
    d->setRange(r.min, r.max);
    d->setSingleStep(step);
    d->setSuffix(suffix);
  }
  spin_->setReadOnly(c.readOnly);
  spin_->setButtonSymbols(c.readOnly ? QAbstractSpinBox::NoButtons
                                     : QAbstractSpinBox::UpDownArrows);
  spin_->setFocusPolicy(c.readOnly ? Qt::NoFocus : Qt::StrongFocus);
  applyColours(spin_, c);
  // A changed range may have clamped what is shown.
  showValue(c);
}

void NumericView::applyValue(const ui::Control& c) {
  if (c.readOnly) {
    indicator_->request();
  } else {
    showValue(c);
  }
}

void NumericView::flushPending() {
  ControlView::flushPending();
  indicator_->flush();
}

void NumericView::showValue(const ui::Control& c) {
  indicator_->cancel();
  if (std::isnan(c.value)) {
    return;
  }
  QSignalBlocker block(spin_);
  if (auto* s = qobject_cast<QSpinBox*>(spin_)) {
    int v = clampToInt(c.value);
    if (v < s->minimum() || v > s->maximum()) {
      s->setRange(std::min(v, s->minimum()), std::max(v, s->maximum()));
    }
    // Setting an equal value would still rewrite the text under a typing user.
    if (s->value() != v) {
      s->setValue(v);
    }
  } else {
    auto* d = static_cast<QDoubleSpinBox*>(spin_);
    if (c.value < d->minimum() || c.value > d->maximum()) {
      d->setRange(std::min(c.value, d->minimum()), std::max(c.value, d->maximum()));
    }
    double tolerance = 0.5 * std::pow(10.0, -decimals_);
    if (std::abs(d->value() - c.value) >= tolerance) {
      d->setValue(c.value);
    }
  }
}

void NumericView::userChanged(double value) {
  const ui::Control* c = control();
  if (!c) {
    return;
  }
  if (!acceptsInput()) {
    // An indicator or a dimmed field keeps the model's value, whoever tried to change it.
    showValue(*c);
    return;
  }
  // Enter re-reports the shown value; that is no edit, and writing it back would replace
  // the model's value by its rounded display.
  if (std::abs(value - c->value) < 0.5 * std::pow(10.0, -decimals_)) {
    return;
  }
  const bool commitNow = stepping() || !typing();
  if (!writeValue(value)) {
    return;
  }
  if (!send(ui::EVENT_VAL_CHANGED)) {
    return;
  }
  if (commitNow) {
    dirty_ = false;
    send(ui::EVENT_COMMIT);
  } else {
    dirty_ = true;
  }
}

void NumericView::editingFinished() {
  if (!dirty_) {
    return;
  }
  dirty_ = false;
  send(ui::EVENT_COMMIT);
}

SliderView::SliderView(EventRouter& router, int panel, int control, QWidget* panelWidget)
    : ControlView(router, panel, control, panelWidget),
      slider_(new QSlider(Qt::Horizontal, panelWidget)),
      readout_(new QLabel(panelWidget)) {
  setWidget(slider_, true);
  connect(slider_, &QSlider::valueChanged, this, &SliderView::userMoved);
  connect(slider_, &QSlider::sliderReleased, this, [this] {
    if (acceptsInput()) {
      send(ui::EVENT_COMMIT);
    }
  });
}

void SliderView::applyAttributes(const ui::Control& c) {
  precision_ = std::clamp(c.precision, 0, kMaxSliderPrecision);
  scale_ = std::pow(10.0, precision_);
  unit_ = c.unit.empty() ? QString() : " " + QString::fromStdString(c.unit);
  QSignalBlocker block(slider_);
  double lo = c.minimum, hi = c.maximum;
  if (lo >= hi) {
    lo = 0, hi = 100;
  }
  if (std::isfinite(c.value)) {
    lo = std::min(lo, c.value), hi = std::max(hi, c.value);
  }
  slider_->setRange(clampToInt(lo * scale_), clampToInt(hi * scale_));
  int step = std::max(1, clampToInt((c.increment > 0 ? c.increment : 1) * scale_));
  slider_->setSingleStep(step);
  slider_->setPageStep(std::max(step, (slider_->maximum() - slider_->minimum()) / 10));
  applyValue(c);
}

void SliderView::applyValue(const ui::Control& c) {
  if (std::isnan(c.value)) {
    return;
  }
  QSignalBlocker block(slider_);
  int position = clampToInt(c.value * scale_);
  if (position < slider_->minimum() || position > slider_->maximum()) {
    slider_->setRange(std::min(position, slider_->minimum()),
                      std::max(position, slider_->maximum()));
  }
  slider_->setValue(position);
  showReadout(c.value);
}

void SliderView::showReadout(double value) {
  QString text = QString::number(value, 'f', precision_) + unit_;
  readout_->setText(text);
  readout_->adjustSize();
  showWords(text);
}

void SliderView::layoutExtras(const QRect& body, bool visible) {
  readout_->adjustSize();
  readout_->move(body.right() + 1 + kReadoutGap,
                 body.top() + (body.height() - readout_->height()) / 2);
  readout_->setVisible(visible);
}

void SliderView::userMoved(int position) {
  if (!acceptsInput()) {
    if (const ui::Control* c = control()) {
      applyValue(*c);
    }
    return;
  }
  double value = position / scale_;
  showReadout(value);
  if (!writeValue(value)) {
    return;
  }
  if (!send(ui::EVENT_VAL_CHANGED)) {
    return;
  }
  // While dragging, the release commits; a step without the mouse commits at once.
  if (!slider_->isSliderDown()) {
    send(ui::EVENT_COMMIT);
  }
}

}  // namespace qrix::qt
