// The client's start-up, ending once its window is shown.
#include "composer/qt/application.h"

int main(int argc, char* argv[]) {
  return miravel::RunApplication(argc, argv, miravel::RunMode::kExitWhenShown);
}
