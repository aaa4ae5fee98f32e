// Whether the window system can be reached before Qt is asked to (its platform plugins abort
// the process when their display is missing).
#pragma once

#include <string>

namespace corvid {

// Chooses the Qt platform for the environment: the one the user set (QT_QPA_PLATFORM; "xcb"
// only when its server answers), X11 when DISPLAY's server answers, Wayland when its socket exists
// and the plugin is installed. False, with the reason, when no display can be reached.
bool chooseDisplayPlatform(std::string& reason);

} // namespace corvid
