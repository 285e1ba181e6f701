#include "common/core/codepage.h"
#include "common/core/tempfolder.h"
#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"
#include "editorwait.h"
#include "scriptedinteraction.h"
#include "testdata.h"
#include "tools/core/decimalpoints.h"
#include "tools/core/spacing.h"

#include <QPointer>
#include <QPrinter>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace ordalvex;
using namespace ordalvex::testing;

namespace {

std::unique_ptr<TEditForm> openProgram(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes,
                                       bool highlighting = true) {
    const QString path = dir.filePath(name);
    writeFile(path, bytes);
    auto form = std::make_unique<TEditForm>();
    FormatSettings format;
    format.SyntaxHighlighting = highlighting;
    format.FontName = QStringLiteral("Courier New");
    format.FontSize = 10;
    form->document().setFormat(format);
    form->OpenFile(path);
    waitForEditors();
    return form;
}

enum class Tool { Dots, RemoveSpaces, InsertSpaces };

void run(TEditForm& form, Tool tool, const std::string& addresses) {
    switch (tool) {
    case Tool::Dots:
        form.runTextTool(
            [&addresses](std::string_view text) { return insertDecimalPoints(text, addresses); });
        QVERIFY(waitForEditors());
        break;
    case Tool::RemoveSpaces:
        form.runTextTool(removeSpaces);
        QVERIFY(waitForEditors());
        break;
    case Tool::InsertSpaces:
        form.runTextTool(insertSpaces);
        QVERIFY(waitForEditors());
        break;
    }
}

// A PDF text string as Qt writes it: UTF-16 big-endian with its byte-order mark.
QByteArray pdfUtf16(const QString& text) {
    QByteArray bytes("\xfe\xff");
    for (QChar ch : text)
        bytes += char(ch.unicode() >> 8), bytes += char(ch.unicode() & 0xff);
    return bytes;
}

// The decompressed contents of every Flate stream of a PDF.
QList<QByteArray> pdfStreams(const QByteArray& pdf) {
    QList<QByteArray> streams;
    qsizetype from = 0;
    while (true) {
        const qsizetype start = pdf.indexOf("stream\n", from);
        if (start < 0)
            break;
        const qsizetype end = pdf.indexOf("endstream", start);
        if (end < 0)
            break;
        QByteArray packed = pdf.mid(start + 7, end - start - 7);
        const qsizetype object = pdf.lastIndexOf(" obj", start);
        from = end + 9;
        if (!pdf.mid(object, start - object).contains("/FlateDecode")) {
            streams << packed;
            continue;
        }
        // The line end before "endstream" is not part of the data.
        if (packed.endsWith('\n'))
            packed.chop(1);
        // qUncompress wants the expected size in front; it grows its buffer when that is short.
        packed.prepend(QByteArray("\x00\x01\x00\x00", 4));
        const QByteArray unpacked = qUncompress(packed);
        streams << unpacked;
    }
    return streams;
}

// What the PDF draws: the number of glyphs shown and the characters its fonts map them to.
struct PdfText {
    qsizetype glyphs = 0;
    QSet<char16_t> characters;
};

PdfText pdfText(const QByteArray& pdf) {
    PdfText text;
    static const QRegularExpression shown(QStringLiteral("<([0-9A-Fa-f]+)> Tj"));
    static const QRegularExpression hex(QStringLiteral("<([0-9A-Fa-f]{4})>"));
    for (const QByteArray& stream : pdfStreams(pdf)) {
        const QString content = QString::fromLatin1(stream);
        if (content.contains(QLatin1String("begincmap"))) {
            // Codes map to characters; the destinations are the last entry of each mapping.
            const qsizetype start = content.indexOf(QLatin1String("beginbfrange"));
            const QString ranges = content.mid(start, content.indexOf(QLatin1String("endbfrange")) - start);
            for (const QString& line : ranges.split(QLatin1Char('\n'))) {
                auto it = hex.globalMatch(line);
                QList<char16_t> values;
                while (it.hasNext())
                    values << char16_t(it.next().captured(1).toUShort(nullptr, 16));
                if (line.contains(QLatin1Char('[')))
                    for (qsizetype i = 2; i < values.size(); ++i)
                        text.characters.insert(values[i]);
                else if (values.size() == 3)
                    text.characters.insert(values[2]);
            }
            continue;
        }
        auto it = shown.globalMatch(content);
        while (it.hasNext())
            text.glyphs += it.next().captured(1).size() / 4;
    }
    return text;
}

} // namespace

Q_DECLARE_METATYPE(Tool)

class TestEditTools : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void textTools_data() {
        QTest::addColumn<Tool>("tool");
        QTest::addColumn<QByteArray>("addresses");
        QTest::addColumn<bool>("highlighting");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("output");
        QTest::newRow("dots, coloured")
            << Tool::Dots << QByteArray("XYZ") << true << QByteArray("G01 X10 Y-5 Z0 F100\r\n(X10)\r\n")
            << "G01 X10. Y-5. Z0. F100\r\n(X10)\r\n";
        QTest::newRow("dots, plain keeps case") << Tool::Dots << QByteArray("XY") << false
                                                << QByteArray("x12 y3\r\nX1000") << "x12. y3.\r\nX1000.\r\n";
        QTest::newRow("remove spaces") << Tool::RemoveSpaces << QByteArray() << true
                                       << QByteArray("N10 G01 X10 (A B)\r\n") << "N10G01X10(A B)\r\n";
        QTest::newRow("insert spaces") << Tool::InsertSpaces << QByteArray() << true
                                       << QByteArray("N10G01X10Y-20.5F100\r\nIF[#1EQ2]GOTO10\r\n")
                                       << "N10 G01 X10 Y-20.5 F100\r\nIF[#1 EQ 2] GOTO10\r\n";
    }
    void textTools() {
        QFETCH(Tool, tool);
        QFETCH(QByteArray, addresses);
        QFETCH(bool, highlighting);
        QFETCH(QByteArray, input);
        QFETCH(QString, output);
        ScopedInteraction ui;
        QTemporaryDir dir;
        auto form = openProgram(dir, QStringLiteral("T.NC"), input, highlighting);
        form->editor()->setSelStart(4);
        QSignalSpy state(form.get(), &TEditForm::editStateChanged);
        run(*form, tool, addresses.toStdString());
        QCOMPARE(form->editor()->text(), output);
        QVERIFY(form->editor()->modified());
        QCOMPARE(form->editor()->selStart(), qsizetype(4));
        QVERIFY(!state.isEmpty());
        QCOMPARE(state.last(), QVariantList({0, 1}));
        // The tool's result is one undo step; the text before it comes back whole.
        QTest::keyClick(form->editor(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form->editor()->text(),
                 cp1250::decode(std::string_view(input.constData(), std::size_t(input.size()))));
        QVERIFY(!form->editor()->canUndo());
        form->PowtrzClick();
        QCOMPARE(form->editor()->text(), output);
        QVERIFY(!QFile::exists(privateTempDir() + QStringLiteral("Numer.tmp")));
        QVERIFY(ui->messages.isEmpty());
        QCOMPARE(form->document().fileName(), dir.filePath(QStringLiteral("T.NC")));
        QCOMPARE(readFile(form->document().fileName()), input); // not saved
    }

    void toolsThatChangeNothing() {
        ScopedInteraction ui;
        QTemporaryDir dir;
        auto form = openProgram(dir, QStringLiteral("T.NC"), "N10 G01 X10.\r\n");
        form->runTextTool([](std::string_view text) { return insertDecimalPoints(text, "XYZ"); });
        QVERIFY(waitForEditors());
        form->runTextTool(insertSpaces);
        QVERIFY(waitForEditors());
        QCOMPARE(form->editor()->text(), QStringLiteral("N10 G01 X10.\r\n"));
        QVERIFY(!form->editor()->modified());
        TEditForm empty;
        empty.runTextTool(removeSpaces);
        QVERIFY(waitForEditors());
        QCOMPARE(empty.editor()->text(), QString());
        QVERIFY(ui->messages.isEmpty());
    }

    void unencodableTextIsLeftAlone() {
        ScopedInteraction ui;
        QTemporaryDir dir;
        auto form = openProgram(dir, QStringLiteral("T.NC"), "N10 G01\r\n");
        form->editor()->setSelStart(0);
        form->editor()->setSelText(QStringLiteral("★ "));
        form->runTextTool(removeSpaces);
        QVERIFY(waitForEditors());
        QCOMPARE(form->editor()->text(), QStringLiteral("★ N10 G01\r\n"));
        QCOMPARE(ui->messages.size(), 1);
        QCOMPARE(ui->messages.first().text,
                 QStringLiteral("Znak \"★\" (U+2605) w wierszu 1 nie istnieje w kodowaniu Windows-1250.\r"
                                "Tekst nie został zmieniony."));
    }

    void printsOneJobTitledWithTheFileName() {
        ScopedInteraction ui;
        QTemporaryDir dir;
        auto form =
            openProgram(dir, QStringLiteral("O0010.NC"), "%\r\nO0010 (WALEK)\r\nN10 G01 X10\r\nM30\r\n");
        const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
        int dialogs = 0;
        TEditForm::setPrintDialogHook([&](QWidget* parent, QPrinter& printer) {
            ++dialogs;
            [&] { QCOMPARE(parent, form.get()); }();
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        form->PrintDocument();
        TEditForm::setPrintDialogHook({});
        QCOMPARE(dialogs, 1);
        const QByteArray bytes = readFile(pdf);
        QVERIFY(bytes.startsWith("%PDF"));
        QCOMPARE(bytes.count("%%EOF"), 1);
        QVERIFY(bytes.contains("/Title (" + pdfUtf16(QStringLiteral("O0010.NC")) + ")"));
        static const QRegularExpression page(QStringLiteral("/Type\\s*/Page\\b"));
        QCOMPARE(QString::fromLatin1(bytes).count(page), 1);
        // Every character of the lines is drawn, and the page number.
        const PdfText text = pdfText(bytes);
        const QString lines = QStringLiteral("%O0010 (WALEK)N10 G01 X10M30");
        QCOMPARE(text.glyphs, lines.size() + 1);
        for (QChar ch : lines)
            if (ch != QLatin1Char(' '))
                QVERIFY2(text.characters.contains(ch.unicode()), qPrintable(QString(ch)));
    }

    void cancelledPrintDialogPrintsNothing() {
        ScopedInteraction ui;
        QTemporaryDir dir;
        auto form = openProgram(dir, QStringLiteral("P.NC"), "X1\r\n");
        const QString pdf = dir.filePath(QStringLiteral("none.pdf"));
        TEditForm::setPrintDialogHook([&](QWidget*, QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return false;
        });
        form->PrintDocument();
        TEditForm::setPrintDialogHook({});
        QVERIFY(!QFile::exists(pdf));
    }
};

QTEST_MAIN(TestEditTools)
#include "test_edittools.moc"
