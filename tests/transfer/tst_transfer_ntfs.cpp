#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <sched.h>
#include <sys/mount.h>

#include "FinishPageDrive.h"
#include "SettingsAccessors.h"
#include "TestClips.h"
#include "TestFiles.h"
#include "TransferRun.h"
#include "TransferWizardController.h"
#include "TransferWizardDlg.h"
#include "USBFileCopier.h"
#include "UnattendedTransfer.h"

// A real NTFS volume, mounted with ntfs-3g as desktop automounters mount it (windows_names),
// in a mount namespace of this test's own: the videos the drive would refuse under their own
// names arrive byte for byte under names it accepts, and the outcome lines and the finish page
// name them.
class TestTransferNtfs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void program_copiesRefusedNames();
    void unknownDrive_retriesWithMappedName();
    void window_finishPageListsNames();

private:
    struct Title
    {
        QString source;
        QString arrived;
    };
    QString freshStick(const QString& name);
    QList<Title> makeTitles(const QString& folder);

    QTemporaryDir m_root{QDir::tempPath() + "/portavo-ntfs-XXXXXX"};
    QString m_mount;
    QString m_clip;
};

namespace {

QString g_unshareError;

// The outcome lines escape backslashes and control characters that would break a line.
QString unescaped(const QString& field)
{
    QString out;
    for (int i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        const QChar next = field[++i];
        out += next == 't'   ? QChar('\t')
               : next == 'n' ? QChar('\n')
               : next == 'r' ? QChar('\r')
                             : next;
    }
    return out;
}

} // namespace

void TestTransferNtfs::initTestCase()
{
    QVERIFY(m_root.isValid());
    if (!g_unshareError.isEmpty())
        QSKIP(qPrintable(g_unshareError));
    if (QStandardPaths::findExecutable("ntfs-3g").isEmpty() ||
        QStandardPaths::findExecutable("mkntfs", {"/usr/sbin", "/sbin", "/usr/bin"}).isEmpty())
        QSKIP("ntfs-3g and mkntfs are not installed (package ntfs-3g)");
    if (!QFile::exists("/dev/fuse"))
        QSKIP("no /dev/fuse: this machine does not allow FUSE mounts");
    TransferRun::useRoot(m_root.path());

    const QString image = m_root.path() + "/ntfs.img";
    m_mount = m_root.path() + "/NTFSSTICK";
    QDir().mkpath(m_mount);
    QFile img(image);
    QVERIFY(img.open(QIODevice::WriteOnly) && img.resize(64 << 20));
    img.close();
    const QString mkntfs =
        QStandardPaths::findExecutable("mkntfs", {"/usr/sbin", "/sbin", "/usr/bin"});
    QCOMPARE(QProcess::execute(mkntfs, {"-F", "-Q", "-q", "-L", "NTFSSTICK", image}), 0);
    if (QProcess::execute("ntfs-3g", {"-o", "windows_names", image, m_mount}) != 0)
        QSKIP("ntfs-3g could not mount a volume here (FUSE not permitted)");
    QFile probe(m_mount + "/a:b");
    if (probe.open(QIODevice::WriteOnly))
        QFAIL("the NTFS volume takes a name windows_names refuses");

    TestClips clips(m_root.path() + "/videos");
    QDir().mkpath(m_root.path() + "/videos");
    m_clip =
        clips.make("clip.avi", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=1",
                                "-c:v", "mpeg4", "-q:v", "5"});
    QVERIFY2(!m_clip.isEmpty(), qPrintable(clips.lastError()));
}

void TestTransferNtfs::cleanupTestCase()
{
    if (!m_mount.isEmpty())
        QProcess::execute("umount", {m_mount});
}

QString TestTransferNtfs::freshStick(const QString& name)
{
    const QString path = m_mount + "/" + name;
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

QList<TestTransferNtfs::Title> TestTransferNtfs::makeTitles(const QString& folder)
{
    QDir().mkpath(folder);
    const QList<Title> titles{
        {"Interview: part 1.avi", "Interview_ part 1.avi"},
        {"Why not?.avi", "Why not_.avi"},
        {"Say \"hi\".avi", "Say _hi_.avi"},
        {"star*.avi", "star_.avi"},
        {"<angle>.avi", "_angle_.avi"},
        {"back\\slash.avi", "back_slash.avi"},
        {"pipe|line.avi", "pipe_line.avi"},
        {"tab\there.avi", "tab_here.avi"},
        {"ctrl\x01"
         "char.avi",
         "ctrl_char.avi"},
        // A title ending in a dot: legal before the extension, kept.
        {"The End..avi", "The End..avi"},
        {QString(236, 'L') + ".avi", QString(236, 'L') + ".avi"},
        {"Clip.avi", "Clip.avi"},
        {"clip.avi", "clip (2).avi"},
    };
    const QByteArray video = TestFiles::read(m_clip);
    int n = 0;
    for (const Title& title : titles) {
        // Each its own bytes, so no copy counts as one already there.
        QFile file(folder + "/" + title.source);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(video + QByteArray::number(++n));
    }
    return titles;
}

void TestTransferNtfs::program_copiesRefusedNames()
{
    const QString videos = m_root.path() + "/titles";
    const QList<Title> titles = makeTitles(videos);
    QVERIFY(!titles.isEmpty());
    const QString stick = freshStick("program");
    QVERIFY(WriteSetting("TransferWizard", "ExtraDrives", stick.toStdString()));
    QStringList files;
    for (const Title& title : titles)
        files << videos + "/" + title.source;

    const TransferRun::Result run = TransferRun::run(TransferRun::arguments(1000, files, stick));
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors + run.output));
    QCOMPARE(run.files.size(), titles.size());
    for (int i = 0; i < titles.size(); ++i) {
        const QStringList& line = run.files[i];
        QCOMPARE(unescaped(line.value(0)), files[i]);
        QCOMPARE(line.value(1), QString("arrived"));
        QCOMPARE(unescaped(line.value(2)), stick + "/" + titles[i].arrived);
        QCOMPARE(TestFiles::read(stick + "/" + titles[i].arrived), TestFiles::read(files[i]));
    }
    QCOMPARE(QDir(stick).entryList(QDir::Files | QDir::Hidden).size(), titles.size());
}

void TestTransferNtfs::unknownDrive_retriesWithMappedName()
{
    // A drive whose type is not known: the name is tried as it is, and once more in the form
    // Windows takes when the drive refuses it as invalid.
    const QString stick = freshStick("unknown");
    const QString videos = m_root.path() + "/unknown";
    QDir().mkpath(videos);
    const QString source = videos + "/Q&A: live?.avi";
    QVERIFY(QFile::copy(m_clip, source));
    const USBFileCopier::Result result = USBFileCopier::copy(source, stick, {});
    QCOMPARE(result.outcome, USBFileCopier::Outcome::Copied);
    QCOMPARE(result.destination, stick + "/Q&A_ live_.avi");
    QCOMPARE(TestFiles::read(result.destination), TestFiles::read(source));
    QCOMPARE(QDir(stick).entryList(QDir::Files | QDir::Hidden), QStringList{"Q&A_ live_.avi"});
}

void TestTransferNtfs::window_finishPageListsNames()
{
    const QString videos = m_root.path() + "/window";
    const QList<Title> titles = makeTitles(videos).mid(0, 3);
    const QString stick = freshStick("window");
    QVERIFY(WriteSetting("TransferWizard", "ExtraDrives", stick.toStdString()));
    QStringList files;
    for (const Title& title : titles)
        files << videos + "/" + title.source;

    TransferWizardController controller;
    UnattendedTransfer transfer(controller, stick, -1);
    QString finishText;
    bool accepted = false;
    connect(controller.dialog(), &QDialog::accepted, this, [&]() {
        accepted = true;
        if (controller.dialog()->currentPage() != TransferWizardDlg::FinishPage)
            return;
        auto* label = controller.dialog()->findChild<QLabel*>("savedNamesLabel");
        auto* names = controller.dialog()->findChild<FinishPageDrive*>();
        if (label && names && label->isVisibleTo(controller.dialog()))
            finishText = names->savedText();
    });
    transfer.start(files, 1000, false);
    QTRY_VERIFY_WITH_TIMEOUT(accepted, 120000);
    QCOMPARE(transfer.exitCode(), int(UnattendedTransfer::AllArrived));
    for (const Title& title : titles) {
        QVERIFY2(finishText.contains(title.arrived + " (renamed from \"" + title.source + "\")"),
                 qPrintable(finishText));
        QCOMPARE(TestFiles::read(stick + "/" + title.arrived),
                 TestFiles::read(videos + "/" + title.source));
    }
}

int main(int argc, char** argv)
{
    // Before any thread starts, so every thread of the test sees the volume mounted below.
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        g_unshareError = "no private mount namespace here (needs CAP_SYS_ADMIN)";
    QApplication app(argc, argv);
    TestTransferNtfs test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_transfer_ntfs.moc"
