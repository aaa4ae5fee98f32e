#include "gui/qt/display_check.h"

#include <QDir>
#include <QLibraryInfo>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace corvid {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// A local X server's socket (":N" or ":N.S") accepts a connection; remote displays are trusted.
bool xServerAnswers(const std::string& display) {
    if (display.empty()) return false;
    if (display[0] != ':') return true;
    const std::string number = display.substr(1, display.find('.') - 1);
    const std::string path = "/tmp/.X11-unix/X" + number;
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return ok;
}

bool pluginInstalled(const char* prefix) {
    QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms");
    return !platforms.entryList({QString("%1*").arg(prefix)}, QDir::Files).isEmpty();
}

} // namespace

bool chooseDisplayPlatform(std::string& reason) {
    const std::string chosen = environment("QT_QPA_PLATFORM");
    const std::string display = environment("DISPLAY");
    if (chosen == "xcb" && !xServerAnswers(display)) {
        reason = "the X display '" + display + "' cannot be reached";
        return false;
    }
    if (!chosen.empty()) return true;
    const std::string wayland = environment("WAYLAND_DISPLAY");
    if (!wayland.empty() && pluginInstalled("libqwayland")) {
        const std::string runtime = environment("XDG_RUNTIME_DIR");
        const std::string socketPath = wayland[0] == '/' ? wayland : runtime + "/" + wayland;
        if (access(socketPath.c_str(), F_OK) == 0) {
            setenv("QT_QPA_PLATFORM", "wayland", 1);
            return true;
        }
    }
    if (xServerAnswers(display)) {
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        return true;
    }
    reason = display.empty() && wayland.empty()
                 ? "no display to open the window on (DISPLAY and WAYLAND_DISPLAY are not set)"
                 : "the display " + (display.empty() ? wayland : display) + " cannot be reached";
    return false;
}

} // namespace corvid
