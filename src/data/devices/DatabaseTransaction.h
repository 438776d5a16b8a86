#pragma once

#include <QSqlDatabase>
#include <QSqlError>

namespace TransferDevicesLibrary {

// A write transaction that is rolled back unless it was committed, so no
// early return can leave one open.
class DatabaseTransaction
{
public:
    explicit DatabaseTransaction(QSqlDatabase& db);
    ~DatabaseTransaction();
    DatabaseTransaction(const DatabaseTransaction&) = delete;
    DatabaseTransaction& operator=(const DatabaseTransaction&) = delete;

    // BEGIN IMMEDIATE: takes the write lock at once, so what the transaction
    // reads cannot change before it writes.
    bool Begin();
    bool Commit();
    // Why Begin or Commit failed.
    QSqlError LastError() const { return m_error; }

private:
    bool Run(const char* statement);

    QSqlDatabase& m_db;
    bool m_active = false;
    QSqlError m_error;
};

} // namespace TransferDevicesLibrary
