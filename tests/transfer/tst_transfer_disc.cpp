#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "OutputReader.h"
#include "SettingsAccessors.h"
#include "TestClips.h"
#include "ToolRun.h"
#include "TransferDevice.h"
#include "TransferDevices.h"
#include "TransferRun.h"

// The real program writing a DVD+R through an image burner in its unattended mode; the image
// is read back with xorriso, a reader we did not write.
class TestTransferDisc : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void twoClips_burntToImage_readBack();

private:
    QTemporaryDir m_root;
};

void TestTransferDisc::initTestCase()
{
    QVERIFY(m_root.isValid());
    TransferRun::useRoot(m_root.path());
}

void TestTransferDisc::twoClips_burntToImage_readBack()
{
    TestClips clips(m_root.path());
    const QStringList tone{"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=2"};
    const QString holiday = clips.make(
        "holiday.mp4",
        QStringList{"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=2"} + tone +
            QStringList{"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a",
                        "aac", "-shortest"});
    const QString birthday = clips.make(
        "birthday.avi",
        QStringList{"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=2"} + tone +
            QStringList{"-c:v", "mpeg4", "-q:v", "5", "-c:a", "libmp3lame", "-shortest"});
    QVERIFY2(!holiday.isEmpty() && !birthday.isEmpty(), qPrintable(clips.lastError()));

    auto* library = TransferDevicesLibrary::TransferDevices::Instance("TransferWizard");
    std::unique_ptr<TransferDevicesLibrary::TransferDevice> device(library->CreateDevice("Den"));
    QVERIFY(device && device->SetType(1));
    const uint id = device->GetDeviceId();

    const QString image = m_root.path() + "/disc.iso";
    QVERIFY(WriteSetting("TransferWizard", "ImageBurners", ("dvd+r:" + image).toStdString()));
    const TransferRun::Result run =
        TransferRun::run(TransferRun::arguments(id, {holiday, birthday}, image, {"-profile", "3"}));
    QVERIFY2(run.exitCode == 0, qPrintable(run.output + run.errors));
    QCOMPARE(run.file("holiday.mp4").value(1), QString("arrived"));
    QCOMPARE(run.file("birthday.avi").value(1), QString("arrived"));

    const QString out = m_root.path() + "/readback";
    QCOMPARE(ToolRun::extractImage(image, out).exitCode, 0);
    QCOMPARE(QDir(out).entryList(QDir::Files), (QStringList{"birthday.avi", "holiday.kavo"}));
    QFile original(birthday);
    QFile burnt(out + "/birthday.avi");
    QVERIFY(original.open(QIODevice::ReadOnly) && burnt.open(QIODevice::ReadOnly));
    QCOMPARE(burnt.readAll(), original.readAll());
    OutputReader converted;
    QVERIFY2(converted.read(out + "/holiday.kavo"), qPrintable(converted.error()));
    QVERIFY(converted.videoFrames() >= 40);
    QCOMPARE(converted.decodeErrors(), 0);

    std::unique_ptr<TransferDevicesLibrary::TransferDevice> stored(library->GetDevice(id));
    QVERIFY(stored && stored->HasBeenConfigured());
    QCOMPARE(stored->GetLastUsedMethod(), 1);
}

QTEST_MAIN(TestTransferDisc)
#include "tst_transfer_disc.moc"
