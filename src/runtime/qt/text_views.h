#pragma once
// Text messages, text boxes, decorations and pictures: controls the program writes and the user
// only reads. Their shown text is also their accessible description.

#include "runtime/qt/control_view.h"

class QFrame;
class QLabel;
class QPlainTextEdit;

namespace qrix::qt {

class TextMessageView : public ControlView {
 public:
  TextMessageView(EventRouter& router, int panel, int control, QWidget* panelWidget);

 protected:
  void applyValue(const ui::Control& c) override;
  void applyAttributes(const ui::Control& c) override;

 private:
  QLabel* label_;
};

// Lines of text, read-only; a box scrolled to its end stays at the end as lines come in.
// A left-click on it is an event for the program (a help box closes on it).
class TextBoxView : public ControlView {
 public:
  TextBoxView(EventRouter& router, int panel, int control, QWidget* panelWidget);

 protected:
  void applyValue(const ui::Control& c) override;
  void applyAttributes(const ui::Control& c) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPlainTextEdit* edit_;
};

class DecorationView : public ControlView {
 public:
  DecorationView(EventRouter& router, int panel, int control, QWidget* panelWidget);

 protected:
  void applyValue(const ui::Control&) override {}
  void applyAttributes(const ui::Control& c) override;

 private:
  QFrame* frame_;
};

// Shows the image file when it loads, otherwise stays empty.
class PictureView : public ControlView {
 public:
  PictureView(EventRouter& router, int panel, int control, QWidget* panelWidget);

 protected:
  void applyValue(const ui::Control& c) override;

 private:
  QLabel* label_;
  std::string shownPath_;
};

}  // namespace qrix::qt
