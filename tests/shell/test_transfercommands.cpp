// Sending the active program over the serial line and receiving one into a new document
// window, from the main window's menu, against a simulated machine control on a
// pseudo-terminal.
#include "../serial/ptypair.h"
#include "common/core/codepage.h"
#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"
#include "editorwait.h"
#include "scriptedinteraction.h"
#include "serial/core/tcommportdriver.h"
#include "serial/ui/ttransferform.h"
#include "shell/ui/tmainform.h"
#include "simulatedcontrol.h"
#include "testdata.h"

#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace ordalvex;
using namespace ordalvex::testing;

namespace {

// A program in upper case, as the editor holds it with highlighting on, with Polish letters.
QByteArray program(int lines) {
    QByteArray bytes = "%\r\nO0042 (\xA3\xA5\x43ZNIK \x8CRUBY)\r\n";
    for (int i = 1; i <= lines; ++i)
        bytes += "N" + QByteArray::number(i) + " G01 X" + QByteArray::number(i % 400) + " Y-2.5 F150\r\n";
    return bytes + "M30\r\n%\r\n";
}

TTransferForm* transferWindow(const TMainForm& form) {
    return form.findChild<TTransferForm*>("TransferForm");
}

} // namespace

class TestTransferCommands : public QObject {
    Q_OBJECT

    // The program's settings name the pseudo-terminal as COM1; Default.cfg asks for XON/XOFF.
    void pointComOneAt(const SettingsFolder& settings, const QString& device) {
        QVERIFY(writeFile(settings.iniPath(), "[Ports]\r\nCOM1=" + device.toLocal8Bit() + "\r\n"));
        QVERIFY(
            writeFile(settings.filePath("Default.cfg"), "[PortSettings]\r\nCom_port=0\r\nHandshaking=2\r\n"));
    }

    TEditForm* openProgram(TMainForm& form, const SettingsFolder& settings, const QByteArray& bytes) {
        const QString path = writeProgram(settings.path(), "O0042.nc", bytes);
        form.openCommandLineFiles({path});
        TEditForm* document = form.activeDocument();
        if (document != nullptr && !QTest::qWaitFor([document] { return !document->isLoading(); }, 20000))
            return nullptr;
        return document;
    }

private Q_SLOTS:
    void sendsTheActiveProgramReadOnlyMeanwhile() {
        ScopedInteraction scripted;
        SettingsFolder settings;
        PtyPair pty;
        QVERIFY(pty.ok());
        pointComOneAt(settings, pty.slavePath());
        SimulatedControl control(pty.master(), {300'000, 2048, 1536, 256, true});
        TMainForm form;
        const QByteArray bytes = program(20000);
        TEditForm* document = openProgram(form, settings, bytes);
        QVERIFY(document);
        TRichEdit98* editor = document->editor();
        const QString before = editor->text();

        form.menuItem("Wyslijprogram")->trigger();
        QPointer<TTransferForm> window = transferWindow(form);
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QVERIFY(window->windowTitle().startsWith("Wysyłanie programu --> COM1"));
        // The user tries to type into the program being sent.
        editor->setFocus();
        QTest::keyClicks(editor, "G99");
        QCOMPARE(editor->text(), before);
        QTRY_VERIFY(window->findChild<QLabel*>("BytesLabel")->text().toLongLong() > 0);

        QTRY_VERIFY_WITH_TIMEOUT(window.isNull(), 30000);
        QTRY_COMPARE(control.received().size(), bytes.size());
        QVERIFY(control.received() == bytes);
        QVERIFY(scripted->messages.isEmpty());
        QVERIFY(!editor->isReadOnly());
        QVERIFY(!editor->modified());
    }

    void cancelLeavesTheDocumentAndFreesThePort() {
        ScopedInteraction scripted;
        SettingsFolder settings;
        PtyPair pty;
        QVERIFY(pty.ok());
        pointComOneAt(settings, pty.slavePath());
        auto control = std::make_unique<SimulatedControl>(
            pty.master(), SimulatedControl::Options{5'000, 256, 200, 32, true});
        TMainForm form;
        TEditForm* document = openProgram(form, settings, program(3000));
        QVERIFY(document);
        const QString before = document->editor()->text();

        form.toolButton("SendSpeedButton")->click();
        QPointer<TTransferForm> window = transferWindow(form);
        QVERIFY(window);
        QTRY_VERIFY(control->received().size() > 500);
        QTRY_COMPARE(window->findChild<QLabel*>("StateLabel")->text(), QString("czeka na XON"));
        QTest::mouseClick(window->findChild<QPushButton*>("CancelBtn"), Qt::LeftButton);
        QTRY_VERIFY(window.isNull());
        QCOMPARE(document->editor()->text(), before);
        QVERIFY(!document->editor()->modified());
        QVERIFY(!document->editor()->isReadOnly());
        QVERIFY(scripted->messages.isEmpty());
        // What was in the line when the user cancelled still drains; the rest never comes.
        QTest::qWait(300);
        QVERIFY(control->received().size() < program(3000).size());
        TCommPortDriver again;
        again.setDevicePaths({pty.slavePath(), {}, {}, {}});
        again.setComPort(pnCOM1);
        QVERIFY(again.OpenPort());
    }

    void farEndVanishingIsReported() {
        ScopedInteraction scripted;
        SettingsFolder settings;
        PtyPair pty;
        QVERIFY(pty.ok());
        pointComOneAt(settings, pty.slavePath());
        auto control = std::make_unique<SimulatedControl>(
            pty.master(), SimulatedControl::Options{5'000, 256, 200, 32, true});
        TMainForm form;
        TEditForm* document = openProgram(form, settings, program(3000));
        QVERIFY(document);
        const QString before = document->editor()->text();
        form.menuItem("Wyslijprogram")->trigger();
        QPointer<TTransferForm> window = transferWindow(form);
        QTRY_VERIFY(control->received().size() > 500);
        control.reset();
        pty.closeMaster();
        QTRY_VERIFY_WITH_TIMEOUT(window.isNull(), 5000);
        QCOMPARE(scripted->messages.size(), 1);
        QVERIFY(scripted->messages[0].text.startsWith("Połączenie zostało przerwane"));
        QCOMPARE(document->editor()->text(), before);
        QVERIFY(!document->editor()->isReadOnly());
        QCOMPARE(form.documents().size(), 1); // the program goes on as before
    }

    void refusedPortSaysWhichAndWhy() {
        ScopedInteraction scripted;
        SettingsFolder settings;
        pointComOneAt(settings, "/nonexistent/ttyUSB0");
        TMainForm form;
        form.toolButton("ReceiveSpeedButton")->click();
        QVERIFY(!transferWindow(form));
        QCOMPARE(scripted->messages.size(), 1);
        QCOMPARE(scripted->messages[0].text,
                 QString("Błąd: brak połączenia !\rCOM1 (/nonexistent/ttyUSB0): nie ma takiego urządzenia "
                         "(adapter odłączony?).\rSprawdź ustawienia portu i spróbuj ponownie."));
    }

    void receivesIntoANewModifiedDocument() {
        ScopedInteraction scripted;
        SettingsFolder settings;
        PtyPair pty;
        QVERIFY(pty.ok());
        pointComOneAt(settings, pty.slavePath());
        SimulatedControl control(pty.master(), {1'000'000, 8192, 6000, 1024, false});
        TMainForm form;
        form.menuItem("Odbierzprogram")->trigger();
        QPointer<TTransferForm> window = transferWindow(form);
        QVERIFY(window);
        QVERIFY(window->windowTitle().startsWith("Odbieranie programu <-- COM1"));
        const QByteArray bytes = program(2000);
        control.play(bytes + "N9999 PO KONCU\r\n");
        QTRY_VERIFY_WITH_TIMEOUT(window.isNull(), 20000);
        QTRY_COMPARE(form.documents().size(), 1);
        TEditForm* document = form.activeDocument();
        QVERIFY(waitForEditors());
        QVERIFY(document->windowTitle().startsWith("Bez nazwy_1"));
        QVERIFY(document->document().fileName().isEmpty());
        QVERIFY(document->editor()->modified());
        QCOMPARE(document->editor()->text(),
                 cp1250::decode(std::string_view(bytes.constData(), bytes.size())));
        QVERIFY(scripted->messages.isEmpty());
    }
};

QTEST_MAIN(TestTransferCommands)
#include "test_transfercommands.moc"
