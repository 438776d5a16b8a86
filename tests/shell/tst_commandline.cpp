#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "CommandLineParser.h"
#include "LaunchArguments.h"
#include "TranslationTag.h"

// What the launcher makes of a start's arguments, the switches it passes, the locale the
// environment asks for and the translation tag it gives.
class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void launch_data();
    void launch();
    void parse_data();
    void parse();
    void parseUnattended_data();
    void parseUnattended();
    void translationTag_data();
    void translationTag();
    void messagesLocale_data();
    void messagesLocale();

private:
    QTemporaryDir m_dir;
};

void TestCommandLine::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath("videos"));
    for (const QString& name : QStringList{"videos/beach.mp4", "videos/a b%20c.avi",
                                           QString::fromUtf8("videos/f\xC3\xAAte.mkv")}) {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
}

// What a start of the program makes of its arguments: DIR stands for a folder holding
// videos/beach.mp4, "videos/a b%20c.avi" and videos/fête.mkv; relative paths are taken from
// DIR/videos. Expected wizard arguments "URL:path" are the file URL of DIR + path.
void TestCommandLine::launch_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QStringList>("wizard");
    QTest::addColumn<QStringList>("problems");

    const int run = int(LaunchArguments::Action::Run);
    const int reject = int(LaunchArguments::Action::Reject);
    const QStringList noDevice{"-xfer", "-id", "0"};
    QTest::newRow("nothing: the wizard with no videos")
        << QStringList{} << run << noDevice << QStringList{};
    QTest::newRow("absolute path")
        << QStringList{"DIR/videos/beach.mp4"} << run
        << noDevice + QStringList{"-file", "URL:/videos/beach.mp4"} << QStringList{};
    QTest::newRow("relative paths, a percent sign kept")
        << QStringList{"beach.mp4", "../videos/a b%20c.avi"} << run
        << noDevice +
               QStringList{"-file", "URL:/videos/beach.mp4", "-file", "URL:/videos/a b%20c.avi"}
        << QStringList{};
    QTest::newRow("percent-escaped URLs")
        << QStringList{"file://DIR/videos/f%C3%AAte.mkv",
                       "file://localhostDIR/videos/a%20b%2520c.avi"}
        << run
        << noDevice + QStringList{"-file", QString::fromUtf8("URL:/videos/f\xC3\xAAte.mkv"),
                                  "-file", "URL:/videos/a b%20c.avi"}
        << QStringList{};
    QTest::newRow("missing file: passed on and reported")
        << QStringList{"gone.avi"} << run << noDevice + QStringList{"-file", "URL:/videos/gone.avi"}
        << QStringList{"portavo: DIR/videos/gone.avi: file not found"};
    QTest::newRow("a mix, with the wizard's switches")
        << QStringList{"-XFER",
                       "-id",
                       "10002",
                       "-file",
                       "beach.mp4",
                       "file://DIR/nope%20x.mp4",
                       "-file",
                       "file://DIR/videos/a%20b%2520c.avi",
                       "http://example.org/v.mp4",
                       "-activationvideo"}
        << run
        << QStringList{"-XFER",
                       "-id",
                       "10002",
                       "-file",
                       "URL:/videos/beach.mp4",
                       "-file",
                       "URL:/nope x.mp4",
                       "-file",
                       "URL:/videos/a b%20c.avi",
                       "-activationvideo"}
        << QStringList{"portavo: http://example.org/v.mp4: not a local file; it is not added",
                       "portavo: DIR/nope x.mp4: file not found"};
    QTest::newRow("after --, a dash is a file name")
        << QStringList{"--", "-start"} << run
        << noDevice + QStringList{"-file", "URL:/videos/-start"}
        << QStringList{"portavo: DIR/videos/-start: file not found"};
    QTest::newRow("unattended: missing files are the run's to report")
        << QStringList{"-xfer", "-id", "5", "-file", "gone.avi", "-to", "/m", "-start"} << run
        << QStringList{"-xfer", "-id", "5", "-file", "URL:/videos/gone.avi", "-to", "/m", "-start"}
        << QStringList{};
    QTest::newRow("the toolkit's options and --debug pass")
        << QStringList{"-platform", "offscreen", "--debug", "beach.mp4"} << run
        << QStringList{"-xfer",     "-id",     "0",     "-platform",
                       "offscreen", "--debug", "-file", "URL:/videos/beach.mp4"}
        << QStringList{};
    QTest::newRow("id without xfer is refused")
        << QStringList{"-id", "42", "beach.mp4"} << reject << QStringList{}
        << QStringList{"portavo: -xfer and -id DEVICE go together, with a decimal device number"};
    QTest::newRow("unknown option is refused")
        << QStringList{"beach.mp4", "--verbose"} << reject << QStringList{}
        << QStringList{"portavo: unknown option \"--verbose\""};
    QTest::newRow("help wins over the rest")
        << QStringList{"gone.avi", "-H"} << int(LaunchArguments::Action::Help) << QStringList{}
        << QStringList{};
    QTest::newRow("version") << QStringList{"--version"} << int(LaunchArguments::Action::Version)
                             << QStringList{} << QStringList{};
    QTest::newRow("error page without a number")
        << QStringList{"--error-page", "x"} << reject << QStringList{}
        << QStringList{"portavo: --error-page needs an error number"};
}

void TestCommandLine::launch()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QStringList, wizard);
    QFETCH(QStringList, problems);
    const QString dir = m_dir.path();
    for (QString& a : arguments)
        a.replace("DIR", dir);
    for (QString& w : wizard) {
        if (w.startsWith("URL:"))
            w = QString::fromLatin1(QUrl::fromLocalFile(dir + w.mid(4)).toEncoded());
    }
    for (QString& p : problems)
        p.replace("DIR", dir);

    const LaunchArguments::Request request = LaunchArguments::interpret(arguments, dir + "/videos");
    QCOMPARE(int(request.action), action);
    if (action == int(LaunchArguments::Action::Run))
        QCOMPARE(request.arguments, wizard);
    QCOMPARE(request.problems, problems);
    // What the wizard's parser makes of it: the files of the URLs, for the device named.
    if (action == int(LaunchArguments::Action::Run) && !request.unattended) {
        QStringList files;
        unsigned int id = 99;
        bool activation = false;
        QVERIFY(CommandLineParser(request.arguments).parse(files, id, activation));
        QCOMPARE(files.size(), request.arguments.count("-file"));
        for (const QString& file : files)
            QVERIFY2(file.startsWith(dir + "/"), qPrintable(file));
    }
}

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<uint>("deviceId");
    QTest::addColumn<bool>("activation");

    QTest::newRow("url file with escaped space")
        << QStringList{"-xfer", "-id", "10003", "-file", "file:///C:/Videos/a%20b.avi"} << true
        << QStringList{"/C:/Videos/a b.avi"} << 10003u << false;
    QTest::newRow("id without xfer")
        << QStringList{"-id", "42"} << false << QStringList{} << 0u << false;
    QTest::newRow("id not a number")
        << QStringList{"-xfer", "-id", "abc"} << false << QStringList{} << 0u << false;
    QTest::newRow("negative id") << QStringList{"-xfer", "-id", "-5"} << false << QStringList{}
                                 << 0u << false;
    // The ID is decimal only: no hexadecimal, and a leading zero does not make it octal.
    QTest::newRow("hexadecimal id")
        << QStringList{"-xfer", "-id", "0x10"} << false << QStringList{} << 0u << false;
    QTest::newRow("leading zero id is decimal")
        << QStringList{"-xfer", "-id", "010"} << true << QStringList{} << 10u << false;
    QTest::newRow("id beyond 32 bits")
        << QStringList{"-xfer", "-id", "4294967296"} << false << QStringList{} << 0u << false;
    QTest::newRow("id without files")
        << QStringList{"-xfer", "-id", "5"} << true << QStringList{} << 5u << false;
    QTest::newRow("repeated id, last wins")
        << QStringList{"-xfer", "-id", "5", "-id", "7"} << true << QStringList{} << 7u << false;
    QTest::newRow("bad second id keeps the first")
        << QStringList{"-xfer", "-id", "5", "-id", "x"} << true << QStringList{} << 5u << false;
    QTest::newRow("capitals")
        << QStringList{"-XFER",           "-Id", "10002", "-FILE", "file:///home/Al/Clip.MP4",
                       "-ActivationVideo"}
        << true << QStringList{"/home/Al/Clip.MP4"} << 10002u << true;
    QTest::newRow("trailing file switch")
        << QStringList{"-xfer", "-id", "1000", "-file"} << true << QStringList{} << 1000u << false;
    QTest::newRow("file followed by a switch takes it as the value")
        << QStringList{"-file", "-xfer", "-id", "5"} << false << QStringList{} << 0u << false;
    QTest::newRow("file value is a switch, transfer given later")
        << QStringList{"-id", "5", "-file", "-xfer", "-xfer"} << true << QStringList{""} << 5u
        << false;
    QTest::newRow("activation before files")
        << QStringList{"-activationvideo",
                       "-xfer",
                       "-id",
                       "9",
                       "-file",
                       "file:///v/a.avi",
                       "-file",
                       "file:///v/b%C3%A9.avi"}
        << true << QStringList{"/v/a.avi", QString::fromUtf8("/v/b\xC3\xA9.avi")} << 9u << true;
    QTest::newRow("activation after files")
        << QStringList{"-xfer", "-file", "file:///v/a.avi", "-id", "9", "-activationvideo"} << true
        << QStringList{"/v/a.avi"} << 9u << true;
    QTest::newRow("unknown arguments are skipped")
        << QStringList{"--verbose", "-xfer", "junk", "-id", "12"} << true << QStringList{} << 12u
        << false;
    QTest::newRow("files and activation without xfer are dropped")
        << QStringList{"-activationvideo", "-file", "file:///a.avi", "-id", "42"} << false
        << QStringList{} << 0u << false;
    QTest::newRow("empty") << QStringList{} << false << QStringList{} << 0u << false;
    QTest::newRow("id at the end without value")
        << QStringList{"-xfer", "-id"} << false << QStringList{} << 0u << false;
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, accepted);
    QFETCH(QStringList, files);
    QFETCH(uint, deviceId);
    QFETCH(bool, activation);

    QStringList outFiles{"stale"};
    unsigned int outId = 99;
    bool outActivation = true;
    const CommandLineParser parser(arguments);
    QCOMPARE(parser.parse(outFiles, outId, outActivation), accepted);
    QCOMPARE(outFiles, files);
    QCOMPARE(outId, deviceId);
    QCOMPARE(outActivation, activation);
}

void TestCommandLine::translationTag_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("country");
    QTest::addColumn<QString>("tag");

    const auto row = [](const char* tag, const char* locale, const char* language,
                        const char* country, const char* translation) {
        QTest::newRow(tag) << locale << language << country << translation;
    };
    row("pt_BR", "pt_BR", "pt", "br", "pt-br");
    row("fr_CA", "fr_CA", "fr", "ca", "fr");
    row("one letter", "x", "en", "us", "en");
    row("C locale", "C", "en", "us", "en");
    row("pt alone", "pt", "pt", "br", "pt-br");
    row("zh alone", "zh", "zh", "cn", "zh-cn");
    row("ja alone", "ja", "ja", "jp", "ja");
    row("unknown language keeps its country", "nl_NL", "nl", "nl", "nl-nl");
    row("unknown language, long country", "sr_Latn", "sr", "latn", "sr-latn");
    row("capitals", "DE_at", "de", "at", "de");
    row("empty", "", "en", "us", "en");
}

void TestCommandLine::translationTag()
{
    QFETCH(QString, locale);
    QFETCH(QString, language);
    QFETCH(QString, country);
    QFETCH(QString, tag);

    QString outLanguage;
    QString outCountry;
    TranslationTag::split(locale, outLanguage, outCountry);
    QCOMPARE(outLanguage, language);
    QCOMPARE(outCountry, country);
    QCOMPARE(TranslationTag::fromLocaleName(locale), tag);
}

void TestCommandLine::parseUnattended_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("active");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<int>("profile");
    QTest::addColumn<bool>("profileValid");

    const QStringList base{"-xfer", "-id", "10002", "-file", "file:///v/a.avi"};
    QTest::newRow("old command line") << base << false << "" << -1 << true;
    QTest::newRow("to and start") << base + QStringList{"-to", "/media/al/STICK", "-start"} << true
                                  << "/media/al/STICK" << -1 << true;
    QTest::newRow("capitals, profile")
        << base + QStringList{"-START", "-Profile", "4", "-TO", "/media/x"} << true << "/media/x"
        << 4 << true;
    QTest::newRow("to without start")
        << base + QStringList{"-to", "/media/x"} << false << "/media/x" << -1 << true;
    QTest::newRow("trailing to") << base + QStringList{"-start", "-to"} << false << "" << -1
                                 << true;
    QTest::newRow("url destination")
        << base + QStringList{"-to", "file:///media/al/MY%20STICK", "-start"} << true
        << "/media/al/MY STICK" << -1 << true;
    // Only the profiles a transfer can use: 0, 1, 3 and 4.
    for (const char* refused : {"2", "5", "6", "-1", "x", "3x", ""})
        QTest::addRow("profile \"%s\" refused", refused)
            << base + QStringList{"-to", "/m", "-start", "-profile", refused} << true << "/m" << -1
            << false;
    for (int accepted : {0, 1, 3, 4})
        QTest::addRow("profile %d", accepted)
            << base + QStringList{"-to", "/m", "-start", "-profile", QString::number(accepted)}
            << true << "/m" << accepted << true;
    QTest::newRow("a file named -to is a file")
        << QStringList{"-xfer", "-id", "5", "-file", "-to", "/m", "-start"} << false << "" << -1
        << true;
}

void TestCommandLine::parseUnattended()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, active);
    QFETCH(QString, destination);
    QFETCH(int, profile);
    QFETCH(bool, profileValid);
    const CommandLineParser parser(arguments);
    const CommandLineParser::Unattended options = parser.parseUnattended();
    QCOMPARE(options.active(), active);
    QCOMPARE(options.destination, destination);
    QCOMPARE(options.profile, profile);
    QCOMPARE(options.profileValid, profileValid);
    // The old switches read the same with or without the new ones.
    QStringList files;
    unsigned int id = 0;
    bool activation = false;
    QCOMPARE(parser.parse(files, id, activation), arguments.contains("-xfer"));
}

void TestCommandLine::messagesLocale_data()
{
    // The environment as "NAME=value" entries, and the locale the messages are read in.
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("locale");
    QTest::newRow("LANG") << QStringList{"LANG=fr_FR.UTF-8"} << "fr_FR";
    QTest::newRow("LC_MESSAGES before LANG")
        << QStringList{"LANG=en_US.UTF-8", "LC_MESSAGES=de_DE.UTF-8"} << "de_DE";
    QTest::newRow("LC_ALL before LC_MESSAGES")
        << QStringList{"LC_MESSAGES=de_DE.UTF-8", "LC_ALL=ja_JP.UTF-8"} << "ja_JP";
    QTest::newRow("modifier dropped") << QStringList{"LANG=de_DE@euro"} << "de_DE";
    QTest::newRow("LANGUAGE before LANG")
        << QStringList{"LANG=en_GB.UTF-8", "LANGUAGE=es_ES:en"} << "es_ES";
    QTest::newRow("LANGUAGE: the first language we ship")
        << QStringList{"LANG=pt_BR.UTF-8", "LANGUAGE=pt_BR:fr:en"} << "fr";
    QTest::newRow("LANGUAGE alone") << QStringList{"LANGUAGE=ja"} << "ja";
    QTest::newRow("LANGUAGE of no shipped language")
        << QStringList{"LANG=pt_BR.UTF-8", "LANGUAGE=pt_BR"} << "pt_BR";
    QTest::newRow("C ignores LANGUAGE") << QStringList{"LANG=C", "LANGUAGE=fr"} << "en_US";
    QTest::newRow("C.UTF-8") << QStringList{"LC_ALL=C.UTF-8", "LANG=de_DE.UTF-8"} << "en_US";
    QTest::newRow("POSIX") << QStringList{"LANG=POSIX"} << "en_US";
    QTest::newRow("nothing set") << QStringList{} << "";
}

void TestCommandLine::messagesLocale()
{
    QFETCH(QStringList, environment);
    QFETCH(QString, locale);
    QProcessEnvironment env;
    for (const QString& entry : environment)
        env.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
    QCOMPARE(TranslationTag::messagesLocaleName(env), locale);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
