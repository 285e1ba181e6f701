#include "serial/core/portsettings.h"

#include "common/core/inifile.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>

namespace ordalvex {

namespace {

const QString kSection = QStringLiteral("PortSettings");

int readItem(const IniFile& file, const QString& key, int defaultItem, int items) {
    const int value = file.readInteger(kSection, key, defaultItem);
    // A negative index would leave the choice without any item, which no port setting
    // matches; the default is the nearest sound reading.
    if (value < 0)
        return defaultItem;
    return std::min(value, items - 1);
}

QString fileNamePart(const QString& fileName) {
    return QFileInfo(fileName).fileName();
}

} // namespace

PortSettings readPortSettings(const IniFile& file) {
    const PortSettings defaults;
    PortSettings settings;
    settings.comPort = readItem(file, QStringLiteral("Com_port"), defaults.comPort, kComPortItems);
    settings.baudRate = readItem(file, QStringLiteral("Baud_rate"), defaults.baudRate, kBaudRateItems);
    settings.dataBits = readItem(file, QStringLiteral("Data_bits"), defaults.dataBits, kDataBitsItems);
    settings.parity = readItem(file, QStringLiteral("Parity"), defaults.parity, kParityItems);
    settings.handshaking =
        readItem(file, QStringLiteral("Handshaking"), defaults.handshaking, kHandshakingItems);
    return settings;
}

void writePortSettings(IniFile& file, const PortSettings& settings) {
    file.writeInteger(kSection, QStringLiteral("Com_port"), settings.comPort);
    file.writeInteger(kSection, QStringLiteral("Baud_rate"), settings.baudRate);
    file.writeInteger(kSection, QStringLiteral("Data_bits"), settings.dataBits);
    file.writeInteger(kSection, QStringLiteral("Parity"), settings.parity);
    file.writeInteger(kSection, QStringLiteral("Handshaking"), settings.handshaking);
}

PortSettings loadPortSettingsFile(const QString& path) {
    return readIniFile(path, readPortSettings);
}

bool savePortSettingsFile(const QString& path, const PortSettings& settings) {
    return rewriteIniFile(path, [&settings](IniFile& file) { writePortSettings(file, settings); });
}

QString defaultPortSettingsFileName() {
    return QStringLiteral("Default.cfg");
}

QString portSettingsPath(const QString& fileName, const QString& settingsFolder) {
    if (fileName.isEmpty() || QDir::isAbsolutePath(fileName))
        return fileName;
    return QDir(settingsFolder.isEmpty() ? QStringLiteral(".") : settingsFolder).filePath(fileName);
}

QString comPortFormCaption(const QString& fileName) {
    return QStringLiteral("Parametry transmisji RS232 --> ") + fileNamePart(fileName);
}

QString comPortButtonHint(const QString& fileName) {
    return QStringLiteral("Ustawienia portu RS232 --> ") + fileNamePart(fileName);
}

PortDevicePaths readPortDevicePaths(const IniFile& settings) {
    PortDevicePaths paths = defaultPortDevicePaths();
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const QString value =
            settings.readString(QStringLiteral("Ports"), QStringLiteral("COM%1").arg(i + 1)).trimmed();
        if (!value.isEmpty())
            paths[i] = value;
    }
    return paths;
}

TComPortBaudRate baudRateForItem(int item) {
    return static_cast<TComPortBaudRate>(std::clamp(item, 0, kBaudRateItems - 1) + 1);
}

std::optional<FlowControl> flowControlForItem(int item) {
    switch (item) {
    case 0:
        return FlowControl{hhNONE, shNONE};
    case 1:
        return FlowControl{hhRTSCTS, shNONE};
    case 2:
        return FlowControl{hhNONE, shXONXOFF};
    case 3:
        return FlowControl{hhRTSCTS, shXONXOFF};
    default:
        return std::nullopt;
    }
}

} // namespace ordalvex
