#include "UCNVLibrary.h"

#include <QTest>

using kvds::UCNVLibrary;

Q_DECLARE_METATYPE(std::string)

class TestUCNVLibrary : public QObject
{
    Q_OBJECT

private slots:
    void findsInstalledIcu()
    {
        UCNVLibrary lib;
        QVERIFY(lib.IsLoaded());
        QVERIFY(lib.IcuVersion() > 0);
        QVERIFY(&UCNVLibrary::Instance() == &UCNVLibrary::Instance());
        QVERIFY(UCNVLibrary::Instance().IsLoaded());
    }

    void loadsNamedVersionedLibrary()
    {
        const std::string name =
            "libicuuc.so." + std::to_string(UCNVLibrary::Instance().IcuVersion());
        UCNVLibrary lib(name);
        QVERIFY(lib.IsLoaded());
        QCOMPARE(lib.IcuVersion(), UCNVLibrary::Instance().IcuVersion());
    }

    void charsetRoundTrip_data()
    {
        QTest::addColumn<std::string>("charset");
        QTest::addColumn<std::string>("encoded");
        QTest::addColumn<QString>("text");
        QTest::newRow("latin-1") << std::string("ISO-8859-1") << std::string("caf\xE9")
                                 << QStringLiteral("café");
        QTest::newRow("cp1252 euro")
            << std::string("windows-1252") << std::string("\x80 5") << QStringLiteral("€ 5");
        QTest::newRow("shift_jis") << std::string("Shift_JIS") << std::string("\x93\xfa\x96\x7b")
                                   << QStringLiteral("日本");
        QTest::newRow("utf-8 4-byte") << std::string("UTF-8") << std::string("\xF0\x9F\x98\x80")
                                      << QString::fromUtf8("\xF0\x9F\x98\x80");
        QTest::newRow("empty") << std::string("ISO-8859-1") << std::string() << QString();
    }
    void charsetRoundTrip()
    {
        QFETCH(std::string, charset);
        QFETCH(std::string, encoded);
        QFETCH(QString, text);
        UCNVLibrary& lib = UCNVLibrary::Instance();
        const std::u16string wide(reinterpret_cast<const char16_t*>(text.utf16()), text.size());
        const std::string utf8 = text.toStdString();
        kvds::UcnvErrorCode status = -1;

        std::u16string toWide;
        QVERIFY(lib.CharsetToUtf16(charset, encoded, toWide, &status));
        QCOMPARE(status, kvds::kUcnvZeroError);
        QVERIFY(toWide == wide);

        std::string fromWide;
        QVERIFY(lib.Utf16ToCharset(charset, wide, fromWide, &status));
        QCOMPARE(QByteArray::fromStdString(fromWide), QByteArray::fromStdString(encoded));

        std::string toUtf8;
        QVERIFY(lib.CharsetToUtf8(charset, encoded, toUtf8, &status));
        QCOMPARE(QByteArray::fromStdString(toUtf8), QByteArray::fromStdString(utf8));

        std::string fromUtf8;
        QVERIFY(lib.Utf8ToCharset(charset, utf8, fromUtf8, &status));
        QCOMPARE(QByteArray::fromStdString(fromUtf8), QByteArray::fromStdString(encoded));
    }

    void availability()
    {
        UCNVLibrary& lib = UCNVLibrary::Instance();
        QVERIFY(lib.IsCharsetAvailable("ISO-8859-1"));
        QVERIFY(lib.IsCharsetAvailable("utf8"));
        QVERIFY(lib.IsCharsetAvailable("UTF16_PlatformEndian"));
        QVERIFY(!lib.IsCharsetAvailable("no-such-charset-x"));
        std::string out;
        kvds::UcnvErrorCode status = 0;
        QVERIFY(!lib.CharsetToUtf8("no-such-charset-x", "abc", out, &status));
        QVERIFY(status > 0);
    }

    // Without the library every conversion fails with U_INTERNAL_PROGRAM_ERROR; a library that
    // exists but is not ICU is not half-bound.
    void missingLibraryGivesStatus5_data()
    {
        QTest::addColumn<QString>("library");
        QTest::newRow("missing") << "libkavo-no-such-icuuc.so.40";
        QTest::newRow("not ICU") << "libz.so.1";
    }
    void missingLibraryGivesStatus5()
    {
        QFETCH(QString, library);
        UCNVLibrary lib(library.toStdString());
        QVERIFY(!lib.IsLoaded());
        kvds::UcnvErrorCode status = 0;
        QVERIFY(lib.Open("utf8", &status) == nullptr);
        QCOMPARE(status, kvds::kUcnvInternalProgramError);

        char16_t target[4] = {};
        char16_t* t = target;
        const char* source = "ab";
        status = 0;
        lib.ToUnicode(nullptr, &t, target + 4, &source, source + 2, nullptr, true, &status);
        QCOMPARE(status, kvds::kUcnvInternalProgramError);
        QVERIFY(t == target);

        char bytes[4] = {};
        char* b = bytes;
        const char16_t* wide = u"ab";
        status = 0;
        lib.FromUnicode(nullptr, &b, bytes + 4, &wide, wide + 2, nullptr, true, &status);
        QCOMPARE(status, kvds::kUcnvInternalProgramError);
        lib.Close(nullptr);

        std::string out = "untouched";
        std::u16string wideOut = u"untouched";
        status = 0;
        QVERIFY(!lib.CharsetToUtf8("ISO-8859-1", "abc", out, &status));
        QCOMPARE(status, kvds::kUcnvInternalProgramError);
        status = 0;
        QVERIFY(!lib.Utf8ToCharset("ISO-8859-1", "abc", out, &status));
        QCOMPARE(status, kvds::kUcnvInternalProgramError);
        status = 0;
        QVERIFY(!lib.CharsetToUtf16("ISO-8859-1", "abc", wideOut, &status));
        QCOMPARE(status, kvds::kUcnvInternalProgramError);
        status = 0;
        QVERIFY(!lib.Utf16ToCharset("ISO-8859-1", u"abc", out, &status));
        QCOMPARE(status, kvds::kUcnvInternalProgramError);
        QCOMPARE(out, std::string("untouched"));
        QVERIFY(wideOut == u"untouched");
        QVERIFY(!lib.IsCharsetAvailable("ISO-8859-1"));
    }
};

QTEST_APPLESS_MAIN(TestUCNVLibrary)
#include "tst_UCNVLibrary.moc"
