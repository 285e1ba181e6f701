#include "common/core/codepage.h"

#include <QTest>

using namespace ordalvex;

class TestCodepage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyByteRoundTrips() {
        for (int b = 0; b < 256; ++b) {
            const char16_t ch = cp1250::toUnicode(static_cast<unsigned char>(b));
            const auto back = cp1250::fromUnicode(ch);
            QVERIFY2(back.has_value(), qPrintable(QString::number(b)));
            QCOMPARE(int(*back), b);
        }
    }

    void polishLettersDecode_data() {
        QTest::addColumn<int>("byte");
        QTest::addColumn<QString>("letter");
        const char16_t* letters = u"ąćęłńóśźżĄĆĘŁŃÓŚŹŻ";
        const int bytes[] = {0xB9, 0xE6, 0xEA, 0xB3, 0xF1, 0xF3, 0x9C, 0x9F, 0xBF,
                             0xA5, 0xC6, 0xCA, 0xA3, 0xD1, 0xD3, 0x8C, 0x8F, 0xAF};
        for (int i = 0; i < 18; ++i)
            QTest::newRow(qPrintable(QString(QChar(letters[i])))) << bytes[i] << QString(QChar(letters[i]));
    }
    void polishLettersDecode() {
        QFETCH(int, byte);
        QFETCH(QString, letter);
        QCOMPARE(cp1250::decode(std::string(1, char(byte))), letter);
        QCOMPARE(int(*cp1250::fromUnicode(letter[0].unicode())), byte);
    }

    void upperCasingMapsPolishAndAsciiOnly() {
        QCOMPARE(int(cp1250::toUpper('a')), int('A'));
        QCOMPARE(int(cp1250::toUpper('z')), int('Z'));
        QCOMPARE(int(cp1250::toUpper(0xB9)), 0xA5); // ą -> Ą
        QCOMPARE(int(cp1250::toUpper(0xBF)), 0xAF); // ż -> Ż
        QCOMPARE(int(cp1250::toUpper(0x9F)), 0x8F); // ź -> Ź
        QCOMPARE(int(cp1250::toUpper(0xF3)), 0xD3); // ó -> Ó
        QCOMPARE(int(cp1250::toUpper('1')), int('1'));
        QCOMPARE(int(cp1250::toUpper(0xA5)), 0xA5);
        QCOMPARE(int(cp1250::toUpper(0xDF)), 0xDF); // ß has no single upper-case byte
    }

    void encodeRefusesCharactersWithoutAByte() {
        const auto ok = cp1250::encode(u"N10 (ŁOŻYSKO)");
        QVERIFY(ok.ok());
        QCOMPARE(QByteArray::fromStdString(ok.bytes), QByteArray("N10 (\xA3O\xAFYSKO)"));

        const auto bad = cp1250::encode(u"X1 € Ω");
        QVERIFY(!bad.ok());
        QCOMPARE(bad.failedAt, qsizetype(5));
        QCOMPARE(bad.failedChar, char32_t(0x03A9));
        QVERIFY(bad.bytes.empty());

        const auto emoji = cp1250::encode(QString::fromUtf8("A\xF0\x9F\x94\xA7"));
        QCOMPARE(emoji.failedAt, qsizetype(1));
        QCOMPARE(emoji.failedChar, char32_t(0x1F527));
    }
};

QTEST_APPLESS_MAIN(TestCodepage)
#include "test_codepage.moc"
