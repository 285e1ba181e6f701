#pragma once

#include "serial/core/tcommportdriver.h"

#include <optional>

#include <QString>

namespace ordalvex {

class IniFile;

// The settings a port settings file (".cfg") holds: the item index of each of the transfer
// window's five choices (port, speed, data bits, parity, flow control).
struct PortSettings {
    int comPort = 0;     // 0..3: COM1..COM4
    int baudRate = 5;    // 0..11: 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200
    int dataBits = 3;    // 0..3: 5..8 bits
    int parity = 0;      // 0..4: none, odd, even, mark, space
    int handshaking = 0; // 0..3: none, RTS/CTS, XON/XOFF, both
    bool operator==(const PortSettings&) const = default;
};

// Number of items of each choice, in the order of PortSettings.
inline constexpr int kComPortItems = 4;
inline constexpr int kBaudRateItems = 12;
inline constexpr int kDataBitsItems = 4;
inline constexpr int kParityItems = 5;
inline constexpr int kHandshakingItems = 4;

// Reads the section "PortSettings" (keys "Com_port", "Baud_rate", "Data_bits", "Parity",
// "Handshaking"). A key that is missing, not a whole number or negative gives its default
// (COM1, 9600, 8 bits, no parity, no flow control); a number above the last item gives the
// last item.
PortSettings readPortSettings(const IniFile& file);

// Writes the five keys into "PortSettings", in the order above; every other section and key
// of the file stays.
void writePortSettings(IniFile& file, const PortSettings& settings);

// The settings of the file at path; a file that is missing or cannot be read gives the
// defaults.
PortSettings loadPortSettingsFile(const QString& path);

// Writes settings into the file at path, keeping whatever else it holds. False, leaving the
// file as it was, when an existing file cannot be read or the file cannot be written.
bool savePortSettingsFile(const QString& path, const PortSettings& settings);

// "Default.cfg", the settings file used when none was chosen before.
QString defaultPortSettingsFileName();

// Where the settings file `fileName` is read and written: a name without a folder (or with a
// relative one) lies in the folder of the program's settings file, settingsFolder; an
// absolute path stays as it is. An empty settingsFolder means the current folder.
QString portSettingsPath(const QString& fileName, const QString& settingsFolder);

// The caption of the transfer window and the hint of the main window's port button for the
// settings file fileName (only its name part, without folder, is shown).
QString comPortFormCaption(const QString& fileName);
QString comPortButtonHint(const QString& fileName);

// The device paths of COM1 to COM4 from the section "Ports" (keys "COM1" to "COM4") of the
// program's settings; a missing or empty key keeps the default device (/dev/ttyS0 to 3).
PortDevicePaths readPortDevicePaths(const IniFile& settings);

// The driver's speed for an item of the speed choice (item 0, 300 bits per second, is br300;
// 110 is never offered); items beyond the range are clamped to it.
TComPortBaudRate baudRateForItem(int item);

// The driver's flow control for an item of the flow control choice; nothing for an item out
// of range, which leaves the driver as it is.
struct FlowControl {
    TComPortHwHandshaking hardware = hhNONE;
    TComPortSwHandshaking software = shNONE;
};
std::optional<FlowControl> flowControlForItem(int item);

} // namespace ordalvex
