#pragma once
// A button that tells when the left mouse button went down on it, and that Enter presses as
// Space does. Qt's `pressed` also comes from Space and from a screen reader's press, which are
// no left-click; and a push button takes Enter only as a dialog's default, which the panels
// have none of.

#include <QAbstractButton>
#include <QKeyEvent>
#include <QMouseEvent>
#include <functional>

namespace qrix::qt {

template <class Base>
class MouseAwareButton : public Base {
 public:
  MouseAwareButton(QWidget* parent, std::function<void()> leftPressed)
      : Base(parent), leftPressed_(std::move(leftPressed)) {}

 protected:
  // A double click arrives here too, as a second press.
  void mousePressEvent(QMouseEvent* event) override {
    Base::mousePressEvent(event);
    // Down only when the press hit the button itself.
    if (event->button() == Qt::LeftButton && this->isDown() && leftPressed_) {
      leftPressed_();
    }
  }

  // Return and the keypad's Enter (which comes with the keypad modifier); held down, once.
  void keyPressEvent(QKeyEvent* event) override {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
      if (!event->isAutoRepeat()) {
        this->click();
      }
      return;
    }
    Base::keyPressEvent(event);
  }

 private:
  std::function<void()> leftPressed_;
};

}  // namespace qrix::qt
