#include "app/start.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/builder.h"
#include "app/form_host.h"

namespace app {
namespace {

constexpr char kNoDisplayMessage[] =
    "baud51: no display found; to run without one, use a virtual display, "
    "e.g. xvfb-run scripts/run\n";

bool IsSet(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

// Only X11 and Wayland desktops need a display server; an explicit Qt
// platform (offscreen, vnc, ...) brings its own.
bool HasDisplay() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") ||
         IsSet("QT_QPA_PLATFORM");
#else
  return true;
#endif
}

// What Qt says while it opens the display is held back: if it cannot start,
// Qt aborts with a backtrace, and one line says it better.
std::vector<std::string>* held_messages = nullptr;
bool display_refused = false;

// Only the display connection's own logging categories report that the
// named display cannot be opened; any other start-up failure (an unknown
// platform plugin, a missing library) is Qt's to name.
bool IsDisplayConnection(const QMessageLogContext& context) {
  const std::string_view category =
      context.category != nullptr ? context.category : "";
  return category == "qt.qpa.xcb" || category == "qt.qpa.wayland";
}

// Qt's messages, which may span lines, as one line.
std::string OneLine(const std::vector<std::string>& parts) {
  std::string line;
  for (const std::string& part : parts) {
    std::string text = QString::fromStdString(part).simplified().toStdString();
    if (text.empty()) continue;
    if (!line.empty()) line += "; ";
    line += text;
  }
  return line;
}

void HoldOrExit(QtMsgType type, const QMessageLogContext& context,
                const QString& message) {
  if (IsDisplayConnection(context)) display_refused = true;
  if (type == QtFatalMsg) {
    if (display_refused) {
      std::fputs(kNoDisplayMessage, stderr);
    } else {
      held_messages->push_back(message.toStdString());
      std::fprintf(stderr, "baud51: cannot start: %s\n",
                   OneLine(*held_messages).c_str());
    }
    std::_Exit(kNoDisplayExit);
  }
  held_messages->push_back(
      qFormatLogMessage(type, context, message).toStdString());
}

}  // namespace

void ConfigureApplication(const window::ProjectDescriptor& project) {
  QApplication::setApplicationName(QStringLiteral("baud51"));
  QApplication::setApplicationVersion(QStringLiteral(BAUD51_VERSION_TEXT));
  if (project.locale == window::kLocaleChinesePrc) {
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    // Qt's own texts (context menus, dialog buttons) in Chinese. Without
    // the file they stay English, which is no error.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
      QCoreApplication::installTranslator(translator);
    } else {
      delete translator;
    }
  }
  QApplication::setFont(RecordFont(window::kForm1.font));
}

int Run(const window::ProjectDescriptor& project, const StartHooks& hooks) {
  ConfigureApplication(project);
  FormHost host(project);
  host.RaiseLoad();
  host.Show();
  if (hooks.on_shown) hooks.on_shown(host.Window());
  return QApplication::exec();
}

int Start(const window::ProjectDescriptor& project, const StartHooks& hooks) {
  if (!HasDisplay()) {
    std::fputs(kNoDisplayMessage, stderr);
    return kNoDisplayExit;
  }
  // The program reads no arguments; Qt gets only the program's name.
  int argc = 1;
  char name[] = "baud51";
  char* argv[] = {name, nullptr};
  std::vector<std::string> held;
  held_messages = &held;
  const QtMessageHandler previous = qInstallMessageHandler(HoldOrExit);
  QApplication application(argc, argv);
  qInstallMessageHandler(previous);
  held_messages = nullptr;
  for (const std::string& text : held) {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
  return Run(project, hooks);
}

}  // namespace app
