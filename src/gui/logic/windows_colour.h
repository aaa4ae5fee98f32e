// Colours the program keeps as Windows colour values (0x00BBGGRR: red in the low byte) are
// turned into RGB (0xRRGGBB) before anything draws with them.
#pragma once

#include <cstdint>

namespace corvid {

constexpr uint32_t rgbFromWindowsColour(uint32_t colour) {
    return (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}

// The fill of the side panel's "Book" and "Analyze" buttons while their mode is on: red 204,
// green 204, blue 153.
constexpr uint32_t PressedToggleColour = rgbFromWindowsColour(0x0099CCCC);

// The frame colour (RGB) of the i-th book move in book view.
uint32_t bookMoveColour(int i);

} // namespace corvid
