#include "shell/ui/tmainform.h"

#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char** argv) {
    // Answered before the GUI starts, so that it works without a display (package checks).
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Ordalvex %s\n", ORDALVEX_VERSION);
            return 0;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ordalvex"));
    QApplication::setApplicationDisplayName(QStringLiteral("Ordalvex"));
    QApplication::setApplicationVersion(QStringLiteral(ORDALVEX_VERSION));
    // Matches the installed desktop entry, so the window gets its icon and menu entry.
    QApplication::setDesktopFileName(QStringLiteral("org.ordalvex.Ordalvex"));
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1/ordalvex.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);

    // Standard buttons and dialogs in Polish, when Qt's own translation is installed.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Polish), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    ordalvex::TMainForm mainForm;
    mainForm.setCommandLineFiles(QApplication::arguments().mid(1));
    mainForm.showMaximized();
    return QApplication::exec();
}
