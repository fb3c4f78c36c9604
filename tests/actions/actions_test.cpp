// The three actions on the real window: typing, pressing and reading back.
#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/start.h"
#include "tests/support/press_cases.h"
#include "tests/support/window_fixture.h"
#include "window/project.h"

namespace {

using test_support::Str;
using test_support::Type;

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList Texts(const std::array<std::string_view, 4>& texts) {
  QStringList list;
  for (const std::string_view text : texts) list << Utf8(text);
  return list;
}

const QColor kWarning(192, 64, 0);
QColor Normal() { return QApplication::palette().color(QPalette::ButtonText); }

// What the four result labels show.
struct Results {
  QStringList texts;  // Label8, Label9, Label10, Label11
  QColor timer1_error_color;
  QColor timer2_error_color;
  bool operator==(const Results&) const = default;
};

}  // namespace

class ActionsTest : public QObject, public test_support::WindowFixture {
  Q_OBJECT

 private:
  QComboBox* Frequency() { return Child<QComboBox>("Combo1"); }
  QComboBox* Baud() { return Child<QComboBox>("Combo2"); }

  void Press(const char* button) {
    QTest::mouseClick(Child<QPushButton>(button), Qt::LeftButton);
  }
  Results Calculate(const QString& frequency, const QString& baud) {
    Type(Frequency(), frequency);
    Type(Baud(), baud);
    Press("Command1");
    return Shown();
  }
  QStringList ToolTips() {
    QStringList tips;
    for (const char* name : {"Label8", "Label9", "Label10", "Label11"}) {
      tips << Child<QLabel>(name)->toolTip();
    }
    return tips;
  }
  Results Shown() {
    Results results;
    for (const char* name : {"Label8", "Label9", "Label10", "Label11"}) {
      results.texts << Child<QLabel>(name)->text();
    }
    results.timer1_error_color =
        Child<QLabel>("Label10")->palette().color(QPalette::WindowText);
    results.timer2_error_color =
        Child<QLabel>("Label11")->palette().color(QPalette::WindowText);
    return results;
  }

 private Q_SLOTS:
  void initTestCase() {
    app::ConfigureApplication(window::kBaud51Project);
    CatchReports();
  }
  void init() {
    Open();
    host_->RaiseLoad();
    QVERIFY(ShowAndActivate());
  }
  void cleanup() { host_.reset(); }

  void loadFillsListsInOrderAndKeepsTexts() {
    QStringList frequencies, bauds;
    for (int i = 0; i < Frequency()->count(); ++i)
      frequencies << Frequency()->itemText(i);
    for (int i = 0; i < Baud()->count(); ++i) bauds << Baud()->itemText(i);
    QCOMPARE(frequencies, (QStringList{"6", "11.0592", "12", "22.1184", "24"}));
    QCOMPARE(bauds,
             (QStringList{"600", "1200", "2400", "4800", "9600", "19200"}));
    QCOMPARE(Frequency()->currentText(), QStringLiteral("11.0592"));
    QCOMPARE(Baud()->currentText(), QStringLiteral("9600"));
    QCOMPARE(Frequency()->currentIndex(), -1);
    QCOMPARE(Baud()->currentIndex(), -1);
  }

  void startTextsGiveStartResults() {
    Press("Command1");
    QCOMPARE(Shown(),
             (Results{{"FD", "FFDC", " 0", " 0"}, Normal(), Normal()}));
    QVERIFY(reported_.empty());
  }

  void workedResults_data() {
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("baud");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("timer1_warning");
    QTest::addColumn<bool>("timer2_warning");
    for (const test_support::WorkedPress& row : test_support::kWorkedPresses) {
      QTest::newRow(row.name)
          << Utf8(row.frequency) << Utf8(row.baud) << Texts(row.texts)
          << row.timer1_warning << row.timer2_warning;
    }
  }
  void workedResults() {
    QFETCH(QString, frequency);
    QFETCH(QString, baud);
    QFETCH(QStringList, texts);
    QFETCH(bool, timer1_warning);
    QFETCH(bool, timer2_warning);
    const Results shown = Calculate(frequency, baud);
    QCOMPARE(shown.texts, texts);
    QCOMPARE(shown.timer1_error_color, timer1_warning ? kWarning : Normal());
    QCOMPARE(shown.timer2_error_color, timer2_warning ? kWarning : Normal());
    QVERIFY(reported_.empty());
  }

  void tooltipsTellTheWholeResult_data() {
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("baud");
    QTest::addColumn<QStringList>("tips");  // Label8, Label9, Label10, Label11
    auto row = [](const char* f, const char* b, QStringList tips) {
      QTest::addRow("%s MHz %s baud", f, b) << Str(f) << Str(b) << tips;
    };
    row("12", "9600",
        {Str("实际波特率 10416.67，误差 +8.51%"),
         Str("实际波特率 9615.38，误差 +0.16%"), " 7.84 %", " .16 %"});
    // "FE" and " 33.": the constant rounds up, the error measures the floor.
    row("11.0592", "19200",
        {Str("实际波特率 14400.00，误差 -25.00%"),
         Str("实际波特率 19200.00，误差 0.00%"), " 33.3333333333333 %",
         " 0 %"});
    row("6", "19200",
        {Str("实际波特率 15625.00，误差 -18.62%"),
         Str("实际波特率 18750.00，误差 -2.34%"), " 100 %", " 7.84 %"});
    row("11.0592", "4",
        {Str("超出定时器范围"), Str("超出定时器范围"), " 0 %", " 0 %"});
  }
  void tooltipsTellTheWholeResult() {
    QFETCH(QString, frequency);
    QFETCH(QString, baud);
    QFETCH(QStringList, tips);
    Calculate(frequency, baud);
    QCOMPARE(ToolTips(), tips);
  }

  // What a screen reader reads is what the label shows, after every press.
  void accessibleNamesFollowResults() {
    const Results shown =
        Calculate(QStringLiteral("12"), QStringLiteral("9600"));
    QStringList names;
    for (const char* name : {"Label8", "Label9", "Label10", "Label11"}) {
      names << QAccessible::queryAccessibleInterface(Child<QLabel>(name))
                   ->text(QAccessible::Name);
    }
    QCOMPARE(names, shown.texts);
  }

  void constantFieldsKeepTheirColours() {
    Calculate(QStringLiteral("6"), QStringLiteral("19200"));
    for (const char* name : {"Label8", "Label9"}) {
      const QPalette palette = Child<QLabel>(name)->palette();
      QCOMPARE(palette.color(QPalette::WindowText), Normal());
      QCOMPARE(palette.color(QPalette::Window), QColor(0xE0, 0xE0, 0xE0));
    }
  }

  void warningClearedByNextPress() {
    QCOMPARE(Calculate(QStringLiteral("6"), QStringLiteral("19200"))
                 .timer2_error_color,
             kWarning);
    const Results next =
        Calculate(QStringLiteral("11.0592"), QStringLiteral("9600"));
    QCOMPARE(next.timer1_error_color, Normal());
    QCOMPARE(next.timer2_error_color, Normal());
  }

  void badInputIsReportedAndChangesNothing_data() {
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("baud");
    QTest::addColumn<QString>("message");
    for (const test_support::FailingPress& row :
         test_support::kFailingPresses) {
      QTest::newRow(row.name)
          << Utf8(row.frequency) << Utf8(row.baud) << Utf8(row.message);
    }
  }
  void badInputIsReportedAndChangesNothing() {
    QFETCH(QString, frequency);
    QFETCH(QString, baud);
    QFETCH(QString, message);
    const Results before =
        Calculate(QStringLiteral("6"), QStringLiteral("19200"));
    const QStringList tips_before = ToolTips();
    Calculate(frequency, baud);
    QCOMPARE(reported_.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(reported_.front()), message);
    QCOMPARE(Shown(), before);
    QCOMPARE(ToolTips(), tips_before);
    // The window carries on and answers the next press.
    QCOMPARE(Calculate(QStringLiteral("12"), QStringLiteral("9600")),
             (Results{{"FD", "FFD9", " 7.8", " .16"}, kWarning, Normal()}));
    QCOMPARE(reported_.size(), std::size_t{1});
  }

  void timer2FailureKeepsTimer1Results() {
    Press("Command1");
    const Results shown =
        Calculate(QStringLiteral("700000000"), QStringLiteral("9600"));
    QCOMPARE(reported_.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(reported_.front()), Str("溢出"));
    QCOMPARE(shown,
             (Results{{"F4AE8E4F", "FFDC", " .00", " 0"}, Normal(), Normal()}));
    // Each tooltip still describes the number beside it: Timer 1's new
    // results, Timer 2's from the first press.
    const QString exact = Str("实际波特率 9600.00，误差 0.00%");
    QCOMPARE(ToolTips(), (QStringList{Str("超出定时器范围"), exact,
                                      " .000000409600006975446 %", " 0 %"}));
  }

  void typedTextIsNotCompleted() {
    Type(Baud(), QStringLiteral("4"));
    QCOMPARE(Baud()->currentText(), QStringLiteral("4"));
    QCOMPARE(Baud()->currentIndex(), -1);
  }

  void enterAddsNoListEntry() {
    Type(Frequency(), QStringLiteral("3.6864"));
    QTest::keyClick(Frequency()->lineEdit(), Qt::Key_Return);
    Type(Baud(), QStringLiteral("4"));
    QTest::keyClick(Baud()->lineEdit(), Qt::Key_Enter);
    QCOMPARE(Frequency()->count(), 5);
    QCOMPARE(Baud()->count(), 6);
    QCOMPARE(Frequency()->currentText(), QStringLiteral("3.6864"));
    QCOMPARE(Baud()->currentText(), QStringLiteral("4"));
  }

  void pickedEntryIsUsed() {
    Frequency()->setFocus();
    QTest::keyClick(Frequency(), Qt::Key_Down);  // the first entry, "6"
    QCOMPARE(Frequency()->currentText(), QStringLiteral("6"));
    Baud()->setCurrentIndex(5);  // "19200"
    Press("Command1");
    QCOMPARE(Shown().texts, (QStringList{"FF", "FFF6", " 100", " 7.8"}));
  }

  void resultTextsFitTheirFields() {
    Calculate(QStringLiteral("11.0592"), QStringLiteral("4"));
    for (const char* name : {"Label8", "Label9", "Label10", "Label11"}) {
      const QLabel* label = Child<QLabel>(name);
      QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <=
                   label->width(),
               name);
    }
  }

  void exitEndsTheProgram() {
    QTimer::singleShot(0, this, [this] { Press("Command2"); });
    bool timed_out = false;
    QTimer::singleShot(5000, this, [&] {
      timed_out = true;
      QCoreApplication::quit();
    });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!timed_out);
    QVERIFY(!Form().isVisible());
  }
};

QTEST_MAIN(ActionsTest)
#include "actions_test.moc"
