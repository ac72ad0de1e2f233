// Trolvane as the desktop knows it: its name, the launcher entry its windows
// belong to, and the icon docks and task switchers show for them.
#pragma once

#include <QIcon>

namespace trolvane {

// The launcher entry's name; on Wayland also the windows' application id.
inline constexpr char kDesktopEntry[] = "org.trolvane.Trolvane";

// Names the application before its first window is created: "Trolvane" to the
// desktop, which on X11 is the windows' class, and to screen readers.
void IdentifyApplication();

// Trolvane's icon, drawn for each size a desktop asks a window for.
QIcon TrolvaneIcon();

}  // namespace trolvane
