// Cvarsmith started without options: the first-use check and the main window.
#pragma once

namespace cvarsmith {

// Whether a window can be shown: on X11/Wayland systems a display must be
// named (or a Qt platform chosen), otherwise Qt would abort at start-up.
bool displayAvailable();

// Runs the dialog until "Exit"; returns the exit status.
int runDialog(int& argc, char** argv);

}  // namespace cvarsmith
