#include "composer/qt/application.h"

int main(int argc, char* argv[]) { return miravel::RunApplication(argc, argv); }
