#include "RegistryHive.h"
#include "TextConversion.h"

#include <QTest>

using kvds::RegistryHive;
using kvds::RegistryValue;

namespace {

const std::u16string kUser = u"HKEY_CURRENT_USER";
const std::u16string kKey = u"SOFTWARE\\Kavo\\Settings\\TransferWizard";

RegistryValue Value(uint32_t type, std::initializer_list<int> bytes)
{
    RegistryValue v;
    v.type = type;
    for (int b : bytes)
        v.data += static_cast<unsigned char>(b);
    return v;
}

RegistryValue Sz(const std::u16string& s)
{
    RegistryValue v;
    v.type = kvds::RegSz;
    for (char16_t c : s) {
        v.data += static_cast<unsigned char>(c & 0xFF);
        v.data += static_cast<unsigned char>(c >> 8);
    }
    v.data.append(2, 0);
    return v;
}

QString Q(const std::u16string& s)
{
    return QString::fromStdU16String(s);
}

QByteArray Data(const RegistryValue* v)
{
    return v ? QByteArray(reinterpret_cast<const char*>(v->data.data()), int(v->data.size()))
             : QByteArray("<missing>");
}

QByteArray Data(const RegistryValue& v)
{
    return Data(&v);
}

std::string Reg(const char* body)
{
    return std::string("Windows Registry Editor Version 5.00\r\n\r\n") + body;
}

} // namespace

Q_DECLARE_METATYPE(std::string)

class TestRegistryHive : public QObject
{
    Q_OBJECT

private slots:
    void parsesRegeditExport()
    {
        RegistryHive hive;
        std::string error;
        QVERIFY2(hive.Parse(Reg("[HKEY_CURRENT_USER\\SOFTWARE\\Kavo\\Settings\\TransferWizard]\r\n"
                                "\"TempDir\"=\"C:\\\\Temp \\\"x\\\"\"\r\n"
                                "\"WizardTracing\"=hex(b):02,00,00,00,00,00,00,00\r\n"
                                "\"Count\"=dword:0000000a\r\n"
                                "\"Path\"=hex(2):25,00,48,00,00,00\r\n"
                                "\"Blob\"=hex:01,02,\\\r\n"
                                "  03\r\n"
                                "@=\"the default value\"\r\n"
                                "; a comment\r\n"),
                            kUser, &error),
                 error.c_str());
        QVERIFY(hive.KeyExists(u"SOFTWARE"));
        QVERIFY(hive.KeyExists(u"software\\kavo\\settings")); // ancestors, any case
        QCOMPARE(Data(hive.FindValue(kKey, u"TempDir")), Data(Sz(u"C:\\Temp \"x\"")));
        QCOMPARE(hive.FindValue(kKey, u"wizardtracing")->type, uint32_t(kvds::RegQword));
        QCOMPARE(Data(hive.FindValue(kKey, u"WizardTracing")), QByteArray("\x02\0\0\0\0\0\0\0", 8));
        QCOMPARE(Data(hive.FindValue(kKey, u"Count")), QByteArray("\x0a\0\0\0", 4));
        QCOMPARE(hive.FindValue(kKey, u"Path")->type, uint32_t(kvds::RegExpandSz));
        QCOMPARE(Data(hive.FindValue(kKey, u"Blob")), QByteArray("\x01\x02\x03"));
        QCOMPARE(Data(hive.FindValue(kKey, u"")), Data(Sz(u"the default value")));
        const auto names = hive.ValueNames(kKey);
        QCOMPARE(int(names.size()), 6);
        QVERIFY(names.back().empty());
    }

    void readsUtf16WithBom()
    {
        const std::u16string text =
            u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kavo\\"
            u"Install\\Setup]\r\n\"Locale\"=\"fr-fr \u00e9\u6f22\"\r\n";
        std::string bytes("\xFF\xFE", 2);
        for (char16_t c : text) {
            bytes += char(c & 0xFF);
            bytes += char(c >> 8);
        }
        RegistryHive hive;
        std::string error;
        QVERIFY2(hive.Parse(bytes, u"HKEY_LOCAL_MACHINE", &error), error.c_str());
        QCOMPARE(Data(hive.FindValue(u"SOFTWARE\\Kavo\\Install\\Setup", u"Locale")),
                 Data(Sz(u"fr-fr \u00e9\u6f22")));
        // A UTF-8 byte-order mark is accepted too.
        QVERIFY(hive.Parse("\xEF\xBB\xBF" + Reg("[HKCU\\SOFTWARE\\A]\n"), kUser));
        QVERIFY(hive.KeyExists(u"SOFTWARE\\A"));
    }

    void rejectsMalformed_data()
    {
        QTest::addColumn<std::string>("text");
        QTest::newRow("no header") << std::string("[HKEY_CURRENT_USER\\SOFTWARE]\n");
        QTest::newRow("REGEDIT4") << std::string("REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE]\n");
        QTest::newRow("value before key") << Reg("\"a\"=\"b\"\n");
        QTest::newRow("other root") << Reg("[HKEY_LOCAL_MACHINE\\SOFTWARE]\n");
        QTest::newRow("root only") << Reg("[HKEY_CURRENT_USER]\n");
        QTest::newRow("empty component") << Reg("[HKEY_CURRENT_USER\\SOFTWARE\\\\Kavo]\n");
        QTest::newRow("unclosed key") << Reg("[HKEY_CURRENT_USER\\SOFTWARE\n");
        QTest::newRow("key deletion") << Reg("[-HKEY_CURRENT_USER\\SOFTWARE]\n");
        QTest::newRow("value deletion") << Reg("[HKCU\\S]\n\"a\"=-\n");
        QTest::newRow("unterminated string") << Reg("[HKCU\\S]\n\"a\"=\"b\n");
        QTest::newRow("text after string") << Reg("[HKCU\\S]\n\"a\"=\"b\" x\n");
        QTest::newRow("unknown escape") << Reg("[HKCU\\S]\n\"a\"=\"\\q\"\n");
        QTest::newRow("short \\u escape") << Reg("[HKCU\\S]\n\"a\\u12\"=\"b\"\n");
        QTest::newRow("missing =") << Reg("[HKCU\\S]\n\"a\" \"b\"\n");
        QTest::newRow("dword too long") << Reg("[HKCU\\S]\n\"a\"=dword:123456789\n");
        QTest::newRow("dword not hex") << Reg("[HKCU\\S]\n\"a\"=dword:xyz\n");
        QTest::newRow("bad hex byte") << Reg("[HKCU\\S]\n\"a\"=hex:01,zz\n");
        QTest::newRow("three-digit byte") << Reg("[HKCU\\S]\n\"a\"=hex:100\n");
        QTest::newRow("empty hex item") << Reg("[HKCU\\S]\n\"a\"=hex:01,,02\n");
        QTest::newRow("bad hex type") << Reg("[HKCU\\S]\n\"a\"=hex(q):01\n");
        QTest::newRow("continuation at end") << Reg("[HKCU\\S]\n\"a\"=hex:01,\\");
        QTest::newRow("stray text") << Reg("[HKCU\\S]\nhello\n");
        QTest::newRow("invalid UTF-8") << Reg("[HKCU\\S]\n\"a\"=\"\xC0\xAF\"\n");
        QTest::newRow("odd UTF-16") << std::string("\xFF\xFE\x41", 3);
        QTest::newRow("UTF-16 BE") << std::string("\xFE\xFF\0W", 4);
        QTest::newRow("control char in key") << Reg("[HKCU\\S\x01x]\n");
    }
    void rejectsMalformed()
    {
        QFETCH(std::string, text);
        RegistryHive hive;
        hive.CreateKey(u"Stale");
        std::string error;
        QVERIFY(!hive.Parse(text, kUser, &error));
        QVERIFY(!error.empty());
        QVERIFY(hive.IsEmpty());
    }

    void emptyFileIsEmptyHive()
    {
        RegistryHive hive;
        QVERIFY(hive.Parse("", kUser));
        QVERIFY(hive.Parse(" \r\n\n", kUser));
        QVERIFY(hive.IsEmpty());
    }

    // What the writer produces, the parser reads back to the same values,
    // however awkward the names and data.
    void roundTripsAwkwardNamesAndValues()
    {
        const std::vector<std::pair<std::u16string, RegistryValue>> values = {
            {u"quote\"back\\slash", Sz(u"va\"l\\ue\\")},
            {u"new\nline\r\ttab", Sz(u"line1\nline2\r\n")},
            {u"non-ASCII \u00e9\u6f22 \U0001F600", Sz(u"\u00e9\u6f22 \U0001F600")},
            {std::u16string{u'l', char16_t(0xDC00), u'o'}, Sz(std::u16string{char16_t(0xD800)})},
            {u"ctrl\x01\x7f", Sz(u"bell\x07")},
            {u"", Sz(u"default")},
            {u"=[@]", Sz(u"")},
            {u"empty sz", Value(kvds::RegSz, {})},
            {u"odd sz", Value(kvds::RegSz, {0x41, 0x00, 0x42})},
            {u"embedded nul", Sz(std::u16string(u"a\0b", 3))},
            {u"no terminator", Value(kvds::RegSz, {0x41, 0x00})},
            {u"dword", Value(kvds::RegDword, {0xff, 0xfe, 0xfd, 0xfc})},
            {u"short dword", Value(kvds::RegDword, {1, 2})},
            {u"qword", Value(kvds::RegQword, {1, 2, 3, 4, 5, 6, 7, 8})},
            {u"empty binary", Value(kvds::RegBinary, {})},
            {u"type 0x20000", Value(0x20000, {9})},
        };
        RegistryValue big;
        big.type = kvds::RegBinary;
        for (int i = 0; i < 1000; ++i)
            big.data += static_cast<unsigned char>(i * 7);

        RegistryHive hive;
        const std::u16string key = u"SOFTWARE\\Kavo\\K]ey [x] \u00e9";
        QVERIFY(hive.CreateKey(key));
        QVERIFY(hive.CreateKey(u"SOFTWARE\\Kavo\\Empty leaf"));
        for (const auto& [name, value] : values)
            QVERIFY(hive.SetValue(key, name, value));
        QVERIFY(hive.SetValue(key, u"big", big));

        const std::string text = hive.Serialize(kUser);
        QVERIFY(!text.empty());
        RegistryHive back;
        std::string error;
        QVERIFY2(back.Parse(text, kUser, &error), (error + "\n" + text).c_str());
        for (const auto& [name, value] : values) {
            const RegistryValue* v = back.FindValue(key, name);
            QVERIFY2(v, qPrintable(Q(name)));
            QCOMPARE(v->type, value.type);
            QCOMPARE(Data(v), Data(&value));
        }
        QCOMPARE(Data(back.FindValue(key, u"big")), Data(&big));
        QVERIFY(back.KeyExists(u"SOFTWARE\\Kavo\\Empty leaf"));
        QCOMPARE(back.Serialize(kUser), text);
        // Hex lists wrap, so no line grows past a readable width.
        for (const QByteArray& line : QByteArray::fromStdString(text).split('\n'))
            QVERIFY2(line.size() <= 80, line.constData());
    }

    void keysAndValuesIgnoreCase()
    {
        RegistryHive hive;
        QVERIFY(hive.CreateKey(u"SOFTWARE\\Kavo\\Player"));
        QVERIFY(hive.CreateKey(u"software\\KAVO\\player\\Playback"));
        QCOMPARE(int(hive.SubKeyNames(u"SOFTWARE\\Kavo").size()), 1);
        QVERIFY(hive.SetValue(u"SOFTWARE\\Kavo\\Player", u"Name", Sz(u"1")));
        QVERIFY(hive.SetValue(u"SOFTWARE\\KAVO\\PLAYER", u"NAME", Sz(u"2")));
        QCOMPARE(int(hive.ValueNames(u"SOFTWARE\\Kavo\\Player").size()), 1);
        QVERIFY(hive.ValueNames(u"SOFTWARE\\Kavo\\Player").front() == u"Name");
        QCOMPARE(Data(hive.FindValue(u"software\\kavo\\player", u"name")), Data(Sz(u"2")));
        // Deleting a value keeps the others findable and in their order.
        QVERIFY(hive.SetValue(u"SOFTWARE\\Kavo\\Player", u"Second", Sz(u"3")));
        QVERIFY(hive.SetValue(u"SOFTWARE\\Kavo\\Player", u"Third", Sz(u"4")));
        QVERIFY(hive.DeleteValue(u"SOFTWARE\\Kavo\\Player", u"name"));
        QVERIFY(!hive.DeleteValue(u"SOFTWARE\\Kavo\\Player", u"name"));
        QCOMPARE(Data(hive.FindValue(u"SOFTWARE\\Kavo\\Player", u"third")), Data(Sz(u"4")));
        QVERIFY((hive.ValueNames(u"SOFTWARE\\Kavo\\Player") ==
                 std::vector<std::u16string>{u"Second", u"Third"}));
    }

    void deleteTreeRemovesOnlyTheSubtree()
    {
        RegistryHive hive;
        for (auto p : {u"SOFTWARE\\Kavo\\A", u"SOFTWARE\\Kavo\\A\\B\\C", u"SOFTWARE\\Kavo\\A B",
                       u"SOFTWARE\\Kavo\\A0", u"SOFTWARE\\Kavo\\AB"})
            QVERIFY(hive.CreateKey(p));
        QVERIFY(hive.DeleteTree(u"software\\kavo\\a"));
        QVERIFY(!hive.KeyExists(u"SOFTWARE\\Kavo\\A"));
        QVERIFY(!hive.KeyExists(u"SOFTWARE\\Kavo\\A\\B"));
        QVERIFY(!hive.KeyExists(u"SOFTWARE\\Kavo\\A\\B\\C"));
        QVERIFY(hive.KeyExists(u"SOFTWARE\\Kavo\\A B"));
        QVERIFY(hive.KeyExists(u"SOFTWARE\\Kavo\\A0"));
        QVERIFY(hive.KeyExists(u"SOFTWARE\\Kavo\\AB"));
        QVERIFY(hive.KeyExists(u"SOFTWARE\\Kavo"));
        QVERIFY(!hive.DeleteTree(u"SOFTWARE\\Kavo\\A"));
        QCOMPARE(int(hive.SubKeyNames(u"SOFTWARE\\Kavo").size()), 3);
        // The emptied parent survives a round trip through the file.
        QVERIFY(hive.DeleteTree(u"SOFTWARE\\Kavo\\A B"));
        QVERIFY(hive.DeleteTree(u"SOFTWARE\\Kavo\\A0"));
        QVERIFY(hive.DeleteTree(u"SOFTWARE\\Kavo\\AB"));
        RegistryHive back;
        QVERIFY(back.Parse(hive.Serialize(kUser), kUser));
        QVERIFY(back.KeyExists(u"SOFTWARE\\Kavo"));
    }

    void invalidKeyPaths()
    {
        RegistryHive hive;
        for (const std::u16string& p :
             {std::u16string(), std::u16string(u"\\A"), std::u16string(u"A\\"),
              std::u16string(u"A\\\\B"), std::u16string(u"A\nB"),
              std::u16string{u'A', char16_t(0xD800)}})
            QVERIFY2(!hive.CreateKey(p), qPrintable(Q(p)));
        QVERIFY(hive.IsEmpty());
        QVERIFY(!hive.SetValue(u"Missing", u"a", Sz(u"b")));
    }

    // Keys may be as deep as the registry allows and no deeper; what the
    // writer produces at the limit, the reader accepts.
    void keyDepthLimit()
    {
        std::u16string path = u"K";
        for (size_t i = 1; i < RegistryHive::MaxKeyDepth; ++i)
            path += u"\\K";
        RegistryHive hive;
        QVERIFY(!hive.CreateKey(path + u"\\K"));
        QVERIFY(hive.CreateKey(path));
        QVERIFY(hive.SetValue(path, u"v", Sz(u"deep")));
        RegistryHive back;
        std::string error;
        QVERIFY2(back.Parse(hive.Serialize(kUser), kUser, &error), error.c_str());
        QCOMPARE(Data(back.FindValue(path, u"v")), Data(Sz(u"deep")));
        QVERIFY(!back.Parse(Reg(("[HKCU\\" + WideToUtf8(path) + "\\K]\n").c_str()), kUser));
        QVERIFY(back.IsEmpty());
    }
};

QTEST_APPLESS_MAIN(TestRegistryHive)
#include "tst_RegistryHive.moc"
