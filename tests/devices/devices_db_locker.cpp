// Holds an exclusive write lock on an SQLite file, as another program of the
// family might: devices_db_locker FILE SECONDS. The lock is released after
// SECONDS or as soon as a line arrives on standard input.
// Inside the locked transaction it sets every device's data rate to 777, so
// the test can see that its own later write came after this one.
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>
#include <poll.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: devices_db_locker FILE SECONDS\n");
        return 2;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(QString::fromLocal8Bit(argv[1]));
    if (!db.open()) {
        std::fprintf(stderr, "open: %s\n", qPrintable(db.lastError().text()));
        return 1;
    }
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("BEGIN EXCLUSIVE")) ||
        !query.exec(QStringLiteral("UPDATE device SET data_rate_of_last_used_drive = 777"))) {
        std::fprintf(stderr, "lock: %s\n", qPrintable(query.lastError().text()));
        return 1;
    }
    std::printf("LOCKED\n");
    std::fflush(stdout);
    pollfd in = {STDIN_FILENO, POLLIN, 0};
    poll(&in, 1, atoi(argv[2]) * 1000);
    if (!query.exec(QStringLiteral("COMMIT"))) {
        std::fprintf(stderr, "commit: %s\n", qPrintable(query.lastError().text()));
        return 1;
    }
    std::printf("UNLOCKED\n");
    std::fflush(stdout);
    return 0;
}
