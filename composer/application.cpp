#include "composer/application.h"

#include <curl/curl.h>

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include "composer/main_window.h"
#include "composer/poem_request.h"
#include "miravel/version.h"
#include "web/exchange_worker.h"

namespace miravel {

int RunApplication(int argc, char* argv[], RunMode mode) {
  curl_global_init(CURL_GLOBAL_DEFAULT);  // before any thread
  {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral(MIRAVEL_PRODUCT_NAME));
    QApplication::setApplicationVersion(QStringLiteral(MIRAVEL_VERSION_TEXT));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/miravel.png")));
    MainWindow window(PoemServiceUrl());
    window.show();
    window.Created();
    if (mode == RunMode::kExitWhenShown) QTimer::singleShot(0, &app, &QApplication::quit);
    QApplication::exec();
  }
  // A request overrun at closing is aborting; wait for it before curl goes.
  JoinExchangeWorkers();
  curl_global_cleanup();
  return 0;
}

}  // namespace miravel
