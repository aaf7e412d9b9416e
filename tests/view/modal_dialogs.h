#pragma once
// Answering the program's modal dialogs from a view test, as a user would.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QThread>
#include <QTimer>
#include <functional>

namespace qrix::test {

// Hands the next modal dialog to `answer`; watching ends with the watcher.
class ModalWatcher {
 public:
  explicit ModalWatcher(std::function<void(QWidget*)> answer) : answer_(std::move(answer)) {
    QObject::connect(&poll_, &QTimer::timeout, [this] {
      // Answered from the dialog's own event loop, not while it is still being shown.
      QWidget* modal = QApplication::activeModalWidget();
      if (modal && modal->isVisible() && QThread::currentThread()->loopLevel() > 0) {
        poll_.stop();
        answer_(modal);
      }
    });
    poll_.start(10);
  }

 private:
  std::function<void(QWidget*)> answer_;
  QTimer poll_;
};

// Types a path into the dialog's name field (selectFile leaves a focused field alone).
inline void typeFileName(QFileDialog* dialog, const QString& path) {
  auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  ASSERT_NE(field, nullptr);
  field->setText(path);
}

}  // namespace qrix::test
