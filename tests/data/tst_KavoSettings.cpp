#include "HiveFile.h"
#include "HiveTestSupport.h"
#include "KavoSettings.h"
#include "RegistryHive.h"
#include "SettingsAccessors.h"
#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using HiveTestSupport::ReadFile;
using kvds::IKavoSettings;
using kvds::RegistryHive;
using kvds::RegistryValue;
using kvds::SettingsPtr;

namespace {

const std::u16string kTw = u"SOFTWARE\\Kavo\\Settings\\TransferWizard";

// The contents of a regular file, or what else the name is, without opening
// a FIFO or a device.
QByteArray Fingerprint(const QString& path)
{
    struct stat st;
    if (lstat(QFile::encodeName(path).constData(), &st) != 0)
        return "<missing>";
    if (S_ISLNK(st.st_mode))
        return "link to " + QFile::encodeName(QFile::symLinkTarget(path));
    if (S_ISFIFO(st.st_mode))
        return "fifo";
    return ReadFile(path);
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QVERIFY(TestFiles::write(path, bytes));
}

QByteArray Hex(const RegistryValue* v)
{
    if (!v)
        return "<missing>";
    return QByteArray(reinterpret_cast<const char*>(v->data.data()), int(v->data.size()))
        .toHex(' ');
}

KavoSettings* Impl(const SettingsPtr& p)
{
    return static_cast<KavoSettings*>(p.get());
}

// Warnings seen by the message handler while a test runs.
QStringList g_warnings;
void CaptureWarnings(QtMsgType type, const QMessageLogContext&, const QString& msg)
{
    if (type == QtWarningMsg)
        g_warnings << msg;
}

} // namespace

using WriteFn = std::function<bool()>;
// A write to run later, as a table row.
#define WRITES(expr) WriteFn([=] { return expr; })
Q_DECLARE_METATYPE(WriteFn)

class TestKavoSettings : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_user;
    QString m_machine;

    RegistryHive Hive(bool user)
    {
        RegistryHive hive;
        std::string error;
        const std::string bytes = ReadFile(user ? m_user : m_machine).toStdString();
        if (bytes != "<missing>" &&
            !hive.Parse(bytes, user ? u"HKEY_CURRENT_USER" : u"HKEY_LOCAL_MACHINE", &error))
            qFatal("hive does not parse: %s", error.c_str());
        return hive;
    }

    // Writes a hive file by hand, as an installer or a person would.
    void Plant(bool user, const QByteArray& body)
    {
        QDir().mkpath(QFileInfo(user ? m_user : m_machine).path());
        WriteFile(user ? m_user : m_machine,
                  "Windows Registry Editor Version 5.00\n\n" + body + "\n");
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        static int n = 0;
        const QString base = m_dir.path() + "/" + QString::number(++n);
        // The user hive's folder does not exist yet: the first write makes it.
        m_user = base + "/config/Kavo/user.reg";
        m_machine = base + "/machine.reg";
        QVERIFY(QDir().mkpath(base));
        qputenv("KAVO_USER_HIVE", m_user.toLocal8Bit());
        qputenv("KAVO_MACHINE_HIVE", m_machine.toLocal8Bit());
    }

    void hivePathsFollowEnvironment()
    {
        QCOMPARE(QString::fromStdString(kvds::HiveFile::DefaultPath(kvds::HiveFile::CurrentUser)),
                 m_user);
        qunsetenv("KAVO_USER_HIVE");
        qputenv("XDG_CONFIG_HOME", "/tmp/xdg-test");
        QCOMPARE(kvds::HiveFile::DefaultPath(kvds::HiveFile::CurrentUser),
                 std::string("/tmp/xdg-test/Kavo/user.reg"));
        qunsetenv("KAVO_MACHINE_HIVE");
        QCOMPARE(kvds::HiveFile::DefaultPath(kvds::HiveFile::LocalMachine),
                 std::string("/etc/xdg/Kavo/machine.reg"));
    }

    // ---- value encodings --------------------------------------------------

    void encodings_data()
    {
        QTest::addColumn<WriteFn>("write");
        QTest::addColumn<uint>("type");
        QTest::addColumn<QByteArray>("bytes");
        const std::string tw = "TransferWizard";
        auto row = [](const char* name, WriteFn f, uint type, const char* hex) {
            QTest::newRow(name) << f << type << QByteArray(hex);
        };
        row("int32 -1 sign-extended", WRITES(WriteSetting(tw, "v", int32_t(-1))), 11,
            "ff ff ff ff ff ff ff ff");
        row("uint32 max zero-extended", WRITES(WriteSetting(tw, "v", 4294967295u)), 11,
            "ff ff ff ff 00 00 00 00");
        row("int literal", WRITES(WriteSetting(tw, "v", 258)), 11, "02 01 00 00 00 00 00 00");
        row("int64", WRITES(WriteSetting(tw, "v", int64_t(-2))), 11, "fe ff ff ff ff ff ff ff");
        row("uint64", WRITES(WriteSetting(tw, "v", uint64_t(1) << 63)), 11,
            "00 00 00 00 00 00 00 80");
        row("wide name int", WRITES(WriteSetting(u"TransferWizard", u"v", 7)), 11,
            "07 00 00 00 00 00 00 00");
        row("float", WRITES(WriteSetting(tw, "v", 1.0f)), 4, "00 00 80 3f");
        row("double", WRITES(WriteSetting(tw, "v", 1.0)), 11, "00 00 00 00 00 00 f0 3f");
        row("bool true", WRITES(WriteSetting(tw, "v", true)), 4, "01 00 00 00");
        row("bool false", WRITES(WriteSetting(u"TransferWizard", u"v", false)), 4, "00 00 00 00");
        row("string literal is text, not bool", WRITES(WriteSetting(tw, "v", "ab")), 1,
            "61 00 62 00 00 00");
        row("narrow string", WRITES(WriteSetting(tw, "v", std::string("\xC3\xA9"))), 1,
            "e9 00 00 00");
        row("wide name narrow value",
            WRITES(WriteSetting(u"TransferWizard", u"v", std::string("x"))), 1, "78 00 00 00");
        row("narrow name wide value", WRITES(WriteSetting(tw, "v", std::u16string(u"\u6f22"))), 1,
            "22 6f 00 00");
        row("wide literal", WRITES(WriteSetting(u"TransferWizard", u"v", u"y")), 1, "79 00 00 00");
        row("empty string", WRITES(WriteSetting(tw, "v", std::string())), 1, "00 00");
        row(
            "binary",
            [=] {
                const unsigned char data[] = {1, 2, 3};
                return WriteSetting(tw, "v", data, 3u);
            },
            3, "01 02 03");
        row(
            "interface int32",
            [] {
                SettingsPtr s;
                return OpenSettings(false, true, std::string("TransferWizard"), false, s) &&
                       s->SetValue(std::u16string(u"v"), int32_t(-3));
            },
            11, "fd ff ff ff ff ff ff ff");
    }
    void encodings()
    {
        QFETCH(WriteFn, write);
        QFETCH(uint, type);
        QFETCH(QByteArray, bytes);
        QVERIFY(write());
        const RegistryHive user = Hive(true);
        const RegistryValue* v = user.FindValue(kTw, u"v");
        QVERIFY(v);
        QCOMPARE(uint(v->type), type);
        QCOMPARE(Hex(v), bytes);
        QVERIFY(!QFile::exists(m_machine)); // writes go to the user hive only
    }

    // Which reads accept a stored value of a given type and size.
    void readAcceptance_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("integer"); // value read as uint64, or "-" for failure
        QTest::addColumn<bool>("asFloat");
        QTest::addColumn<bool>("asDouble");
        QTest::addColumn<bool>("asBool");
        QTest::addColumn<QString>("asString");
        QTest::addColumn<bool>("asBinary");
        QTest::newRow("qword 8") << QByteArray("hex(b):01,00,00,00,00,00,f0,3f")
                                 << "4607182418800017409" << false << true << false << "-" << false;
        QTest::newRow("dword 4 zero-extended") << QByteArray("dword:ffffffff") << "4294967295"
                                               << true << false << true << "-" << false;
        QTest::newRow("dword with 8 bytes") << QByteArray("hex(4):01,00,00,00,00,00,00,00") << "1"
                                            << false << false << false << "-" << false;
        QTest::newRow("qword with 4 bytes")
            << QByteArray("hex(b):02,00,00,00") << "2" << false << false << false << "-" << false;
        QTest::newRow("dword with 2 bytes")
            << QByteArray("hex(4):01,00") << "-" << false << false << false << "-" << false;
        QTest::newRow("string") << QByteArray("\"12\"") << "-" << false << false << false << "12"
                                << false;
        QTest::newRow("empty string with terminator")
            << QByteArray("\"\"") << "-" << false << false << false << "" << false;
        QTest::newRow("REG_SZ of size 0")
            << QByteArray("hex(1):") << "-" << false << false << false << "-" << false;
        QTest::newRow("text stops at its zero") << QByteArray("hex(1):41,00,00,00,42,00,00,00")
                                                << "-" << false << false << false << "A" << false;
        QTest::newRow("REG_EXPAND_SZ is not a string")
            << QByteArray("hex(2):41,00,00,00") << "-" << false << false << false << "-" << false;
        QTest::newRow("binary") << QByteArray("hex:05") << "-" << false << false << false << "-"
                                << true;
        QTest::newRow("empty binary")
            << QByteArray("hex:") << "-" << false << false << false << "-" << false;
    }
    void readAcceptance()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, integer);
        QFETCH(bool, asFloat);
        QFETCH(bool, asDouble);
        QFETCH(bool, asBool);
        QFETCH(QString, asString);
        QFETCH(bool, asBinary);
        Plant(true, "[HKEY_CURRENT_USER\\SOFTWARE\\Kavo\\Settings\\T]\n\"v\"=" + data);
        const std::string t = "T";
        uint64_t u64 = 0;
        QCOMPARE(ReadSetting(t, "v", u64) ? QString::number(u64) : QString("-"), integer);
        float f = 0;
        QCOMPARE(ReadSetting(t, "v", f), asFloat);
        double d = 0;
        QCOMPARE(ReadSetting(t, "v", d), asDouble);
        bool b = false;
        QCOMPARE(ReadSetting(t, "v", b), asBool);
        std::string s = "-";
        ReadSetting(t, "v", s);
        QCOMPARE(QString::fromStdString(s), asString);
        kvtl::MemoryBuffer<unsigned char> bin;
        QCOMPARE(ReadSetting(t, "v", bin), asBinary);
    }

    void narrowIntegersKeepLowHalf()
    {
        QVERIFY(WriteSetting("T", "v", int64_t(0x1234567887654321)));
        int32_t i = 0;
        uint32_t u = 0;
        QVERIFY(ReadSetting("T", "v", i));
        QVERIFY(ReadSetting("T", "v", u));
        QCOMPARE(u, 0x87654321u);
        QCOMPARE(i, int32_t(0x87654321u));
        QVERIFY(WriteSetting("T", "f", 2.5f));
        float f = 0;
        double d = 7;
        QVERIFY(ReadSetting("T", "f", f));
        QCOMPARE(f, 2.5f);
        QVERIFY(!ReadSetting("T", "f", d)); // a float is a DWORD, not a double
        QCOMPARE(d, 7.0);                   // and a failed read leaves the output alone
    }

    // ---- groups and fallback ----------------------------------------------

    void readFallsBackToMachineAndWritesGoToUser()
    {
        Plant(false,
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kavo\\Settings\\TransferWizard]\n"
              "\"TempDir\"=\"/machine/tmp\"\n\"WizardTracing\"=dword:00000002\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kavo\\Install\\TranscodeEngine]\n"
              "\"InstallDir\"=\"/opt/kavo\"\n\"LoggerLevel\"=hex(b):03,00,00,00,00,00,00,00\n");
        const QByteArray machineBefore = ReadFile(m_machine);

        std::string temp;
        QVERIFY(ReadSetting("TransferWizard", "TempDir", temp));
        QCOMPARE(temp, std::string("/machine/tmp"));
        uint32_t tracing = 0;
        QVERIFY(ReadSetting("TransferWizard", "WizardTracing", tracing));
        QCOMPARE(tracing, 2u);

        QVERIFY(WriteSetting("TransferWizard", "TempDir", "/user/tmp"));
        QVERIFY(ReadSetting("TransferWizard", "TempDir", temp));
        QCOMPARE(temp, std::string("/user/tmp"));
        QCOMPARE(ReadFile(m_machine), machineBefore);
        QCOMPARE(Hex(Hive(true).FindValue(kTw, u"TempDir")),
                 QByteArray("2f 00 75 00 73 00 65 00 72 00 2f 00 74 00 6d 00 70 00 00 00"));
        QVERIFY(!Hive(true).FindValue(kTw, u"WizardTracing"));

        std::u16string dir;
        QVERIFY(ReadInstallSetting("TranscodeEngine", "InstallDir", dir));
        QVERIFY(dir == u"/opt/kavo");
        int32_t level = 0;
        QVERIFY(ReadInstallSetting(u"TranscodeEngine", u"LoggerLevel", level));
        QCOMPARE(level, 3);
    }

    void installGroupIgnoresUserHive()
    {
        Plant(true, "[HKEY_CURRENT_USER\\SOFTWARE\\Kavo\\Install\\Setup]\n\"Locale\"=\"xx\"\n");
        std::string locale = "unchanged";
        QVERIFY(!ReadInstallSetting("Setup", "Locale", locale));
        QCOMPARE(locale, std::string("unchanged"));
        QVERIFY(WriteInstallSetting("Setup", "Locale", "de-de"));
        QVERIFY(ReadInstallSetting("Setup", "Locale", locale));
        QCOMPARE(locale, std::string("de-de"));
        QVERIFY(Hive(false).FindValue(u"SOFTWARE\\Kavo\\Install\\Setup", u"Locale"));
        QVERIFY(DeleteInstallSetting("Setup", "Locale"));
        QVERIFY(!ReadInstallSetting("Setup", "Locale", locale));
    }

    // ---- the mode table ---------------------------------------------------

    void modeTable_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("userHas");
        QTest::addColumn<bool>("machineHas");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<int>("root");
        QTest::addColumn<bool>("userAfter");
        QTest::addColumn<bool>("machineAfter");
        const int U = KavoSettings::CurrentUserRoot, M = KavoSettings::LocalMachineRoot, N = 0;
        QTest::newRow("1 user key") << 1 << true << false << true << U << true << false;
        QTest::newRow("1 machine only") << 1 << false << true << false << N << false << true;
        QTest::newRow("2 machine only") << 2 << false << true << true << U << false << true;
        QTest::newRow("2 none") << 2 << false << false << false << N << false << false;
        QTest::newRow("3 machine key") << 3 << true << true << true << M << true << true;
        QTest::newRow("3 user only") << 3 << true << false << false << N << true << false;
        QTest::newRow("4 user key") << 4 << true << true << true << U << true << true;
        QTest::newRow("5 machine only") << 5 << false << true << true << U << false << true;
        QTest::newRow("6 user only") << 6 << true << false << false << N << true << false;
        QTest::newRow("7 creates user") << 7 << false << false << true << U << true << false;
        QTest::newRow("8 creates user only") << 8 << false << false << true << U << true << false;
        QTest::newRow("9 creates machine") << 9 << false << false << true << M << false << true;
    }
    void modeTable()
    {
        QFETCH(int, mode);
        QFETCH(bool, userHas);
        QFETCH(bool, machineHas);
        QFETCH(bool, opens);
        QFETCH(int, root);
        QFETCH(bool, userAfter);
        QFETCH(bool, machineAfter);
        const std::u16string key = u"SOFTWARE\\Kavo\\Settings\\Mode";
        if (userHas)
            Plant(true, "[HKEY_CURRENT_USER\\SOFTWARE\\Kavo\\Settings\\Mode]");
        if (machineHas)
            Plant(false, "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kavo\\Settings\\Mode]");
        SettingsPtr s;
        QCOMPARE(OpenSettingsPath(u"Settings\\Mode", kvds::SettingsAccess(mode), nullptr, s),
                 opens);
        QCOMPARE(bool(s), opens);
        if (s)
            QCOMPARE(int(Impl(s)->Root()), root);
        QCOMPARE(Hive(true).KeyExists(key), userAfter);
        QCOMPARE(Hive(false).KeyExists(key), machineAfter);
    }

    void readOnlyModesRefuseWrites()
    {
        Plant(true, "[HKEY_CURRENT_USER\\SOFTWARE\\Kavo\\Settings\\T]\n\"a\"=\"1\"");
        const QByteArray before = ReadFile(m_user);
        for (int mode : {4, 5}) {
            SettingsPtr s;
            QVERIFY(OpenSettingsPath(u"Settings/T", kvds::SettingsAccess(mode), nullptr, s));
            QVERIFY(!s->SetValue(std::string("a"), "2"));
            QVERIFY(!s->DeleteValue(std::string("a")));
            std::string a;
            QVERIFY(s->GetValue(std::string("a"), a));
            QCOMPARE(a, std::string("1"));
        }
        QCOMPARE(ReadFile(m_user), before);
    }

    void machineWriteNeedsRights()
    {
        if (geteuid() == 0)
            QSKIP("root may write any file");
        Plant(false, "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kavo\\Install\\Setup]\n\"Locale\"=\"en-us\"");
        QFile::setPermissions(m_machine, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        std::string locale;
        QVERIFY(ReadInstallSetting("Setup", "Locale", locale)); // mode 6 reads
        SettingsPtr s;
        QVERIFY(!OpenSettings(true, false, std::string("Setup"), false, s)); // mode 3
        QVERIFY(!WriteInstallSetting("Setup", "Locale", "fr-fr"));           // mode 9
        QVERIFY(ReadInstallSetting("Setup", "Locale", locale));
        QCOMPARE(locale, std::string("en-us"));
    }

    // ---- paths and sub-keys -----------------------------------------------

    void slashAndBackslashReachTheSameKey()
    {
        QVERIFY(WriteSetting("Player/Playback", "AlwaysOnTop", true));
        bool onTop = false;
        QVERIFY(ReadSetting("Player\\Playback", "AlwaysOnTop", onTop));
        QVERIFY(onTop);
        QVERIFY(
            ReadSetting(u"player\\PLAYBACK", u"alwaysontop", onTop)); // registry names ignore case

        SettingsPtr player;
        QVERIFY(OpenSettings(false, true, std::string("Player"), false, player)); // mode 8
        SettingsPtr playback;
        QVERIFY(player->OpenSubKey(std::string("Playback"), playback));
        QCOMPARE(playback->GetRefCount(), 2); // the caller and the parent's children
        QVERIFY(playback->SetValue(std::string("AlwaysOnTop"), false));
        QVERIFY(ReadSetting("Player/Playback", "AlwaysOnTop", onTop));
        QVERIFY(!onTop);
        std::string name;
        QVERIFY(playback->GetName(name));
        QCOMPARE(name, std::string("Playback"));
        QVERIFY(Impl(playback)->Path() == u"SOFTWARE\\Kavo\\Settings\\Player\\Playback");
        // Deeper paths through OpenSubKey, and a child that does not exist.
        QVERIFY(WriteSetting("Player/Playback/Deep/Er", "x", 1));
        SettingsPtr deep;
        QVERIFY(player->OpenSubKey(u"Playback/Deep\\Er", deep));
        int x = 0;
        QVERIFY(deep->GetValue(std::string("x"), x));
        QCOMPARE(x, 1);
        SettingsPtr reader;
        QVERIFY(OpenSettings(false, false, std::string("Player"), true, reader)); // mode 5
        SettingsPtr none;
        QVERIFY(!reader->OpenSubKey(std::string("Missing"), none));
        QVERIFY(!none);
        // An empty component never opens.
        QVERIFY(!SettingsKeyExists("Player//Playback"));
        QVERIFY(SettingsKeyExists("Player/Playback/"));
    }

    void badNamesAndPathsFail()
    {
        int v = 0;
        QVERIFY(!WriteSetting("T", "", 1));
        QVERIFY(!WriteSetting("", "a", 1));
        QVERIFY(!ReadSetting("T", "", v));
        QVERIFY(!WriteSetting("T", "\xC0\xAF", 1)); // not UTF-8: empty name
        QVERIFY(!WriteSetting("T", "a", std::string("\xFF\xFE")));
        QVERIFY(!WriteSetting("Bad\nKey", "a", 1));
        QVERIFY(!Hive(true).FindValue(u"SOFTWARE\\Kavo\\Settings\\T", u"a"));
        SettingsPtr s;
        QVERIFY(!OpenSettings(false, true, std::string(), false, s));
        QVERIFY(!OpenSettingsPath(u"", kvds::CurrentUserCreate, nullptr, s));
        QVERIFY(!OpenSettingsPath(u"X", kvds::SettingsAccess(0), nullptr, s));
    }

    // ---- enumeration ------------------------------------------------------

    void enumeration()
    {
        Plant(true, "[HKEY_CURRENT_USER\\SOFTWARE\\Kavo\\Settings\\E]\n"
                    "@=\"default\"\n\"a\"=\"1\"\n\"b\"=dword:00000001\n"
                    "[HKEY_CURRENT_USER\\SOFTWARE\\Kavo\\Settings\\E\\Sub1]\n"
                    "[HKEY_CURRENT_USER\\SOFTWARE\\Kavo\\Settings\\E\\Shared\\Deeper]\n");
        Plant(false, "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kavo\\Settings\\E]\n\"b\"=\"m\"\n\"c\"=\"m\"\n"
                     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kavo\\Settings\\E\\shared]\n"
                     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kavo\\Settings\\E\\Sub2]\n");
        std::set<std::string> values;
        QVERIFY(GetValueNames("E", values));
        QCOMPARE(values, (std::set<std::string>{"a", "b", "c"}));
        uint32_t count = 0;
        QVERIFY(GetValueNames(u"E", count));
        QCOMPARE(count, 3u);

        std::set<std::u16string> keys;
        QVERIFY(GetSubKeys(u"E", u"", keys));
        QVERIFY(keys == (std::set<std::u16string>{u"Shared", u"Sub1", u"Sub2", u"shared"}));
        QVERIFY(GetSubKeys("E", count));
        QCOMPARE(count, 4u);
        std::set<std::string> deeper = {"stale"};
        QVERIFY(GetSubKeys("E", "Shared", deeper));
        QCOMPARE(deeper, (std::set<std::string>{"Deeper"}));

        // Only the machine key exists: values list, sub-keys need the user key.
        Plant(true, "");
        values = {"stale"};
        QVERIFY(GetValueNames("E", values));
        QCOMPARE(values, (std::set<std::string>{"b", "c"}));
        keys = {u"stale"};
        QVERIFY(!GetSubKeys(u"E", u"", keys));
        QVERIFY(keys.empty());
        QVERIFY(GetInstallSubKeys("", count) == false);
    }

    void longValueNameEndsEnumeration()
    {
        QVERIFY(WriteSetting("L", "a", 1));
        QVERIFY(WriteSetting("L", std::string(1024, 'x'), 1));
        QVERIFY(WriteSetting("L", "z", 1));
        std::set<std::string> names;
        QVERIFY(GetValueNames("L", names));
        QCOMPARE(names, (std::set<std::string>{"a"}));
    }

    // ---- deletion ---------------------------------------------------------

    void deleteGuard_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("deletable");
        QTest::newRow("settings key") << "SOFTWARE\\Kavo\\Settings\\Player" << true;
        QTest::newRow("group") << "SOFTWARE\\Kavo\\Settings" << true;
        QTest::newRow("the root itself") << "SOFTWARE\\Kavo\\" << false;
        QTest::newRow("root without slash") << "SOFTWARE\\Kavo" << false;
        QTest::newRow("another vendor") << "SOFTWARE\\Other\\Settings" << false;
        QTest::newRow("nested elsewhere") << "X\\SOFTWARE\\Kavo\\Y" << false;
        QTest::newRow("empty") << "" << false;
    }
    void deleteGuard()
    {
        QFETCH(QString, path);
        QFETCH(bool, deletable);
        QCOMPARE(KavoSettings::IsDeletablePath(path.toStdU16String()), deletable);
    }

    void deleteKeyRemovesSubtreeInItsHiveOnly()
    {
        QVERIFY(WriteSetting("Player/Playback", "AlwaysOnTop", true));
        QVERIFY(WriteSetting("Player", "x", 1));
        QVERIFY(WriteSetting("Playerx", "y", 1));
        Plant(false, "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kavo\\Settings\\Player]\n\"m\"=\"1\"");
        const QByteArray machine = ReadFile(m_machine);

        QVERIFY(DeleteSettingsKey("Player"));
        QCOMPARE(ReadFile(m_machine), machine);
        const RegistryHive user = Hive(true);
        QVERIFY(!user.KeyExists(u"SOFTWARE\\Kavo\\Settings\\Player"));
        QVERIFY(!user.KeyExists(u"SOFTWARE\\Kavo\\Settings\\Player\\Playback"));
        QVERIFY(user.KeyExists(u"SOFTWARE\\Kavo\\Settings\\Playerx"));
        QVERIFY(user.KeyExists(u"SOFTWARE\\Kavo\\Settings"));
        // The machine key still answers reads; deleting again has nothing to
        // delete in the user hive.
        std::string m;
        QVERIFY(ReadSetting("Player", "m", m));
        QVERIFY(!DeleteSettingsKey("Player"));

        // A key that never opened deletes nothing.
        KavoSettings* never = new KavoSettings(u"Nothing", kvds::CurrentUserRead);
        SettingsPtr hold(never);
        const QByteArray userBefore = ReadFile(m_user);
        QVERIFY(!never->DeleteKey());
        QCOMPARE(ReadFile(m_user), userBefore);

        // A machine-rooted object deletes in the machine hive.
        SettingsPtr mk;
        QVERIFY(OpenSettingsPath(u"Settings/Player", kvds::MachineReadWrite, nullptr, mk));
        QVERIFY(mk->DeleteKey());
        QVERIFY(!Hive(false).KeyExists(u"SOFTWARE\\Kavo\\Settings\\Player"));
    }

    void deleteValueTouchesPrimaryOnly()
    {
        QVERIFY(WriteSetting("D", "v", 1));
        Plant(false, "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kavo\\Settings\\D]\n\"v\"=dword:00000005");
        QVERIFY(DeleteSetting("D", "v"));
        int v = 0;
        QVERIFY(ReadSetting("D", "v", v)); // the machine value shows through
        QCOMPARE(v, 5);
        QVERIFY(!DeleteSetting(u"D", u"v")); // nothing left in the user hive
    }

    void writeToKeyDeletedMeanwhileFails()
    {
        SettingsPtr s;
        QVERIFY(OpenSettings(false, true, std::string("Gone"), false, s));
        QVERIFY(s->SetValue(std::string("a"), 1));
        QVERIFY(DeleteSettingsKey("Gone"));
        QVERIFY(!s->SetValue(std::string("a"), 2));
        QVERIFY(!SettingsKeyExists("Gone"));
    }

    // ---- damaged files ----------------------------------------------------

    // A user hive that cannot be used reads as empty (the machine hive still
    // answers), is never written, and is reported once. None of them may stall
    // the reader: a FIFO would wait for a writer for ever, /dev/zero never
    // ends, and a deep key once cost time and memory with the square of its
    // depth.
    void unusableHiveIsLeftIntact_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("unparsable text") << "text";
        QTest::newRow("key 5,000 levels deep") << "deep";
        QTest::newRow("larger than the size limit") << "large";
        QTest::newRow("FIFO") << "fifo";
        QTest::newRow("link to /dev/zero") << "zero";
    }
    void unusableHiveIsLeftIntact()
    {
        QFETCH(QString, kind);
        Plant(false, "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kavo\\Settings\\TransferWizard]\n"
                     "\"TempDir\"=\"/machine/tmp\"");
        QVERIFY(QDir().mkpath(QFileInfo(m_user).path()));
        const QByteArray valid = "Windows Registry Editor Version 5.00\n\n"
                                 "[HKEY_CURRENT_USER\\SOFTWARE\\Kavo\\Settings\\TransferWizard]\n"
                                 "\"TempDir\"=\"/user/tmp\"\n";
        if (kind == "text") {
            WriteFile(m_user, valid + "\"Broken\"=hex:zz\n\x01\x02\xff");
        } else if (kind == "deep") {
            QByteArray deep = "[HKEY_CURRENT_USER\\SOFTWARE\\Kavo\\Settings\\Deep";
            for (int i = 0; i < 5000; ++i)
                deep += "\\k";
            WriteFile(m_user, valid + deep + "]\n\"v\"=dword:00000001\n");
        } else if (kind == "large") {
            WriteFile(m_user, valid + QByteArray(int(kvds::HiveFile::MaxFileSize), ';') + "\n");
        } else if (kind == "fifo") {
            QCOMPARE(mkfifo(QFile::encodeName(m_user).constData(), 0600), 0);
        } else {
            QVERIFY(QFile::link("/dev/zero", m_user));
        }
        const QByteArray before = Fingerprint(m_user);

        g_warnings.clear();
        const auto previous = qInstallMessageHandler(CaptureWarnings);
        std::string temp;
        const bool read = ReadSetting("TransferWizard", "TempDir", temp);
        const bool wrote = WriteSetting("TransferWizard", "TempDir", "/new");
        const bool wrote2 = WriteSetting("Other", "a", 1);
        uint32_t count = 0;
        const bool listed = GetValueNames("TransferWizard", count);
        qInstallMessageHandler(previous);

        QVERIFY(read);
        QCOMPARE(temp, std::string("/machine/tmp")); // the user hive reads as empty
        QVERIFY(!wrote);
        QVERIFY(!wrote2);
        QVERIFY(listed);
        QCOMPARE(count, 1u);
        QCOMPARE(Fingerprint(m_user), before);
        QCOMPARE(g_warnings.size(), 1);
        QVERIFY(g_warnings.front().contains(m_user));
    }

    // The file written is a regedit export that regedit-style tools and a
    // person can read; re-reading it gives the same values.
    void writtenFileIsRegText()
    {
        QVERIFY(WriteSetting("TransferWizard", "TempDir", "/home/alice/.cache/Kavo/tmp"));
        QVERIFY(WriteSetting("TransferWizard", "WizardTracing", 2u));
        QVERIFY(WriteSetting("Player/Playback", "AlwaysOnTop", true));
        const QByteArray text = ReadFile(m_user);
        QVERIFY(text.startsWith("Windows Registry Editor Version 5.00\n"));
        QVERIFY(text.contains("[HKEY_CURRENT_USER\\SOFTWARE\\Kavo\\Settings\\TransferWizard]\n"
                              "\"TempDir\"=\"/home/alice/.cache/Kavo/tmp\"\n"
                              "\"WizardTracing\"=hex(b):02,00,00,00,00,00,00,00\n"));
        QVERIFY(text.contains("\"AlwaysOnTop\"=dword:00000001\n"));
        QVERIFY(!QFile::exists(m_user + ".tmp"));
        const QStringList leftovers =
            QDir(QFileInfo(m_user).path()).entryList({"*.tmp.*"}, QDir::Files);
        QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(' ')));
    }

    void symlinkedHiveKeepsItsLink()
    {
        const QString target = m_dir.path() + "/real-user.reg";
        QVERIFY(QDir().mkpath(QFileInfo(m_user).path()));
        QVERIFY(QFile::link(target, m_user));
        QVERIFY(WriteSetting("S", "v", 1));
        QVERIFY(QFileInfo(m_user).isSymLink());
        QVERIFY(ReadFile(target).contains("\"v\"=hex(b)"));
    }
};

QTEST_GUILESS_MAIN(TestKavoSettings)
#include "tst_KavoSettings.moc"
