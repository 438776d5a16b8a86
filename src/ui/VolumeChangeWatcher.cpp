#include "VolumeChangeWatcher.h"

#include <QSocketNotifier>

VolumeChangeWatcher::VolumeChangeWatcher(const QString& mountInfoPath, QObject* parent)
    : QObject(parent), m_file(mountInfoPath)
{
    if (mountInfoPath.isEmpty() || !m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return;
    // Read once so that only changes after this point are reported.
    m_file.readAll();
    m_notifier = new QSocketNotifier(m_file.handle(), QSocketNotifier::Exception, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &VolumeChangeWatcher::onTableChanged);
}

VolumeChangeWatcher::~VolumeChangeWatcher()
{
    // The notifier goes before the descriptor it watches is closed.
    delete m_notifier;
}

void VolumeChangeWatcher::onTableChanged()
{
    // Clears the change mark; without this the notifier would fire again at once.
    m_file.seek(0);
    m_file.readAll();
    emit volumesChanged();
}
