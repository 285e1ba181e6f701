#include "ptypair.h"
#include "serial/core/lineattributes.h"
#include "serial/core/linespeed.h"
#include "serial/core/tcommportdriver.h"

#include <sys/ioctl.h>
#include <termios.h>

#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace ordalvex;
using ordalvex::testing::PtyPair;

Q_DECLARE_METATYPE(ordalvex::LineSettings)

namespace {

// Collects what the driver hands to OnReceiveData.
struct Receiver {
    QByteArray bytes;
    QList<int> blockSizes;
    const TCommPortDriver* sender = nullptr;
    void attach(TCommPortDriver& driver) {
        driver.setOnReceiveData([this](TCommPortDriver& from, const char* data, std::int32_t size) {
            sender = &from;
            bytes.append(data, size);
            blockSizes.append(size);
        });
    }
};

// A driver whose COM1 is the far end of the pair; nothing else can be opened by mistake.
void pointAt(TCommPortDriver& driver, const PtyPair& pty) {
    driver.setDevicePaths(
        {pty.slavePath(), "/nonexistent/ttyS1", "/nonexistent/ttyS2", "/nonexistent/ttyS3"});
    driver.setComPort(pnCOM1);
}

termios attributesOf(const PtyPair& pty) {
    termios t{};
    // On the master side the attributes of the far end, the driver's port, are read.
    tcgetattr(pty.master(), &t);
    return t;
}

void settle() {
    QTest::qWait(50);
} // the kernel hands bytes between the two sides asynchronously

} // namespace

class TestCommPortDriver : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void defaultsWhileClosed() {
        TCommPortDriver driver;
        QCOMPARE(driver.ComPort(), pnCOM2);
        QCOMPARE(driver.ComPortSpeed(), br9600);
        QCOMPARE(driver.ComPortDataBits(), db8BITS);
        QCOMPARE(driver.ComPortStopBits(), sb1BITS);
        QCOMPARE(driver.ComPortParity(), ptNONE);
        QCOMPARE(driver.ComPortHwHandshaking(), hhNONE);
        QCOMPARE(driver.ComPortSwHandshaking(), shNONE);
        QCOMPARE(driver.ComPortInBufSize(), std::uint16_t(2048));
        QCOMPARE(driver.ComPortOutBufSize(), std::uint16_t(2048));
        QCOMPARE(driver.ComPortPollingDelay(), std::uint16_t(50));
        QVERIFY(driver.EnableDTROnOpen());
        QCOMPARE(driver.OutputTimeout(), std::uint16_t(4000));
        QCOMPARE(driver.devicePaths()[0], QString("/dev/ttyS0"));
        QCOMPARE(driver.devicePaths()[3], QString("/dev/ttyS3"));

        QVERIFY(!driver.IsOpen());
        QCOMPARE(driver.FreeOutputSpace(), std::uint16_t(65535));
        QCOMPARE(driver.SendBytes("abc", 3), 0);
        driver.ClosePort(); // nothing to close
        driver.SetDtrLine(true);
        driver.PurgeBuffers(true, true);
        QVERIFY(!driver.IsOpen());
    }

    void openingSomethingThatIsNoPortFails_data() {
        QTest::addColumn<QString>("relative");
        QTest::newRow("absent device") << "ttyNone";
        QTest::newRow("regular file") << "file.txt";
        QTest::newRow("folder") << "folder";
        QTest::newRow("empty path") << "";
    }
    void openingSomethingThatIsNoPortFails() {
        QFETCH(QString, relative);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("folder"));
        QFile file(dir.filePath("file.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        TCommPortDriver driver;
        const QString path = relative.isEmpty() ? QString() : dir.filePath(relative);
        driver.setDevicePaths({path, path, path, path});
        QVERIFY(!driver.OpenPort());
        QVERIFY(!driver.IsOpen());
        QCOMPARE(driver.SendBytes("x", 1), 0);
    }

    void openIsExclusiveAndRepeatable() {
        PtyPair pty;
        QVERIFY(pty.ok());
        TCommPortDriver first;
        TCommPortDriver second;
        pointAt(first, pty);
        pointAt(second, pty);
        QVERIFY(first.OpenPort());
        QVERIFY(first.OpenPort()); // already open: true, still the same port
        QVERIFY(first.IsOpen());
        QVERIFY(!second.OpenPort()); // held by the first
        QVERIFY(!second.IsOpen());
        first.ClosePort();
        QVERIFY(!first.IsOpen());
        QVERIFY(second.OpenPort());
    }

    void portNumberChangesOnlyWhileClosed() {
        PtyPair pty;
        QVERIFY(pty.ok());
        TCommPortDriver driver;
        pointAt(driver, pty);
        QVERIFY(driver.OpenPort());
        driver.setComPort(pnCOM3);
        QCOMPARE(driver.ComPort(), pnCOM1);
        driver.ClosePort();
        QCOMPARE(driver.ComPort(), pnCOM1); // the refused value is not remembered
        driver.setComPort(pnCOM4);
        QCOMPARE(driver.ComPort(), pnCOM4);
    }

    void receiveBufferSizeChangesOnlyWhileClosed() {
        PtyPair pty;
        QVERIFY(pty.ok());
        TCommPortDriver driver;
        pointAt(driver, pty);
        driver.setComPortInBufSize(16);
        driver.setComPortPollingDelay(10);
        QVERIFY(driver.OpenPort());
        driver.setComPortInBufSize(4096);
        QCOMPARE(driver.ComPortInBufSize(), std::uint16_t(16));

        Receiver receiver;
        receiver.attach(driver);
        const QByteArray data(100, 'x');
        QVERIFY(pty.write(data));
        QTRY_COMPARE(receiver.bytes, data);
        for (int size : receiver.blockSizes)
            QVERIFY2(size >= 1 && size <= 16, qPrintable(QString::number(size)));
        QVERIFY(receiver.blockSizes.size() >= 7);
    }

    void lineAttributesFollowTheSettings_data() {
        QTest::addColumn<LineSettings>("settings");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("parityFlags");
        QTest::addColumn<bool>("twoStopBits");
        QTest::addColumn<bool>("rtsCts");
        QTest::addColumn<bool>("xonXoff");
        QTest::addColumn<int>("speed");
        QTest::addColumn<unsigned>("arbitrary");

        const int odd = PARENB | PARODD;
        QTest::newRow("defaults") << LineSettings{} << int(CS8) << 0 << false << false << false << int(B9600)
                                  << 0u;
        QTest::newRow("7 bits even") << LineSettings{br4800, db7BITS, sb1BITS, ptEVEN, hhNONE, shNONE}
                                     << int(CS7) << int(PARENB) << false << false << false << int(B4800)
                                     << 0u;
        QTest::newRow("5 bits odd 1.5 stop")
            << LineSettings{br110, db5BITS, sb1HALFBITS, ptODD, hhNONE, shNONE} << int(CS5) << odd << true
            << false << false << int(B110) << 0u;
        QTest::newRow("6 bits mark 2 stop")
            << LineSettings{br300, db6BITS, sb2BITS, ptMARK, hhNONE, shNONE} << int(CS6)
            << int(PARENB | CMSPAR | PARODD) << true << false << false << int(B300) << 0u;
        QTest::newRow("space parity")
            << LineSettings{br57600, db8BITS, sb1BITS, ptSPACE, hhNONE, shNONE} << int(CS8)
            << int(PARENB | CMSPAR) << false << false << false << int(B57600) << 0u;
        QTest::newRow("RTS/CTS") << LineSettings{br115200, db8BITS, sb1BITS, ptNONE, hhRTSCTS, shNONE}
                                 << int(CS8) << 0 << false << true << false << int(B115200) << 0u;
        QTest::newRow("XON/XOFF") << LineSettings{br19200, db8BITS, sb1BITS, ptNONE, hhNONE, shXONXOFF}
                                  << int(CS8) << 0 << false << false << true << int(B19200) << 0u;
        QTest::newRow("14400 arbitrary")
            << LineSettings{br14400, db8BITS, sb1BITS, ptNONE, hhRTSCTS, shXONXOFF} << int(CS8) << 0 << false
            << true << true << int(B38400) << 14400u;
        QTest::newRow("56000 arbitrary") << LineSettings{br56000, db8BITS, sb1BITS, ptNONE, hhNONE, shNONE}
                                         << int(CS8) << 0 << false << false << false << int(B38400) << 56000u;
    }
    void lineAttributesFollowTheSettings() {
        QFETCH(LineSettings, settings);
        QFETCH(int, size);
        QFETCH(int, parityFlags);
        QFETCH(bool, twoStopBits);
        QFETCH(bool, rtsCts);
        QFETCH(bool, xonXoff);
        QFETCH(int, speed);
        QFETCH(unsigned, arbitrary);

        // Start from attributes full of what a terminal in cooked mode carries, and of the
        // opposite settings, so that nothing of them may survive by accident.
        termios cooked{};
        cooked.c_iflag = ICRNL | IXON | IXOFF | IXANY | INPCK | ISTRIP | BRKINT;
        cooked.c_oflag = OPOST | ONLCR;
        cooked.c_lflag = ICANON | ECHO | ISIG | IEXTEN;
        cooked.c_cflag = CS7 | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
        cooked.c_cc[VMIN] = 1;
        cooked.c_cc[VTIME] = 5;
        const termios t = lineAttributes(cooked, settings).attributes;
        QCOMPARE(int(t.c_cflag & CSIZE), size);
        QCOMPARE(int(t.c_cflag & (PARENB | PARODD | CMSPAR)), parityFlags);
        QCOMPARE(bool(t.c_cflag & CSTOPB), twoStopBits);
        QCOMPARE(bool(t.c_cflag & CRTSCTS), rtsCts);
        QCOMPARE(bool(t.c_iflag & IXON), xonXoff);
        QCOMPARE(bool(t.c_iflag & IXOFF), xonXoff);
        QCOMPARE(int(t.c_cc[VSTART]), 17);
        QCOMPARE(int(t.c_cc[VSTOP]), 19);
        QCOMPARE(int(cfgetospeed(&t)), speed);
        QCOMPARE(int(cfgetispeed(&t)), speed);
        QCOMPARE(lineAttributes(cooked, settings).arbitrarySpeed, arbitrary);

        // Binary transfer: no byte is translated, checked, echoed or taken as a signal.
        QCOMPARE(int(t.c_iflag & (ICRNL | INPCK | ISTRIP | IXANY | BRKINT)), 0);
        QCOMPARE(int(t.c_oflag & OPOST), 0);
        QCOMPARE(int(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN)), 0);
        QVERIFY(t.c_cflag & CREAD);
        QVERIFY(t.c_cflag & CLOCAL);
        QCOMPARE(int(t.c_cc[VMIN]), 0);
        QCOMPARE(int(t.c_cc[VTIME]), 0);
    }

    void openPortRunsAtEverySpeed_data() {
        QTest::addColumn<int>("rate");
        QTest::addColumn<unsigned>("bitsPerSecond");
        const unsigned rates[] = {110,   300,   600,   1200,  2400,  4800,  9600,
                                  14400, 19200, 38400, 56000, 57600, 115200};
        for (int i = 0; i <= br115200; ++i)
            QTest::newRow(qPrintable(QString::number(rates[i]))) << i << rates[i];
    }
    void openPortRunsAtEverySpeed() {
        QFETCH(int, rate);
        QFETCH(unsigned, bitsPerSecond);
        PtyPair pty;
        QVERIFY(pty.ok());
        TCommPortDriver driver;
        pointAt(driver, pty);
        driver.setComPortSpeed(static_cast<TComPortBaudRate>(rate));
        QVERIFY(driver.OpenPort());
        QCOMPARE(lineSpeed(pty.master()), bitsPerSecond);
        QCOMPARE(ordalvex::bitsPerSecond(driver.ComPortSpeed()), bitsPerSecond);

        // Back and forth while open: each change reaches the port at once.
        driver.setComPortSpeed(br1200);
        QCOMPARE(lineSpeed(pty.master()), 1200u);
        driver.setComPortSpeed(static_cast<TComPortBaudRate>(rate));
        QCOMPARE(lineSpeed(pty.master()), bitsPerSecond);
    }

    void lineSettingsReachTheOpenPort() {
        PtyPair pty;
        QVERIFY(pty.ok());
        TCommPortDriver driver;
        pointAt(driver, pty);
        QVERIFY(driver.OpenPort());
        termios t = attributesOf(pty);
        QCOMPARE(int(t.c_cflag & (CRTSCTS | CSTOPB | PARODD | CMSPAR)), 0);
        QCOMPARE(int(t.c_iflag & (IXON | IXOFF)), 0);
        QCOMPARE(int(t.c_lflag & (ICANON | ECHO)), 0);

        // A pseudo-terminal always keeps 8 bits without parity, but keeps the other flags.
        driver.setComPortHwHandshaking(hhRTSCTS);
        driver.setComPortSwHandshaking(shXONXOFF);
        driver.setComPortStopBits(sb2BITS);
        driver.setComPortParity(ptMARK);
        t = attributesOf(pty);
        QVERIFY(t.c_cflag & CRTSCTS);
        QVERIFY(t.c_cflag & CSTOPB);
        QVERIFY(t.c_cflag & CMSPAR);
        QVERIFY(t.c_cflag & PARODD);
        QVERIFY(t.c_iflag & IXON);
        QVERIFY(t.c_iflag & IXOFF);

        driver.setComPortHwHandshaking(hhNONE);
        driver.setComPortSwHandshaking(shNONE);
        driver.setComPortParity(ptEVEN);
        t = attributesOf(pty);
        QCOMPARE(int(t.c_cflag & (CRTSCTS | CMSPAR | PARODD)), 0);
        QCOMPARE(int(t.c_iflag & (IXON | IXOFF)), 0);
    }

    void changingALineSettingDiscardsWaitingInput() {
        PtyPair pty;
        QVERIFY(pty.ok());
        TCommPortDriver driver;
        pointAt(driver, pty);
        driver.setComPortPollingDelay(60000); // no poll takes the bytes before the change
        Receiver receiver;
        receiver.attach(driver);
        QVERIFY(driver.OpenPort());
        QVERIFY(pty.write("stale"));
        settle();
        driver.setComPortDataBits(db7BITS);
        driver.setComPortPollingDelay(10); // restarts the timer with the new period
        QTest::qWait(100);
        QVERIFY(receiver.bytes.isEmpty());
        QVERIFY(pty.write("fresh"));
        QTRY_COMPARE(receiver.bytes, QByteArray("fresh"));
    }

    void bytesTravelBothWaysUntranslated() {
        PtyPair pty;
        QVERIFY(pty.ok());
        TCommPortDriver driver;
        pointAt(driver, pty);
        driver.setComPortPollingDelay(0); // as fast as the platform polls
        Receiver receiver;
        receiver.attach(driver);
        QVERIFY(driver.OpenPort());

        QByteArray everyByte;
        for (int b = 0; b < 256; ++b)
            everyByte.append(char(b));
        QCOMPARE(driver.SendBytes(everyByte.constData(), 256), 256);
        QCOMPARE(pty.readAll(), everyByte);

        QVERIFY(pty.write(everyByte));
        QVERIFY(pty.write("%\r\nN10 G01 X10\r\n"));
        QTRY_COMPARE(receiver.bytes, everyByte + "%\r\nN10 G01 X10\r\n");
        QCOMPARE(receiver.sender, &driver);
    }

    void sendingNothingWritesNothing_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("nullData");
        QTest::newRow("count 0") << 0 << false;
        QTest::newRow("negative count") << -5 << false;
        QTest::newRow("no data") << 3 << true;
    }
    void sendingNothingWritesNothing() {
        QFETCH(int, count);
        QFETCH(bool, nullData);
        PtyPair pty;
        QVERIFY(pty.ok());
        TCommPortDriver driver;
        pointAt(driver, pty);
        QVERIFY(driver.OpenPort());
        QCOMPARE(driver.SendBytes(nullData ? nullptr : "abc", count), 0);
        QCOMPARE(pty.readAll(50), QByteArray());
    }

    void pollWithoutBytesRaisesNoEvent() {
        PtyPair pty;
        QVERIFY(pty.ok());
        TCommPortDriver driver;
        pointAt(driver, pty);
        driver.setComPortPollingDelay(10);
        Receiver receiver;
        receiver.attach(driver);
        QVERIFY(driver.OpenPort());
        QTest::qWait(150);
        QVERIFY(receiver.blockSizes.isEmpty());
        QVERIFY(driver.IsOpen());
    }

    void sendGivesUpAgainstAPeerThatNeverReads() {
        PtyPair pty;
        QVERIFY(pty.ok());
        TCommPortDriver driver;
        pointAt(driver, pty);
        driver.setOutputTimeout(200);
        QVERIFY(driver.OpenPort());
        const QByteArray data(1 << 20, 'G'); // far more than the kernel buffers between the two sides
        QElapsedTimer clock;
        clock.start();
        const std::int32_t result = driver.SendBytes(data.constData(), std::int32_t(data.size()));
        QVERIFY(clock.elapsed() >= 200);
        QVERIFY2(result < 0, qPrintable(QString::number(result)));
        QVERIFY(-result < data.size());
        // What the result claims was written is exactly what the peer finds waiting.
        QCOMPARE(pty.readAll().size(), qsizetype(-result));
        QVERIFY(driver.IsOpen());
    }

    void xoffFromThePeerHoldsTheOutput() {
        PtyPair pty;
        QVERIFY(pty.ok());
        TCommPortDriver driver;
        pointAt(driver, pty);
        driver.setComPortSwHandshaking(shXONXOFF);
        driver.setOutputTimeout(150);
        driver.setComPortPollingDelay(10);
        Receiver receiver;
        receiver.attach(driver);
        QVERIFY(driver.OpenPort());

        QVERIFY(pty.write("\x13"));
        settle();
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(driver.SendBytes("ABC", 3), 0); // minus nothing written
        QVERIFY(clock.elapsed() >= 150);
        QCOMPARE(pty.readAll(50), QByteArray());

        QVERIFY(pty.write("\x11"));
        settle();
        QCOMPARE(driver.SendBytes("ABC", 3), 3);
        QCOMPARE(pty.readAll(), QByteArray("ABC"));
        QTest::qWait(50);
        QVERIFY(receiver.bytes.isEmpty()); // the flow control characters are the line's own
    }

    void farEndClosingClosesThePort() {
        PtyPair pty;
        QVERIFY(pty.ok());
        TCommPortDriver driver;
        pointAt(driver, pty);
        driver.setComPortPollingDelay(10);
        QSignalSpy lost(&driver, &TCommPortDriver::portLost);
        QVERIFY(driver.OpenPort());
        pty.closeMaster();
        QTRY_VERIFY(!driver.IsOpen());
        QCOMPARE(lost.size(), 1);
        QCOMPARE(driver.SendBytes("x", 1), 0);
        QCOMPARE(driver.FreeOutputSpace(), std::uint16_t(65535));
    }

    void failedWriteClosesThePort() {
        PtyPair pty;
        QVERIFY(pty.ok());
        TCommPortDriver driver;
        pointAt(driver, pty);
        driver.setComPortPollingDelay(60000); // the write, not a poll, must notice
        QSignalSpy lost(&driver, &TCommPortDriver::portLost);
        QVERIFY(driver.OpenPort());
        pty.closeMaster();
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(driver.SendBytes("G01\r", 4), 0);
        QVERIFY(clock.elapsed() < 2000); // no wait for the time-out
        QVERIFY(!driver.IsOpen());
        QCOMPARE(lost.size(), 1);
    }

    void modemLinesFollowTheConfiguration() {
        PtyPair pty;
        QVERIFY(pty.ok());
        // A second handle, opened before the driver takes the port exclusively, to watch the lines.
        const int watch = ::open(pty.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(watch >= 0);
        int lines = 0;
        if (ioctl(watch, TIOCMGET, &lines) != 0) {
            ::close(watch);
            QSKIP("this pseudo-terminal has no modem lines");
        }
        TCommPortDriver driver;
        pointAt(driver, pty);
        QVERIFY(driver.OpenPort());
        ioctl(watch, TIOCMGET, &lines);
        QVERIFY(lines & TIOCM_DTR);
        QVERIFY(!(lines & TIOCM_RTS));
        driver.SetRtsLine(true);
        driver.SetDtrLine(false);
        ioctl(watch, TIOCMGET, &lines);
        QVERIFY(lines & TIOCM_RTS);
        QVERIFY(!(lines & TIOCM_DTR));
        driver.setComPortSpeed(br19200); // every configuration sets both lines anew
        ioctl(watch, TIOCMGET, &lines);
        QVERIFY(lines & TIOCM_DTR);
        QVERIFY(!(lines & TIOCM_RTS));
        ::close(watch);
    }
};

QTEST_GUILESS_MAIN(TestCommPortDriver)
#include "test_commportdriver.moc"
