#include "shell/ui/applicationsetup.h"
#include "shell/ui/tmainform.h"

#include <cstdio>
#include <cstring>

#include <QApplication>

int main(int argc, char** argv) {
    // Answered before the GUI starts, so that it works without a display (package checks).
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Ordalvex %s\n", ORDALVEX_VERSION);
            return 0;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(ORDALVEX_VERSION));
    ordalvex::setUpApplication(app);

    ordalvex::TMainForm mainForm;
    mainForm.setCommandLineFiles(QApplication::arguments().mid(1));
    mainForm.showMaximized();
    return QApplication::exec();
}
