#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "FileInfoModel.h"
#include "QueueTestSupport.h"
#include "SettingsAccessors.h"
#include "SuperComboBox.h"
#include "TransferWizardController.h"
#include "TransferWizardDlg.h"

using namespace QueueTestSupport;

// "Back to the list" through the real wizard, engine and copier: after a transfer to a USB
// folder ended by a failure or a cancel, the list, the device, the destination and the converted
// files stay, and a second Start writes only what did not arrive, without converting again.
class TestWizardRetry : public QObject
{
    Q_OBJECT

public:
    explicit TestWizardRetry(const QString& root) : m_root(root) {}

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void backToList_writesOnlyWhatDidNotArrive_data();
    void backToList_writesOnlyWhatDidNotArrive();

private:
    QString clip(const QString& name) const { return m_root + "/clips/" + name; }
    QStringList stickFiles() const
    {
        return QDir(m_stick).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    TransferWizardDlg* dialog() const { return m_controller->dialog(); }
    FileInfoModel* model() const { return dialog()->fileModel(); }
    QString endText() const { return dialog()->findChild<QLabel*>("transcode_writeLabel")->text(); }
    // Starts the transfer from the file page, to the USB folder.
    void start();

    QString m_root;
    QString m_stick;
    QTimer m_boxes;
    std::unique_ptr<TransferWizardController> m_controller;
};

void TestWizardRetry::initTestCase()
{
    const QString dir = m_root + "/clips";
    QVERIFY(!makeFittingClip(dir, "fit.avi").isEmpty());
    QVERIFY(!makeConvertClip(dir, "c1.mp4").isEmpty());
    QVERIFY(!makeConvertClip(dir, "c2.mp4").isEmpty());
    m_stick = m_root + "/stick";
    QVERIFY(WriteSetting("TransferWizard", "ExtraDrives", m_stick.toStdString()));
    // Message boxes are answered as the user who wants to go on would: Yes where asked.
    connect(&m_boxes, &QTimer::timeout, this, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            if (QAbstractButton* yes = box->button(QMessageBox::Yes))
                yes->click();
            else
                box->done(QMessageBox::Ok);
        }
    });
    m_boxes.start(10);
}

void TestWizardRetry::init()
{
    QDir(m_stick).removeRecursively();
    QVERIFY(QDir().mkpath(m_stick));
    m_controller = std::make_unique<TransferWizardController>();
    m_controller->launchWizard({clip("fit.avi"), clip("c1.mp4"), clip("c2.mp4")}, 0, false);
    QTRY_COMPARE_WITH_TIMEOUT(model()->rowCount(), 3, 120000);
    QVERIFY(m_controller->waitForWorker(60000));
}

void TestWizardRetry::cleanup()
{
    m_controller.reset();
}

void TestWizardRetry::start()
{
    while (dialog()->currentPage() < TransferWizardDlg::FileListPage)
        dialog()->nextPage();
    auto* combo = dialog()->findChild<SuperComboBox*>("driveComboBox");
    QVERIFY(combo);
    // The USB group follows the burner placeholder: the folder drive is the second entry.
    combo->setCurrentIndex(1);
    QVERIFY(dialog()->findChild<QRadioButton*>("CopyToUSBRadioButton")->isChecked());
    dialog()->startButtonClicked();
    QCOMPARE(dialog()->currentPage(), int(TransferWizardDlg::TransferProgressPage));
}

void TestWizardRetry::backToList_writesOnlyWhatDidNotArrive_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("drive gone after the first file") << false;
    QTest::newRow("cancelled during the second file") << true;
}

void TestWizardRetry::backToList_writesOnlyWhatDidNotArrive()
{
    QFETCH(bool, cancel);
    // The copier holds at the second file until the test has ended the transfer there.
    QSemaphore gate;
    const auto hold = connect(
        m_controller.get(), &TransferWizardController::fileSaveStarted, m_controller.get(),
        [&](int index) {
            if (index != 1)
                return;
            if (!cancel)
                QDir(m_stick).removeRecursively();
            else
                QMetaObject::invokeMethod(dialog(), [&] {
                    dialog()->cancelProcessWarning();
                    gate.release();
                });
            if (cancel)
                gate.tryAcquire(1, 60000);
        },
        Qt::DirectConnection);
    start();
    QTRY_VERIFY_WITH_TIMEOUT(dialog()->isTransferEnded(), 240000);
    disconnect(hold);
    QVERIFY(m_controller->waitForWorker(60000));

    // The page says what happened and offers the way back; nothing claims to be done.
    auto* back = dialog()->findChild<QPushButton*>("backButton");
    QVERIFY(back->isVisible());
    QCOMPARE(back->text(), QString("Back to the list"));
    QVERIFY(dialog()->findChild<QLabel*>("progressPercentText")->text() != "100");
    QVERIFY(dialog()->findChild<QLabel*>("transferTimeLeftLabel")->text().isEmpty());
    QCOMPARE(model()->status(0), int(FileInfoModel::Finished));
    if (cancel) {
        QCOMPARE(endText(), QString("Transfer canceled."));
        QCOMPARE(model()->status(2), int(FileInfoModel::Canceled));
    } else {
        QVERIFY2(endText().contains("is no longer available"), qPrintable(endText()));
        QCOMPARE(model()->status(1), int(FileInfoModel::WriteError));
        QCOMPARE(model()->status(2), int(FileInfoModel::NotCopied));
    }
    const QString c1 = model()->outputPath(1);
    const QString c2 = model()->outputPath(2);
    QVERIFY(QFileInfo::exists(c1) && QFileInfo::exists(c2));
    const QDateTime c1Made = QFileInfo(c1).lastModified();
    const QDateTime c2Made = QFileInfo(c2).lastModified();

    // The drive is back (or was there all along); back to the list.
    QVERIFY(QDir().mkpath(m_stick));
    const QStringList before = stickFiles();
    back->click();
    QCOMPARE(dialog()->currentPage(), int(TransferWizardDlg::FileListPage));
    QCOMPARE(model()->rowCount(), 2); // the video that arrived left the list
    QCOMPARE(model()->sourcePath(0), clip("c1.mp4"));
    QCOMPARE(model()->status(0), int(FileInfoModel::Ready));
    QCOMPARE(model()->status(1), int(FileInfoModel::Ready));

    dialog()->startButtonClicked();
    QTRY_VERIFY_WITH_TIMEOUT(dialog()->isTransferEnded(), 240000);
    QCOMPARE(endText(), QString("Transfer completed."));
    QVERIFY(m_controller->waitForWorker(60000));
    // Only the two converted videos were written, and neither was converted again.
    QStringList expected = before;
    expected << "c1.kavo"
             << "c2.kavo";
    expected.sort();
    QCOMPARE(stickFiles(), expected);
    QCOMPARE(QFileInfo(c1).lastModified(), c1Made);
    QCOMPARE(QFileInfo(c2).lastModified(), c2Made);
    QCOMPARE(before.contains("fit.avi"), cancel); // a gone drive took it along
}

int main(int argc, char** argv)
{
    QTemporaryDir root;
    QueueTestSupport::usePrivateEnvironment(root.path());
    QApplication app(argc, argv);
    TestWizardRetry test(root.path());
    return QTest::qExec(&test, argc, argv);
}

#include "tst_wizard_retry.moc"
