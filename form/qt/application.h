// Trolvane as the desktop knows it: its name, the launcher entry its windows
// belong to, and the icon docks and task switchers show for them.
#pragma once

#include <QIcon>

namespace trolvane {

// The launcher entry's name; on Wayland also the windows' application id.
inline constexpr char kDesktopEntry[] = "org.trolvane.Trolvane";

// Sets the application up before its first window is created: names it
// "Trolvane" to the desktop, which on X11 is the windows' class, and to screen
// readers, and gives it the window's font, so that no box lays its text out
// first in another.
void SetUpApplication();

// Trolvane's icon, drawn for each size a desktop asks a window for.
QIcon TrolvaneIcon();

}  // namespace trolvane
