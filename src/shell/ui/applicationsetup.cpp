#include "shell/ui/applicationsetup.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ordalvex {

void setUpApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("Ordalvex"));
    // Matches the installed desktop entry, so the window gets its icon and menu entry.
    QApplication::setDesktopFileName(QStringLiteral("org.ordalvex.Ordalvex"));
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1/ordalvex.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);

    // Standard buttons and dialogs in Polish, when Qt's own translation is installed.
    auto* qtTranslator = new QTranslator(&app);
    if (qtTranslator->load(QLocale(QLocale::Polish), QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtTranslator);
    else
        delete qtTranslator;
}

} // namespace ordalvex
