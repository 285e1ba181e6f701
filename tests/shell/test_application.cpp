// The program's application-wide set-up, as the editor's start runs it.
#include "shell/ui/applicationsetup.h"

#include <QApplication>
#include <QTest>

using namespace ordalvex;

class TestApplication : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Window titles are exactly the program's own ("Błąd", "Ordalvex - [O1234.nc]"): the
    // platform adds " — " and the application's display name to every title once a display
    // name is set. Unset, the display name is simply the application name, whatever it is.
    void windowTitlesGetNoSuffix() {
        setUpApplication(*qApp);
        QCOMPARE(QApplication::applicationName(), QString("Ordalvex"));
        QCOMPARE(QApplication::desktopFileName(), QString("org.ordalvex.Ordalvex"));
        QApplication::setApplicationName(QStringLiteral("another name"));
        QCOMPARE(QApplication::applicationDisplayName(), QString("another name"));
        QApplication::setApplicationName(QStringLiteral("Ordalvex"));
    }
};

QTEST_MAIN(TestApplication)
#include "test_application.moc"
