// Ten thousand presses of "计算" on the real window with random field texts,
// bad ones among them: every result and its tooltip must be the
// calculation's, every error is reported in the message box and closed, and
// memory must not creep.
#include <unistd.h>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/error_report.h"
#include "app/start.h"
#include "calc/conversions.h"
#include "calc/reload.h"
#include "calc/runtime_error.h"
#include "tests/support/window_fixture.h"
#include "window/project.h"
#include "window/words.h"

namespace {

constexpr int kPresses = 10000;
constexpr int kSettledPress = 1000;  // caches and pools are warm by then
constexpr long kAllowedGrowth = 1024 * 1024;

// Resident set size from the kernel, in bytes.
long ResidentBytes() {
  long pages_total = 0;
  long pages_resident = 0;
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return -1;
  const int read = std::fscanf(statm, "%ld %ld", &pages_total, &pages_resident);
  std::fclose(statm);
  return read == 2 ? pages_resident * sysconf(_SC_PAGESIZE) : -1;
}

// AddressSanitizer keeps freed memory in quarantine on purpose, so resident
// memory says nothing about leaks there; results are still checked.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryMeasurable = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMemoryMeasurable = false;
#else
constexpr bool kMemoryMeasurable = true;
#endif
#else
constexpr bool kMemoryMeasurable = true;
#endif

// Field texts: mostly what a user would type, often what they should not.
class TextSource {
 public:
  explicit TextSource(unsigned seed) : random_(seed) {}

  QString Frequency() {
    static const char* const kListed[] = {"6", "11.0592", "12", "22.1184",
                                          "24"};
    return Next(kListed, 0.1, 50.0);
  }
  QString Baud() {
    static const char* const kListed[] = {"600",  "1200", "2400",
                                          "4800", "9600", "19200"};
    return Next(kListed, 1.0, 200000.0);
  }

 private:
  template <std::size_t N>
  QString Next(const char* const (&listed)[N], double low, double high) {
    switch (Pick(10)) {
      case 0:
      case 1:
      case 2:
        return QString::fromUtf8(listed[Pick(N)]);
      case 3:
      case 4:
        return QString::number(
            std::uniform_real_distribution(low, high)(random_), 'g',
            1 + static_cast<int>(Pick(12)));
      case 5:
        return Odd();
      case 6:
        return Junk();
      default: {
        static const char* const kBad[] = {
            "",         "0",      "abc",    "-",      "+",
            ".",        "&H",     "&O",     "&H10",   "&o17",
            "1e400",    "-1e400", "1e-400", "-9600",  "1,200",
            "9 600",    "1e9",    "1e13",   "0.0001", "-12",
            "  ",       "\t7\t",  "NaN",    "inf",    "１２",
            "９６００", "12MHz",  "1e",     "-0",     "&HFFFFFFFFFFFFFFFF"};
        return QString::fromUtf8(kBad[Pick(std::size(kBad))]);
      }
    }
  }

  // Numbers in forms the reading accepts but nobody types.
  QString Odd() {
    switch (Pick(4)) {
      case 0:
        return QString(static_cast<qsizetype>(50 + Pick(500)),
                       QLatin1Char('9'));
      case 1:
        return QStringLiteral("0.") +
               QString(static_cast<qsizetype>(Pick(400)), QLatin1Char('0')) +
               QStringLiteral("1");
      case 2:
        return QStringLiteral("&H") + QString::number(random_(), 16).toUpper();
      default:
        return QString::number(
            std::uniform_real_distribution(-1e6, 1e6)(random_), 'e',
            static_cast<int>(Pick(17)));
    }
  }

  // Anything at all: controls, symbols, Chinese, lone surrogates. The
  // Chinese comes from a fixed set: each new character costs the font
  // engine's glyph cache once, which is warming, not a leak, and must be
  // over before memory is first measured.
  QString Junk() {
    static const QString kChinese = QStringLiteral(
        "计算退出晶振频率波特定时器误差常数小工具一二三四五六七八九十百千万"
        "兆赫秒零整值错溢除为");
    QString text;
    const auto length = static_cast<qsizetype>(Pick(24));
    for (qsizetype i = 0; i < length; ++i) {
      switch (Pick(4)) {
        case 0:
          text += QChar(static_cast<char16_t>(Pick(128)));
          break;
        case 1:
          text += kChinese[static_cast<qsizetype>(Pick(kChinese.size()))];
          break;
        case 2:
          text += QChar(static_cast<char16_t>(0xD800 + Pick(0x800)));
          break;
        default:
          text += QLatin1Char("0123456789.eE+-&HhOo "[Pick(21)]);
      }
    }
    return text;
  }

  std::size_t Pick(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
  }

  std::mt19937 random_;
};

const QColor kWarning(192, 64, 0);

// The offscreen platform says this each time a message box is laid out;
// ten thousand times over it would drown the test's own output.
QtMessageHandler test_message_handler = nullptr;
void DropSizeHintNotice(QtMsgType type, const QMessageLogContext& context,
                        const QString& message) {
  if (message ==
      QLatin1String("This plugin does not support propagateSizeHints()")) {
    return;
  }
  test_message_handler(type, context, message);
}

// What the result labels show, in the order Label8, Label9, Label10, Label11.
struct Shown {
  QString texts[4];
  QString tool_tips[4];
  QColor error_colors[2];
  bool operator==(const Shown& other) const {
    return std::equal(std::begin(texts), std::end(texts),
                      std::begin(other.texts)) &&
           std::equal(std::begin(tool_tips), std::end(tool_tips),
                      std::begin(other.tool_tips)) &&
           std::equal(std::begin(error_colors), std::end(error_colors),
                      std::begin(other.error_colors));
  }
};

QString Describe(const Shown& shown) {
  return QStringLiteral("[%1|%2|%3|%4] tooltips [%5|%6|%7|%8] colours %9 %10")
      .arg(shown.texts[0], shown.texts[1], shown.texts[2], shown.texts[3],
           shown.tool_tips[0], shown.tool_tips[1], shown.tool_tips[2],
           shown.tool_tips[3], shown.error_colors[0].name(),
           shown.error_colors[1].name());
}

}  // namespace

class SoakTest : public QObject, public test_support::WindowFixture {
  Q_OBJECT

 private:
  // Puts `text` into a field the way a user would: picks it from the list
  // when it is there, types it when it is short and plain, pastes it
  // otherwise.
  void Enter(QComboBox* combo, const QString& text, std::mt19937& random) {
    const int listed = combo->findText(text);
    QLineEdit* edit = combo->lineEdit();
    combo->setFocus(Qt::TabFocusReason);
    if (listed >= 0 && random() % 2 == 0) {
      combo->setCurrentIndex(listed);
      return;
    }
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    bool plain = text.size() <= 12;
    for (QChar c : text)
      plain = plain && c.unicode() >= 0x20 && c.unicode() < 0x7F;
    if (plain && random() % 2 == 0) {
      QTest::keyClicks(edit, text);
    } else {
      QApplication::clipboard()->setText(text);
      QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    }
  }

  Shown Read() {
    Shown shown;
    const char* const names[] = {"Label8", "Label9", "Label10", "Label11"};
    for (int i = 0; i < 4; ++i) {
      shown.texts[i] = Child<QLabel>(names[i])->text();
      shown.tool_tips[i] = Child<QLabel>(names[i])->toolTip();
    }
    shown.error_colors[0] =
        Child<QLabel>("Label10")->palette().color(QPalette::WindowText);
    shown.error_colors[1] =
        Child<QLabel>("Label11")->palette().color(QPalette::WindowText);
    return shown;
  }

  // Runs the event loop until nothing is pending, deferred deletions too,
  // so memory is measured with no work outstanding.
  static void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
  }

 private Q_SLOTS:
  void initTestCase() {
    test_message_handler = qInstallMessageHandler(DropSizeHintNotice);
    app::ConfigureApplication(window::kBaud51Project);
    // The real message box, closed by its 确定 button as a user would.
    CatchReports([](std::string_view message) {
      QTimer::singleShot(0, [] {
        auto* box =
            qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr)
          QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
      });
      app::ShowErrorMessageBox(message);
    });
    Open();
    host_->RaiseLoad();
    QVERIFY(ShowAndActivate());
  }
  void cleanupTestCase() {
    host_.reset();
    qInstallMessageHandler(test_message_handler);
  }

  void pressesMatchTheCalculationAndMemoryStaysFlat() {
    const QColor normal = QApplication::palette().color(QPalette::ButtonText);
    std::mt19937 random(51);
    TextSource texts(8051);
    QComboBox* frequency = Child<QComboBox>("Combo1");
    QComboBox* baud = Child<QComboBox>("Combo2");
    QPushButton* calculate = Child<QPushButton>("Command1");

    long settled_bytes = 0;
    int errors = 0;
    for (int press = 1; press <= kPresses; ++press) {
      Enter(frequency, texts.Frequency(), random);
      Enter(baud, texts.Baud(), random);
      const std::string frequency_text = frequency->currentText().toStdString();
      const std::string baud_text = baud->currentText().toStdString();

      // What the calculation says should be on screen after the press.
      Shown expected = Read();
      std::optional<std::string> expected_error;
      const calc::TimerProfile* timers[] = {&calc::kTimer1, &calc::kTimer2};
      for (int t = 0; t < 2 && !expected_error; ++t) {
        // Step by step, not through the composition the window calls.
        try {
          const double baud_rate = calc::ReadNumber(baud_text);
          const double frequency_mhz = calc::ReadNumber(frequency_text);
          const calc::TimerReload reload =
              calc::ComputeTimerReload(frequency_mhz, baud_rate, *timers[t]);
          expected.texts[t] =
              QString::fromStdString(calc::ReloadText(reload.Reload));
          expected.texts[2 + t] =
              QString::fromStdString(calc::ErrorText(reload.ErrorPercent));
          expected.error_colors[t] =
              reload.ErrorPercent > 0.2 ? kWarning : normal;
          expected.tool_tips[t] =
              QString::fromStdString(window::ConstantHint(calc::ActualRateOf(
                  frequency_mhz, baud_rate, *timers[t], reload.Reload)));
          expected.tool_tips[2 + t] =
              QString::fromStdString(window::ErrorHint(reload.ErrorPercent));
        } catch (const calc::RuntimeError& e) {
          expected_error = std::string(window::ErrorMessage(e.Kind()));
        }
      }

      reported_.clear();
      QTest::mouseClick(calculate, Qt::LeftButton);
      Settle();

      const QString context =
          QStringLiteral("press %1, frequency \"%2\", baud \"%3\"")
              .arg(press)
              .arg(QString::fromStdString(frequency_text),
                   QString::fromStdString(baud_text));
      const Shown shown = Read();
      QVERIFY2(
          shown == expected,
          qPrintable(context + QStringLiteral(": shows ") + Describe(shown) +
                     QStringLiteral(", expected ") + Describe(expected)));
      const std::vector<std::string> expected_reports =
          expected_error ? std::vector<std::string>{*expected_error}
                         : std::vector<std::string>{};
      QVERIFY2(reported_ == expected_reports,
               qPrintable(context + QStringLiteral(": wrong error report")));
      QVERIFY2(QApplication::activeModalWidget() == nullptr,
               qPrintable(context + QStringLiteral(": message box left open")));
      if (expected_error) ++errors;

      if (press == kSettledPress) settled_bytes = ResidentBytes();
      if (press % 1000 == 0)
        qInfo("press %d: %ld KiB", press, ResidentBytes() / 1024);
    }

    const long final_bytes = ResidentBytes();
    qInfo("%d presses, %d of them reported an error", kPresses, errors);
    QVERIFY(errors > kPresses / 10);
    QVERIFY(errors < kPresses - kPresses / 10);
    if (!kMemoryMeasurable) {
      qInfo("resident memory not checked under AddressSanitizer");
      return;
    }
    qInfo(
        "resident memory: %ld KiB at press %d, %ld KiB at press %d, growth %ld "
        "KiB",
        settled_bytes / 1024, kSettledPress, final_bytes / 1024, kPresses,
        (final_bytes - settled_bytes) / 1024);
    QVERIFY(settled_bytes > 0 && final_bytes > 0);
    QVERIFY2(final_bytes - settled_bytes < kAllowedGrowth,
             "resident memory grew by 1 MiB or more");
  }
};

QTEST_MAIN(SoakTest)
#include "soak_test.moc"
