#pragma once

#include <QFile>
#include <QObject>
#include <QString>

class QSocketNotifier;

// Reports each mount and unmount. The kernel marks an open mount table (/proc/self/mountinfo)
// as exceptional when the table changes; the mark stays until the table is read again from
// the start, so every report re-reads it once.
class VolumeChangeWatcher : public QObject
{
    Q_OBJECT

public:
    explicit VolumeChangeWatcher(const QString& mountInfoPath, QObject* parent = nullptr);
    ~VolumeChangeWatcher() override;

    // False when the table could not be opened; nothing is reported then.
    bool isActive() const { return m_notifier != nullptr; }
    QString path() const { return m_file.fileName(); }

signals:
    void volumesChanged();

private:
    void onTableChanged();

    QFile m_file;
    QSocketNotifier* m_notifier = nullptr;
};
