#pragma once

namespace quillon::app {

// The program: builds the platform and the program-wide objects, asks when another copy runs,
// creates the windows in their order, starts up the main window and runs the loop until it
// closes. Gives the exit status.
int Run();

}  // namespace quillon::app
