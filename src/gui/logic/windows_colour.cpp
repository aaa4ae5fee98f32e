#include "gui/logic/windows_colour.h"

#include "gui/logic/desktop.h"

namespace corvid {

namespace {
// Windows colour values, by slot.
constexpr uint32_t BookMoveColours[9] = {0x00DD00, 0xDD0000, 0x0000DD, 0xDDDD00, 0xDD00DD,
                                         0x00DDDD, 0xEEEEEE, 0x000000, 0x000000};
} // namespace

uint32_t bookMoveColour(int i) {
    return rgbFromWindowsColour(BookMoveColours[bookMoveColourSlot(i)]);
}

} // namespace corvid
