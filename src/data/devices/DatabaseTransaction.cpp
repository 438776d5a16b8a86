#include "DatabaseTransaction.h"

#include <QSqlQuery>

namespace TransferDevicesLibrary {

DatabaseTransaction::DatabaseTransaction(QSqlDatabase& db) : m_db(db) {}

DatabaseTransaction::~DatabaseTransaction()
{
    if (m_active)
        Run("ROLLBACK");
}

bool DatabaseTransaction::Run(const char* statement)
{
    QSqlQuery query(m_db);
    if (query.exec(QLatin1String(statement)))
        return true;
    m_error = query.lastError();
    return false;
}

bool DatabaseTransaction::Begin()
{
    m_active = Run("BEGIN IMMEDIATE");
    return m_active;
}

bool DatabaseTransaction::Commit()
{
    // A failed COMMIT leaves the transaction open; the destructor ends it.
    if (!m_active || !Run("COMMIT"))
        return false;
    m_active = false;
    return true;
}

} // namespace TransferDevicesLibrary
