#include "browser/ui/tfinder_form.h"
#include "calculators/ui/tcalcform.h"
#include "calculators/ui/tdraw_form.h" // totworyform.h needs the complete type
#include "calculators/ui/tkatyform.h"
#include "calculators/ui/tmcform.h"
#include "calculators/ui/totworyform.h"
#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"
#include "scriptedinteraction.h"
#include "shell/ui/fontchoice.h"
#include "shell/ui/systemcalculator.h"
#include "shell/ui/toolwindows.h"

#include <csignal>
#include <memory>

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QFontDialog>
#include <QIntValidator>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QTest>

using namespace ordalvex;
using namespace ordalvex::testing;

Q_DECLARE_METATYPE(ordalvex::ToolWindow)

namespace {

QWidget* makeToolWindow(ToolWindow kind, QWidget* parent) {
    switch (kind) {
    case ToolWindow::Otwory:
        return new TOtworyForm(parent);
    case ToolWindow::Calc:
        return new TCalcForm(parent);
    case ToolWindow::Katy:
        return new TKatyForm(parent);
    case ToolWindow::Mc:
        return new TMcForm(parent);
    case ToolWindow::Finder:
        return new TFinder_Form(parent);
    }
    return nullptr;
}

void addToolWindowRows() {
    QTest::addColumn<ToolWindow>("kind");
    QTest::newRow("bolt-hole circle") << ToolWindow::Otwory;
    QTest::newRow("cutting parameters") << ToolWindow::Calc;
    QTest::newRow("right triangle") << ToolWindow::Katy;
    QTest::newRow("mm/inch") << ToolWindow::Mc;
    QTest::newRow("file browser") << ToolWindow::Finder;
}

// Every visible entry of the dialog's size list, as numbers.
QList<int> offeredSizes(QFontDialog& dialog) {
    QList<int> sizes;
    for (QListView* view : dialog.findChildren<QListView*>()) {
        bool numeric = view->model()->rowCount() > 0;
        QList<int> visible;
        for (int row = 0; row < view->model()->rowCount() && numeric; ++row) {
            const int size = view->model()->index(row, 0).data().toString().toInt(&numeric);
            if (!view->isRowHidden(row))
                visible.append(size);
        }
        if (numeric)
            sizes += visible;
    }
    return sizes;
}

// True when `pid` no longer runs: gone, or ended and waiting to be reaped.
bool processEnded(qint64 pid) {
    if (::kill(static_cast<pid_t>(pid), 0) != 0)
        return true;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2, 1) == "Z";
}

} // namespace

class TestToolWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() {
        // A window's destructor may free other windows: delete only those still alive.
        QList<QPointer<QWidget>> windows;
        for (QWidget* widget : QApplication::topLevelWidgets())
            windows.append(widget);
        for (const QPointer<QWidget>& window : windows)
            delete window.data();
    }

    void placement_data() {
        QTest::addColumn<ToolWindow>("kind");
        QTest::addColumn<QRect>("mainFrame");
        QTest::addColumn<int>("width");
        QTest::addColumn<QPoint>("expected");
        const QRect origin(0, 0, 1024, 768);
        QTest::newRow("bolt-hole circle") << ToolWindow::Otwory << origin << 300 << QPoint(719, 20);
        QTest::newRow("cutting parameters") << ToolWindow::Calc << origin << 300 << QPoint(674, 20);
        QTest::newRow("right triangle") << ToolWindow::Katy << origin << 250 << QPoint(769, 20);
        QTest::newRow("mm/inch") << ToolWindow::Mc << origin << 200 << QPoint(774, 50);
        QTest::newRow("file browser") << ToolWindow::Finder << origin << 600 << QPoint(20, 60);
        QTest::newRow("moved main window")
            << ToolWindow::Mc << QRect(100, 40, 800, 600) << 200 << QPoint(650, 90);
        QTest::newRow("wider than the main window")
            << ToolWindow::Otwory << QRect(0, 0, 200, 300) << 300 << QPoint(-105, 20);
    }
    void placement() {
        QFETCH(ToolWindow, kind);
        QFETCH(QRect, mainFrame);
        QFETCH(int, width);
        QFETCH(QPoint, expected);
        QCOMPARE(toolWindowPosition(kind, mainFrame, width), expected);
    }

    void openedOnceAndRestored_data() { addToolWindowRows(); }
    void openedOnceAndRestored() {
        QFETCH(ToolWindow, kind);
        ScopedInteraction ui;
        QWidget mainWindow;
        mainWindow.setGeometry(0, 0, 1024, 700);
        int made = 0;
        auto create = [&] {
            ++made;
            return makeToolWindow(kind, &mainWindow);
        };

        const QRect mainFrame = mainWindow.frameGeometry();
        QPointer<QWidget> first = openToolWindow(kind, &mainWindow, create);
        QVERIFY(first);
        QVERIFY(first->isVisible());
        QCOMPARE(first->windowTitle(), toolWindowIdentity(kind).title);
        QCOMPARE(first->pos(), toolWindowPosition(kind, mainFrame, first->width()));
        QCOMPARE(findTopLevelWindow(toolWindowIdentity(kind).className, toolWindowIdentity(kind).title),
                 first.data());

        first->showMinimized();
        QVERIFY(first->isMinimized());
        QCOMPARE(openToolWindow(kind, &mainWindow, create), first.data());
        QCOMPARE(made, 1);
        QVERIFY(!first->isMinimized());
        QVERIFY(first->isVisible());

        // A closed window is gone: the next command makes a fresh one.
        QVERIFY(first->close());
        QWidget* second = openToolWindow(kind, &mainWindow, create);
        QCOMPARE(made, 2);
        QVERIFY(second != first.data() || first.isNull());
        QTRY_VERIFY(first.isNull());
    }

    void lookupNeedsClassAndExactTitle() {
        auto* calc = new TCalcForm(nullptr);
        QVERIFY(!findTopLevelWindow("TCalcForm", QStringLiteral("Oblicz parametry skrawania")));
        calc->show();
        QVERIFY(findTopLevelWindow("TCalcForm", QStringLiteral("Oblicz parametry skrawania")) == calc);
        QVERIFY(findTopLevelWindow("ordalvex::TCalcForm", QStringLiteral("Oblicz parametry skrawania")) ==
                calc);
        QVERIFY(!findTopLevelWindow("TCalcForm", QStringLiteral("oblicz parametry skrawania")));
        QVERIFY(!findTopLevelWindow("TMcForm", QStringLiteral("Oblicz parametry skrawania")));
        QVERIFY(!findTopLevelWindow("CalcForm", QStringLiteral("Oblicz parametry skrawania")));
    }

    // Several faces, so that the list is refilled between them.
    void fontDialogOffersOnly8To24() {
        QStringList faces = QFontDatabase::families();
        if (faces.isEmpty())
            QSKIP("no fonts on this system");
        faces = faces.mid(0, 3);
        QFontDialog dialog;
        dialog.setOption(QFontDialog::DontUseNativeDialog);
        dialog.setCurrentFont(QFont(faces.first(), 12));
        limitFontDialogSizes(dialog);
        for (const QString& face : faces) {
            dialog.setCurrentFont(QFont(face, 10));
            const QList<int> sizes = offeredSizes(dialog);
            QVERIFY2(!sizes.isEmpty(), qPrintable(face));
            QVERIFY2(sizes.contains(8) && sizes.contains(24), qPrintable(face));
            for (int size : sizes)
                QVERIFY2(size >= kMinFontSize && size <= kMaxFontSize, qPrintable(QString::number(size)));
        }
        int limitedBoxes = 0;
        for (QLineEdit* edit : dialog.findChildren<QLineEdit*>()) {
            if (const auto* validator = qobject_cast<const QIntValidator*>(edit->validator())) {
                QCOMPARE(validator->bottom(), kMinFontSize);
                QCOMPARE(validator->top(), kMaxFontSize);
                ++limitedBoxes;
            }
        }
        QCOMPARE(limitedBoxes, 1);
    }

    void fontChoice_data() {
        QTest::addColumn<int>("preset");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("presetShown");
        QTest::addColumn<int>("expected");
        QTest::newRow("ten points") << 12 << 10 << 12 << 10;
        QTest::newRow("smallest") << 12 << 8 << 12 << 8;
        QTest::newRow("largest") << 12 << 24 << 12 << 24;
        QTest::newRow("typed below the limit") << 12 << 6 << 12 << 8;
        QTest::newRow("typed above the limit") << 12 << 36 << 12 << 24;
        QTest::newRow("stored size out of range") << 40 << 10 << 24 << 10;
    }
    void fontChoice() {
        QFETCH(int, preset);
        QFETCH(int, chosen);
        QFETCH(int, presetShown);
        QFETCH(int, expected);
        const QString face = QFontDatabase::families().value(0);
        if (face.isEmpty())
            QSKIP("no fonts on this system");
        FormatSettings settings;
        settings.FontName = face;
        settings.FontSize = preset;
        int shownSize = 0;
        QString shownFace;
        const auto previous = setFontDialogRunner([&](QFontDialog& dialog) {
            shownSize = dialog.currentFont().pointSize();
            shownFace = dialog.currentFont().family();
            dialog.setCurrentFont(QFont(face, chosen));
            return true;
        });
        const auto choice = chooseEditorFont(nullptr, settings);
        setFontDialogRunner(previous);
        QVERIFY(choice);
        QCOMPARE(shownSize, presetShown);
        QCOMPARE(shownFace, face);
        QCOMPARE(choice->face, face);
        QCOMPARE(choice->size, expected);
    }

    void fontAppliedToEveryDocumentOrCancelled() {
        ScopedInteraction ui;
        QWidget mainWindow;
        QList<TEditForm*> documents;
        for (int i = 0; i < 3; ++i) {
            auto* document = new TEditForm(&mainWindow);
            FormatSettings plain;
            plain.SyntaxHighlighting = false;
            document->document().setFormat(plain);
            document->editor()->setProgramText(QStringLiteral("N10 G01 X1"));
            documents.append(document);
        }
        FormatSettings settings;
        settings.SyntaxHighlighting = false;
        settings.FontName = QStringLiteral("Courier New");
        settings.FontSize = 12;
        const QString face = QFontDatabase::families().value(0);

        auto previous = setFontDialogRunner([](QFontDialog&) { return false; });
        QVERIFY(!chooseFontForDocuments(nullptr, settings, documents));
        QCOMPARE(settings.FontSize, 12);
        for (TEditForm* document : documents)
            QVERIFY(document->document().format().FontSize != 12);

        setFontDialogRunner([&](QFontDialog& dialog) {
            dialog.setCurrentFont(QFont(face, 10));
            return true;
        });
        QVERIFY(chooseFontForDocuments(nullptr, settings, documents));
        setFontDialogRunner(previous);
        QCOMPARE(settings.FontSize, 10);
        QCOMPARE(settings.FontName, QFont(face).family());
        for (TEditForm* document : documents) {
            QCOMPARE(document->document().format(), settings);
            QCOMPARE(document->editor()->font().pointSize(), 10);
        }
    }

    void systemCalculatorStartsOnceAndCloses() {
        ScopedInteraction ui;
        SystemCalculator calculator({{QStringLiteral("ordalvex-no-such-calculator")},
                                     {QStringLiteral("sleep"), QStringLiteral("30")}});
        QVERIFY(!calculator.isRunning());
        QVERIFY(calculator.show());
        const qint64 pid = calculator.processId();
        QVERIFY(pid > 0);
        QVERIFY(calculator.show());
        QCOMPARE(calculator.processId(), pid); // found again, not started twice

        // Ended from outside: the next command starts a new one.
        ::kill(static_cast<pid_t>(pid), SIGKILL);
        QTRY_VERIFY(!calculator.isRunning());
        QVERIFY(calculator.show());
        const qint64 second = calculator.processId();
        QVERIFY(second > 0 && second != pid);

        calculator.close();
        QTRY_VERIFY(processEnded(second));
        QVERIFY(!calculator.isRunning());
        QCOMPARE(calculator.processId(), qint64(0));
        QVERIFY(ui->messages.isEmpty());
    }

    // Only the main window tells the user; the calculator itself just reports the failure.
    void noCalculatorFound() {
        ScopedInteraction ui;
        SystemCalculator calculator({{QStringLiteral("ordalvex-no-such-calculator")}, {}});
        QVERIFY(!calculator.show());
        QVERIFY(!calculator.isRunning());
        QVERIFY(ui->messages.isEmpty());
        QCOMPARE(ui->beeps, 0);
    }

    void calculatorClosedWhenTheProgramEnds() {
        qint64 pid = 0;
        {
            SystemCalculator calculator({{QStringLiteral("sleep"), QStringLiteral("30")}});
            QVERIFY(calculator.show());
            pid = calculator.processId();
        }
        QTRY_VERIFY(processEnded(pid));
    }
};

QTEST_MAIN(TestToolWindows)
#include "test_toolwindows.moc"
