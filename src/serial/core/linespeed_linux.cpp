#include "serial/core/linespeed.h"

#if defined(__linux__)
#include <asm/termbits.h>
#include <sys/ioctl.h>
#endif

namespace ordalvex {

#if defined(__linux__)

bool setArbitraryLineSpeed(int fd, unsigned bitsPerSecond) {
    struct termios2 attributes {};
    if (ioctl(fd, TCGETS2, &attributes) != 0)
        return false;
    attributes.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
    attributes.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    attributes.c_ispeed = bitsPerSecond;
    attributes.c_ospeed = bitsPerSecond;
    return ioctl(fd, TCSETS2, &attributes) == 0;
}

unsigned lineSpeed(int fd) {
    struct termios2 attributes {};
    if (ioctl(fd, TCGETS2, &attributes) != 0)
        return 0;
    return attributes.c_ospeed;
}

#else

bool setArbitraryLineSpeed(int, unsigned) {
    return false;
}
unsigned lineSpeed(int) {
    return 0;
}

#endif

} // namespace ordalvex
