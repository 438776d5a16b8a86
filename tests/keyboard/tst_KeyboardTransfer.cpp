#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

#include "FileInfoModel.h"
#include "KeyPresses.h"
#include "OutputReader.h"
#include "PrivateEnvironment.h"
#include "SettingsAccessors.h"
#include "SuperComboBox.h"
#include "TestClips.h"
#include "TransferWizardController.h"
#include "TransferWizardDlg.h"

// The wizard from the welcome page to Finish with nothing but key presses: the profile and
// the USB method chosen with the arrows, the second of two USB drives chosen in the drive
// picker, Start with Enter, Done and Finish with Enter. One video is converted, one copied as
// it is; both must arrive on the chosen drive and nothing on the other.
class TestKeyboardTransfer : public QObject
{
    Q_OBJECT

public:
    explicit TestKeyboardTransfer(QString root) : m_root(std::move(root)) {}

private slots:
    void keysOnly_welcomeToFinish_onTheSecondDrive();

private:
    QString m_root;
};

void TestKeyboardTransfer::keysOnly_welcomeToFinish_onTheSecondDrive()
{
    TestClips clips(m_root + "/videos");
    QDir().mkpath(m_root + "/videos");
    const QStringList source{"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=1",
                             "-f", "lavfi", "-i", "sine=frequency=440:duration=1"};
    const QString converted = clips.make(
        "holiday.mp4", source + QStringList{"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt",
                                            "yuv420p", "-c:a", "aac", "-shortest"});
    const QString direct =
        clips.make("birthday.avi", source + QStringList{"-c:v", "mpeg4", "-q:v", "5", "-c:a",
                                                        "libmp3lame", "-shortest"});
    QVERIFY2(!converted.isEmpty() && !direct.isEmpty(), qPrintable(clips.lastError()));

    const QString first = m_root + "/stickA";
    const QString second = m_root + "/stickB";
    QDir().mkpath(first);
    QDir().mkpath(second);
    QVERIFY(WriteSetting("TransferWizard", "ExtraDrives", (first + ";" + second).toStdString()));

    TransferWizardController controller;
    TransferWizardDlg* dlg = controller.dialog();
    // A TV that was never set up: every page of the wizard shows.
    controller.launchWizard({converted, direct}, 10002, false);
    // The analysis window holds the keyboard until both videos are analysed (long on a busy
    // machine); then the wizard must have it back.
    QTRY_COMPARE_WITH_TIMEOUT(dlg->fileModel()->rowCount(), 2, 60000);
    QVERIFY(QTest::qWaitForWindowActive(dlg, 10000));
    KeyPresses::mainWindow() = dlg;
    auto* stack = dlg->findChild<QStackedWidget*>("Stack");
    QVERIFY(stack);
    QVERIFY(KeyPresses::returnToMainWindow());

    QCOMPARE(stack->currentIndex(), int(TransferWizardDlg::WelcomePage));
    QVERIFY(KeyPresses::press(Qt::Key_Return));
    QCOMPARE(stack->currentIndex(), int(TransferWizardDlg::DeviceTypePage));
    QVERIFY(KeyPresses::press(Qt::Key_Return));
    QCOMPARE(dlg->currentProfile(), 3);
    QCOMPARE(stack->currentIndex(), int(TransferWizardDlg::TransferMethodPage));
    // Without a burner the USB drive is chosen already; Down keeps it.
    QVERIFY(KeyPresses::press(Qt::Key_Down));
    QCOMPARE(dlg->currentMethod(), 1);
    QVERIFY(KeyPresses::press(Qt::Key_Return));
    QCOMPARE(stack->currentIndex(), int(TransferWizardDlg::FileListPage));

    auto* picker = dlg->findChild<SuperComboBox*>("driveComboBox");
    QVERIFY(picker);
    QCOMPARE(picker->currentText(), QString("stickA"));
    QVERIFY(KeyPresses::returnToMainWindow());
    for (int i = 0; i < 10 && QApplication::focusWidget() != picker; ++i)
        QVERIFY(KeyPresses::press(Qt::Key_Tab));
    QCOMPARE(QApplication::focusWidget(), picker);
    QVERIFY(KeyPresses::press(Qt::Key_Space));
    QTRY_VERIFY_WITH_TIMEOUT(picker->isPopupVisible(), 5000);
    QVERIFY(KeyPresses::press(Qt::Key_Down));
    QVERIFY(KeyPresses::press(Qt::Key_Return));
    QVERIFY(!picker->isPopupVisible());
    QCOMPARE(picker->currentText(), QString("stickB"));
    QVERIFY(KeyPresses::press(Qt::Key_Return));
    QCOMPARE(stack->currentIndex(), int(TransferWizardDlg::TransferProgressPage));

    QTRY_VERIFY_WITH_TIMEOUT(dlg->isTransferEnded(), 120000);
    QVERIFY(KeyPresses::returnToMainWindow());
    QCOMPARE(QApplication::focusWidget(), dlg->findChild<QWidget*>("nextButton"));
    QVERIFY(KeyPresses::press(Qt::Key_Return));
    QCOMPARE(stack->currentIndex(), int(TransferWizardDlg::FinishPage));
    QVERIFY(KeyPresses::press(Qt::Key_Return));
    QTRY_VERIFY_WITH_TIMEOUT(!dlg->isVisible(), 30000);
    QCOMPARE(dlg->result(), int(QDialog::Accepted));

    const QStringList arrived = QDir(second).entryList(QDir::Files);
    QCOMPARE(arrived, (QStringList{"birthday.avi", "holiday.kavo"}));
    QVERIFY(QDir(first).entryList(QDir::Files | QDir::Hidden).isEmpty());
    for (const QString& name : arrived) {
        OutputReader reader;
        QVERIFY2(reader.read(second + "/" + name), qPrintable(reader.error()));
        QCOMPARE(reader.decodeErrors(), 0);
        QVERIFY(reader.videoFrames() >= 20);
    }
}

int main(int argc, char** argv)
{
    return PrivateEnvironment::exec<QApplication, TestKeyboardTransfer>(argc, argv);
}

#include "tst_KeyboardTransfer.moc"
