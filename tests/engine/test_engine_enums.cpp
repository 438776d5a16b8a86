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
    row("profile 0", deviceProfileName, 0, "DP_Mobile");
    row("profile 4", deviceProfileName, 4, "DP_KavoPlusHD");
    row("profile 7", deviceProfileName, 7, "_DP_count_");
    row("profile 8", deviceProfileName, 8, "Invalid value");
    row("profile -1", deviceProfileName, -1, "Invalid value");
    row("video -1", videoCodecName, -1, "VC_UNKNOWN");
    row("video 0", videoCodecName, 0, "VC_ASP");
    row("video 16", videoCodecName, 16, "_VC_count_");
    row("video 17", videoCodecName, 17, "Invalid value");
    row("video -2", videoCodecName, -2, "Invalid value");
    row("audio -1", audioCodecName, -1, "AC_UNKNOWN");
    row("audio 18", audioCodecName, 18, "AC_DS_UNKNOWN");
    row("audio 19", audioCodecName, 19, "_AC_count_");
    row("audio 20", audioCodecName, 20, "Invalid value");
    row("subtitle -1", subtitleCodecName, -1, "SC_UNKNOWN");
    row("subtitle 3", subtitleCodecName, 3, "_SC_count_");
    row("subtitle 4", subtitleCodecName, 4, "Invalid value");
    row("result -1", resultCodeName, -1, "NOT_SET");
    row("result -1000", resultCodeName, -1000, "NotAvailable");
    row("result -997", resultCodeName, -997, "InvalidArgument");
    row("result -996", resultCodeName, -996, "Invalid value");
    row("result 0", resultCodeName, 0, "SUCCESS");
    row("result 5", resultCodeName, 5, "CRTL_FILE_DOES_NOT_EXIST");
    row("result 7 (gap)", resultCodeName, 7, "Invalid value");
    row("result 14 (gap)", resultCodeName, 14, "Invalid value");
    row("result 26 (gap)", resultCodeName, 26, "Invalid value");
    row("result 141 (gap)", resultCodeName, 141, "Invalid value");
    row("result 149", resultCodeName, 149, "Combine_impossible_different_Width_Height_FPS");
    row("result 155", resultCodeName, 155, "CRTL_FILE_PERMISSION_DENIED");
    row("result 156", resultCodeName, 156, "Invalid value");
    row("op 0", progressOperationName, 0, "opProgress");
    row("op 7", progressOperationName, 7, "opDetails");
    row("op 8", progressOperationName, 8, "Invalid value");
    row("priority 1", transcodePriorityName, 1, "TP_Low");
    row("priority 4", transcodePriorityName, 4, "Invalid value");
    row("status 3", transcodeStatusName, 3, "TS_Failed");
    row("status -1", transcodeStatusName, -1, "Invalid value");
    row("subtitle kind 6", subtitleTrackKindName, 6, "ST_VOBSUB");
    row("subtitle kind 8", subtitleTrackKindName, 8, "Invalid value");
    row("plugin 4", codecPluginName, 4, "PXDolbyCodec");
    row("plugin 5", codecPluginName, 5, "Invalid value");
    row("acceleration 2", hardwareAccelerationName, 2, "IQSV");
    row("acceleration 4", hardwareAccelerationName, 4, "Invalid value");
    row("output priority 9", outputPriorityName, 9, "prioCOUNT");
    row("output priority 10", outputPriorityName, 10, "Invalid value");
    row("log 0", logMessageClassName, 0, "KAVO_NO_MSG");
    row("log 64", logMessageClassName, 64, "KAVO_DEBUG_MSG");
    row("log 256", logMessageClassName, 256, "KAVO_MSG_LAST");
    row("log 3 (two bits)", logMessageClassName, 3, "Invalid value");
    row("log 512", logMessageClassName, 512, "Invalid value");
    // The enumerators and the name table are written separately; these pairs catch a slip in
    // either.
    for (const auto& [code, name] :
         {std::pair{int(ENG_INVALID_VID_STREAM), "ENG_INVALID_VID_STREAM"},
          std::pair{int(ENG_UNSUPPORTED_FILE_TYPE), "ENG_UNSUPPORTED_FILE_TYPE"},
          std::pair{int(ENG_WRITING_ERROR), "ENG_WRITING_ERROR"},
          std::pair{int(ENG_DECODER), "ENG_DECODER"},
          std::pair{int(ENG_VC1_DEC_CREATE_ERR), "ENG_VC1_DEC_CREATE_ERR"},
          std::pair{int(ENG_DUPLICATE_CHAINFILE_WARN), "ENG_DUPLICATE_CHAINFILE_WARN"},
          std::pair{int(Aborted), "Aborted"}, std::pair{int(ENG_NOTIMPL_ERR), "ENG_NOTIMPL_ERR"}})
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
