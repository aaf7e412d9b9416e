#include "runtime/qt/qt_runtime.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <stdexcept>

#include "runtime/qt/image_export.h"
#include "runtime/qt/qt_port_list.h"
#include "runtime/qt/qt_serial_device.h"

namespace qrix {

namespace {

// "*.cfg" asks new names to end in .cfg; anything fancier leaves names as typed.
QString suffixOf(const QString& filter) {
  if (filter.startsWith("*.") && !filter.contains(' ') && !filter.contains(';')) {
    return filter.mid(2);
  }
  return {};
}

}  // namespace

QtRuntime::QtRuntime(ui::UiModel::PanelSource panels) : EventLoopRuntime(std::move(panels)) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
    throw std::logic_error("QtRuntime needs a QApplication");
  }
  // The program quits through its own close handling; a hidden last window is no reason.
  QApplication::setQuitOnLastWindowClosed(false);
  view_ = std::make_unique<qt::QtView>(ui_);
  ui_.setObserver(view_.get());
  serial_.setPorts(qt::enumeratePorts());
  serial_.setOpener(qt::openQtSerialDevice);
}

void QtRuntime::followSerialDevices() {
  QObject::connect(&deviceWatch_, &QTimer::timeout,
                   [this] { serial_.followPorts(qt::enumeratePorts()); });
  deviceWatch_.start(2000);
}

QtRuntime::~QtRuntime() {
  ui_.setObserver(nullptr);
  view_.reset();
}

void QtRuntime::afterEvents() {
  view_->freeDiscarded();
}

QWidget* QtRuntime::dialogParent() const {
  QWidget* w = view_->panelWidget(ui_.activePanel());
  return w && w->isVisible() ? w->window() : nullptr;
}

int QtRuntime::ConfirmPopup(const std::string& title, const std::string& message) {
  QMessageBox box(QMessageBox::Question, QString::fromStdString(title),
                  QString::fromStdString(message), QMessageBox::Yes | QMessageBox::No,
                  dialogParent());
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes ? 1 : 0;
}

FileSelection QtRuntime::FileSelectPopup(const std::string& directory,
                                         const std::string& defaultName, const std::string& filter,
                                         const std::string& title, FileDialogMode mode,
                                         FileDialogButton button) {
  const QString nameFilter = QString::fromStdString(filter);
  QFileDialog dialog(dialogParent(), QString::fromStdString(title),
                     QString::fromStdString(directory));
  // Only files of the given type are offered.
  if (!nameFilter.isEmpty()) {
    dialog.setNameFilter(nameFilter);
  }
  if (mode == FileDialogMode::Save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The program asks about overwriting itself.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(suffixOf(nameFilter));
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  dialog.setLabelText(QFileDialog::Accept, QString::fromLatin1(labelOf(button)));
  if (!defaultName.empty()) {
    dialog.selectFile(QString::fromStdString(defaultName));
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return {};
  }
  const QString path = dialog.selectedFiles().constFirst();
  const int status = QFileInfo::exists(path) ? VAL_EXISTING_FILE_SELECTED : VAL_NEW_FILE_SELECTED;
  return {status, path.toStdString()};
}

std::string QtRuntime::programDirectory() const {
  return QCoreApplication::applicationDirPath().toStdString();
}

std::string QtRuntime::documentsDirectory() const {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!documents.isEmpty() && QFileInfo(documents).isDir()) {
    return documents.toStdString();
  }
  return QDir::homePath().toStdString();
}

bool QtRuntime::ClipboardPutText(const std::string& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) {
    return false;
  }
  const QString wanted = QString::fromStdString(text);
  clipboard->setText(wanted);
  // Qt reports no failure; reading back tells whether the system took the text.
  return clipboard->text() == wanted;
}

std::string QtRuntime::SaveImage(int panel, int control, ImageFormat format,
                                 const std::string& path, const ImageNotes& notes) {
  return qt::saveImage(*view_, panel, control, format, path, notes);
}

}  // namespace qrix
