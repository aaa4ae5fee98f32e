#include "gui/logic/window_state.h"

#include <cstring>

namespace corvid {

WindowState::WindowState() {
    std::memset(setupBoard, Empty, sizeof setupBoard);
    std::memset(previousBoard, Empty, sizeof previousBoard);
}

} // namespace corvid
