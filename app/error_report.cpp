#include "app/error_report.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QWidget>
#include <utility>

#include "app/builder.h"
#include "window/description.h"

namespace app {
namespace {

ErrorReporter& CurrentReporter() {
  static ErrorReporter reporter;
  return reporter;
}

// The message belongs over the window the user was working in.
QWidget* Form1Window() {
  const QString name = Utf8(window::kForm1.name);
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->objectName() == name && top->isVisible()) return top;
  }
  return QApplication::activeWindow();
}

}  // namespace

void ReportError(std::string_view message) {
  if (const ErrorReporter& reporter = CurrentReporter()) {
    reporter(message);
  } else {
    ShowErrorMessageBox(message);
  }
}

ErrorReporter SetErrorReporter(ErrorReporter reporter) {
  return std::exchange(CurrentReporter(), std::move(reporter));
}

void ShowErrorMessageBox(std::string_view message) {
  QMessageBox box(QMessageBox::Critical, Utf8(window::kForm1.caption),
                  Utf8(message), QMessageBox::Ok, Form1Window());
  // Qt words the button itself when its Chinese texts are installed.
  QAbstractButton* ok = box.button(QMessageBox::Ok);
  if (!IsTranslated(ok->text())) ok->setText(QStringLiteral("确定"));
  box.exec();
}

}  // namespace app
