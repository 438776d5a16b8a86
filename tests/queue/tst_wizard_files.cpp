#include <QAbstractItemView>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <functional>
#include <memory>

#include "ErrorDialog.h"
#include "FileInfoModel.h"
#include "PrivateEnvironment.h"
#include "ProgressDialog.h"
#include "ReadingAsAnyUser.h"
#include "TestClips.h"
#include "TransferWizardController.h"
#include "UnSupportedFileTypeDlg.h"

namespace {

// Answers the wizard's windows as a user would, and remembers what they said: closes error,
// unsupported-file and message boxes, and presses Cancel on the analysis progress window when
// it shows cancelAt.
class WindowWatcher : public QObject
{
public:
    WindowWatcher()
    {
        connect(&m_timer, &QTimer::timeout, this, &WindowWatcher::look);
        m_timer.start(10);
    }

    QStringList errorRows;
    QStringList errorLinks;
    QStringList unsupported;
    QStringList boxes;
    QStringList progressTexts;
    QString cancelAt;
    std::function<void()> afterCancel;
    QString pick;
    QStringList fileFilters;
    QString fileFolder;
    QStringList order;

private:
    void look()
    {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible())
                continue;
            if (auto* progress = qobject_cast<kvqs::ProgressDialog*>(w)) {
                const QString text = progress->text();
                if (!progressTexts.contains(text))
                    progressTexts << text;
                if (!cancelAt.isEmpty() && text == cancelAt) {
                    cancelAt.clear();
                    QMetaObject::invokeMethod(progress, "onCancel");
                    if (afterCancel)
                        afterCancel();
                }
            } else if (auto* errors = qobject_cast<ErrorDialog*>(w)) {
                QTreeWidget* tree = errors->treeWidget();
                for (int i = 0; i < tree->topLevelItemCount(); ++i) {
                    auto* name = qobject_cast<QLabel*>(tree->itemWidget(tree->topLevelItem(i), 2));
                    auto* link = qobject_cast<QLabel*>(tree->itemWidget(tree->topLevelItem(i), 1));
                    errorRows << (name ? name->toolTip() : QString());
                    errorLinks << (link ? link->text() : QString());
                }
                order << "errors";
                errors->reject();
            } else if (auto* types = qobject_cast<UnSupportedFileTypeDlg*>(w)) {
                for (int i = 0; i < types->fileNameList()->count(); ++i)
                    unsupported << types->fileNameList()->item(i)->text();
                order << "unsupported";
                types->reject();
            } else if (auto* files = qobject_cast<QFileDialog*>(w)) {
                fileFilters = files->nameFilters();
                fileFolder = files->directory().absolutePath();
                order << "files";
                if (pick.isEmpty()) {
                    files->reject();
                } else if (auto* name = files->findChild<QLineEdit*>("fileNameEdit")) {
                    // Typed in as a user would: a full path needs no listing of the folder.
                    name->setText(pick);
                    pick.clear();
                    static_cast<QDialog*>(files)->accept();
                } else {
                    files->reject();
                }
            } else if (auto* box = qobject_cast<QMessageBox*>(w)) {
                boxes << box->windowTitle() + "|" + box->text();
                order << "box";
                box->done(QMessageBox::Ok);
            }
        }
    }

    QTimer m_timer;
};

QStringList modelFiles(FileInfoModel* model)
{
    QStringList files;
    for (int row = 0; row < model->rowCount(); ++row)
        files << model->sourcePath(row);
    return files;
}

} // namespace

// The real wizard, offscreen: files from the command line, by drag and drop, analysis with its
// progress window and cancel, refused and unsupported files, the queue, remove and the
// information box.
class TestWizardFiles : public QObject
{
    Q_OBJECT

public:
    explicit TestWizardFiles(const QString& root) : m_root(root) {}

private slots:
    void initTestCase();
    void cleanupTestCase();
    void startFiles_analysed_withErrorsAndUnsupportedTypes();
    void addButton_offersEngineTypes_andAddsChosenFile();
    void dragAndDrop_addsFiles_andRefusesQueuedOnes();
    void fileClicked_explainsConversionTime();
    void remove_takesFilesOutOfQueue();
    void cancelAnalysis_keepsFilesAnalysedSoFar();

private:
    QString clip(const QString& name) const { return m_root + "/clips/" + name; }
    void drop(const QStringList& files);
    FileInfoModel* model() { return m_controller->dialog()->fileModel(); }

    QString m_root;
    std::unique_ptr<TransferWizardController> m_controller;
    std::unique_ptr<WindowWatcher> m_watcher;
};

void TestWizardFiles::initTestCase()
{
    const QString dir = m_root + "/clips";
    QVERIFY(!TestClips(dir).fitting("fit.avi").isEmpty());
    QVERIFY(!TestClips(dir).converting("convert.mp4").isEmpty());
    QVERIFY(!TestClips(dir).damaged("damaged.avi").isEmpty());
    QVERIFY(!TestClips(dir).damaged("notes.xyz").isEmpty());
    // A video nobody may read.
    const QString locked = TestClips(dir).fitting("locked.avi");
    QVERIFY(!locked.isEmpty());
    QVERIFY(QFile::setPermissions(locked, QFileDevice::WriteOwner));
    // A video whose name says it is music: the engine reads it all the same.
    QVERIFY(QFile::rename(TestClips(dir).fitting("renamed.avi"), dir + "/renamed.flac"));
    QVERIFY(!TestClips(dir).converting("second.mkv").isEmpty());
    for (const char* name : {"c1.mp4", "c2.mp4", "c3.mp4"})
        QVERIFY(!TestClips(dir).converting(name).isEmpty());
    m_watcher = std::make_unique<WindowWatcher>();
    m_controller = std::make_unique<TransferWizardController>();
}

void TestWizardFiles::cleanupTestCase()
{
    m_controller.reset();
    m_watcher.reset();
}

void TestWizardFiles::drop(const QStringList& files)
{
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString& f : files)
        urls << QUrl::fromLocalFile(f);
    mime.setUrls(urls);
    // As a real drag does: enter first, then drop.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_controller->dialog(), &enter);
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_controller->dialog(), &event);
}

void TestWizardFiles::startFiles_analysed_withErrorsAndUnsupportedTypes()
{
    {
        const ReadingAsAnyUser reading;
        QVERIFY(reading.ok());
        m_controller->launchWizard({clip("fit.avi"), clip("convert.mp4"), clip("damaged.avi"),
                                    clip("notes.xyz"), clip("renamed.flac"), clip("locked.avi")},
                                   0, false);
        QTRY_VERIFY_WITH_TIMEOUT(!m_watcher->unsupported.isEmpty(), 120000);
    }

    // The file of an unknown type that the engine read is added, and not called unsupported.
    QCOMPARE(modelFiles(model()),
             QStringList({clip("fit.avi"), clip("convert.mp4"), clip("renamed.flac")}));
    QString name;
    int conversion = -1, write = -1, status = -1;
    QVERIFY(model()->rowValues(0, name, conversion, write, status));
    QCOMPARE(conversion, 0); // plays as it is
    QVERIFY(model()->rowValues(1, name, conversion, write, status));
    QVERIFY(conversion >= 1);
    QVERIFY(model()->outputBytes(0) > 0);
    QVERIFY(model()->outputBytes(1) > 0);
    const QString temp = TransferWizardController::tempDir().absolutePath();
    QCOMPARE(model()->outputPath(1), temp + "/convert.kavo");
    QVERIFY(model()->totalOutputBytes() >= model()->outputBytes(0) + model()->outputBytes(1));

    // The damaged and the locked file are refused with their error, its help link and the
    // reason in words; the unreadable file of an unknown type is named in its own window, after
    // the error window.
    QCOMPARE(m_watcher->errorRows, QStringList({clip("damaged.avi"), clip("locked.avi")}));
    QCOMPARE(m_watcher->errorLinks.size(), 2);
    QVERIFY(m_watcher->errorLinks[0].contains("href="));
    QVERIFY2(m_watcher->errorLinks[0].endsWith("</a> not a video file"),
             qPrintable(m_watcher->errorLinks[0]));
    QVERIFY2(m_watcher->errorLinks[1].endsWith("</a> no permission to read it"),
             qPrintable(m_watcher->errorLinks[1]));
    QCOMPARE(m_watcher->unsupported, QStringList{"notes.xyz"});
    QCOMPARE(m_watcher->order, QStringList({"errors", "unsupported"}));
    QVERIFY(m_watcher->progressTexts.contains("Analyzing... 6/6"));
    // The estimate shown is the list's, and the conversion makes it more than nothing.
    auto* timeLeft = m_controller->dialog()->findChild<QLabel*>("timeLeftLabel");
    QVERIFY(timeLeft);
    QCOMPARE(timeLeft->text(), model()->totalTimeText());
    QVERIFY(timeLeft->text() != FileInfoModel::durationText(0));

    TranscodeJob job;
    QVERIFY(m_controller->findQueuedFile(clip("convert.mp4"), job));
    QVERIFY(!m_controller->findQueuedFile(clip("fit.avi"), job));

    // The tests below start from the two videos.
    auto* view = m_controller->dialog()->findChild<QAbstractItemView*>("fileListTableView");
    view->selectionModel()->select(model()->index(2, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_controller->dialog()->removeFiles();
    QCOMPARE(model()->rowCount(), 2);
}

void TestWizardFiles::addButton_offersEngineTypes_andAddsChosenFile()
{
    const int before = model()->rowCount();
    m_watcher->pick = clip("second.mkv");
    m_controller->dialog()->addFiles();
    QVERIFY(m_watcher->pick.isEmpty());
    QVERIFY(!m_watcher->fileFilters.isEmpty());
    QVERIFY(m_watcher->fileFilters.first().startsWith("All Video files ("));
    QVERIFY(m_watcher->fileFilters.first().contains("*.mkv"));
    // Nothing was browsed yet: the dialog opens where the listed videos are.
    QCOMPARE(m_watcher->fileFolder, QFileInfo(clip("fit.avi")).absolutePath());
    QTRY_COMPARE_WITH_TIMEOUT(model()->rowCount(), before + 1, 120000);
    QCOMPARE(model()->sourcePath(before), clip("second.mkv"));
    // The chosen folder is remembered for the next time.
    QString last;
    QVERIFY(m_controller->getLastBrowsedDir(last));
    QCOMPARE(last, QFileInfo(clip("second.mkv")).absolutePath());
    // Taken out again, so the drop below adds it anew.
    auto* view = m_controller->dialog()->findChild<QAbstractItemView*>("fileListTableView");
    QVERIFY(view);
    view->selectionModel()->select(model()->index(before, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_controller->dialog()->removeFiles();
    QCOMPARE(model()->rowCount(), before);
}

void TestWizardFiles::dragAndDrop_addsFiles_andRefusesQueuedOnes()
{
    // Files are dropped on the file page, as a user reaches it.
    TransferWizardDlg* dlg = m_controller->dialog();
    for (int i = 0; i < 6 && dlg->currentPageName() != "FILELISTPAGE"; ++i)
        dlg->nextPage();
    QCOMPARE(dlg->currentPageName(), QStringLiteral("FILELISTPAGE"));
    QVERIFY(dlg->acceptDrops());
    {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(clip("notes.xyz"))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        enter.setAccepted(false);
        QApplication::sendEvent(m_controller->dialog(), &enter);
        QVERIFY(!enter.isAccepted());
        mime.setUrls(
            {QUrl::fromLocalFile(clip("notes.xyz")), QUrl::fromLocalFile(clip("second.mkv"))});
        QDragEnterEvent enter2(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                               Qt::NoModifier);
        enter2.setAccepted(false);
        QApplication::sendEvent(m_controller->dialog(), &enter2);
        QVERIFY(enter2.isAccepted());
    }
    m_watcher->boxes.clear();
    drop({clip("second.mkv")});
    QTRY_COMPARE_WITH_TIMEOUT(model()->rowCount(), 3, 120000);
    QCOMPARE(model()->sourcePath(2), clip("second.mkv"));

    // Already queued: refused with the queue box, nothing analysed again.
    drop({clip("convert.mp4")});
    QTRY_COMPARE_WITH_TIMEOUT(m_watcher->boxes.size(), 1, 30000);
    QVERIFY(m_watcher->boxes[0].startsWith("Input files already in queue|"));
    QVERIFY(m_watcher->boxes[0].contains(clip("convert.mp4")));
    QCOMPARE(model()->rowCount(), 3);
}

void TestWizardFiles::fileClicked_explainsConversionTime()
{
    m_watcher->boxes.clear();
    // A file used unchanged has nothing to explain.
    m_controller->dialog()->fileClicked(model()->index(0, 2));
    QCOMPARE(m_watcher->boxes.size(), 0);
    m_controller->dialog()->fileClicked(model()->index(1, 2));
    QTRY_COMPARE_WITH_TIMEOUT(m_watcher->boxes.size(), 1, 10000);
    QVERIFY(m_watcher->boxes[0].startsWith("File Information|"));
}

void TestWizardFiles::remove_takesFilesOutOfQueue()
{
    auto* view = m_controller->dialog()->findChild<QAbstractItemView*>("fileListTableView");
    QVERIFY(view);
    view->selectionModel()->select(model()->index(1, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_controller->dialog()->removeFiles();
    QCOMPARE(modelFiles(model()), QStringList({clip("fit.avi"), clip("second.mkv")}));
    TranscodeJob job;
    QVERIFY(!m_controller->findQueuedFile(clip("convert.mp4"), job));
    QVERIFY(m_controller->findQueuedFile(clip("second.mkv"), job));
    // Once removed, the file can be added again.
    drop({clip("convert.mp4")});
    QTRY_COMPARE_WITH_TIMEOUT(model()->rowCount(), 3, 120000);
    QVERIFY(m_controller->findQueuedFile(clip("convert.mp4"), job));
}

void TestWizardFiles::cancelAnalysis_keepsFilesAnalysedSoFar()
{
    const int before = model()->rowCount();
    m_watcher->progressTexts.clear();
    m_watcher->errorRows.clear();
    // The worker holds before the second file until the user has pressed Cancel on
    // "Analyzing... 2/3", so the cancel lands while that file is being analysed.
    QSemaphore gate;
    const auto hold = connect(
        m_controller.get(), &TransferWizardController::analyzeItem, m_controller.get(),
        [&gate](int index, int) {
            if (index == 1)
                gate.tryAcquire(1, 60000);
        },
        Qt::DirectConnection);
    m_watcher->afterCancel = [&gate] { gate.release(); };
    m_watcher->cancelAt = "Analyzing... 2/3";
    const QStringList three = {clip("c1.mp4"), clip("c2.mp4"), clip("c3.mp4")};
    drop(three);
    disconnect(hold);
    m_watcher->afterCancel = nullptr;
    QVERIFY(m_watcher->cancelAt.isEmpty());
    QVERIFY(m_controller->waitForWorker(60000));
    // The first file was finished before the cancel and is kept; the one being analysed and
    // the one after it are not added, and nothing is reported as an error.
    QCOMPARE(modelFiles(model()).mid(before), QStringList{clip("c1.mp4")});
    QVERIFY(m_watcher->errorRows.isEmpty());
    TranscodeJob job;
    QVERIFY(m_controller->findQueuedFile(clip("c1.mp4"), job));
    QVERIFY(!m_controller->findQueuedFile(clip("c2.mp4"), job));
    QVERIFY(!m_controller->findQueuedFile(clip("c3.mp4"), job));
    // The cancel does not stay behind: the next analysis runs.
    drop({clip("c2.mp4")});
    QTRY_COMPARE_WITH_TIMEOUT(model()->rowCount(), before + 2, 120000);
}

int main(int argc, char** argv)
{
    return PrivateEnvironment::exec<QApplication, TestWizardFiles>(argc, argv);
}

#include "tst_wizard_files.moc"
