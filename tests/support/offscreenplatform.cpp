#include <QByteArray>
#include <QtGlobal>

namespace {

// Windows of the tests are drawn on the offscreen platform, as under CTest, unless the caller
// chose another one (QT_QPA_PLATFORM=xcb to watch them): a test binary started from a shell
// without a display runs all the same. Runs before main(), so before any application object.
void drawOffscreenUnlessChosen() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace

Q_CONSTRUCTOR_FUNCTION(drawOffscreenUnlessChosen)
