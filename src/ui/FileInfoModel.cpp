#include "FileInfoModel.h"

#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QStyle>
#include <algorithm>

#include "ConversionReasonText.h"
#include "Formatting.h"
#include "ISourceMedia.h"
#include "UiLogging.h"

struct FileInfoModel::Row
{
    SourceFile source;
    QString outputPath;
    int status = Ready;
    int conversionSeconds = 0;
    int writeSeconds = 0;
    quint64 outputBytes = 0;
    // Why the file was not written, for the state's tooltip.
    QString reason;
};

namespace {

// File names on this system are case-sensitive: "Clip.avi" and "clip.avi" are two videos.
bool samePath(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseSensitive) == 0;
}

} // namespace

FileInfoModel::SourceFile FileInfoModel::SourceFile::fromPath(const QString& path)
{
    SourceFile source;
    source.path = path;
    const QFileInfo info(path);
    source.partBytes = info.exists() ? quint64(info.size()) : 0;
    return source;
}

FileInfoModel::SourceFile FileInfoModel::SourceFile::fromSources(const SourceMediaList& sources,
                                                                 const QString& fallbackPath,
                                                                 int profile)
{
    SourceFile source;
    source.path = fallbackPath;
    bool named = false;
    for (const auto& media : sources) {
        if (!media)
            continue;
        if (!named) {
            std::u16string name;
            if (media->GetFileName(name) == 0 && !name.empty()) {
                source.path = QString::fromStdU16String(name);
                named = true;
            }
        }
        uint64_t bytes = 0;
        if (media->GetFileSize(bytes) == 0)
            source.partBytes += bytes;
        int32_t reason = 0;
        std::string details;
        if (profile >= 0 && source.conversionReason == 0 &&
            media->GetConversionReason(profile, reason, details) == 0 && reason != 0) {
            source.conversionReason = reason;
            source.conversionDetails = QString::fromStdString(details);
        }
    }
    return source;
}

FileInfoModel::FileInfoModel(QObject* parent) : QAbstractTableModel(parent) {}

FileInfoModel::~FileInfoModel() = default;

int FileInfoModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int FileInfoModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 3;
}

QString FileInfoModel::durationText(qint64 seconds)
{
    if (seconds < 0)
        seconds = 0;
    // A clock time would wrap after a day; a long batch must not look short.
    const qint64 hours = seconds / 3600;
    const int minutes = int((seconds / 60) % 60);
    const int secs = int(seconds % 60);
    return QStringLiteral("%1:%2:%3")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(secs, 2, 10, QLatin1Char('0'));
}

QString FileInfoModel::statusText(int status) const
{
    switch (status) {
    case Waiting:
        //: file state in the progress list: not started yet
        return tr("Waiting");
    case InProgress:
        return tr("In progress");
    case ConversionError:
        return tr("Conversion error");
    case Ready:
        //: file state: converted, waiting to be written
        return tr("Ready");
    case Writing:
        //: file state: being written to a disc / being copied to a USB drive
        return m_burning ? tr("Burning") : tr("Transferring");
    case Canceled:
        //: file state
        return tr("Canceled");
    case Finished:
        //: file state: on the disc or USB drive
        return tr("Finished");
    case WriteError:
        //: file state: could not be written
        return tr("Failed");
    case NotCopied:
        return tr("Not copied");
    default:
        return tr("Unknown");
    }
}

QVariant FileInfoModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= int(m_rows.size()))
        return QVariant();
    const Row& row = *m_rows[size_t(index.row())];
    switch (index.column()) {
    case 0:
        if (role == Qt::DisplayRole)
            return QFileInfo(row.source.path).fileName();
        if (role == Qt::ToolTipRole) {
            if (row.outputPath.isEmpty())
                return nativePath(row.source.path);
            return nativePath(row.source.path) + QLatin1Char('\n') +
                   ConversionReasonText::sentence(row.source.conversionReason,
                                                  row.source.conversionDetails);
        }
        // The mark of a video that is converted before it is written, beside its name where
        // it leaves the sizes their room.
        if (role == Qt::DecorationRole && !row.outputPath.isEmpty())
            return QApplication::style()->standardIcon(QStyle::SP_BrowserReload);
        break;
    case 1:
        return sizeData(row, role);
    case 2:
        if (role == Qt::DisplayRole) {
            if (m_progressMode)
                return statusText(row.status);
            if (row.conversionSeconds < 0)
                return QStringLiteral("---");
            return durationText(qint64(row.conversionSeconds) + row.writeSeconds);
        }
        if (role == Qt::ToolTipRole && m_progressMode && !row.reason.isEmpty())
            return row.reason;
        // The underlined time is a link (Enter or a click explains it).
        if (role == Qt::AccessibleDescriptionRole && !m_progressMode && row.conversionSeconds > 0)
            return tr("Includes the conversion; press Enter to learn why it takes longer");
        if (role == Qt::ForegroundRole && !m_progressMode && row.conversionSeconds > 0)
            return QBrush(QColor(0x2B, 0xB0, 0xDC));
        if (role == Qt::FontRole) {
            if (m_progressMode && row.status == InProgress) {
                QFont font;
                font.setBold(true);
                return font;
            }
            if (!m_progressMode && row.conversionSeconds > 0) {
                QFont font;
                font.setUnderline(true);
                return font;
            }
        }
        break;
    default:
        break;
    }
    return QVariant();
}

QVariant FileInfoModel::sizeData(const Row& row, int role) const
{
    const bool converted = !row.outputPath.isEmpty();
    switch (role) {
    case Qt::DisplayRole:
        return fileSizeText(row.outputBytes);
    case Qt::ToolTipRole:
        if (!converted)
            return tr("The file as it is: your device plays it without conversion.");
        return tr("Size after conversion (the file itself: %1).")
                   .arg(fileSizeText(row.source.partBytes)) +
               QLatin1Char('\n') +
               ConversionReasonText::sentence(row.source.conversionReason,
                                              row.source.conversionDetails);
    default:
        break;
    }
    return QVariant();
}

QVariant FileInfoModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::ToolTipRole && section == 1)
        return tr("What is written to the destination: for videos marked as converted, the "
                  "size after conversion.");
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case 0:
        //: column header: file name
        return tr("Name");
    case 1:
        //: column header: file size
        return tr("Size");
    case 2:
        //: column header (83 pixels wide): state of each file / estimated time to transfer it
        return m_progressMode ? tr("Progress") : tr("Transfer Time");
    default:
        return QVariant();
    }
}

void FileInfoModel::clear()
{
    beginResetModel();
    for (const auto& row : m_rows) {
        // Never delete the user's own file, even if it was named as its own output.
        if (row->outputPath.isEmpty() || samePath(row->outputPath, row->source.path))
            continue;
        // A converted copy lives in our temporary folder; a failed conversion may have left
        // its partial ".temp" file as well.
        for (const QString& path : {row->outputPath, row->outputPath + QStringLiteral(".temp")}) {
            if (QFile::exists(path) && !QFile::remove(path))
                qCWarning(lcUi) << "FileInfoModel  cannot delete" << path;
        }
    }
    m_rows.clear();
    m_progressMode = false;
    m_burning = false;
    endResetModel();
}

void FileInfoModel::setProgressMode(bool on)
{
    if (m_progressMode == on)
        return;
    m_progressMode = on;
    emit headerDataChanged(Qt::Horizontal, 2, 2);
    if (!m_rows.empty())
        emit dataChanged(index(0, 2), index(int(m_rows.size()) - 1, 2));
}

void FileInfoModel::setBurning(bool on)
{
    if (m_burning == on)
        return;
    m_burning = on;
    if (!m_rows.empty())
        emit dataChanged(index(0, 2), index(int(m_rows.size()) - 1, 2));
}

void FileInfoModel::insertFiles(const QList<SourceFile>& sources, const QStringList& outputPaths,
                                const QList<Estimate>& estimates, const QStringList& directFiles,
                                bool addToTop)
{
    if (sources.size() != outputPaths.size() || sources.size() != estimates.size())
        return;
    std::vector<std::unique_ptr<Row>> block;
    for (int i = 0; i < sources.size(); ++i) {
        const SourceFile& source = sources[i];
        if (containsFile(source.path))
            continue;
        bool already = false;
        for (const auto& r : block)
            already = already || samePath(r->source.path, source.path);
        if (already)
            continue;
        auto row = std::make_unique<Row>();
        row->source = source;
        const bool direct = std::any_of(directFiles.begin(), directFiles.end(),
                                        [&](const QString& d) { return samePath(d, source.path); });
        // A file written unchanged has nothing to convert: no output to wait for or to delete.
        row->outputPath = direct ? QString() : outputPaths[i];
        row->status = row->outputPath.isEmpty() ? Ready : Waiting;
        row->conversionSeconds = estimates[i].conversionSeconds;
        row->outputBytes =
            estimates[i].outputBytes != 0 ? estimates[i].outputBytes : source.partBytes;
        block.push_back(std::move(row));
    }
    if (block.empty())
        return;
    const int first = (addToTop || m_rows.empty()) ? 0 : int(m_rows.size());
    beginInsertRows(QModelIndex(), first, first + int(block.size()) - 1);
    m_rows.insert(m_rows.begin() + first, std::make_move_iterator(block.begin()),
                  std::make_move_iterator(block.end()));
    endInsertRows();
}

void FileInfoModel::updateEstimates(const QList<SourceFile>& files, const QList<Estimate>& values,
                                    bool isWrite, const QStringList& outputPaths)
{
    const bool withPaths = !outputPaths.isEmpty() && outputPaths.size() == files.size();
    for (int i = 0; i < files.size() && i < values.size(); ++i) {
        const int r = indexOfFile(files[i].path);
        if (r < 0)
            continue;
        Row& row = *m_rows[size_t(r)];
        if (isWrite) {
            row.writeSeconds = values[i].conversionSeconds;
        } else {
            row.conversionSeconds = values[i].conversionSeconds;
            if (files[i].partBytes != 0)
                row.source.partBytes = files[i].partBytes;
            row.source.conversionReason = files[i].conversionReason;
            row.source.conversionDetails = files[i].conversionDetails;
            row.outputBytes =
                values[i].outputBytes != 0 ? values[i].outputBytes : row.source.partBytes;
            if (withPaths && outputPaths[i] != row.outputPath) {
                row.outputPath = outputPaths[i];
                // Only a row that has not started yet changes its plan.
                if (row.status == Waiting || row.status == Ready)
                    row.status = row.outputPath.isEmpty() ? Ready : Waiting;
            }
        }
        notifyColumn2(r);
        if (!isWrite)
            emit dataChanged(index(r, 1), index(r, 1));
    }
}

void FileInfoModel::updateEstimates(const QStringList& files, const QList<int>& seconds,
                                    bool isWrite)
{
    for (int i = 0; i < files.size() && i < seconds.size(); ++i) {
        const int r = indexOfFile(files[i]);
        if (r < 0)
            continue;
        Row& row = *m_rows[size_t(r)];
        (isWrite ? row.writeSeconds : row.conversionSeconds) = seconds[i];
        notifyColumn2(r);
    }
}

void FileInfoModel::setEstimateByName(const QString& fileName, int seconds, bool isWrite)
{
    for (size_t r = 0; r < m_rows.size(); ++r) {
        Row& row = *m_rows[r];
        if (!samePath(row.source.path, fileName))
            continue;
        if (isWrite)
            row.writeSeconds = seconds;
        else
            row.conversionSeconds = seconds;
        notifyColumn2(int(r));
    }
}

bool FileInfoModel::setStatus(int row, int status)
{
    if (row < 0 || row >= int(m_rows.size()) || status < Waiting || status > NotCopied)
        return false;
    m_rows[size_t(row)]->status = status;
    notifyColumn2(row);
    return true;
}

int FileInfoModel::setStatusByName(const QString& fileName, int status)
{
    const int row = indexOfFile(fileName);
    if (row < 0 || !setStatus(row, status))
        return -1;
    return row;
}

int FileInfoModel::status(int row) const
{
    if (row < 0 || row >= int(m_rows.size()))
        return -1;
    return m_rows[size_t(row)]->status;
}

bool FileInfoModel::rowValues(int row, QString& name, int& conversionSeconds, int& writeSeconds,
                              int& status) const
{
    if (row < 0 || row >= int(m_rows.size()))
        return false;
    const Row& r = *m_rows[size_t(row)];
    name = r.source.path;
    conversionSeconds = r.conversionSeconds;
    writeSeconds = r.writeSeconds;
    status = r.status;
    return true;
}

QString FileInfoModel::sourcePath(int row) const
{
    return (row >= 0 && row < int(m_rows.size())) ? m_rows[size_t(row)]->source.path : QString();
}

QString FileInfoModel::outputPath(int row) const
{
    return (row >= 0 && row < int(m_rows.size())) ? m_rows[size_t(row)]->outputPath : QString();
}

quint64 FileInfoModel::outputBytes(int row) const
{
    return (row >= 0 && row < int(m_rows.size())) ? m_rows[size_t(row)]->outputBytes : 0;
}

QStringList FileInfoModel::removeRows(int first, int count)
{
    QStringList removed;
    if (first < 0 || count <= 0 || first + count > int(m_rows.size()))
        return removed;
    beginRemoveRows(QModelIndex(), first, first + count - 1);
    for (int r = first + count - 1; r >= first; --r) {
        removed.append(m_rows[size_t(r)]->source.path);
        m_rows.erase(m_rows.begin() + r);
    }
    endRemoveRows();
    return removed;
}

void FileInfoModel::cancelAll()
{
    // A file that arrived before the cancel did arrive: calling it cancelled would be untrue.
    endUnfinished(Canceled, QString());
}

void FileInfoModel::endUnfinished(int status, const QString& reason)
{
    for (auto& row : m_rows) {
        if (row->status == Finished || row->status == WriteError || row->status == ConversionError)
            continue;
        row->status = status;
        row->reason = reason;
    }
    if (!m_rows.empty())
        emit dataChanged(index(0, 2), index(int(m_rows.size()) - 1, 2));
}

QStringList FileInfoModel::prepareRetry()
{
    QStringList arrived;
    for (int row = int(m_rows.size()) - 1; row >= 0; --row) {
        if (m_rows[size_t(row)]->status == Finished)
            arrived = removeRows(row, 1) + arrived;
    }
    for (auto& row : m_rows) {
        const bool converted = row->outputPath.isEmpty() || QFile::exists(row->outputPath);
        row->status = converted ? Ready : Waiting;
        row->reason.clear();
    }
    m_burning = false;
    setProgressMode(false);
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(int(m_rows.size()) - 1, 2));
    return arrived;
}

void FileInfoModel::setReason(int row, const QString& reason)
{
    if (row < 0 || row >= int(m_rows.size()))
        return;
    m_rows[size_t(row)]->reason = reason;
    notifyColumn2(row);
}

QString FileInfoModel::reason(int row) const
{
    return row >= 0 && row < int(m_rows.size()) ? m_rows[size_t(row)]->reason : QString();
}

int FileInfoModel::remainingCount() const
{
    return int(std::count_if(m_rows.begin(), m_rows.end(), [](const auto& row) {
        return row->status != ConversionError && row->status != Canceled &&
               row->status != Finished && row->status != WriteError && row->status != NotCopied;
    }));
}

int FileInfoModel::filesToWrite(QStringList& files) const
{
    int count = 0;
    for (const auto& row : m_rows) {
        if (!row->outputPath.isEmpty() && row->status != Waiting) {
            // A failed conversion leaves only its partial ".temp" file; it is listed so the
            // writer can report it, but counts only when it is really there.
            QString path = row->outputPath;
            if (row->status == ConversionError)
                path += QStringLiteral(".temp");
            files.append(path);
            if (QFile::exists(path))
                ++count;
        } else {
            files.append(row->source.path);
            ++count;
        }
    }
    return count;
}

quint64 FileInfoModel::totalOutputBytes() const
{
    quint64 total = 0;
    for (const auto& row : m_rows)
        total += row->outputBytes;
    return total;
}

QString FileInfoModel::totalTimeText() const
{
    qint64 total = 0;
    for (const auto& row : m_rows)
        total += qint64(row->conversionSeconds) + row->writeSeconds;
    return durationText(total);
}

bool FileInfoModel::containsFile(const QString& file) const
{
    return indexOfFile(file) >= 0;
}

int FileInfoModel::indexOfFile(const QString& file) const
{
    for (size_t r = 0; r < m_rows.size(); ++r) {
        if (samePath(m_rows[r]->source.path, file))
            return int(r);
    }
    return -1;
}

QString FileInfoModel::sizeText(quint64 bytes, bool withUnit, QString* number)
{
    // Looked up on every call: the language may change while the program runs.
    //: unit of the free space shown in large type; megabytes
    const QString units[3] = {tr("MB"),
                              //: gigabytes
                              tr("GB"),
                              //: terabytes
                              tr("TB")};
    double value = double(bytes) / 1048576.0;
    int unit = 0;
    while (value > 1024.0 && unit < 2) {
        value /= 1024.0;
        ++unit;
    }
    const QString valueText = decimalText(value, 1);
    if (withUnit)
        return QStringLiteral("%1 %2").arg(valueText, units[unit]);
    if (number)
        *number = valueText;
    return units[unit];
}

void FileInfoModel::notifyColumn2(int row)
{
    const QModelIndex cell = index(row, 2);
    emit dataChanged(cell, cell);
}
