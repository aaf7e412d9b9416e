#include "runtime/qt/text_views.h"

#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include "runtime/qt/qt_colours.h"

namespace qrix::qt {

namespace {

// The background of a highlighted text box line: a light amber that black text reads on.
constexpr ui::Rgb kMarkColour = 0xFFE08A;

// The application font: the default family, its size counted in pixels, so that banner texts
// placed side by side at fixed positions do not run into each other.
constexpr const char* kApplicationFont = "NIApp";

// Font names of the form VAL_..._FONT name a role, not a family: keep the default family then,
// or take the system's fixed-pitch font for that role.
void applyFont(QWidget* w, const ui::Control& c) {
  QFont font = c.font == ui::kFixedPitchFont ? QFontDatabase::systemFont(QFontDatabase::FixedFont)
                                             : w->font();
  const bool applicationFont = c.font == kApplicationFont;
  if (!c.font.empty() && !applicationFont && c.font.rfind("VAL_", 0) != 0) {
    font.setFamily(QString::fromStdString(c.font));
  }
  if (c.pointSize > 0 && applicationFont) {
    font.setPixelSize(c.pointSize);
  } else if (c.pointSize > 0) {
    font.setPointSize(c.pointSize);
  }
  w->setFont(font);
}

void applyColours(QWidget* w, const ui::Control& c, QPalette::ColorRole textRole,
                  QPalette::ColorRole backRole) {
  QPalette palette = w->palette();
  palette.setColor(textRole, toQColor(c.textColour));
  if (c.hasBackColour) {
    palette.setColor(backRole, toQColor(c.backColour));
  }
  w->setPalette(palette);
  w->setAutoFillBackground(c.hasBackColour);
}

}  // namespace

TextMessageView::TextMessageView(EventRouter& router, int panel, int control, QWidget* panelWidget)
    : ControlView(router, panel, control, panelWidget), label_(new QLabel(panelWidget)) {
  label_->setTextFormat(Qt::PlainText);
  setWidget(label_, false);
}

void TextMessageView::applyAttributes(const ui::Control& c) {
  applyFont(label_, c);
  applyColours(label_, c, QPalette::WindowText, QPalette::Window);
}

void TextMessageView::applyValue(const ui::Control& c) {
  QString text = QString::fromStdString(c.text);
  label_->setText(text);
  showWords(text);
  // A label without a size of its own grows with its text.
  if (c.bounds.width <= 0 || c.bounds.height <= 0) {
    label_->resize(screenRect(c).size());
  }
}

TextBoxView::TextBoxView(EventRouter& router, int panel, int control, QWidget* panelWidget)
    : ControlView(router, panel, control, panelWidget), edit_(new QPlainTextEdit(panelWidget)) {
  edit_->setReadOnly(true);
  edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
  setWidget(edit_, true);
  // Only the program writes here. A screen reader's editable-text interface ignores read-only,
  // so whatever it changed is put back.
  connect(edit_, &QPlainTextEdit::textChanged, this, [this] {
    if (const ui::Control* c = this->control()) {
      applyValue(*c);
    }
  });
}

void TextBoxView::applyAttributes(const ui::Control& c) {
  applyFont(edit_, c);
  applyColours(edit_, c, QPalette::Text, QPalette::Base);
  edit_->setAutoFillBackground(false);
  // A box the program shows is there to be read: above the child panels that may overlap it
  // (a help box opens beside a control of a parameter panel).
  if (c.visible) {
    edit_->raise();
  }
}

bool TextBoxView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton) {
      const QPoint at = onPanel(qobject_cast<QWidget*>(watched), mouse->position().toPoint());
      // The box still takes the press (to place the cursor) unless the callback removed it.
      if (!send(ui::EVENT_LEFT_CLICK, at.y(), at.x())) {
        return true;
      }
    }
  }
  return ControlView::eventFilter(watched, event);
}

void TextBoxView::applyValue(const ui::Control& c) {
  QString text = QString::fromStdString(c.text);
  if (edit_->toPlainText() != text) {
    QScrollBar* bar = edit_->verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum();
    const int position = bar->value();
    edit_->setPlainText(text);
    showWords(text);
    bar->setValue(atEnd ? bar->maximum() : position);
  }
  QList<QTextEdit::ExtraSelection> marks;
  for (int line : c.markedLines) {
    const QTextBlock block = edit_->document()->findBlockByNumber(line);
    if (!block.isValid()) {
      continue;
    }
    QTextEdit::ExtraSelection mark;
    mark.cursor = QTextCursor(block);
    mark.format.setBackground(toQColor(kMarkColour));
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    marks.append(mark);
  }
  edit_->setExtraSelections(marks);
}

DecorationView::DecorationView(EventRouter& router, int panel, int control, QWidget* panelWidget)
    : ControlView(router, panel, control, panelWidget), frame_(new QFrame(panelWidget)) {
  frame_->setFrameShape(QFrame::Box);
  frame_->setFrameShadow(QFrame::Sunken);
  setWidget(frame_, false);
  // Drawn behind the controls it groups.
  frame_->lower();
}

void DecorationView::applyAttributes(const ui::Control& c) {
  QPalette palette = frame_->palette();
  if (c.hasBackColour) {
    palette.setColor(QPalette::Window, toQColor(c.backColour));
  }
  frame_->setPalette(palette);
  frame_->setAutoFillBackground(c.hasBackColour);
}

PictureView::PictureView(EventRouter& router, int panel, int control, QWidget* panelWidget)
    : ControlView(router, panel, control, panelWidget), label_(new QLabel(panelWidget)) {
  label_->setScaledContents(true);
  setWidget(label_, false);
}

void PictureView::applyValue(const ui::Control& c) {
  if (c.imagePath == shownPath_) {
    return;
  }
  shownPath_ = c.imagePath;
  QPixmap image;
  if (!c.imagePath.empty() && image.load(QString::fromStdString(c.imagePath))) {
    label_->setPixmap(image);
  } else {
    label_->clear();
  }
  showWords(QString::fromStdString(c.imagePath));
  if (c.bounds.width <= 0 || c.bounds.height <= 0) {
    label_->resize(screenRect(c).size());
  }
}

}  // namespace qrix::qt
