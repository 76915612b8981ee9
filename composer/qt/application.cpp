#include "composer/qt/application.h"

#include <sys/stat.h>

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "composer/qt/after_first_paint.h"
#include "composer/qt/command_line.h"
#include "composer/qt/main_window.h"
#include "composer/service_address.h"
#include "miravel/version.h"
#include "web/curl_library.h"
#include "web/exchange_worker.h"

namespace miravel {
namespace {

// Whether Qt will find a display: a platform named outright (here or by
// -platform), a Wayland
// display, or an X display whose local socket exists (a remote one is
// trusted). Without one Qt would abort; the program says so instead.
bool HasDisplay(bool platform_named) {
  if (platform_named) return true;
  if (const char* platform = std::getenv("QT_QPA_PLATFORM"); platform && *platform) return true;
  if (const char* wayland = std::getenv("WAYLAND_DISPLAY"); wayland && *wayland) return true;
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') return false;
  if (display[0] != ':') return true;
  const std::string number = std::string(display + 1).substr(0, std::string(display + 1).find('.'));
  struct stat st {};
  return stat(("/tmp/.X11-unix/X" + number).c_str(), &st) == 0;
}

}  // namespace

int RunApplication(int argc, char* argv[], RunMode mode) {
  ParsedCommandLine parsed = ParseCommandLine(argc, argv);
  if (!parsed.command_line) return parsed.exit_status;
  CommandLine& line = *parsed.command_line;
  if (!HasDisplay(line.platform_named)) {
    const char* display = std::getenv("DISPLAY");
    const std::string why = display != nullptr && *display != '\0'
                                ? std::string("no X server answers on DISPLAY ") + display
                                : "DISPLAY is not set";
    std::fprintf(stderr,
                 "miravel: no display to open the window on (%s); run it in a desktop session, "
                 "or under Xvfb: xvfb-run -a miravel\n",
                 why.c_str());
    return 1;
  }
  std::vector<std::string>& qt_arguments = line.qt_arguments;
  std::vector<char*> qt_argv;
  for (std::string& argument : qt_arguments) qt_argv.push_back(argument.data());
  qt_argv.push_back(nullptr);
  int qt_argc = static_cast<int>(qt_arguments.size());

  {
    QApplication app(qt_argc, qt_argv.data());
    QApplication::setApplicationName(QStringLiteral(MIRAVEL_PRODUCT_NAME));
    QApplication::setApplicationVersion(QStringLiteral(MIRAVEL_VERSION_TEXT));
    // The desktop entry's id (and the AppStream id): Wayland's app_id, by
    // which the desktop finds the window's entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.miravel.Miravel"));
    MainWindow window(ResolveServiceUrl(line.service, std::getenv(kServiceUrlVariable)));
    window.toolkit().EchoStatus(line.echo_status);
    // Once the window is painted: libcurl loads on a thread of its own, and
    // the icon is set (reading it loads the toolkit's image plugins). Either
    // before would hold up the window; both are done long before a click.
    const AfterFirstPaint after_paint(&window, [mode] {
      if (mode == RunMode::kExitWhenShown) std::_Exit(0);
      StartLoadingCurl();
      QApplication::setWindowIcon(QIcon(QStringLiteral(":/miravel.png")));
    });
    window.show();
    window.Created();
    QApplication::exec();
  }
  // A request overrun at closing is aborting; wait for it before curl goes.
  JoinExchangeWorkers();
  ReleaseCurl();
  return 0;
}

}  // namespace miravel
