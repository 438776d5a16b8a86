#include "TranscodeEnumNames.h"
#include "TranscodeEnums.h"

#include <QtTest>

using namespace kvt;

class TestEngineEnums : public QObject
{
    Q_OBJECT

private slots:
    void names_data();
    void names();
    void success_data();
    void success();
    void durationText_data();
    void durationText();
};

using NameFn = const char* (*)(int);
Q_DECLARE_METATYPE(NameFn)

void TestEngineEnums::names_data()
{
    QTest::addColumn<NameFn>("fn");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("expected");

    auto row = [](const char* tag, NameFn fn, int value, const char* expected) {
        QTest::newRow(tag) << fn << value << QString(expected);
    };
    // Values outside each table, and the gaps inside the result codes, must never index past a
    // table; the enumerators and the name table are written separately, so a few pairs across
    // the result-code table catch a slip in either.
    row("profile 8", deviceProfileName, 8, "Invalid value");
    row("profile -1", deviceProfileName, -1, "Invalid value");
    row("video -1", videoCodecName, -1, "VC_UNKNOWN");
    row("video 17", videoCodecName, 17, "Invalid value");
    row("video -2", videoCodecName, -2, "Invalid value");
    row("audio 20", audioCodecName, 20, "Invalid value");
    row("subtitle 4", subtitleCodecName, 4, "Invalid value");
    row("result -996", resultCodeName, -996, "Invalid value");
    row("result 7 (gap)", resultCodeName, 7, "Invalid value");
    row("result 141 (gap)", resultCodeName, 141, "Invalid value");
    row("result 156", resultCodeName, 156, "Invalid value");
    row("op 8", progressOperationName, 8, "Invalid value");
    row("status -1", transcodeStatusName, -1, "Invalid value");
    row("log 3 (two bits)", logMessageClassName, 3, "Invalid value");
    row("log 512", logMessageClassName, 512, "Invalid value");
    for (const auto& [code, name] :
         {std::pair{int(NotAvailable), "NotAvailable"}, std::pair{int(SUCCESS), "SUCCESS"},
          std::pair{int(ENG_WRITING_ERROR), "ENG_WRITING_ERROR"},
          std::pair{int(ENG_DUPLICATE_CHAINFILE_WARN), "ENG_DUPLICATE_CHAINFILE_WARN"},
          std::pair{int(CRTL_FILE_PERMISSION_DENIED), "CRTL_FILE_PERMISSION_DENIED"}})
        row(name, resultCodeName, code, name);
}

void TestEngineEnums::names()
{
    QFETCH(NameFn, fn);
    QFETCH(int, value);
    QFETCH(QString, expected);
    QCOMPARE(QString(fn(value)), expected);
}

void TestEngineEnums::success_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("success");
    QTest::newRow("SUCCESS") << 0 << true;
    QTest::newRow("chain-file warning") << 154 << true;
    QTest::newRow("PENDING") << 1 << false;
    QTest::newRow("duplicate file error") << 153 << false;
    QTest::newRow("permission") << 155 << false;
    QTest::newRow("NOT_SET") << -1 << false;
    QTest::newRow("Working") << -999 << false;
}

void TestEngineEnums::success()
{
    QFETCH(int, code);
    QFETCH(bool, success);
    QCOMPARE(isTranscodeSuccess(code), success);
}

void TestEngineEnums::durationText_data()
{
    QTest::addColumn<quint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << quint64(0) << "00:00:00";
    QTest::newRow("below a second") << quint64(999) << "00:00:00";
    QTest::newRow("1h 2m 5s") << quint64(3725000) << "01:02:05";
    QTest::newRow("last valid second") << quint64(86399999) << "23:59:59";
    QTest::newRow("24 hours") << quint64(86400000) << "";
    QTest::newRow("huge") << quint64(0xFFFFFFFFFFFFull) << "";
}

void TestEngineEnums::durationText()
{
    QFETCH(quint64, ms);
    QFETCH(QString, text);
    QCOMPARE(transcodeDurationText(ms), text);
}

QTEST_APPLESS_MAIN(TestEngineEnums)
#include "test_engine_enums.moc"
