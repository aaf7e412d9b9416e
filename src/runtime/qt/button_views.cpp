#include "runtime/qt/button_views.h"

#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "runtime/qt/mouse_aware_button.h"

namespace qrix::qt {

CommandButtonView::CommandButtonView(EventRouter& router, int panel, int control,
                                     QWidget* panelWidget)
    : ControlView(router, panel, control, panelWidget) {
  // The button may outlive this view while the panel is torn down.
  QPointer<CommandButtonView> self(this);
  auto* button = new MouseAwareButton<QPushButton>(panelWidget, [self] {
    if (self) {
      self->send(ui::EVENT_LEFT_CLICK);
    }
  });
  button->setAutoDefault(false);
  button_ = button;
  setWidget(button_, false);
  connect(button_, &QAbstractButton::clicked, this, [this] { send(ui::EVENT_COMMIT); });
}

void CommandButtonView::applyAttributes(const ui::Control& c) {
  button_->setText(QString::fromStdString(c.label));
  showWords(button_->text());
}

CheckButtonView::CheckButtonView(EventRouter& router, int panel, int control, QWidget* panelWidget,
                                 bool radio)
    : ControlView(router, panel, control, panelWidget), radio_(radio) {
  if (radio) {
    // No left-click event: a radio button's click is its value change.
    auto* r = new MouseAwareButton<QRadioButton>(panelWidget, {});
    r->setAutoExclusive(false);
    button_ = r;
  } else {
    QPointer<CheckButtonView> self(this);
    auto* b = new MouseAwareButton<QPushButton>(panelWidget, [self] {
      if (self) {
        self->send(ui::EVENT_LEFT_CLICK);
      }
    });
    b->setAutoDefault(false);
    b->setCheckable(true);
    button_ = b;
  }
  setWidget(button_, false);
  // `toggled`, not `clicked`: a screen reader's toggle switches the button without a click.
  // The model's own changes are applied with signals blocked, so only the user's come here.
  connect(button_, &QAbstractButton::toggled, this, &CheckButtonView::userToggled);
}

void CheckButtonView::applyValue(const ui::Control& c) {
  QSignalBlocker block(button_);
  button_->setChecked(c.value != 0);
}

void CheckButtonView::applyAttributes(const ui::Control& c) {
  button_->setText(QString::fromStdString(c.label));
  showWords(button_->text());
}

void CheckButtonView::userToggled(bool checked) {
  if (!acceptsInput()) {
    if (const ui::Control* c = control()) {
      applyValue(*c);
    }
    return;
  }
  if (!writeValue(checked ? 1 : 0)) {
    return;
  }
  if (radio_ && !send(ui::EVENT_VAL_CHANGED)) {
    return;
  }
  send(ui::EVENT_COMMIT);
}

}  // namespace qrix::qt
