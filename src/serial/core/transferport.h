#pragma once

#include "serial/core/portdevices.h"
#include "serial/core/portsettings.h"

#include <QString>

namespace ordalvex {

class TCommPortDriver;

// A port as the user names it: "COM1" to "COM4" (any case) stand for the devices assigned to
// them; anything else is a device path taken as it is.
struct NamedPort {
    QString name;   // "COM2", or the path
    QString device; // the path to open; empty for a COM port without a device
};
NamedPort resolvePortName(const QString& text, const PortDevices& devices);

// Sets the driver up for a transfer on port with the line settings of settings (speed, data
// bits, parity, flow control), polling every 10 ms with a 16 KiB receive buffer, and opens
// it. Gives an empty text when the port is open, else why not in Polish
// (portOpenFailureText).
QString openTransferPort(TCommPortDriver& driver, const NamedPort& port, const PortSettings& settings);

} // namespace ordalvex
