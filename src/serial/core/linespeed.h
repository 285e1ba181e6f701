#pragma once

// The port speed through Linux's arbitrary-rate interface, for rates that have no POSIX
// speed constant (14400, 56000). Kept apart because the kernel's terminal header, which this
// needs, cannot be included together with <termios.h>.
namespace ordalvex {

// Sets input and output speed of the open terminal fd to bitsPerSecond, keeping every other
// setting. False when the platform lacks the interface or refuses the call.
bool setArbitraryLineSpeed(int fd, unsigned bitsPerSecond);

// The output speed of the open terminal fd in bits per second, whatever way it was set; 0
// when it cannot be read.
unsigned lineSpeed(int fd);

} // namespace ordalvex
