#include <curl/curl.h>

#include <QApplication>
#include <QIcon>

#include "composer/main_window.h"
#include "composer/poem_request.h"
#include "miravel/version.h"
#include "web/exchange_worker.h"

int main(int argc, char* argv[]) {
  curl_global_init(CURL_GLOBAL_DEFAULT);  // before any thread
  {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral(MIRAVEL_PRODUCT_NAME));
    QApplication::setApplicationVersion(QStringLiteral(MIRAVEL_VERSION_TEXT));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/miravel.png")));
    miravel::MainWindow window(miravel::PoemServiceUrl());
    window.show();
    window.Created();
    QApplication::exec();
  }
  // A request overrun at closing is aborting; wait for it before curl goes.
  miravel::JoinExchangeWorkers();
  curl_global_cleanup();
  return 0;
}
