#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

// Safe removal of a USB drive through UDisks2 on D-Bus, as the desktop's "Eject" does: the
// file system is unmounted (an encrypted volume is locked again) and the drive is powered off.
// Every call is asynchronous; the answers come as signals. The bus is the system bus unless
// KAVO_UDISKS_BUS_ADDRESS names another one (tests run a stand-in service on a private bus).
class UDisks2Ejector : public QObject
{
    Q_OBJECT

public:
    enum Result
    {
        Ejected,
        // Unmounted, but the drive cannot be powered off from here; it may be pulled out.
        Unmounted,
        Busy,
        NotPermitted,
        Failed
    };

    explicit UDisks2Ejector(QObject* parent = nullptr);
    UDisks2Ejector(const QDBusConnection& bus, QObject* parent);
    static QDBusConnection defaultBus();

    // Answers with ejectable(): whether UDisks2 is there and mountPoint is a removable drive.
    void query(const QString& mountPoint);
    // Answers with ejected().
    void eject(const QString& mountPoint);

signals:
    void ejectable(bool ejectable);
    // Busy: holders names the programs that keep the drive busy (may be empty). Failed:
    // message is UDisks2's own text.
    void ejected(int result, QStringList holders, QString message);

private:
    struct Plan
    {
        QDBusObjectPath filesystem;
        QDBusObjectPath cryptoBacking;
        QDBusObjectPath drive;
        bool removable = false;
        bool canPowerOff = false;
    };
    using PlanHandler = std::function<void(bool found, const Plan& plan, const QString& error)>;
    void findPlan(const QString& mountPoint, const PlanHandler& handler);
    void callStep(const QDBusObjectPath& path, const QString& interface, const QString& method,
                  const std::function<void()>& next, const QString& mountPoint);
    void finishWithError(const QString& name, const QString& message, const QString& mountPoint);

    QDBusConnection m_bus;
};
