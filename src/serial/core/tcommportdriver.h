#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include <QObject>
#include <QString>
#include <QTimer>

namespace ordalvex {

enum TComPortNumber : std::uint8_t { pnCOM1, pnCOM2, pnCOM3, pnCOM4 };

enum TComPortBaudRate : std::uint8_t {
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200
};

enum TComPortDataBits : std::uint8_t { db5BITS, db6BITS, db7BITS, db8BITS };
enum TComPortStopBits : std::uint8_t { sb1BITS, sb1HALFBITS, sb2BITS };
enum TComPortParity : std::uint8_t { ptNONE, ptODD, ptEVEN, ptMARK, ptSPACE };
enum TComPortHwHandshaking : std::uint8_t { hhNONE, hhRTSCTS };
enum TComPortSwHandshaking : std::uint8_t { shNONE, shXONXOFF };

// Bits per second of a rate (110 to 115200); 9600 for a value outside the enumeration.
unsigned bitsPerSecond(TComPortBaudRate rate);

// Device paths of COM1 to COM4, index 0 for COM1.
using PortDevicePaths = std::array<QString, 4>;

// The paths used when the settings file names none: /dev/ttyS0 to /dev/ttyS3 ("COM1" to
// "COM4" on Windows).
PortDevicePaths defaultPortDevicePaths();

// The line settings the driver hands to the port, gathered for building the platform's
// configuration.
struct LineSettings {
    TComPortBaudRate speed = br9600;
    TComPortDataBits dataBits = db8BITS;
    TComPortStopBits stopBits = sb1BITS;
    TComPortParity parity = ptNONE;
    TComPortHwHandshaking hwHandshaking = hhNONE;
    TComPortSwHandshaking swHandshaking = shNONE;
};

// Owns one serial port: opens one of COM1 to COM4 exclusively, configures it, writes with a
// time-out, sets DTR and RTS, and polls it for received bytes from a timer on the thread that
// owns the driver (the interface thread), handing them to OnReceiveData. Nothing blocks
// except SendBytes while the output queue stays full.
class TCommPortDriver : public QObject {
    Q_OBJECT
public:
    // Called for each poll that read at least one byte. The bytes live in the driver's receive
    // buffer and are valid only during the call; size is 1 to ComPortInBufSize.
    using ReceiveDataEvent =
        std::function<void(TCommPortDriver& sender, const char* data, std::int32_t size)>;

    explicit TCommPortDriver(QObject* parent = nullptr);
    ~TCommPortDriver() override;

    TComPortNumber ComPort() const { return m_comPort; }
    // Ignored while the port is open.
    void setComPort(TComPortNumber port);

    // The line settings: stored; while open the port is reconfigured at once, which also
    // discards both queues and sets DTR and RTS anew.
    TComPortBaudRate ComPortSpeed() const { return m_line.speed; }
    void setComPortSpeed(TComPortBaudRate speed) { setLine(&LineSettings::speed, speed); }
    TComPortDataBits ComPortDataBits() const { return m_line.dataBits; }
    void setComPortDataBits(TComPortDataBits bits) { setLine(&LineSettings::dataBits, bits); }
    TComPortStopBits ComPortStopBits() const { return m_line.stopBits; }
    void setComPortStopBits(TComPortStopBits bits) { setLine(&LineSettings::stopBits, bits); }
    TComPortParity ComPortParity() const { return m_line.parity; }
    void setComPortParity(TComPortParity parity) { setLine(&LineSettings::parity, parity); }
    TComPortHwHandshaking ComPortHwHandshaking() const { return m_line.hwHandshaking; }
    void setComPortHwHandshaking(TComPortHwHandshaking handshaking) {
        setLine(&LineSettings::hwHandshaking, handshaking);
    }
    TComPortSwHandshaking ComPortSwHandshaking() const { return m_line.swHandshaking; }
    void setComPortSwHandshaking(TComPortSwHandshaking handshaking) {
        setLine(&LineSettings::swHandshaking, handshaking);
    }

    // Bytes read at most in one poll (and the size of the receive buffer). Ignored while open.
    std::uint16_t ComPortInBufSize() const { return m_inBufSize; }
    void setComPortInBufSize(std::uint16_t size);
    // Bytes the output queue is taken to hold (see FreeOutputSpace).
    std::uint16_t ComPortOutBufSize() const { return m_outBufSize; }
    // Milliseconds between two polls; periods below 10 ms poll every 10 ms. Changing it while
    // open restarts the poll timer; setting the current value does nothing.
    std::uint16_t ComPortPollingDelay() const { return m_pollingDelay; }
    void setComPortPollingDelay(std::uint16_t milliseconds);
    // True: DTR is raised whenever the port is configured; false: lowered.
    bool EnableDTROnOpen() const { return m_enableDtrOnOpen; }
    // Milliseconds a write may go on without progress before SendBytes gives up.
    std::uint16_t OutputTimeout() const { return m_outputTimeout; }
    void setOutputTimeout(std::uint16_t milliseconds) { m_outputTimeout = milliseconds; }
    void setOnReceiveData(ReceiveDataEvent handler) { m_onReceiveData = std::move(handler); }

    // The device opened for each port number; defaults from defaultPortDevicePaths().
    const PortDevicePaths& devicePaths() const { return m_devicePaths; }
    void setDevicePaths(const PortDevicePaths& paths) { m_devicePaths = paths; }

    // Opens the device of ComPort for reading and writing, exclusively (a device another
    // program holds fails), configures it and starts polling. True when the port is open
    // afterwards; an open driver returns true without reopening. Reports nothing itself.
    bool OpenPort();
    // Stops polling and closes the port; nothing while closed.
    void ClosePort();
    bool IsOpen() const { return m_fd >= 0; }
    // Why the last OpenPort failed, as an errno value (EBUSY when another program holds the
    // port, ENODEV when the port has no device, ENOTTY for a file that is no terminal); 0
    // after a successful open.
    int lastOpenError() const { return m_lastOpenError; }
    // Hands the current line settings to the open port, sets DTR by EnableDTROnOpen and RTS
    // (raised under RTS/CTS, else lowered), and discards both queues. Errors of the platform
    // are ignored: an unsupported setting leaves the port as the platform left it.
    void ConfigurePort();
    // Discards bytes waiting in the chosen queues; nothing while closed.
    void PurgeBuffers(bool input, bool output);
    // Bytes that may be written now: ComPortOutBufSize minus the bytes waiting in the output
    // queue, never below 0; 65535 while closed.
    std::uint16_t FreeOutputSpace();
    // Writes count bytes from data. Gives count when all were written, 0 while closed or for
    // count <= 0, and minus the bytes written so far when OutputTimeout milliseconds pass
    // without progress or the port is lost. Holds the calling thread while it waits.
    std::int32_t SendBytes(const char* data, std::int32_t count);
    // Writes what the port takes at once of count bytes, without waiting: the number written
    // (0 when the line is held or the queue is full), or -1 when the port is lost (the driver
    // has then closed it and raised portLost).
    std::int32_t WriteAvailable(const char* data, std::int32_t count);
    // Waits at most milliseconds until the port takes bytes again; true when it does. Holds
    // the calling thread meanwhile, so callers keep the wait short. False while closed.
    bool WaitWritable(int milliseconds);
    // Whether the far end holds the line by CTS: true only when the port has modem lines and
    // CTS is low; a port without modem lines (a pseudo-terminal) never reads as held.
    bool CtsHeld();
    // Raise (true) or lower (false) the DTR / RTS line; nothing while closed.
    void SetDtrLine(bool on);
    void SetRtsLine(bool on);

Q_SIGNALS:
    // The open port failed (device removed, far end hung up); the driver has closed it.
    void portLost();

private:
    void poll();
    void restartTimer();
    void loseTheLine();
    // Stores one line setting and hands the settings to the port when it is open.
    template <class T> void setLine(T LineSettings::*field, T value) {
        m_line.*field = value;
        ConfigurePort();
    }

    TComPortNumber m_comPort = pnCOM2;
    LineSettings m_line;
    std::uint16_t m_inBufSize = 2048;
    std::uint16_t m_outBufSize = 2048;
    std::uint16_t m_pollingDelay = 50;
    bool m_enableDtrOnOpen = true;
    std::uint16_t m_outputTimeout = 4000;
    ReceiveDataEvent m_onReceiveData;
    PortDevicePaths m_devicePaths;

    int m_fd = -1;
    int m_lastOpenError = 0;
    QTimer m_pollTimer;
    std::vector<char> m_receiveBuffer;
};

} // namespace ordalvex
