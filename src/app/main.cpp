#include "shell/ui/tmainform.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ordalvex"));
    QApplication::setApplicationDisplayName(QStringLiteral("Ordalvex"));
    QApplication::setApplicationVersion(QStringLiteral("1.75"));

    // Standard buttons and dialogs in Polish, when Qt's own translation is installed.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Polish), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    ordalvex::TMainForm mainForm;
    mainForm.showMaximized();
    const QStringList arguments = QApplication::arguments().mid(1);
    QTimer::singleShot(0, &mainForm, [&mainForm, arguments] { mainForm.openCommandLineFiles(arguments); });
    return QApplication::exec();
}
