#include "serial/core/lineattributes.h"

namespace ordalvex {

namespace {

// The POSIX speed constant of a rate, or B0 for the rates that have none.
speed_t speedConstant(TComPortBaudRate rate) {
    switch (rate) {
    case br110:
        return B110;
    case br300:
        return B300;
    case br600:
        return B600;
    case br1200:
        return B1200;
    case br2400:
        return B2400;
    case br4800:
        return B4800;
    case br9600:
        return B9600;
    case br19200:
        return B19200;
    case br38400:
        return B38400;
    case br57600:
        return B57600;
    case br115200:
        return B115200;
    case br14400:
    case br56000:
        return B0;
    }
    return B9600;
}

tcflag_t characterSize(TComPortDataBits bits) {
    switch (bits) {
    case db5BITS:
        return CS5;
    case db6BITS:
        return CS6;
    case db7BITS:
        return CS7;
    case db8BITS:
        return CS8;
    }
    return CS8;
}

} // namespace

LineAttributes lineAttributes(const termios& current, const LineSettings& settings) {
    LineAttributes result;
    termios& t = result.attributes;
    t = current;
    cfmakeraw(&t);
    // cfmakeraw leaves input parity checking and flow control as they were; none of them
    // may survive from an earlier configuration.
    t.c_iflag &= ~static_cast<tcflag_t>(INPCK | IXON | IXOFF | IXANY);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
#ifdef CMSPAR
    t.c_cflag &= ~static_cast<tcflag_t>(CMSPAR);
#endif
    t.c_cflag |= CREAD | CLOCAL | characterSize(settings.dataBits);

    switch (settings.parity) {
    case ptNONE:
        break;
    case ptODD:
        t.c_cflag |= PARENB | PARODD;
        break;
    case ptEVEN:
        t.c_cflag |= PARENB;
        break;
#ifdef CMSPAR
    case ptMARK:
        t.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case ptSPACE:
        t.c_cflag |= PARENB | CMSPAR;
        break;
#else
    case ptMARK:
    case ptSPACE:
        break; // no stick parity on this platform: the port keeps no parity
#endif
    }

    if (settings.stopBits != sb1BITS)
        t.c_cflag |= CSTOPB;
    if (settings.hwHandshaking == hhRTSCTS)
        t.c_cflag |= CRTSCTS;
    if (settings.swHandshaking == shXONXOFF)
        t.c_iflag |= IXON | IXOFF;
    t.c_cc[VSTART] = 17;
    t.c_cc[VSTOP] = 19;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;

    speed_t speed = speedConstant(settings.speed);
    if (speed == B0) {
        result.arbitrarySpeed = bitsPerSecond(settings.speed);
        speed = B38400;
    }
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    return result;
}

} // namespace ordalvex
