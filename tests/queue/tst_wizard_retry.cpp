#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMap>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "FileInfoModel.h"
#include "PrivateEnvironment.h"
#include "SettingsAccessors.h"
#include "SuperComboBox.h"
#include "TestClips.h"
#include "TransferSession.h"
#include "TransferWizardController.h"
#include "TransferWizardDlg.h"

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
    QVERIFY(!TestClips(dir).fitting("fit.avi").isEmpty());
    QVERIFY(!TestClips(dir).converting("c1.mp4").isEmpty());
    QVERIFY(!TestClips(dir).converting("c2.mp4").isEmpty());
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
    QTest::newRow("no room for the second file") << false;
    QTest::newRow("cancelled after the first conversion") << true;
}

void TestWizardRetry::backToList_writesOnlyWhatDidNotArrive()
{
    QFETCH(bool, cancel);
    // A drive on which every name the copier would give the first converted video is taken
    // (by other files): its copy fails, and the copy goes on with the one after it.
    const QStringList blockers = [] {
        QStringList names{"c1.kavo"};
        for (int n = 2; n <= 9999; ++n)
            names << QString("c1 (%1).kavo").arg(n);
        return names;
    }();
    if (!cancel) {
        for (const QString& name : blockers) {
            QFile blocker(m_stick + "/" + name);
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
    }
    start();
    if (cancel) {
        // The user cancels as soon as the first video is converted.
        QVERIFY(m_controller->session());
        connect(
            m_controller->session(), &TransferSession::converted, dialog(),
            [this] { dialog()->cancelProcessWarning(); }, Qt::QueuedConnection);
    }
    QTRY_VERIFY_WITH_TIMEOUT(dialog()->isTransferEnded(), 240000);
    QVERIFY(m_controller->waitForWorker(60000));
    QTRY_VERIFY_WITH_TIMEOUT(m_controller->session()->isFinished(), 60000);

    // The page says what happened and offers the way back; nothing claims to be done.
    auto* back = dialog()->findChild<QPushButton*>("backButton");
    QVERIFY(back->isVisible());
    QCOMPARE(back->text(), QString("Back to the list"));
    QVERIFY(dialog()->findChild<QLabel*>("progressPercentText")->text() != "100");
    QVERIFY(dialog()->findChild<QLabel*>("transferTimeLeftLabel")->text().isEmpty());
    if (cancel) {
        QCOMPARE(endText(), QString("Transfer canceled."));
    } else {
        QVERIFY2(endText().contains("no free file name"), qPrintable(endText()));
        QCOMPARE(model()->status(0), int(FileInfoModel::Finished));
        QCOMPARE(model()->status(1), int(FileInfoModel::WriteError));
        QCOMPARE(model()->status(2), int(FileInfoModel::Finished));
        for (const QString& name : blockers)
            QVERIFY(QFile::remove(m_stick + "/" + name));
    }
    QStringList arrived;
    QMap<QString, QDateTime> made;
    for (int row = 0; row < model()->rowCount(); ++row) {
        if (model()->status(row) == FileInfoModel::Finished)
            arrived << model()->sourcePath(row);
        const QFileInfo output(model()->outputPath(row));
        if (!model()->outputPath(row).isEmpty() && output.exists())
            made.insert(output.filePath(), output.lastModified());
    }
    QVERIFY(!made.isEmpty()); // at least the first conversion is there to be kept
    // What arrived is taken off the drive: a second Start must not write it again.
    for (const QString& name : stickFiles())
        QVERIFY(QFile::remove(m_stick + "/" + name));

    back->click();
    QCOMPARE(dialog()->currentPage(), int(TransferWizardDlg::FileListPage));
    QCOMPARE(model()->rowCount(), 3 - int(arrived.size())); // what arrived left the list
    for (int row = 0; row < model()->rowCount(); ++row)
        QVERIFY(!arrived.contains(model()->sourcePath(row)));

    dialog()->startButtonClicked();
    QTRY_VERIFY_WITH_TIMEOUT(dialog()->isTransferEnded(), 240000);
    QCOMPARE(endText(), QString("Transfer completed."));
    QVERIFY(m_controller->waitForWorker(60000));
    // Exactly what had not arrived was written, and nothing converted was converted again.
    QStringList expected;
    for (const QString& source : {clip("fit.avi"), clip("c1.mp4"), clip("c2.mp4")}) {
        if (!arrived.contains(source))
            expected << (source.endsWith(".avi") ? "fit.avi"
                                                 : QFileInfo(source).completeBaseName() + ".kavo");
    }
    expected.sort();
    QCOMPARE(stickFiles(), expected);
    for (auto it = made.cbegin(); it != made.cend(); ++it)
        QCOMPARE(QFileInfo(it.key()).lastModified(), it.value());
}

int main(int argc, char** argv)
{
    return PrivateEnvironment::exec<QApplication, TestWizardRetry>(argc, argv);
}

#include "tst_wizard_retry.moc"
