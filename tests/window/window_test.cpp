// The built window against its description, and the shell around it.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <stdexcept>

#include "app/builder.h"
#include "app/dispatch.h"
#include "app/error_report.h"
#include "app/start.h"
#include "calc/runtime_error.h"
#include "tests/support/window_fixture.h"
#include "window/project.h"

namespace {

using test_support::Str;

// Whether process `pid` sleeps with its CPU time standing still over a
// tenth of a second: start-up is all work, so it is then waiting in its
// event loop. Gives up after ten seconds or when the process is gone.
bool WaitUntilIdle(qint64 pid) {
  const QString path = QStringLiteral("/proc/%1/stat").arg(pid);
  auto sample = [&path]() -> QStringList {
    QFile stat(path);
    if (!stat.open(QIODevice::ReadOnly)) return {};
    // Past the command's name, which may hold spaces: state is field 3,
    // user and system time fields 14 and 15.
    const QByteArray line = stat.readAll();
    return QString::fromLatin1(line.mid(line.lastIndexOf(')') + 2)).split(u' ');
  };
  QString last_time;
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 10000) {
    const QStringList fields = sample();
    if (fields.size() < 13) return false;
    const QString time = fields[11] + u' ' + fields[12];
    if (fields[0] == u'S' && time == last_time) return true;
    last_time = time;
    QThread::msleep(100);
  }
  return false;
}

bool HasChineseGlyphs(const QString& family) {
  return QFontDatabase::writingSystems(family).contains(
      QFontDatabase::SimplifiedChinese);
}

}  // namespace

class WindowTest : public QObject, public test_support::WindowFixture {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() {
    app::ConfigureApplication(window::kBaud51Project);
    CatchReports();
  }
  void init() { Open(); }
  void cleanup() { host_.reset(); }

  void fixedGeometry_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("Combo2") << "Combo2" << QRect(208, 72, 65, 20);
    QTest::newRow("Combo1") << "Combo1" << QRect(80, 72, 65, 20);
    QTest::newRow("Command2") << "Command2" << QRect(208, 184, 57, 20);
    QTest::newRow("Command1") << "Command1" << QRect(80, 184, 57, 20);
    QTest::newRow("Label11") << "Label11" << QRect(208, 152, 57, 17);
    QTest::newRow("Label10") << "Label10" << QRect(80, 152, 57, 17);
    QTest::newRow("Label9") << "Label9" << QRect(208, 120, 57, 17);
    QTest::newRow("Label8") << "Label8" << QRect(80, 120, 57, 17);
  }
  void fixedGeometry() {
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    QWidget* control = Child<QWidget>(name);
    QVERIFY(control != nullptr);
    QCOMPARE(control->geometry(), pixels);
  }

  void autoSizedLabels_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("position");
    QTest::newRow("Label12") << "Label12" << QPoint(144, 152);
    QTest::newRow("Label7") << "Label7" << QPoint(56, 216);
    QTest::newRow("Label6") << "Label6" << QPoint(160, 216);
    QTest::newRow("Label5") << "Label5" << QPoint(72, 16);
    QTest::newRow("Label4") << "Label4" << QPoint(208, 104);
    QTest::newRow("Label3") << "Label3" << QPoint(80, 104);
    QTest::newRow("Label2") << "Label2" << QPoint(216, 56);
    QTest::newRow("Label1") << "Label1" << QPoint(72, 56);
  }
  // At the stored place, and as large as the text needs but no larger.
  void autoSizedLabels() {
    QFETCH(QString, name);
    QFETCH(QPoint, position);
    auto* label = Child<QLabel>(name);
    QVERIFY(label != nullptr);
    QCOMPARE(label->pos(), position);
    const QSize needed = label->sizeHint();
    QVERIFY2(
        label->width() >= needed.width() && label->height() >= needed.height(),
        qPrintable(name + QStringLiteral(" is clipped")));
    QVERIFY(label->width() <= needed.width() + 1);
    QVERIFY(label->height() <= needed.height() + 1);
  }

  void texts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("Label5") << "Label5" << Str("TivorelV2.0");
    QTest::newRow("Label1") << "Label1" << Str("晶振频率(MHz)");
    QTest::newRow("Label2") << "Label2" << Str("波特率");
    QTest::newRow("Label3") << "Label3" << Str("T1常数(Hex)");
    QTest::newRow("Label4") << "Label4" << Str("T2常数(Hex)");
    QTest::newRow("Label8") << "Label8" << Str("FD");
    QTest::newRow("Label9") << "Label9" << Str("FFDC");
    QTest::newRow("Label10") << "Label10" << Str("0");
    QTest::newRow("Label11") << "Label11" << Str("0");
    QTest::newRow("Label12") << "Label12" << Str("<-误差%->");
    QTest::newRow("Label7") << "Label7" << Str("Kestrune");
    QTest::newRow("Label6") << "Label6" << Str("http://www.example.com");
    QTest::newRow("Command1") << "Command1" << Str("计算");
    QTest::newRow("Command2") << "Command2" << Str("退出");
    QTest::newRow("Combo1") << "Combo1" << Str("11.0592");
    QTest::newRow("Combo2") << "Combo2" << Str("9600");
  }
  void texts() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    if (auto* label = Child<QLabel>(name)) {
      QCOMPARE(label->text(), text);
      QCOMPARE(label->textFormat(), Qt::PlainText);
    } else if (auto* button = Child<QPushButton>(name)) {
      QCOMPARE(button->text(), text);
    } else {
      auto* combo = Child<QComboBox>(name);
      QVERIFY(combo != nullptr);
      QCOMPARE(combo->currentText(), text);
    }
  }

  void labelColours_data() {
    const QColor normal = QApplication::palette().color(QPalette::ButtonText);
    const QColor grey(0xE0, 0xE0, 0xE0);
    const QColor window = QApplication::palette().color(QPalette::Window);
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("background");
    QTest::newRow("title") << "Label5" << QColor(192, 64, 0) << window;
    QTest::newRow("maker") << "Label7" << QColor(0, 0, 255) << window;
    QTest::newRow("address") << "Label6" << QColor(0, 0, 255) << window;
    QTest::newRow("heading") << "Label1" << normal << window;
    QTest::newRow("between errors") << "Label12" << normal << window;
    QTest::newRow("T1 constant") << "Label8" << normal << grey;
    QTest::newRow("T2 constant") << "Label9" << normal << grey;
    QTest::newRow("T1 error") << "Label10" << normal << grey;
    QTest::newRow("T2 error") << "Label11" << normal << grey;
  }
  void labelColours() {
    QFETCH(QString, name);
    QFETCH(QColor, text);
    QFETCH(QColor, background);
    auto* label = Child<QLabel>(name);
    QVERIFY(label != nullptr);
    QCOMPARE(label->palette().color(QPalette::WindowText), text);
    QVERIFY(label->autoFillBackground());
    QCOMPARE(label->palette().color(QPalette::Window), background);
  }

  void windowFontHasChineseGlyphs() {
    const QFont font = Form().font();
    QCOMPARE(font.pointSize(), 9);
    QVERIFY2(HasChineseGlyphs(QFontInfo(font).family()),
             qPrintable(QFontInfo(font).family()));
    QCOMPARE(Child<QLabel>(QStringLiteral("Label1"))->font(), font);
    QCOMPARE(Child<QComboBox>(QStringLiteral("Combo1"))->font(), font);
  }

  void titleFontFallsBackToChinese() {
    const QFont font = Child<QLabel>(QStringLiteral("Label5"))->font();
    QCOMPARE(font.pointSize(), 12);
    QCOMPARE(font.weight(), QFont::Normal);
    QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());
    const QString shown = QFontInfo(font).family();
    QVERIFY2(HasChineseGlyphs(shown), qPrintable(shown));
    if (app::IsInstalled(Str("隶书"))) QCOMPARE(shown, Str("隶书"));
  }

  void windowSettings() {
    QCOMPARE(Form().windowTitle(), Str("小工具1"));
    QCOMPARE(Form().size(), QSize(342, 244));
    QCOMPARE(Form().minimumSize(), QSize(342, 244));
    QCOMPARE(Form().maximumSize(), QSize(342, 244));
    QCOMPARE(Form().geometry().topLeft(), QPoint(269, 199));
    const QIcon icon = Form().windowIcon();
    QVERIFY(!icon.isNull());
    const QImage picture = icon.pixmap(32, 32).toImage();
    QCOMPARE(picture.size(), QSize(32, 32));
    QSet<QRgb> colours;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) colours.insert(picture.pixel(x, y));
    }
    QVERIFY(colours.size() > 2 && colours.size() <= 16);
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("1.00"));
  }

  void controlsDoNotOverlap() {
    const auto children =
        Form().findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(children.size(), 16);
    for (int i = 0; i < children.size(); ++i) {
      for (int j = i + 1; j < children.size(); ++j) {
        QVERIFY2(!children[i]->geometry().intersects(children[j]->geometry()),
                 qPrintable(children[i]->objectName() + QStringLiteral(" / ") +
                            children[j]->objectName()));
      }
    }
  }

  void comboBoxesKeepTypedText() {
    for (const char* name : {"Combo1", "Combo2"}) {
      auto* combo = Child<QComboBox>(QString::fromLatin1(name));
      QVERIFY(combo->isEditable());
      QCOMPARE(combo->count(), 0);
      QCOMPARE(combo->currentIndex(), -1);
      QCOMPARE(combo->insertPolicy(), QComboBox::NoInsert);
      QVERIFY(combo->completer() == nullptr);
      // The whole start text is visible, not scrolled off the left edge.
      // Qt's line edit keeps two pixels free on each side.
      const QLineEdit* edit = combo->lineEdit();
      QVERIFY2(edit->fontMetrics().horizontalAdvance(edit->text()) + 4 <=
                   edit->width(),
               name);
    }
  }

  void buttonsAreNotDefault() {
    for (const char* name : {"Command1", "Command2"}) {
      auto* button = Child<QPushButton>(QString::fromLatin1(name));
      QVERIFY(!button->isDefault());
      QVERIFY(!button->autoDefault());
      QVERIFY(button->shortcut().isEmpty());
    }
  }

  void focusStartsOnCalculateAndCyclesByTabIndex() {
    QVERIFY(ShowAndActivate());
    QCOMPARE(FocusedControl(), QStringLiteral("Command1"));
    const QStringList cycle{"Command2", "Combo1", "Combo2", "Command1",
                            "Command2"};
    for (const QString& expected : cycle) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(FocusedControl(), expected);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(FocusedControl(), QStringLiteral("Command1"));
    for (QLabel* label : Form().findChildren<QLabel*>()) {
      QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    }
  }

  void eventLoopEndsWhenWindowCloses() {
    host_.reset();
    bool shown = false;
    const int status = app::Run(window::kBaud51Project, {[&](QWidget& form) {
                                  shown = form.isVisible();
                                  QTimer::singleShot(0, &form, &QWidget::close);
                                }});
    QVERIFY(shown);
    QCOMPARE(status, 0);
  }

  void dispatchReportsWhatAHandlerThrows_data() {
    QTest::addColumn<int>("thrown");
    QTest::addColumn<QString>("message");
    QTest::newRow("division by zero") << 0 << Str("除数为零");
    QTest::newRow("overflow") << 1 << Str("溢出");
    QTest::newRow("other exception") << 2 << Str("no such control");
    QTest::newRow("not an exception") << 3 << Str("未知错误");
  }
  void dispatchReportsWhatAHandlerThrows() {
    QFETCH(int, thrown);
    QFETCH(QString, message);
    app::Dispatch([thrown] {
      switch (thrown) {
        case 0:
          throw calc::RuntimeError(calc::ErrorKind::kDivisionByZero);
        case 1:
          throw calc::RuntimeError(calc::ErrorKind::kOverflow);
        case 2:
          throw std::invalid_argument("no such control");
        default:
          throw 42;
      }
    });
    QCOMPARE(reported_.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(reported_.front()), message);
  }

  void messageBoxIsModalAndTitledWithCaption() {
    QVERIFY(ShowAndActivate());
    const app::ErrorReporter capture = app::SetErrorReporter({});
    QString title, text;
    bool modal = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      title = box->windowTitle();
      text = box->text();
      modal = box->isModal();
      box->button(QMessageBox::Ok)->click();
    });
    poll.start(10);
    app::ReportError("溢出");
    poll.stop();
    app::SetErrorReporter(capture);
    QCOMPARE(title, Str("小工具1"));
    QCOMPARE(text, Str("溢出"));
    QVERIFY(modal);
    QVERIFY(Form().isVisible());
  }

  void programStartsAndKeepsRunning() {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                       QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(BAUD51_EXE), {});
    QVERIFY(program.waitForStarted());
    QVERIFY2(WaitUntilIdle(program.processId()),
             program.readAllStandardError());
    QCOMPARE(program.state(), QProcess::Running);
    program.kill();
    program.waitForFinished();
  }

  void withoutDisplaySaysWhyInOneLine_data() {
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("says");
    const QString no_display = QStringLiteral("xvfb-run");
    QTest::newRow("no display named") << QString() << QString() << no_display;
    QTest::newRow("display that cannot be opened")
        << QStringLiteral(":4242") << QString() << no_display;
    // A display is there; the cause is Qt's, and Qt's words name it.
    QTest::newRow("unknown platform")
        << qEnvironmentVariable("DISPLAY", QStringLiteral(":4242"))
        << QStringLiteral("nonexistent") << QStringLiteral("\"nonexistent\"");
  }
  void withoutDisplaySaysWhyInOneLine() {
    QFETCH(QString, display);
    QFETCH(QString, platform);
    QFETCH(QString, says);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
      environment.remove(QString::fromLatin1(name));
    }
    if (!display.isEmpty()) {
      environment.insert(QStringLiteral("DISPLAY"), display);
    }
    if (!platform.isEmpty()) {
      environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    }
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(BAUD51_EXE), {});
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), app::kNoDisplayExit);
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    QCOMPARE(errors.count(QLatin1Char('\n')), 1);
    QVERIFY2(errors.contains(says), qPrintable(errors));
    if (!platform.isEmpty()) {
      QVERIFY2(!errors.contains(QStringLiteral("no display")),
               qPrintable(errors));
    }
    QVERIFY(program.readAllStandardOutput().isEmpty());
  }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
