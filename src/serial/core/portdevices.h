#pragma once

#include "serial/core/tcommportdriver.h"

#include <array>
#include <vector>

#include <QString>

namespace ordalvex {

class IniFile;

// A serial device of the machine.
struct SerialDevice {
    QString path;        // what is opened, e.g. "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A5-if00-port0"
    QString device;      // the terminal it stands for, e.g. "/dev/ttyUSB0"; shown to the user
    QString description; // maker and model when known ("FTDI FT232R USB UART A5"), else empty
    bool operator==(const SerialDevice&) const = default;
};

// The serial devices under root (normally "/"), in a stable order: the links of
// dev/serial/by-id (USB adapters named by maker and serial number, by name), then dev/ttyUSB*
// and dev/ttyACM* not already listed through a link (by number), then dev/ttyS* that have a
// real UART behind them (sys/class/tty/ttySn/type other than 0; a port without that file is
// left out). Paths are given as the machine sees them, without root. An unreadable folder
// lists nothing.
std::vector<SerialDevice> discoverSerialDevices(const QString& root = QStringLiteral("/"));

// The devices behind COM1 to COM4 (index 0 for COM1): the first four found devices in order,
// unless the section "Ports" of settings names one (key "COM1" to "COM4", a path); a port
// with neither has an empty path.
using PortDevices = std::array<SerialDevice, 4>;
PortDevices assignPortDevices(const IniFile& settings, const std::vector<SerialDevice>& found);

// The paths of PortDevices, as the driver takes them.
PortDevicePaths devicePathsOf(const PortDevices& devices);

// "COM1 — /dev/ttyUSB0, FTDI FT232R USB UART" (description left out when unknown), or
// "COM3 — brak urządzenia" for a port without a device. index 0 is COM1.
QString portLabel(int index, const SerialDevice& device);

// Why a port could not be opened, in Polish, for the errno that TCommPortDriver::OpenPort
// left in lastOpenError(): no such device, busy, permission denied (with the hint about the
// "dialout" group), not a serial port, or the system's own text. portName is "COM1" or a
// path given directly; device the device path (may be empty when the port has none).
QString portOpenFailureText(const QString& portName, const QString& device, int error);

} // namespace ordalvex
