#include "CompressedUnicode.h"
#include "DescriptorTag.h"
#include "DiscNames.h"
#include "LDStorage.h"
#include "LayoutPlanner.h"
#include "UdfDescriptors.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <algorithm>
#include <tuple>

using namespace udf;

Q_DECLARE_METATYPE(std::u16string)

namespace {

QByteArray bytes(const uint8_t* p, size_t n)
{
    return QByteArray(reinterpret_cast<const char*>(p), qsizetype(n));
}

QByteArray bytes(const std::vector<uint8_t>& v)
{
    return bytes(v.data(), v.size());
}

std::vector<std::u16string> wide(const QStringList& names)
{
    std::vector<std::u16string> out;
    for (const QString& n : names)
        out.push_back(n.toStdU16String());
    return out;
}

QStringList narrow(const std::vector<std::u16string>& names)
{
    QStringList out;
    for (const std::u16string& n : names)
        out << QString::fromStdU16String(n);
    return out;
}

PlannedFile planned(const char* name, uint64_t size)
{
    PlannedFile f;
    f.path = std::string("/nowhere/") + name;
    f.name = QString(name).toStdU16String();
    f.size = size;
    f.modifiedSeconds = 1700000000;
    return f;
}

constexpr quint64 GiB = quint64(1) << 30;

} // namespace

class TestUdfStructures : public QObject
{
    Q_OBJECT

private slots:
    void crc_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("crc");
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("ECMA-167 example") << QByteArray("\x70\x6a\x77") << 0x3299;
        QTest::newRow("check string") << QByteArray("123456789") << 0x31c3;
    }
    void crc()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, crc);
        QCOMPARE(int(DescriptorTag::crc(reinterpret_cast<const uint8_t*>(data.constData()),
                                        size_t(data.size()))),
                 crc);
    }

    void compressedUnicode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("encoded");
        QTest::addColumn<QByteArray>("dstring8"); // in an 8-byte field
        QTest::newRow("empty") << "" << QByteArray() << QByteArray(8, 0);
        QTest::newRow("ascii") << "abc"
                               << QByteArray("\x08"
                                             "abc")
                               << QByteArray("\x08"
                                             "abc\0\0\0\x04",
                                             8);
        QTest::newRow("latin-1 stays 8-bit")
            << "Köln" << QByteArray("\x08K\xf6ln") << QByteArray("\x08K\xf6ln\0\0\x05", 8);
        QTest::newRow("one wide letter makes all 16-bit")
            << "aЖ" << QByteArray("\x10\x00\x61\x04\x16", 5)
            << QByteArray("\x10\x00\x61\x04\x16\0\0\x05", 8);
        QTest::newRow("cut to the field") << "abcdefghij"
                                          << QByteArray("\x08"
                                                        "abcdefghij")
                                          << QByteArray("\x08"
                                                        "abcdef\x07");
        QTest::newRow("16-bit cut to whole characters")
            << "ЖЖЖЖЖ" << QByteArray("\x10\x04\x16\x04\x16\x04\x16\x04\x16\x04\x16", 11)
            << QByteArray("\x10\x04\x16\x04\x16\x04\x16\x07", 8);
    }
    void compressedUnicode()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, encoded);
        QFETCH(QByteArray, dstring8);
        QCOMPARE(bytes(CompressedUnicode::encode(text.toStdU16String())), encoded);
        uint8_t field[8];
        CompressedUnicode::putDstring(field, sizeof field, text.toStdU16String());
        QCOMPARE(bytes(field, sizeof field), dstring8);
    }

    void extents_data()
    {
        QTest::addColumn<quint64>("size");
        QTest::addColumn<bool>("iso");
        QTest::addColumn<QList<quint64>>("lengths");
        const quint64 udfMax = maxUdfExtent;
        const quint64 isoMax = maxIsoExtent;
        const bool udf = false;
        const bool iso = true;
        QTest::newRow("empty") << quint64(0) << udf << QList<quint64>{};
        QTest::newRow("one byte") << quint64(1) << udf << QList<quint64>{1};
        QTest::newRow("udf exactly one extent") << udfMax << udf << QList<quint64>{udfMax};
        QTest::newRow("udf one byte over") << udfMax + 1 << udf << QList<quint64>{udfMax, 1};
        QTest::newRow("udf 1 GiB") << GiB << udf << QList<quint64>{udfMax, 2048};
        QTest::newRow("udf 4.5 GiB")
            << 9 * GiB / 2 << udf << QList<quint64>{udfMax, udfMax, udfMax, udfMax, 8192 + GiB / 2};
        QTest::newRow("iso under 4 GiB") << 4 * GiB - 1 << iso << QList<quint64>{4 * GiB - 1};
        QTest::newRow("iso 4 GiB") << 4 * GiB << iso << QList<quint64>{isoMax, 2048};
    }
    void extents()
    {
        QFETCH(quint64, size);
        QFETCH(bool, iso);
        QFETCH(QList<quint64>, lengths);
        PlannedFile file = planned("x", size);
        file.dataSector = 1000;
        const std::vector<FileExtent> extents =
            iso ? LayoutPlanner::isoExtents(file) : LayoutPlanner::udfExtents(file);
        QCOMPARE(extents.size(), size_t(lengths.size()));
        uint64_t next = 1000;
        for (size_t i = 0; i < extents.size(); ++i) {
            QCOMPARE(quint64(extents[i].length), lengths[int(i)]);
            QCOMPARE(extents[i].lba, next);
            QVERIFY(extents[i].length < (iso ? 4 * GiB : GiB));
            if (i + 1 < extents.size())
                QCOMPARE(extents[i].length % 2048, uint64_t(0));
            next += extents[i].length / 2048;
        }
    }

    void names_data()
    {
        QTest::addColumn<QString>("side");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("expected");
        const QString a200 = QString(196, 'a') + ".mkv";
        const QString b200 = QString(196, 'a') + "b.mkv";
        QTest::newRow("iso maps to d-characters")
            << "iso" << QStringList{"My film (2).mp4", "Grüße", ".hidden"}
            << QStringList{"MY_FILM__2_.MP4;1", "GR__E.;1", "_HIDDEN.;1"};
        QTest::newRow("iso keeps the extension when cutting")
            << "iso" << QStringList{a200} << QStringList{QString(27, 'A') + ".MKV;1"};
        QTest::newRow("iso makes collisions unique")
            << "iso" << QStringList{"a.txt", "A.txt", "a?txt", "a_txt"}
            << QStringList{"A.TXT;1", "A_2.TXT;1", "A_TXT.;1", "A_TXT_2.;1"};
        QTest::newRow("joliet cuts to 64 and stays unique")
            << "joliet" << QStringList{a200, b200, "x:y?.txt"}
            << QStringList{QString(60, 'a') + ".mkv", QString(58, 'a') + "~2.mkv", "x_y_.txt"};
        QTest::newRow("udf keeps 200 characters")
            << "udf" << QStringList{a200, "Фильм.mkv"} << QStringList{a200, "Фильм.mkv"};
        QTest::newRow("udf makes names unique ignoring case")
            << "udf" << QStringList{"a.mkv", "A.mkv", "a.mkv"}
            << QStringList{"a.mkv", "A~2.mkv", "a~3.mkv"};
        QTest::newRow("udf cuts at 255 bytes")
            << "udf" << QStringList{QString(300, 'a') + ".mkv", QString(200, QChar(0x416))}
            << QStringList{QString(250, 'a') + ".mkv", QString(127, QChar(0x416))};
    }
    void names()
    {
        QFETCH(QString, side);
        QFETCH(QStringList, names);
        QFETCH(QStringList, expected);
        QStringList got;
        if (side == "iso")
            for (const std::string& n : DiscNames::isoNames(wide(names)))
                got << QString::fromStdString(n);
        else
            got = narrow(side == "udf" ? DiscNames::udfNames(wide(names))
                                       : DiscNames::jolietNames(wide(names)));
        QCOMPARE(got, expected);
    }

    // Every structure and every file's data in its own sectors, in the order the planner
    // promises, the closing anchor last and the image a whole number of 16-sector blocks.
    void layout_placesEverythingApart_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<quint64>("size");
        QTest::newRow("two small files") << 2 << quint64(5000);
        QTest::newRow("empty files") << 3 << quint64(0);
        QTest::newRow("too many names for the gap") << 3000 << quint64(1);
        QTest::newRow("a file over 4 GiB") << 1 << 4 * GiB + 1;
    }
    void layout_placesEverythingApart()
    {
        QFETCH(int, files);
        QFETCH(quint64, size);
        std::vector<PlannedFile> list;
        for (int i = 0; i < files; ++i)
            list.push_back(planned(qPrintable(QString("%1 a rather long name.mkv").arg(i)),
                                   size + quint64(i)));
        const Layout l = LayoutPlanner::plan(list, "KavoTransferWizard", 0);
        QCOMPARE(l.totalSectors % 16, uint32_t(0));
        QVERIFY(l.partitionStart > UdfDescriptors::anchorSector);
        QCOMPARE(l.partitionStart + l.partitionLength() + 1, l.totalSectors);

        // [first, end) of each structure; names say what overlapped.
        QList<std::tuple<quint64, quint64, QString>> spans{
            {16, 22, "volume recognition"},
            {32, 48, "main sequence"},
            {48, 64, "reserve sequence"},
            {64, 66, "integrity"},
            {256, 257, "anchor"},
            {l.fileSet, l.fileSet + 2, "file set"},
            {l.rootEntry, l.rootEntry + 1, "root entry"},
            {l.rootIdentifiers, l.rootIdentifiers + (l.rootIdentifierBytes + 2047) / 2048,
             "root identifiers"},
            {l.isoPathTableL, l.isoPathTableL + 1, "iso path table L"},
            {l.isoPathTableM, l.isoPathTableM + 1, "iso path table M"},
            {l.jolietPathTableL, l.jolietPathTableL + 1, "joliet path table L"},
            {l.jolietPathTableM, l.jolietPathTableM + 1, "joliet path table M"},
            {l.isoRoot, l.isoRoot + l.isoRootBytes / 2048, "iso root"},
            {l.jolietRoot, l.jolietRoot + l.jolietRootBytes / 2048, "joliet root"},
            {l.totalSectors - 1, l.totalSectors, "closing anchor"}};
        for (const PlannedFile& f : l.files) {
            spans.append({f.entrySector, f.entrySector + 1, "entry"});
            if (f.size)
                spans.append({f.dataSector, f.dataSector + f.sectors(), "data"});
            QVERIFY(f.entrySector >= l.partitionStart && f.entrySector < l.firstData);
            QVERIFY(!f.size || (f.dataSector >= l.firstData && f.dataSector < l.endData));
        }
        QVERIFY(l.fileSet >= l.partitionStart);
        std::sort(spans.begin(), spans.end());
        for (int i = 1; i < spans.size(); ++i)
            QVERIFY2(std::get<0>(spans[i]) >= std::get<1>(spans[i - 1]),
                     qPrintable(std::get<2>(spans[i - 1]) + " overlaps " + std::get<2>(spans[i])));
        QCOMPARE(std::get<2>(spans.last()), QString("closing anchor"));
        // The ISO structures stay out of the partition while they fit before the anchor.
        QCOMPARE(l.jolietRoot < UdfDescriptors::anchorSector, files < 1000);
    }

    // The file entry of the largest file allowed still fits its sector; one byte more is
    // refused before anything is written.
    void largestFile_entryFitsItsSector()
    {
        const quint64 largest = LayoutPlanner::maxFileSize();
        QVERIFY(largest > 200 * GiB);
        const Layout l = LayoutPlanner::plan({planned("huge.mkv", largest)}, "Kavo", 0);
        const std::vector<FileExtent> extents = LayoutPlanner::udfExtents(l.files[0]);
        QVERIFY(176 + 8 * extents.size() <= 2048);
        std::vector<uint8_t> buffer(2 * 2048, 0);
        std::fill(buffer.begin() + 2048, buffer.end(), uint8_t(0xAA));
        UdfDescriptors::fileEntry(buffer.data(), l, 0);
        QVERIFY(
            std::all_of(buffer.begin() + 2048, buffer.end(), [](uint8_t b) { return b == 0xAA; }));
        QCOMPARE(qFromLittleEndian<quint32>(buffer.data() + 172), quint32(8 * extents.size()));

        QTemporaryDir dir;
        const QString path = dir.filePath("over.mkv");
        QFile sparse(path);
        QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(qint64(largest) + 1));
        sparse.close();
        Failure failure;
        QVERIFY(!BridgeImage::plan({{QFile::encodeName(path).toStdString(), u"over.mkv"}}, {},
                                   &failure));
        QCOMPARE(failure.status, int32_t(LD_InvalidFile));
    }

    // A file of 4 GiB + 1 byte, planned but never written: the UDF entry holds the whole
    // 64-bit length in its extents, the ISO and Joliet sides chain multi-extent records.
    void fileOver4GiB_descriptorsHoldTheWholeLength()
    {
        const quint64 size = 4 * GiB + 1;
        const Layout l =
            LayoutPlanner::plan({planned("big.mkv", size), planned("after.txt", 10)}, "Kavo", 0);
        std::vector<uint8_t> entry(2048, 0);
        UdfDescriptors::fileEntry(entry.data(), l, 0);
        QCOMPARE(qFromLittleEndian<quint64>(entry.data() + 56), size);
        const quint32 eaBytes = qFromLittleEndian<quint32>(entry.data() + 168);
        const quint32 adBytes = qFromLittleEndian<quint32>(entry.data() + 172);
        quint64 described = 0;
        for (quint32 at = 176 + eaBytes; at < 176 + eaBytes + adBytes; at += 8)
            described += qFromLittleEndian<quint32>(entry.data() + at) & 0x3FFFFFFF;
        QCOMPARE(described, size);

        const std::vector<uint8_t> header = LayoutPlanner::header(l);
        for (bool joliet : {false, true}) {
            const QByteArray name =
                joliet ? QByteArray("\0b\0i\0g\0.\0m\0k\0v", 14) : QByteArray("BIG.MKV;1");
            const uint32_t root = joliet ? l.jolietRoot : l.isoRoot;
            const uint32_t bytes = joliet ? l.jolietRootBytes : l.isoRootBytes;
            QList<QPair<quint32, int>> records; // length, flags
            for (uint32_t at = root * 2048; at < root * 2048 + bytes;) {
                const uint8_t* r = header.data() + at;
                if (r[0] == 0) { // the rest of the sector is padding
                    at = (at / 2048 + 1) * 2048;
                    continue;
                }
                if (QByteArray(reinterpret_cast<const char*>(r + 33), r[32]) == name)
                    records.append({qFromLittleEndian<quint32>(r + 10), r[25]});
                at += r[0];
            }
            QVERIFY(records.size() >= 2);
            quint64 total = 0;
            for (int i = 0; i < records.size(); ++i) {
                total += records[i].first;
                QCOMPARE(records[i].second & 0x80, i + 1 < records.size() ? 0x80 : 0);
            }
            QCOMPARE(total, size);
        }
    }

    void header_data()
    {
        QTest::addColumn<int>("sector");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("iso primary") << 16
                                     << QByteArray("\x01"
                                                   "CD001\x01");
        QTest::newRow("joliet") << 17
                                << QByteArray("\x02"
                                              "CD001\x01");
        QTest::newRow("iso terminator") << 18
                                        << QByteArray("\xff"
                                                      "CD001\x01");
        QTest::newRow("BEA01") << 19
                               << QByteArray("\x00"
                                             "BEA01\x01",
                                             7);
        QTest::newRow("NSR02") << 20
                               << QByteArray("\x00"
                                             "NSR02\x01",
                                             7);
        QTest::newRow("TEA01") << 21
                               << QByteArray("\x00"
                                             "TEA01\x01",
                                             7);
        // Tag bytes worked out with an independent CRC-CCITT (Python's binascii.crc_hqx).
        QTest::newRow("anchor at 256")
            << 256 << QByteArray::fromHex("0200 0200 cf00 0100 01d7 f001 0001 0000");
        QTest::newRow("main terminator")
            << 37 << QByteArray::fromHex("0800 0200 2100 0100 0000 f001 2500 0000");
    }
    void header()
    {
        QFETCH(int, sector);
        QFETCH(QByteArray, start);
        const Layout l = LayoutPlanner::plan({planned("a.txt", 1)}, "KavoTransferWizard", 0);
        const std::vector<uint8_t> h = LayoutPlanner::header(l);
        QCOMPARE(bytes(h.data() + sector * 2048, size_t(start.size())), start);
    }
};

QTEST_GUILESS_MAIN(TestUdfStructures)
#include "tst_UdfStructures.moc"
