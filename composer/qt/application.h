// The program from start to end: curl and Qt set up, the main window
// created and shown, its message loop, and the orderly end. main() is this.
#pragma once

namespace miravel {

enum class RunMode {
  kInteractive,    // until the window is closed
  kExitWhenShown,  // exit at once after the window's first paint (start-up timing)
};

// Reads the command line first (command_line.h), so that --help, --version
// and bad options answer without a display. Returns the program's exit
// code: 0, or 1 without a display, or 2 for a bad option.
int RunApplication(int argc, char* argv[], RunMode mode = RunMode::kInteractive);

}  // namespace miravel
