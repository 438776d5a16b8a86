#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "FileNameMapper.h"
#include "USBDriveData.h"
#include "USBFileCopier.h"

using Rules = FileNameMapper::Rules;
Q_DECLARE_METATYPE(FileNameMapper::Rules)

// The names a drive is given: per file system, within its length limit with the part file's
// suffix, unique without regard to case where the drive compares names so.
class TestFileNames : public QObject
{
    Q_OBJECT

private slots:
    void map_data();
    void map();
    void numbered_staysWithinLimit_data();
    void numbered_staysWithinLimit();
    void copy_usesTheDrivesName_andCaseInsensitiveUniqueness();

private:
    QTemporaryDir m_root;
};

void TestFileNames::map_data()
{
    QTest::addColumn<Rules>("rules");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    const QString refused = "a\"b*c:d<e>f?g\\h|i\x01j\tk.avi";
    const auto row = [](const char* tag, Rules rules, const QString& name, const QString& mapped) {
        QTest::newRow(tag) << rules << name << mapped;
    };
    row("fat: refused characters", Rules::Fat, refused, "a_b_c_d_e_f_g_h_i_j_k.avi");
    row("exfat: refused characters", Rules::ExFat, refused, "a_b_c_d_e_f_g_h_i_j_k.avi");
    row("ntfs: refused characters", Rules::Ntfs, refused, "a_b_c_d_e_f_g_h_i_j_k.avi");
    row("ext4: untouched", Rules::Posix, refused, refused);
    row("ntfs: a title", Rules::Ntfs, "Interview: part 1.avi", "Interview_ part 1.avi");
    row("fat: trailing dots and spaces", Rules::Fat, "Why not. . ", "Why not");
    row("exfat: trailing dot", Rules::ExFat, "The End.", "The End");
    row("ntfs: only dots", Rules::Ntfs, "...", "_");
    row("ext4: trailing dot kept", Rules::Posix, "The End.", "The End.");
    row("fat: device name", Rules::Fat, "CON.avi", "CON_.avi");
    row("ntfs: device name, any case", Rules::Ntfs, "lpt1", "lpt1_");
    row("ntfs: device name before spaces", Rules::Ntfs, "aux .mkv", "aux _.mkv");
    row("ntfs: not a device name", Rules::Ntfs, "COM10.avi", "COM10.avi");
    row("ntfs: longer word", Rules::Ntfs, "console.avi", "console.avi");
    row("exfat: device names allowed", Rules::ExFat, "CON.avi", "CON.avi");
    row("ext4: device names allowed", Rules::Posix, "NUL.avi", "NUL.avi");
    // 255 units with the part file's ".part": the name itself at most 250.
    QTest::newRow("ntfs: 300 characters")
        << Rules::Ntfs << QString(296, 'a') + ".avi" << QString(246, 'a') + ".avi";
    QTest::newRow("ntfs: 240 characters kept")
        << Rules::Ntfs << QString(236, 'x') + ".avi" << QString(236, 'x') + ".avi";
    QTest::newRow("ntfs: counted in UTF-16 units, not bytes")
        << Rules::Ntfs << QString(240, QChar(0xE9)) + ".avi" << QString(240, QChar(0xE9)) + ".avi";
    QTest::newRow("ext4: 255 bytes leave room for .part")
        << Rules::Posix << QString(251, 'b') + ".avi" << QString(246, 'b') + ".avi";
    QTest::newRow("ext4: counted in bytes")
        << Rules::Posix << QString(200, QChar(0xE9)) + ".avi" << QString(123, QChar(0xE9)) + ".avi";
    QString emoji;
    for (int i = 0; i < 200; ++i)
        emoji += QString::fromUtf8("\xF0\x9F\x8E\xAC"); // two UTF-16 units each
    QString emojiKept;
    for (int i = 0; i < 123; ++i)
        emojiKept += QString::fromUtf8("\xF0\x9F\x8E\xAC");
    QTest::newRow("ntfs: never half a character")
        << Rules::Ntfs << emoji + ".mp4" << emojiKept + ".mp4";
    QTest::newRow("fat: cut leaves no trailing space")
        << Rules::Fat << QString(249, 'c') + " " + QString(10, 'd') << QString(249, 'c');
}

void TestFileNames::map()
{
    QFETCH(Rules, rules);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    const FileNameMapper mapper(rules);
    const QString mapped = mapper.map(name, ".part");
    QCOMPARE(mapped, expected);
    // What the drive would take is taken again unchanged.
    QCOMPARE(mapper.map(mapped, ".part"), mapped);
}

void TestFileNames::numbered_staysWithinLimit_data()
{
    QTest::addColumn<Rules>("rules");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("attempt");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first") << Rules::Ntfs << "clip.avi" << 1 << "clip.avi";
    QTest::newRow("second") << Rules::Ntfs << "clip.avi" << 2 << "clip (2).avi";
    QTest::newRow("no extension") << Rules::Posix << "clip" << 3 << "clip (3)";
    QTest::newRow("ntfs: at the limit")
        << Rules::Ntfs << QString(246, 'a') + ".avi" << 2 << QString(242, 'a') + " (2).avi";
    QTest::newRow("ext4: at the limit")
        << Rules::Posix << QString(246, 'a') + ".avi" << 12 << QString(241, 'a') + " (12).avi";
}

void TestFileNames::numbered_staysWithinLimit()
{
    QFETCH(Rules, rules);
    QFETCH(QString, name);
    QFETCH(int, attempt);
    QFETCH(QString, expected);
    QCOMPARE(FileNameMapper(rules).numbered(name, attempt, ".part"), expected);
}

void TestFileNames::copy_usesTheDrivesName_andCaseInsensitiveUniqueness()
{
    const QString src = m_root.path() + "/src";
    const QString stick = m_root.path() + "/stick";
    QDir().mkpath(src);
    QDir().mkpath(stick);
    const auto write = [](const QString& path, const QByteArray& data) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
    };
    QVERIFY(write(src + "/Why not?.avi", "first"));
    QVERIFY(write(src + "/clip.avi", "second"));
    QVERIFY(write(src + "/same.avi", "third"));
    // On the drive already: a different video whose name differs only by case, and this very
    // video under another case.
    QVERIFY(write(stick + "/CLIP.avi", "other"));
    QVERIFY(write(stick + "/SAME.AVI", "third"));

    const FileNameMapper ntfs = FileNameMapper::forDrive(FS_NTFS);
    QCOMPARE(ntfs.existing(stick, "same.avi"), stick + "/SAME.AVI");
    QVERIFY(FileNameMapper::forDrive(FS_OTHER, stick).existing(stick, "same.avi").isEmpty());

    struct Row
    {
        QString source;
        QString destination;
    };
    const QList<Row> rows{
        {"Why not?.avi", "Why not_.avi"}, {"clip.avi", "clip (2).avi"}, {"same.avi", "SAME.AVI"}};
    for (const Row& row : rows) {
        const USBFileCopier::Result result =
            USBFileCopier::copy(src + "/" + row.source, stick, {}, false, ntfs);
        QCOMPARE(result.outcome, USBFileCopier::Outcome::Copied);
        QCOMPARE(result.destination, stick + "/" + row.destination);
    }
    QDir dir(stick);
    QCOMPARE(dir.entryList(QDir::Files, QDir::Name),
             QStringList({"CLIP.avi", "SAME.AVI", "Why not_.avi", "clip (2).avi"}));
}

QTEST_GUILESS_MAIN(TestFileNames)
#include "tst_file_names.moc"
