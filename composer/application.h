// The program from start to end: curl and Qt set up, the main window
// created and shown, its message loop, and the orderly end. main() is this.
#pragma once

namespace miravel {

enum class RunMode {
  kInteractive,     // until the window is closed
  kExitWhenShown,   // return once the window is shown (start-up timing)
};

// Returns the program's exit code, 0.
int RunApplication(int argc, char* argv[], RunMode mode = RunMode::kInteractive);

}  // namespace miravel
