#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "AnalysisResults.h"

// The table behind both file views of the wizard: one row per video, with what the analysis
// found (converted output, conversion and write estimates, bytes to write) and its state during
// the transfer. Column 2 shows the estimated time on the file page and the state on the
// transfer page.
class FileInfoModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // Row states.
    enum Status
    {
        Waiting = 2,
        InProgress = 3,
        ConversionError = 4,
        Ready = 5,
        Writing = 6,
        Canceled = 7,
        Finished = 8,
        // The file could not be written to the destination.
        WriteError = 9,
        // The transfer ended before the file was written.
        NotCopied = 10
    };

    // The analysed source file as the model needs it: its path (the row's key; file names are
    // case-sensitive here) and the total size of its parts, used when the analysis gives no size.
    struct SourceFile
    {
        QString path;
        quint64 partBytes = 0;
        // Why the analysis chose to convert it (a kvt::ConversionReason, 0 when unknown or
        // unchanged) and the engine's words for it.
        int conversionReason = 0;
        QString conversionDetails;

        // A source of one part: the file itself (size 0 when it does not exist).
        static SourceFile fromPath(const QString& path);
        // One file of the analysis results: the path of its first source (fallbackPath when
        // it has none) and the summed sizes of all its parts.
        // With a profile (not negative), also why the file is converted for it.
        static SourceFile fromSources(const SourceMediaList& sources,
                                      const QString& fallbackPath = QString(), int profile = -1);
    };

    // One file's analysis estimate. A negative conversionSeconds means "no estimate".
    struct Estimate
    {
        int conversionSeconds = 0;
        quint64 outputBytes = 0;
    };

    explicit FileInfoModel(QObject* parent = nullptr);
    ~FileInfoModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Deletes the converted files of every row from disk, then all rows.
    void clear();
    void setProgressMode(bool on);
    bool progressMode() const { return m_progressMode; }
    void setBurning(bool on);
    bool burning() const { return m_burning; }

    // Parallel lists; nothing happens unless they have equal lengths. Files already listed are
    // skipped. A file named in directFiles is written unchanged, so its output path is dropped.
    void insertFiles(const QList<SourceFile>& sources, const QStringList& outputPaths,
                     const QList<Estimate>& estimates, const QStringList& directFiles,
                     bool addToTop);

    // isWrite false: new conversion estimates (and, when outputPaths is given in parallel, new
    // output paths; an empty entry means "written unchanged"). isWrite true: write seconds from
    // each value's conversionSeconds field.
    void updateEstimates(const QList<SourceFile>& files, const QList<Estimate>& values,
                         bool isWrite, const QStringList& outputPaths = QStringList());
    // The same with plain seconds per file: write seconds (isWrite) or conversion seconds.
    void updateEstimates(const QStringList& files, const QList<int>& seconds, bool isWrite);
    void setEstimateByName(const QString& fileName, int seconds, bool isWrite);

    bool setStatus(int row, int status);
    int setStatusByName(const QString& fileName, int status);
    int status(int row) const;
    bool rowValues(int row, QString& name, int& conversionSeconds, int& writeSeconds,
                   int& status) const;
    QString sourcePath(int row) const;
    QString outputPath(int row) const;
    quint64 outputBytes(int row) const;

    QStringList removeRows(int first, int count);
    // Every row not yet written becomes "Canceled"; a file already written stays "Finished".
    void cancelAll();
    // The transfer ended before the files still open were written: they get status (Canceled
    // or NotCopied) and reason, which the state's tooltip shows. Written and failed rows keep
    // theirs.
    void endUnfinished(int status, const QString& reason);
    // Back to the list after a transfer that did not finish: the files that arrived leave the
    // list (their sources are returned); the others are to be written again, a converted file
    // whose output is there as it is, the rest converted first. Leaves progress mode.
    QStringList prepareRetry();
    // Why the row's file was not written (the tooltip of its state); empty when it was.
    void setReason(int row, const QString& reason);
    QString reason(int row) const;
    int remainingCount() const;
    int filesToWrite(QStringList& files) const;
    quint64 totalOutputBytes() const;
    QString totalTimeText() const;
    bool containsFile(const QString& file) const;
    int indexOfFile(const QString& file) const;

    // bytes in MB, GB or TB with one decimal: "12.5 GB", or (withUnit false) the unit alone,
    // with the number text in number.
    static QString sizeText(quint64 bytes, bool withUnit, QString* number = nullptr);
    // Seconds as "hh:mm:ss"; hours keep counting past a day.
    static QString durationText(qint64 seconds);

private:
    struct Row;
    QString statusText(int status) const;
    QVariant sizeData(const Row& row, int role) const;
    void notifyColumn2(int row);

    std::vector<std::unique_ptr<Row>> m_rows;
    bool m_progressMode = false;
    bool m_burning = false;
};
