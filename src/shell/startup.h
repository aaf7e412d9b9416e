#pragma once
// Start-up, defaults and shutdown of the scope.

#include <functional>
#include <optional>

namespace qrix {

struct Program;

struct StartOptions {
  // Sets up the serial port after the defaults: by default InitRS232 on `com`. Tests and the
  // start-up benchmark may replace or skip it.
  std::function<void(Program&)> portSetup;
  // Port to use instead of 1 (a number from the port list).
  std::optional<int> port;
};

// Loads the panels, the defaults, the port, the controls; shows the main panel.
// 0 on success, -1 when a panel did not load (an error message goes to stderr).
int StartUp(Program& p, const StartOptions& options);
// Runs the event loop until the main panel is closed.
int RunScope(Program& p);
// Closes the port and discards the panels, the main panel last.
void ShutDown(Program& p);
// The whole life of the program: StartUp, RunScope, ShutDown.
int WinMain(Program& p, const StartOptions& options);

void InitVars(Program& p);
void InitGUI(Program& p);
// Binds every callback name of the panels to its procedure.
void bindCallbacks(Program& p);

int CC_PANEL(Program& p, int panel, int event);
int CC_POPUP(Program& p, int panel, int event);

}  // namespace qrix
