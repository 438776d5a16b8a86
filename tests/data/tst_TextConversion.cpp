#include "TextConversion.h"

#include <QString>
#include <QTest>

namespace {

std::string Bytes(std::initializer_list<int> list)
{
    std::string s;
    for (int b : list)
        s += char(b);
    return s;
}

QByteArray Hex(const std::string& s)
{
    return QByteArray::fromStdString(s).toHex(' ');
}

QString Units(const std::u16string& s)
{
    QStringList parts;
    for (char16_t c : s)
        parts << QString::number(c, 16);
    return parts.join(' ');
}

} // namespace

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(std::u16string)

class TestTextConversion : public QObject
{
    Q_OBJECT

private slots:
    void utf8ToWide_data()
    {
        QTest::addColumn<std::string>("utf8");
        QTest::addColumn<std::u16string>("wide");
        QTest::newRow("empty") << std::string() << std::u16string();
        QTest::newRow("embedded nul") << std::string("a\0b", 3) << std::u16string(u"a\0b", 3);
        QTest::newRow("U+10FFFF") << Bytes({0xF4, 0x8F, 0xBF, 0xBF})
                                  << std::u16string{char16_t(0xDBFF), char16_t(0xDFFF)};
        // Failures give an empty string.
        QTest::newRow("ends inside 3-byte") << Bytes({'a', 0xE2, 0x82}) << std::u16string();
        QTest::newRow("overlong C0 AF") << Bytes({0xC0, 0xAF}) << std::u16string();
        QTest::newRow("overlong E0 80 80") << Bytes({0xE0, 0x80, 0x80}) << std::u16string();
        QTest::newRow("overlong F0 80 80 80")
            << Bytes({0xF0, 0x80, 0x80, 0x80}) << std::u16string();
        QTest::newRow("encoded surrogate") << Bytes({0xED, 0xA0, 0x80}) << std::u16string();
        QTest::newRow("above U+10FFFF") << Bytes({0xF4, 0x90, 0x80, 0x80}) << std::u16string();
        QTest::newRow("lead F5") << Bytes({0xF5, 0x80, 0x80, 0x80}) << std::u16string();
        QTest::newRow("five-byte form")
            << Bytes({0xF8, 0x88, 0x80, 0x80, 0x80}) << std::u16string();
        QTest::newRow("lone continuation") << Bytes({'a', 0x80, 'b'}) << std::u16string();
        QTest::newRow("ASCII as 2nd byte") << Bytes({0xC3, 0x41}) << std::u16string();
        QTest::newRow("lead byte as 4th byte")
            << Bytes({0xF0, 0x9F, 0x98, 0xC0}) << std::u16string();
        // The first trailing byte after ED/F4 must be a continuation byte too:
        // "ED 20 80" hides a space inside a would-be Hangul syllable.
        QTest::newRow("ED then ASCII") << Bytes({0xED, 0x20, 0x80}) << std::u16string();
        QTest::newRow("F4 then ASCII") << Bytes({0xF4, 0x20, 0x80, 0x80}) << std::u16string();
        QTest::newRow("invalid after valid") << Bytes({'o', 'k', 0xFF}) << std::u16string();
    }
    void utf8ToWide()
    {
        QFETCH(std::string, utf8);
        QFETCH(std::u16string, wide);
        QCOMPARE(Units(Utf8ToWide(utf8)), Units(wide));
    }

    void wideToUtf8_data()
    {
        QTest::addColumn<std::u16string>("wide");
        QTest::addColumn<std::string>("utf8");
        QTest::newRow("empty") << std::u16string() << std::string();
        QTest::newRow("embedded nul") << std::u16string(u"a\0b", 3) << std::string("a\0b", 3);
        // Lenient: unpaired surrogates are encoded by their own value.
        QTest::newRow("lone low in the middle")
            << std::u16string{u'a', char16_t(0xDC00), u'b'} << Bytes({'a', 0xED, 0xB0, 0x80, 'b'});
        QTest::newRow("high then non-low")
            << std::u16string{char16_t(0xD800), u'A'} << Bytes({0xED, 0xA0, 0x80, 'A'});
        QTest::newRow("high surrogate last")
            << std::u16string{u'a', char16_t(0xD83D)} << std::string();
    }
    void wideToUtf8()
    {
        QFETCH(std::u16string, wide);
        QFETCH(std::string, utf8);
        QCOMPARE(Hex(WideToUtf8(wide)), Hex(utf8));
    }

    void resultCodes_data()
    {
        QTest::addColumn<std::string>("utf8");
        QTest::addColumn<int>("capacity");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("written");
        QTest::newRow("complete") << std::string("ab") << 3 << int(kvds::ConversionOK) << 2;
        QTest::newRow("source exhausted")
            << Bytes({'a', 0xF0, 0x9F, 0x98}) << 5 << int(kvds::SourceExhausted) << 1;
        QTest::newRow("source illegal")
            << Bytes({'a', 0xC0, 0xAF}) << 4 << int(kvds::SourceIllegal) << 1;
        QTest::newRow("target exhausted")
            << std::string("abc") << 2 << int(kvds::TargetExhausted) << 2;
        QTest::newRow("no room for a pair")
            << Bytes({'a', 0xF0, 0x9F, 0x98, 0x80}) << 2 << int(kvds::TargetExhausted) << 1;
    }
    void resultCodes()
    {
        QFETCH(std::string, utf8);
        QFETCH(int, capacity);
        QFETCH(int, result);
        QFETCH(int, written);
        std::u16string buffer(size_t(capacity), u'\0');
        size_t n = 99;
        QCOMPARE(int(kvds::ConvertUtf8ToUtf16(utf8.data(), utf8.size(), buffer.data(),
                                              buffer.size(), &n)),
                 result);
        QCOMPARE(int(n), written);
    }

    void utf16ToUtf8ReportsTargetExhausted()
    {
        const std::u16string text = u"\u20AC\u20AC";
        char buffer[5];
        size_t n = 0;
        QCOMPARE(kvds::ConvertUtf16ToUtf8(text.data(), text.size(), buffer, sizeof buffer, &n),
                 kvds::TargetExhausted);
        QCOMPARE(int(n), 3);
    }

    // Every scalar value converts exactly as Qt's own codec does, both ways.
    void allScalarValuesMatchQt()
    {
        QString all;
        for (char32_t cp = 1; cp <= 0x10FFFF; ++cp) {
            if (cp >= 0xD800 && cp <= 0xDFFF)
                continue;
            all.append(QString::fromUcs4(&cp, 1));
        }
        const std::u16string wide(reinterpret_cast<const char16_t*>(all.utf16()), all.size());
        const std::string utf8 = WideToUtf8(wide);
        QCOMPARE(QByteArray::fromStdString(utf8), all.toUtf8());
        QVERIFY(Utf8ToWide(utf8) == wide);
    }
};

QTEST_APPLESS_MAIN(TestTextConversion)
#include "tst_TextConversion.moc"
