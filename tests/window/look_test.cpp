// What the window looks like to a Chinese user on any desktop: Qt's own
// texts in Chinese, and every label readable under a dark palette while the
// default light one keeps the described colours exactly.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <memory>

#include "app/error_report.h"
#include "app/start.h"
#include "tests/support/window_fixture.h"
#include "window/project.h"

namespace {

using test_support::Str;

// WCAG 2.1, written out here apart from the window's own rule.
double Luminance(const QColor& c) {
  auto linear = [](int v) {
    const double s = v / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) +
         0.0722 * linear(c.blue());
}
double Ratio(const QColor& a, const QColor& b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// qt6ct's "darker" scheme, near enough.
QPalette DarkPalette() {
  QPalette dark;
  const QColor window(0x35, 0x35, 0x35);
  const QColor text(0xFF, 0xFF, 0xFF);
  for (auto group : {QPalette::Active, QPalette::Inactive}) {
    dark.setColor(group, QPalette::Window, window);
    dark.setColor(group, QPalette::WindowText, text);
    dark.setColor(group, QPalette::Button, window);
    dark.setColor(group, QPalette::ButtonText, text);
    dark.setColor(group, QPalette::Base, QColor(0x2A, 0x2A, 0x2A));
    dark.setColor(group, QPalette::Text, text);
  }
  return dark;
}

const QColor kWarning(0xC0, 0x40, 0x00);
const QColor kGrey(0xE0, 0xE0, 0xE0);
const QColor kBlue(0x00, 0x00, 0xFF);
constexpr double kWarningOnGrey = 4.0;  // the window's own, rounded down

bool QtChineseInstalled() {
  return QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                       QStringLiteral("/qtbase_zh_CN.qm"));
}

}  // namespace

class LookTest : public QObject, public test_support::WindowFixture {
  Q_OBJECT

  QPalette light_;

  QColor Text(const char* label) {
    return Child<QLabel>(Str(label))->palette().color(QPalette::WindowText);
  }
  QColor Back(const char* label) {
    return Child<QLabel>(Str(label))->palette().color(QPalette::Window);
  }
  void Press(const char* frequency, const char* baud) {
    Child<QComboBox>(QStringLiteral("Combo1"))->setEditText(Str(frequency));
    Child<QComboBox>(QStringLiteral("Combo2"))->setEditText(Str(baud));
    Child<QPushButton>(QStringLiteral("Command1"))->click();
  }

 private Q_SLOTS:
  void initTestCase() {
    light_ = QApplication::palette();
    app::ConfigureApplication(window::kBaud51Project);
    CatchReports();
  }
  void cleanup() {
    host_.reset();
    QApplication::setPalette(light_);
  }

  void qtTextsAreChinese() {
    if (!QtChineseInstalled()) QSKIP("qt6-translations-l10n is not installed");
    Open();
    std::unique_ptr<QMenu> menu(Child<QComboBox>(QStringLiteral("Combo1"))
                                    ->lineEdit()
                                    ->createStandardContextMenu());
    QStringList texts;
    for (QAction* action : menu->actions()) texts << action->text();
    const QString copy =
        Str("复制(&C)\t") +
        QKeySequence(QKeySequence::Copy).toString(QKeySequence::NativeText);
    QVERIFY2(texts.contains(copy), qPrintable(texts.join(u'|')));
    // The results' own menu reads as the fields' menu does.
    const QAction* own =
        Child<QLabel>(QStringLiteral("Label8"))->actions().front();
    QCOMPARE(own->text() + u'\t' +
                 own->shortcut().toString(QKeySequence::NativeText),
             copy);
  }

  void messageBoxButtonIsChinese() {
    const app::ErrorReporter capture = app::SetErrorReporter({});
    QString button;
    // Waits for the box: it may not be up at the first turn of its loop.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      button = box->button(QMessageBox::Ok)->text();
      box->button(QMessageBox::Ok)->click();
    });
    poll.start(10);
    app::ReportError("溢出");
    poll.stop();
    app::SetErrorReporter(capture);
    QVERIFY2(button == Str("确定") || button == Str("确定(&O)"),
             qPrintable(button));
  }

  void lightPaletteKeepsTheDescribedColours() {
    Open();
    const QColor normal = QApplication::palette().color(QPalette::ButtonText);
    QCOMPARE(Text("Label5"), kWarning);
    QCOMPARE(Text("Label6"), kBlue);
    QCOMPARE(Text("Label7"), kBlue);
    QCOMPARE(Text("Label1"), normal);
    for (const char* result : {"Label8", "Label9", "Label10", "Label11"}) {
      QCOMPARE(Back(result), kGrey);
      QCOMPARE(Text(result), normal);
    }
    Press("12", "9600");
    QCOMPARE(Text("Label10"), kWarning);
    QCOMPARE(Text("Label11"), normal);
  }

  void darkPaletteKeepsEveryLabelReadable_data() {
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("baud");
    QTest::addColumn<bool>("while_running");
    QTest::newRow("start") << QString() << QString() << false;
    QTest::newRow("both warnings") << "6"
                                   << "19200" << false;
    QTest::newRow("warning and normal") << "12"
                                        << "9600" << false;
    QTest::newRow("changed while running") << "12"
                                           << "9600" << true;
  }
  void darkPaletteKeepsEveryLabelReadable() {
    QFETCH(QString, frequency);
    QFETCH(QString, baud);
    QFETCH(bool, while_running);
    if (!while_running) QApplication::setPalette(DarkPalette());
    Open();
    if (!frequency.isEmpty()) {
      Press(frequency.toUtf8().constData(), baud.toUtf8().constData());
    }
    if (while_running) {
      QApplication::setPalette(DarkPalette());
      QCoreApplication::processEvents();  // where Qt hands it to the window
    }
    for (QLabel* label : Form().findChildren<QLabel*>()) {
      const QColor text = label->palette().color(QPalette::WindowText);
      const QColor back = label->palette().color(QPalette::Window);
      const bool warning_on_grey = back == kGrey && text == kWarning;
      // Under this palette every label is either well above 7:1 as it is,
      // or changed, and then moved to 7:1.
      const double required = warning_on_grey ? kWarningOnGrey : 7.0;
      QVERIFY2(Ratio(text, back) >= required,
               qPrintable(label->objectName() + QStringLiteral(" ") +
                          text.name() + QStringLiteral(" on ") + back.name()));
    }
    // The title and the warnings keep their hue, so a warning still reads
    // as one.
    QCOMPARE(Text("Label5").hslHue(), kWarning.hslHue());
    QCOMPARE(Text("Label6").hslHue(), kBlue.hslHue());
  }
};

QTEST_MAIN(LookTest)
#include "look_test.moc"
