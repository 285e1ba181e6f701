#include "serial/core/transferport.h"

#include "serial/core/tcommportdriver.h"

#include <QRegularExpression>

namespace ordalvex {

NamedPort resolvePortName(const QString& text, const PortDevices& devices) {
    static const QRegularExpression com(QStringLiteral("^COM([1-4])$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = com.match(text.trimmed());
    if (!match.hasMatch())
        return {text, text};
    const int index = match.captured(1).toInt() - 1;
    return {QStringLiteral("COM%1").arg(index + 1), devices[static_cast<std::size_t>(index)].path};
}

QString openTransferPort(TCommPortDriver& driver, const NamedPort& port, const PortSettings& settings) {
    driver.ClosePort();
    driver.setDevicePaths({port.device, QString(), QString(), QString()});
    driver.setComPort(pnCOM1);
    driver.setComPortInBufSize(16 * 1024);
    driver.setComPortPollingDelay(0);
    driver.setComPortSpeed(baudRateForItem(settings.baudRate));
    driver.setComPortDataBits(
        static_cast<TComPortDataBits>(std::clamp(settings.dataBits, 0, kDataBitsItems - 1)));
    driver.setComPortParity(static_cast<TComPortParity>(std::clamp(settings.parity, 0, kParityItems - 1)));
    const FlowControl flow = flowControlForItem(settings.handshaking).value_or(FlowControl{});
    driver.setComPortHwHandshaking(flow.hardware);
    driver.setComPortSwHandshaking(flow.software);
    if (driver.OpenPort())
        return QString();
    return portOpenFailureText(port.name, port.device, driver.lastOpenError());
}

} // namespace ordalvex
