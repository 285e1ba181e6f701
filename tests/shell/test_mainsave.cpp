// Saving with F2 in the main window, as the user does it.
#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"
#include "scriptedinteraction.h"
#include "shell/ui/tmainform.h"
#include "testdata.h"

#include <memory>

#include <QApplication>
#include <QDate>
#include <QTest>

using namespace ordalvex;
using namespace ordalvex::testing;

namespace {

QByteArray today() {
    return QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toLatin1();
}

// Presses F2 where the keyboard focus is, as a user saving the active program does.
void pressSave() {
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, Qt::Key_F2);
}

} // namespace

class TestMainSave : public QObject {
    Q_OBJECT
    std::unique_ptr<SettingsFolder> m_dir;
    std::unique_ptr<TMainForm> m_form;

    // Opens `path` in a shown main window; the program's text has the keyboard focus.
    TEditForm* openShown(const QString& path) {
        m_form = std::make_unique<TMainForm>();
        m_form->show();
        if (!QTest::qWaitForWindowActive(m_form.get()))
            return nullptr;
        m_form->openDroppedFiles({path});
        TEditForm* document = m_form->activeDocument();
        if (!document || document->FileName != path)
            return nullptr;
        document->editor()->setFocus();
        const bool focused =
            QTest::qWaitFor([document] { return document->isAncestorOf(QApplication::focusWidget()); }, 5000);
        return focused ? document : nullptr;
    }

    // Types `text` where the caret is, through the widget that has the focus.
    static void type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }

private Q_SLOTS:
    void init() { m_dir = std::make_unique<SettingsFolder>(); }
    void cleanup() {
        m_form.reset();
        m_dir.reset();
    }

    void f2StampsOnlyDatesInComments() {
        ScopedInteraction ui;
        const QString path = writeProgram(m_dir->path(), QStringLiteral("O0010.NC"),
                                          "%\r\nO0010 (DATA 01.02.2024)\r\n#5=[10-20-3000]\r\n"
                                          "G01 X01.02.2024 ; 01-02-2024\r\n(NR 101.02.2024)\r\n");
        TEditForm* document = openShown(path);
        QVERIFY(document);
        type(QStringLiteral("N1"));
        pressSave();
        const QByteArray expected = "N1%\r\nO0010 (DATA " + today() +
                                    ")\r\n#5=[10-20-3000]\r\nG01 X01.02.2024 ; " + today() +
                                    "\r\n(NR 101.02.2024)\r\n";
        QCOMPARE(readFile(path), expected);
        QCOMPARE(document->editor()->text(), QString::fromLatin1(expected));
        QVERIFY(!document->editor()->modified());
        QVERIFY(ui->messages.isEmpty());
    }
};

QTEST_MAIN(TestMainSave)
#include "test_mainsave.moc"
