// A short session of the real program for the leak checkers: started as the
// program starts, a few calculations (good and bad, each error message
// closed with 确定), then "退出", and the program ends by itself. Exits
// non-zero if the session did not run to its end.
#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <cstdio>

#include "app/start.h"
#include "tests/support/window_fixture.h"
#include "window/project.h"

namespace {

bool session_finished = false;

void CloseMessageBoxSoon() {
  QTimer::singleShot(0, [] {
    if (auto* box =
            qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    }
  });
}

void RunSession(QWidget& form) {
  auto* frequency = form.findChild<QComboBox*>(QStringLiteral("Combo1"));
  auto* baud = form.findChild<QComboBox*>(QStringLiteral("Combo2"));
  auto* calculate = form.findChild<QPushButton*>(QStringLiteral("Command1"));
  auto* exit = form.findChild<QPushButton*>(QStringLiteral("Command2"));
  if (!frequency || !baud || !calculate || !exit) return;

  struct Entry {
    const char* frequency;
    const char* baud;
    bool fails;
  };
  const Entry entries[] = {
      {"11.0592", "9600", false},  {"12", "0", true},
      {"6", "19200", false},       {"abc", "9600", true},
      {"1e13", "9600", true},      {"24", "600", false},
      {"700000000", "9600", true}, {"&H10", "&O17", false},
  };
  for (const Entry& entry : entries) {
    test_support::Type(frequency, entry.frequency);
    test_support::Type(baud, entry.baud);
    if (entry.fails) CloseMessageBoxSoon();
    QTest::mouseClick(calculate, Qt::LeftButton);
  }
  baud->setCurrentIndex(2);
  frequency->setCurrentIndex(4);
  QTest::mouseClick(calculate, Qt::LeftButton);
  session_finished = true;
  QTest::mouseClick(exit, Qt::LeftButton);
}

}  // namespace

int main() {
  app::StartHooks hooks;
  // Inside the event loop, so that closing the window ends it as usual.
  hooks.on_shown = [](QWidget& form) {
    QTimer::singleShot(0, &form, [&form] { RunSession(form); });
  };
  const int status = app::Start(window::kBaud51Project, hooks);
  if (!session_finished) {
    std::fputs("session: the window's controls were not found\n", stderr);
    return 1;
  }
  return status;
}
