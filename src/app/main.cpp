#include "shell/ui/applicationsetup.h"
#include "shell/ui/tmainform.h"

#include <cstdio>
#include <cstring>

#include <QApplication>

namespace {

constexpr const char* kHelp = "Usage: ordalvex [FILE...]\n"
                              "Editor for CNC machining programs: opens each FILE in a document window.\n"
                              "\n"
                              "  --help     show this help and exit\n"
                              "  --version  show the version and exit\n"
                              "\n"
                              "The same text operations for scripts: ordalvex-cnc --help.\n";

} // namespace

int main(int argc, char** argv) {
    // Answered before the GUI starts, so that they work without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Ordalvex %s\n", ORDALVEX_VERSION);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kHelp, stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
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
