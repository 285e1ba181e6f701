#include "serial/core/portdevices.h"

#include "common/core/filebytes.h"
#include "common/core/inifile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace ordalvex {

namespace {

constexpr QDir::Filters kEveryEntry = QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot;

// root + path, where path is absolute on the machine ("/dev/ttyS0").
QString under(const QString& root, const QString& path) {
    return QDir::cleanPath(root + QLatin1Char('/') + path);
}

// A path under root as the machine sees it.
QString machinePath(const QString& root, const QString& path) {
    const QString cleanRoot = QDir::cleanPath(root);
    if (cleanRoot == QLatin1String("/") || !path.startsWith(cleanRoot + QLatin1Char('/')))
        return path;
    return path.mid(cleanRoot.size());
}

// "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0" gives "FTDI FT232R USB UART A50285BI".
QString describeById(QString name) {
    static const QRegularExpression bus(QStringLiteral("^(usb|pci|platform)-"));
    static const QRegularExpression tail(QStringLiteral("(-if\\d+)?(-port\\d+)?$"));
    name.remove(bus);
    name.remove(tail);
    return name.replace(QLatin1Char('_'), QLatin1Char(' ')).simplified();
}

// Trailing number of a terminal name, for ordering ttyUSB2 before ttyUSB10.
int trailingNumber(const QString& name) {
    qsizetype start = name.size();
    while (start > 0 && name[start - 1].isDigit())
        --start;
    bool ok = false;
    const int number = name.mid(start).toInt(&ok);
    return ok ? number : -1;
}

QStringList terminalsByNumber(const QString& root, const QString& pattern) {
    QStringList names = QDir(under(root, QStringLiteral("/dev"))).entryList({pattern}, kEveryEntry);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int na = trailingNumber(a), nb = trailingNumber(b);
        return na != nb ? na < nb : a < b;
    });
    return names;
}

// The serial core reports the UART type of each ttyS port; 0 (unknown) is a port the kernel
// reserves without any hardware behind it, which every PC has four of.
int uartType(const QString& root, const QString& name) {
    const std::optional<QByteArray> type =
        readWholeFile(under(root, QStringLiteral("/sys/class/tty/") + name + QStringLiteral("/type")));
    bool ok = false;
    const int value = type ? QString::fromLatin1(*type).trimmed().toInt(&ok) : 0;
    return ok ? value : 0;
}

QString uartName(int type) {
    switch (type) {
    case 1:
        return QStringLiteral("UART 8250");
    case 2:
        return QStringLiteral("UART 16450");
    case 3:
        return QStringLiteral("UART 16550");
    case 4:
        return QStringLiteral("UART 16550A");
    default:
        return QStringLiteral("UART");
    }
}

} // namespace

std::vector<SerialDevice> discoverSerialDevices(const QString& root) {
    std::vector<SerialDevice> found;
    const QDir byId(under(root, QStringLiteral("/dev/serial/by-id")));
    for (const QFileInfo& link : byId.entryInfoList(kEveryEntry, QDir::Name)) {
        const QString target =
            link.isSymLink() ? QDir::cleanPath(link.symLinkTarget()) : link.absoluteFilePath();
        found.push_back({machinePath(root, link.absoluteFilePath()), machinePath(root, target),
                         describeById(link.fileName())});
    }
    const auto listed = [&found](const QString& device) {
        return std::any_of(found.begin(), found.end(),
                           [&](const SerialDevice& d) { return d.device == device; });
    };
    for (const QString& pattern : {QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")}) {
        for (const QString& name : terminalsByNumber(root, pattern)) {
            const QString device = QStringLiteral("/dev/") + name;
            if (!listed(device))
                found.push_back({device, device, QString()});
        }
    }
    for (const QString& name : terminalsByNumber(root, QStringLiteral("ttyS*"))) {
        const int type = uartType(root, name);
        if (type != 0) {
            const QString device = QStringLiteral("/dev/") + name;
            found.push_back({device, device, uartName(type)});
        }
    }
    return found;
}

PortDevices assignPortDevices(const IniFile& settings, const std::vector<SerialDevice>& found) {
    PortDevices ports;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        const QString named =
            settings.readString(QStringLiteral("Ports"), QStringLiteral("COM%1").arg(i + 1)).trimmed();
        if (!named.isEmpty()) {
            // A path named in the settings that is also a found device keeps its description.
            const auto same = std::find_if(found.begin(), found.end(), [&](const SerialDevice& d) {
                return d.path == named || d.device == named;
            });
            ports[i] = same != found.end() ? SerialDevice{named, same->device, same->description}
                                           : SerialDevice{named, named, QString()};
        } else if (i < found.size()) {
            ports[i] = found[i];
        }
    }
    return ports;
}

PortDevicePaths devicePathsOf(const PortDevices& devices) {
    PortDevicePaths paths;
    for (std::size_t i = 0; i < devices.size(); ++i)
        paths[i] = devices[i].path;
    return paths;
}

QString portLabel(int index, const SerialDevice& device) {
    QString label = QStringLiteral("COM%1 — ").arg(index + 1);
    if (device.path.isEmpty())
        return label + QStringLiteral("brak urządzenia");
    label += device.device.isEmpty() ? device.path : device.device;
    if (!device.description.isEmpty())
        label += QStringLiteral(", ") + device.description;
    return label;
}

QString portOpenFailureText(const QString& portName, const QString& device, int error) {
    QString where = portName;
    if (!device.isEmpty() && device != portName)
        where += QStringLiteral(" (") + device + QLatin1Char(')');
    if (device.isEmpty())
        return where + QStringLiteral(": port nie ma przypisanego urządzenia.");
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return where + QStringLiteral(": nie ma takiego urządzenia (adapter odłączony?).");
    case EBUSY:
    case EWOULDBLOCK:
        return where + QStringLiteral(": urządzenie jest zajęte przez inny program.");
    case EACCES:
    case EPERM:
        return where + QStringLiteral(": brak uprawnień do urządzenia. Użytkownik musi należeć do grupy "
                                      "dialout (sudo usermod -aG dialout $USER, potem ponowne "
                                      "zalogowanie).");
    case ENOTTY:
        return where + QStringLiteral(": to nie jest port szeregowy.");
    default:
        return where + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error));
    }
}

} // namespace ordalvex
