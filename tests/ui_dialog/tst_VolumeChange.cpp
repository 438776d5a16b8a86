// Mounting and unmounting volumes while the wizard is open: the mount-table watcher and the
// dialog's refresh of its USB drives.

#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "DriveComboBox.h"
#include "FakeWizardService.h"
#include "FileInfoModel.h"
#include "PrivateEnvironment.h"
#include "TransferWizardDlg.h"
#include "VolumeChangeWatcher.h"

namespace {

WizardStartParameters startOnFilePage(const QString& drive, int driveType)
{
    WizardStartParameters p;
    p.skipProfilePage = true;
    p.driveType = driveType;
    p.driveLetter = drive.toStdU16String();
    return p;
}

USBDriveData usbDrive(const QString& name)
{
    return FakeWizardService::drive("/media/" + name, name, 4ull << 30);
}

QList<USBDriveData> usbDrives(const QStringList& names)
{
    QList<USBDriveData> drives;
    for (const QString& name : names)
        drives << usbDrive(name);
    return drives;
}

// A shell in a mount namespace of its own, so it can mount and unmount without touching the
// machine's mounts. Each line written to it runs its next step.
class MountingShell
{
public:
    bool start(const QString& mountPoint)
    {
        const QString unshare = QStandardPaths::findExecutable("unshare");
        if (unshare.isEmpty())
            return false;
        const QString script =
            QStringLiteral("echo ready; read a; mount -t tmpfs portavo-test '%1' && echo mounted; "
                           "read b; umount '%1' && echo unmounted; read c")
                .arg(mountPoint);
        m_process.start(unshare, {"-rm", "sh", "-c", script});
        return m_process.waitForStarted(10000) && waitForLine("ready");
    }
    ~MountingShell()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
    }
    // The unshare tool runs the shell in its own process: its table is this process's.
    QString mountInfoPath() const
    {
        return QStringLiteral("/proc/%1/mountinfo").arg(m_process.processId());
    }
    bool step(const char* expected)
    {
        m_process.write("\n");
        return waitForLine(expected);
    }

private:
    bool waitForLine(const char* expected)
    {
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(10000))
                return false;
        }
        return m_process.readLine().trimmed() == expected;
    }

    QProcess m_process;
};

} // namespace

class tst_VolumeChange : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        PrivateEnvironment::useHives(m_home.path());
    }

    void watcher_withoutTable_isInactive()
    {
        VolumeChangeWatcher missing(m_home.filePath("no-such-table"));
        QVERIFY(!missing.isActive());
        VolumeChangeWatcher none{QString()};
        QVERIFY(!none.isActive());
        VolumeChangeWatcher own(QStringLiteral("/proc/self/mountinfo"));
        QVERIFY(own.isActive());
    }

    // A real mount and unmount in a namespace of their own: each is reported once the table
    // changed, and the watcher stays quiet in between.
    void watcher_reportsMountAndUnmount()
    {
        QTemporaryDir mountPoint;
        MountingShell shell;
        if (!shell.start(mountPoint.path()))
            QSKIP("cannot start a shell in its own mount namespace here");
        VolumeChangeWatcher watcher(shell.mountInfoPath());
        QVERIFY(watcher.isActive());
        QSignalSpy changed(&watcher, &VolumeChangeWatcher::volumesChanged);
        if (!shell.step("mounted"))
            QSKIP("mounting is not permitted here");
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 1, 10000);
        QVERIFY(shell.step("unmounted"));
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 2, 10000);
        // Re-reading the table cleared the change; nothing more is reported.
        QTest::qWait(200);
        QCOMPARE(changed.count(), 2);
    }

    // The dialog built on that table reads the USB drives again when a volume is mounted.
    void dialog_refreshesDrivesOnMount()
    {
        QTemporaryDir mountPoint;
        MountingShell shell;
        if (!shell.start(mountPoint.path()))
            QSKIP("cannot start a shell in its own mount namespace here");
        FakeWizardService service;
        service.usb = usbDrives({"A"});
        TransferWizardDlg dlg(&service, shell.mountInfoPath());
        dlg.setWizardStartParameters(startOnFilePage("/media/A", 1));
        auto* combo = dlg.findChild<DriveComboBox*>("driveComboBox");
        QCOMPARE(combo->count(), 2);
        service.usb = usbDrives({"B", "A"});
        if (!shell.step("mounted"))
            QSKIP("mounting is not permitted here");
        QTRY_COMPARE_WITH_TIMEOUT(combo->count(), 3, 10000);
        QCOMPARE(combo->currentText(), QString("A"));
    }

    void filePage_refillsComboAndKeepsChosenDrive_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<int>("method");
        QTest::addColumn<QString>("comboText");
        QTest::addColumn<int>("comboCount");
        QTest::addColumn<QString>("warning");
        const QString noUSB = "No USB drive found. Please insert USB drive.";
        // The combo holds the burner (or its placeholder) and the USB entries.
        QTest::newRow("stick inserted before the chosen one")
            << QStringList{"A"} << "/media/A" << QStringList{"B", "A"} << 1 << "A" << 3
            << QString();
        QTest::newRow("other stick removed") << QStringList{"A", "B"} << "/media/B"
                                             << QStringList{"B"} << 1 << "B" << 2 << QString();
        QTest::newRow("chosen stick removed, another left")
            << QStringList{"A", "B"} << "/media/B" << QStringList{"A"} << 1 << "A" << 2
            << QString();
        QTest::newRow("last stick removed") << QStringList{"A"} << "/media/A" << QStringList{} << 1
                                            << "Insert USB drive" << 2 << noUSB;
        QTest::newRow("burner chosen, stick inserted")
            << QStringList{} << "/dev/sr0" << QStringList{"A"} << 0 << "DVD RW" << 2 << QString();
    }
    void filePage_refillsComboAndKeepsChosenDrive()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, chosen);
        QFETCH(QStringList, after);
        QFETCH(int, method);
        QFETCH(QString, comboText);
        QFETCH(int, comboCount);
        QFETCH(QString, warning);
        FakeWizardService service;
        service.burners << FakeWizardService::drive("/dev/sr0", "DVD RW", 4ull << 30);
        service.usb = usbDrives(before);
        TransferWizardDlg dlg(&service, QString());
        dlg.setWizardStartParameters(startOnFilePage(chosen, chosen.startsWith("/dev") ? 0 : 1));
        QCOMPARE(dlg.currentPage(), int(TransferWizardDlg::FileListPage));

        service.usb = usbDrives(after);
        // Only the USB drives are read again: a burner that went away stays listed.
        service.burners.clear();
        dlg.volumesChanged();

        auto* combo = dlg.findChild<DriveComboBox*>("driveComboBox");
        QCOMPARE(dlg.currentMethod(), method);
        QCOMPARE(combo->count(), comboCount);
        QCOMPARE(combo->currentText(), comboText);
        QCOMPARE(combo->item(0)->text, QString("DVD RW"));
        auto* message = dlg.findChild<QLabel*>("warningDeviceIsfull");
        QCOMPARE(message->text(), warning);
        QCOMPARE(dlg.currentPage(), int(TransferWizardDlg::FileListPage));
    }

    void transferPage_endsWhenDestinationGoes_data()
    {
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<bool>("finishedFirst");
        QTest::addColumn<bool>("canceled");
        QTest::newRow("destination removed") << QStringList{"B"} << false << true;
        QTest::newRow("all sticks removed") << QStringList{} << false << true;
        QTest::newRow("other stick removed") << QStringList{"A"} << false << false;
        QTest::newRow("stick inserted") << QStringList{"C", "A", "B"} << false << false;
        QTest::newRow("removed after the transfer ended") << QStringList{} << true << false;
    }
    void transferPage_endsWhenDestinationGoes()
    {
        QFETCH(QStringList, after);
        QFETCH(bool, finishedFirst);
        QFETCH(bool, canceled);
        FakeWizardService service;
        service.usb = usbDrives({"A", "B"});
        service.transcodeCount = 1;
        TransferWizardDlg dlg(&service, QString());
        dlg.setWizardStartParameters(startOnFilePage("/media/A", 1));
        const QString clip = m_home.filePath("clip.mp4");
        QFile file(clip);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(1000));
        file.close();
        FileInfoModel::Estimate estimate;
        estimate.outputBytes = 1000;
        dlg.fileModel()->insertFiles({FileInfoModel::SourceFile::fromPath(clip)}, {QString()},
                                     {estimate}, {clip}, false);
        dlg.startButtonClicked();
        QCOMPARE(dlg.currentPage(), int(TransferWizardDlg::TransferProgressPage));
        QVERIFY(!dlg.isTransferEnded());
        if (finishedFirst)
            dlg.fileSaveDone();

        QSignalSpy removed(&dlg, &TransferWizardDlg::destinationDriveRemoved);
        service.usb = usbDrives(after);
        dlg.volumesChanged();
        QCOMPARE(removed.count(), canceled ? 1 : 0);
        QCOMPARE(service.cancelTransferCalls, canceled ? 1 : 0);
        QCOMPARE(dlg.isTransferEnded(), true == (canceled || finishedFirst));
        QCOMPARE(dlg.currentPage(), int(canceled ? TransferWizardDlg::FinishPage
                                                 : TransferWizardDlg::TransferProgressPage));
    }

private:
    QTemporaryDir m_home;
};

QTEST_MAIN(tst_VolumeChange)
#include "tst_VolumeChange.moc"
