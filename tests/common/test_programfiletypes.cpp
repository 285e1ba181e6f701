#include "common/core/programfiletypes.h"

#include <QTest>

using namespace ordalvex;

class TestProgramFileTypes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // One row per kind of name: its extension, and the path with the extension ".bak" instead.
    void extensions_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("replaced");
        QTest::newRow("folder and extension") << "C:/P/O0010.NC"
                                              << ".NC"
                                              << "C:/P/O0010.bak";
        QTest::newRow("no folder") << "O0010.nc"
                                   << ".nc"
                                   << "O0010.bak";
        QTest::newRow("no extension") << "PROG"
                                      << ""
                                      << "PROG.bak";
        QTest::newRow("dot in a folder only") << "dir.x/name"
                                              << ""
                                              << "dir.x/name.bak";
        QTest::newRow("dots in the folder and the name") << "/p.d/q.e/name.min"
                                                         << ".min"
                                                         << "/p.d/q.e/name.bak";
        QTest::newRow("last of several dots") << "a.b.c"
                                              << ".c"
                                              << "a.b.bak";
        QTest::newRow("name ending in a dot") << "name."
                                              << "."
                                              << "name.bak";
        QTest::newRow("hidden name") << ".hidden"
                                     << ""
                                     << ".hidden.bak";
        QTest::newRow("hidden name with extension") << "/p/.hidden.nc"
                                                    << ".nc"
                                                    << "/p/.hidden.bak";
        QTest::newRow("windows folders") << "C:\\P.d\\O0010.NC"
                                         << ".NC"
                                         << "C:\\P.d\\O0010.bak";
        QTest::newRow("dot in a windows folder only") << "C:\\P.d\\PROG"
                                                      << ""
                                                      << "C:\\P.d\\PROG.bak";
        QTest::newRow("letters beyond ASCII") << QStringLiteral("/Łódź.ś/Żółć.ĄĘ") << QStringLiteral(".ĄĘ")
                                              << QStringLiteral("/Łódź.ś/Żółć.bak");
        QTest::newRow("empty path") << ""
                                    << ""
                                    << ".bak";
    }
    void extensions() {
        QFETCH(QString, path);
        QFETCH(QString, extension);
        QFETCH(QString, replaced);
        QCOMPARE(extensionOf(path), extension);
        QCOMPARE(withExtension(path, QStringLiteral(".bak")), replaced);
    }
};

QTEST_GUILESS_MAIN(TestProgramFileTypes)
#include "test_programfiletypes.moc"
