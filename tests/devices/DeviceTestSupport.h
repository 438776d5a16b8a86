#pragma once

// Shared by the device library tests: private data and runtime folders, a
// fresh library per case, and a second connection to look into the file
// without going through the library.

#include "TransferDevice.h"
#include "TransferDevices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QVariant>
#include <QtTest>

#include <memory>

namespace DeviceTestSupport {

using TransferDevicesLibrary::TransferDevice;
using TransferDevicesLibrary::TransferDevices;

inline QString helperPath(const QString& name)
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
}

// The library this test opened last, if it is still open.
inline TransferDevices*& openedLibrary()
{
    static TransferDevices* library = nullptr;
    return library;
}

// Closes the library, if open, so the next Instance() opens the file afresh.
inline void closeLibrary()
{
    delete openedLibrary();
    openedLibrary() = nullptr;
}

inline TransferDevices* reopenLibrary()
{
    closeLibrary();
    openedLibrary() = TransferDevices::Instance("TransferWizard");
    return openedLibrary();
}

// Points the library at a fresh, empty data folder.
class DataHome
{
public:
    DataHome() { qputenv("XDG_DATA_HOME", m_dir.path().toLocal8Bit()); }
    QString path() const { return m_dir.path(); }
    QString databaseFile() const
    {
        return m_dir.path() + QStringLiteral("/Kavo/TransferWizard/Devices");
    }
    bool makeDatabaseFolder() const
    {
        return QDir().mkpath(m_dir.path() + QStringLiteral("/Kavo/TransferWizard"));
    }

private:
    QTemporaryDir m_dir;
};

// A connection of its own to the file, for setting up and checking.
class FileProbe
{
public:
    explicit FileProbe(const QString& file)
    {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        m_db.setDatabaseName(file);
        m_db.open();
    }
    ~FileProbe()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    bool exec(const QString& sql)
    {
        QSqlQuery query(m_db);
        if (!query.exec(sql)) {
            qWarning() << sql << query.lastError().text();
            return false;
        }
        return true;
    }
    QVariant scalar(const QString& sql)
    {
        QSqlQuery query(m_db);
        if (!query.exec(sql) || !query.next())
            return QVariant();
        return query.value(0);
    }
    QList<QVariantList> rows(const QString& sql)
    {
        QList<QVariantList> out;
        QSqlQuery query(m_db);
        if (!query.exec(sql))
            return out;
        while (query.next()) {
            QVariantList row;
            for (int i = 0; i < query.record().count(); ++i)
                row << query.value(i);
            out << row;
        }
        return out;
    }

private:
    QString m_name = QStringLiteral("DeviceTestProbe");
    QSqlDatabase m_db;
};

} // namespace DeviceTestSupport
