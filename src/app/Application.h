#pragma once

namespace stolvar {

// Builds the application, shows the main window and runs until it is closed.
int RunApplication(int argc, char* argv[]);

} // namespace stolvar
