// Renders the progress window of a real send, held by the simulated control ("czeka na
// XON"), into a PNG for the README:  shot_transferform docs/transfer-progress.png
#include "ptypair.h"
#include "serial/core/programsource.h"
#include "serial/ui/ttransferform.h"
#include "simulatedcontrol.h"

#include <cstdio>

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTest>

using namespace ordalvex;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: shot_transferform OUTPUT.png\n", stderr);
        return 2;
    }
    testing::PtyPair pty;
    if (!pty.ok())
        return 1;
    // A slow control that stays paused for a while after each XOFF.
    testing::SimulatedControl control(pty.master(), {2400, 256, 200, 32, true, 1500});
    QByteArray program = "%\r\nO1234 (PLYTA CZOLOWA)\r\n";
    for (int i = 1; i <= 48000; ++i)
        program +=
            "N" + QByteArray::number(i) + " G01 X" + QByteArray::number(i % 400) + ".25 Y-12.5 F800\r\n";
    program += "M30\r\n%\r\n";
    PortSettings settings;
    settings.baudRate = 5;    // 9600
    settings.handshaking = 2; // XON/XOFF
    auto* form = new TTransferForm(TTransferForm::Direction::Send, {QStringLiteral("COM1"), pty.slavePath()},
                                   settings, TransferOptions{},
                                   std::make_unique<ByteProgramSource>(
                                       std::string_view(program.constData(), std::size_t(program.size()))));
    QPointer<TTransferForm> guard(form);
    if (!form->start().isEmpty())
        return 1;
    form->show();
    if (!QTest::qWaitFor(
            [&] { return form->findChild<QLabel*>(QStringLiteral("StateLabel"))->text() == "czeka na XON"; },
            20000))
        return 1;
    QTest::qWait(600);
    const bool saved = form->grab().save(QString::fromLocal8Bit(argv[1]));
    form->CancelBtnClick();
    (void)QTest::qWaitFor([&] { return guard.isNull(); }, 2000);
    return saved ? 0 : 1;
}
