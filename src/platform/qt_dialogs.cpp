#include "platform/qt_dialogs.h"

#include "platform/app_info.h"

#include <QAbstractPrintDialog>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QPrintDialog>
#include <QPrinter>

namespace tavuro::platform {

namespace {

QWidget* parent_window() { return QApplication::activeWindow(); }

QString title_or_app(const QString& title) { return title.isEmpty() ? app_title() : title; }

QMessageBox::Icon qt_icon(Icon icon) {
  switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

Answer QtDialogs::message(const QString& text, Icon icon, Buttons buttons, const QString& title) {
  QMessageBox box(qt_icon(icon), title_or_app(title), text, QMessageBox::NoButton, parent_window());
  if (buttons == Buttons::YesNo) {
    box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
    QAbstractButton* no = box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
    box.setEscapeButton(no);
    box.exec();
    return box.buttonRole(box.clickedButton()) == QMessageBox::YesRole ? Answer::Yes : Answer::No;
  }
  box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
  box.exec();
  return Answer::Ok;
}

std::optional<QString> QtDialogs::input(const QString& prompt, const QString& title,
                                        const QString& default_text) {
  QInputDialog box(parent_window());
  box.setWindowTitle(title_or_app(title));
  box.setLabelText(prompt);
  box.setTextValue(default_text);
  box.setOkButtonText(QStringLiteral("确定"));
  box.setCancelButtonText(QStringLiteral("取消"));
  if (box.exec() != QDialog::Accepted) return std::nullopt;
  return box.textValue();
}

namespace {

// An open or save dialog, as the request describes it; nullopt when cancelled.
std::optional<QString> file_dialog(const FileRequest& request, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent_window(), request.title, request.start_folder, qt_file_filter(request.filter));
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst();
}

}  // namespace

std::optional<QString> QtDialogs::open_file(const FileRequest& request) {
  return file_dialog(request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogs::save_file(const FileRequest& request) {
  return file_dialog(request, QFileDialog::AcceptSave);
}

std::optional<QColor> QtDialogs::color(const QColor& initial) {
  const QColor chosen = QColorDialog::getColor(initial, parent_window());
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

bool QtDialogs::print(PrintRequest& request) {
  if (request.printer == nullptr) return false;
  QPrintDialog dialog(request.printer, parent_window());
  dialog.setWindowTitle(QStringLiteral("Print"));
  QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintToFile;
  if (request.selection_available) {
    options |= QAbstractPrintDialog::PrintSelection;
    dialog.setPrintRange(QAbstractPrintDialog::Selection);
  } else {
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
  }
  dialog.setOptions(options);
  if (dialog.exec() != QDialog::Accepted) return false;
  request.print_selection = dialog.printRange() == QAbstractPrintDialog::Selection;
  return true;
}

}  // namespace tavuro::platform
