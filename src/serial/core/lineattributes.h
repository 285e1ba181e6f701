#pragma once

#include "serial/core/tcommportdriver.h"

#include <termios.h>

namespace ordalvex {

struct LineAttributes {
    termios attributes{};
    // Bits per second still to be set through setArbitraryLineSpeed (14400, 56000), else 0.
    unsigned arbitrarySpeed = 0;
};

// The terminal attributes that give the line settings, built on `current` (the port's present
// attributes, so that fields this does not own keep their values): raw binary transfer with
// no translation of any byte, receiver on, carrier ignored, received parity not checked,
// reads returning at once with what is there. Data bits 5 to 8; parity none, odd, even, mark
// or space (mark and space through CMSPAR where the platform has it); 1 or 2 stop bits, where
// 1.5 asks for the long stop setting, which a UART gives as 1.5 bits with 5 data bits;
// RTS/CTS flow control; XON/XOFF both ways with DC1 and DC3. A rate without a POSIX speed
// constant leaves the speed at 38400 and names the rate in arbitrarySpeed.
LineAttributes lineAttributes(const termios& current, const LineSettings& settings);

} // namespace ordalvex
