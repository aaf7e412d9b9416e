#pragma once
// A button that tells when the left mouse button went down on it. Qt's `pressed` also comes
// from Space and from a screen reader's press, which are no left-click.

#include <QAbstractButton>
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
    if (event->button() == Qt::LeftButton && this->isDown()) leftPressed_();
  }

 private:
  std::function<void()> leftPressed_;
};

}  // namespace qrix::qt
