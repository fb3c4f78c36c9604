#pragma once
// What the Qt tests of the real window share: the window itself, a few ways
// to look into it, and the errors it reports caught instead of shown.

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QString>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/error_report.h"
#include "app/form_host.h"
#include "window/project.h"

namespace test_support {

inline QString Str(const char* utf8) { return QString::fromUtf8(utf8); }

// Replaces a field's text the way a user does: select all, then type, or
// let the input method commit what is not on the keyboard.
inline void Type(QComboBox* combo, const QString& text) {
  combo->setFocus(Qt::TabFocusReason);
  QLineEdit* edit = combo->lineEdit();
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(edit, Qt::Key_Delete);
  const bool ascii = std::all_of(text.begin(), text.end(),
                                 [](QChar c) { return c.unicode() < 0x80; });
  if (ascii) {
    QTest::keyClicks(edit, text);
  } else {
    // What an input method does: it commits the composed text at once.
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QCoreApplication::sendEvent(edit, &commit);
  }
}

// A second base of a test class (after QObject), so that its tests use the
// helpers by their plain names.
class WindowFixture {
 protected:
  WindowFixture() = default;
  ~WindowFixture() {
    if (catching_) app::SetErrorReporter(saved_reporter_);
  }

  // From now until the test object ends, reported messages are recorded in
  // reported_ and then handed to `then`, if given; with no `then` no modal
  // message box stops the test.
  void CatchReports(app::ErrorReporter then = {}) {
    catching_ = true;
    saved_reporter_ = app::SetErrorReporter(
        [this, then = std::move(then)](std::string_view message) {
          reported_.emplace_back(message);
          if (then) then(message);
        });
  }

  // A fresh window, not shown and not loaded yet, and no reports so far.
  void Open() {
    reported_.clear();
    host_ = std::make_unique<app::FormHost>(window::kBaud51Project);
  }

  [[nodiscard]] bool ShowAndActivate() {
    host_->Show();
    return QTest::qWaitForWindowActive(&Form());
  }

  QWidget& Form() { return host_->Window(); }

  // A control placed on the window itself, by its name.
  template <class W>
  W* Child(const QString& name) {
    return Form().findChild<W*>(name, Qt::FindDirectChildrenOnly);
  }

  // The control that owns the focus widget (a combo box's line edit counts
  // as the combo box).
  QString FocusedControl() {
    for (QWidget* w = QApplication::focusWidget(); w != nullptr;
         w = w->parentWidget()) {
      if (w->parentWidget() == &Form()) return w->objectName();
    }
    return {};
  }

  std::unique_ptr<app::FormHost> host_;
  std::vector<std::string> reported_;

 private:
  bool catching_ = false;
  app::ErrorReporter saved_reporter_;
};

}  // namespace test_support
