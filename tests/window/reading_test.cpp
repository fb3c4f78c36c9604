// What the built window offers beyond its captions: the results' tooltips,
// selectable result text, and what a screen reader is told.
#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "app/start.h"
#include "tests/support/window_fixture.h"
#include "window/project.h"

namespace {

using test_support::Str;

const QStringList kResultLabels{"Label8", "Label9", "Label10", "Label11"};

}  // namespace

class ReadingTest : public QObject, public test_support::WindowFixture {
  Q_OBJECT

 private:
  // Drags the mouse across the whole label, as a user selects its text.
  static void DragAcross(QLabel* label) {
    const int y = label->height() / 2;
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(0, y));
    QTest::mouseMove(label, QPoint(label->width() - 1, y));
    QTest::mouseRelease(label, Qt::LeftButton, {},
                        QPoint(label->width() - 1, y));
  }

 private Q_SLOTS:
  void initTestCase() { app::ConfigureApplication(window::kBaud51Project); }
  void init() {
    Open();
    host_->RaiseLoad();
  }
  void cleanup() { host_.reset(); }

  // The window starts with the results of 11.0592 MHz at 9600 baud.
  void startTooltipsDescribeStartResults_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("tooltip");
    const QString exact = Str("实际波特率 9600.00，误差 0.00%");
    QTest::newRow("T1 constant") << "Label8" << exact;
    QTest::newRow("T2 constant") << "Label9" << exact;
    QTest::newRow("T1 error") << "Label10" << Str(" 0 %");
    QTest::newRow("T2 error") << "Label11" << Str(" 0 %");
    QTest::newRow("heading") << "Label3" << QString();
    QTest::newRow("between errors") << "Label12" << QString();
  }
  void startTooltipsDescribeStartResults() {
    QFETCH(QString, name);
    QFETCH(QString, tooltip);
    QCOMPARE(Child<QLabel>(name)->toolTip(), tooltip);
  }

  void onlyResultsAreSelectable() {
    const Qt::TextInteractionFlags plain = QLabel().textInteractionFlags();
    for (QLabel* label : Form().findChildren<QLabel*>()) {
      const bool result = kResultLabels.contains(label->objectName());
      QCOMPARE(
          label->textInteractionFlags(),
          result ? Qt::TextInteractionFlags(Qt::TextSelectableByMouse) : plain);
      QCOMPARE(label->contextMenuPolicy(),
               result ? Qt::ActionsContextMenu : Qt::DefaultContextMenu);
      QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    }
  }

  // Selecting a result leaves the keyboard where it was, and Tab goes on
  // through the same controls.
  void selectingTakesNoFocus() {
    QVERIFY(ShowAndActivate());
    QCOMPARE(FocusedControl(), QStringLiteral("Command1"));
    for (const QString& name : kResultLabels) {
      auto* label = Child<QLabel>(name);
      DragAcross(label);
      QCOMPARE(label->selectedText(), label->text());
      QCOMPARE(FocusedControl(), QStringLiteral("Command1"));
    }
    const QStringList cycle{"Command2", "Combo1", "Combo2", "Command1"};
    for (const QString& expected : cycle) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(FocusedControl(), expected);
    }
  }

  // From the label's own menu: what is selected, or else the whole result.
  void resultIsCopiedFromItsMenu() {
    auto* label = Child<QLabel>(QStringLiteral("Label9"));
    QCOMPARE(label->contextMenuPolicy(), Qt::ActionsContextMenu);
    const QList<QAction*> actions = label->actions();
    QCOMPARE(actions.size(), 1);
    QCOMPARE(actions.front()->text(), Str("复制(&C)"));
    QApplication::clipboard()->clear();
    actions.front()->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("FFDC"));
    label->setSelection(2, 2);
    actions.front()->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("DC"));
  }

  // Selectable text is drawn by another part of Qt; not a pixel may move.
  void selectableResultsLookAsBefore() {
    for (const QString& name : kResultLabels) {
      auto* label = Child<QLabel>(name);
      const QImage selectable = label->grab().toImage();
      label->setTextInteractionFlags(QLabel().textInteractionFlags());
      QCOMPARE(selectable, label->grab().toImage());
    }
  }

  void headingsNameTheFields_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("heading");
    QTest::newRow("frequency") << "Combo1"
                               << "Label1";
    QTest::newRow("baud") << "Combo2"
                          << "Label2";
  }
  // Linux screen readers name a combo box after the label that is its
  // buddy, and the edit field inside it by its own name.
  void headingsNameTheFields() {
    QFETCH(QString, field);
    QFETCH(QString, heading);
    auto* combo = Child<QComboBox>(field);
    auto* label = Child<QLabel>(heading);
    QCOMPARE(label->buddy(), combo);
    QCOMPARE(combo->accessibleName(), label->text());
    QAccessibleInterface* edit =
        QAccessible::queryAccessibleInterface(combo->lineEdit());
    QVERIFY(edit != nullptr);
    QCOMPARE(edit->text(QAccessible::Name), label->text());
    QCOMPARE(edit->text(QAccessible::Value), combo->currentText());
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(combo);
    const auto labels = box->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.front().first->object(), label);
  }

  void namesAndDescriptions_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::newRow("calculate") << "Command1" << Str("计算") << QString();
    QTest::newRow("exit") << "Command2" << Str("退出") << QString();
    QTest::newRow("T1 constant") << "Label8" << Str("FD") << Str("T1常数(Hex)");
    QTest::newRow("T2 constant")
        << "Label9" << Str("FFDC") << Str("T2常数(Hex)");
    QTest::newRow("T1 error") << "Label10" << Str("0") << Str("T1误差%");
    QTest::newRow("T2 error") << "Label11" << Str("0") << Str("T2误差%");
    QTest::newRow("heading") << "Label1" << Str("晶振频率(MHz)") << QString();
    QTest::newRow("title") << "Label5" << Str("TivorelV2.0") << QString();
  }
  void namesAndDescriptions() {
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QString, description);
    QWidget* widget = Child<QWidget>(control);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(face != nullptr);
    QCOMPARE(face->text(QAccessible::Name), name);
    QCOMPARE(face->text(QAccessible::Description), description);
    // The caption is the name: a label's own accessible name would hide its
    // text from AT-SPI.
    QVERIFY(widget->accessibleName().isEmpty());
  }
};

QTEST_MAIN(ReadingTest)
#include "reading_test.moc"
