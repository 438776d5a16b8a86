#include "UDisks2Ejector.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QVariantMap>

#include "MountHolders.h"

using InterfaceProperties = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, InterfaceProperties>;
Q_DECLARE_METATYPE(InterfaceProperties)
Q_DECLARE_METATYPE(ManagedObjects)

namespace {

const QString Service = QStringLiteral("org.freedesktop.UDisks2");
const QString Root = QStringLiteral("/org/freedesktop/UDisks2");
const QString BlockInterface = QStringLiteral("org.freedesktop.UDisks2.Block");
const QString FilesystemInterface = QStringLiteral("org.freedesktop.UDisks2.Filesystem");
const QString DriveInterface = QStringLiteral("org.freedesktop.UDisks2.Drive");
const QString EncryptedInterface = QStringLiteral("org.freedesktop.UDisks2.Encrypted");
// A power-off can take a few seconds while the drive's cache is written out.
constexpr int CallTimeoutMs = 60000;

void registerTypes()
{
    static const bool done = [] {
        qDBusRegisterMetaType<InterfaceProperties>();
        qDBusRegisterMetaType<ManagedObjects>();
        return true;
    }();
    Q_UNUSED(done);
}

QString canonical(const QString& path)
{
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? path : c;
}

QDBusObjectPath objectPath(const QVariant& value)
{
    if (value.canConvert<QDBusObjectPath>())
        return value.value<QDBusObjectPath>();
    return QDBusObjectPath(QStringLiteral("/"));
}

bool isSet(const QDBusObjectPath& path)
{
    return !path.path().isEmpty() && path.path() != QLatin1String("/");
}

QStringList mountPoints(const QVariant& value)
{
    QList<QByteArray> points;
    if (value.canConvert<QDBusArgument>())
        points = qdbus_cast<QList<QByteArray>>(value.value<QDBusArgument>());
    else
        points = value.value<QList<QByteArray>>();
    QStringList out;
    for (QByteArray point : points) {
        // Stored as C strings, with their NUL.
        while (point.endsWith('\0'))
            point.chop(1);
        out << QFile::decodeName(point);
    }
    return out;
}

} // namespace

UDisks2Ejector::UDisks2Ejector(QObject* parent) : UDisks2Ejector(defaultBus(), parent) {}

UDisks2Ejector::UDisks2Ejector(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), m_bus(bus)
{
    registerTypes();
}

QDBusConnection UDisks2Ejector::defaultBus()
{
    const QString address = qEnvironmentVariable("KAVO_UDISKS_BUS_ADDRESS");
    if (address.isEmpty())
        return QDBusConnection::systemBus();
    return QDBusConnection::connectToBus(address, QStringLiteral("portavo-udisks"));
}

void UDisks2Ejector::findPlan(const QString& mountPoint, const PlanHandler& handler)
{
    if (!m_bus.isConnected()) {
        handler(false, Plan(), m_bus.lastError().message());
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        Service, Root, QStringLiteral("org.freedesktop.DBus.ObjectManager"),
        QStringLiteral("GetManagedObjects"));
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, CallTimeoutMs), this);
    const QString wanted = canonical(mountPoint);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [handler, wanted](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusPendingReply<ManagedObjects> reply = *w;
                if (reply.isError()) {
                    handler(false, Plan(), reply.error().message());
                    return;
                }
                const ManagedObjects objects = reply.value();
                for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
                    const InterfaceProperties& interfaces = it.value();
                    if (!interfaces.contains(FilesystemInterface))
                        continue;
                    bool here = false;
                    for (const QString& point : mountPoints(
                             interfaces[FilesystemInterface].value(QStringLiteral("MountPoints"))))
                        here = here || canonical(point) == wanted;
                    if (!here)
                        continue;
                    Plan plan;
                    plan.filesystem = it.key();
                    const QVariantMap block = interfaces.value(BlockInterface);
                    plan.drive = objectPath(block.value(QStringLiteral("Drive")));
                    plan.cryptoBacking =
                        objectPath(block.value(QStringLiteral("CryptoBackingDevice")));
                    // An opened encrypted volume has no drive of its own: its backing block has.
                    if (!isSet(plan.drive) && isSet(plan.cryptoBacking))
                        plan.drive = objectPath(objects.value(plan.cryptoBacking)
                                                    .value(BlockInterface)
                                                    .value(QStringLiteral("Drive")));
                    const QVariantMap drive = objects.value(plan.drive).value(DriveInterface);
                    plan.removable = drive.value(QStringLiteral("Removable")).toBool() ||
                                     drive.value(QStringLiteral("ConnectionBus")).toString() ==
                                         QLatin1String("usb");
                    plan.canPowerOff = drive.value(QStringLiteral("CanPowerOff")).toBool();
                    handler(isSet(plan.drive), plan, QString());
                    return;
                }
                handler(false, Plan(), QString());
            });
}

void UDisks2Ejector::query(const QString& mountPoint)
{
    findPlan(mountPoint, [this](bool found, const Plan& plan, const QString&) {
        emit ejectable(found && plan.removable);
    });
}

void UDisks2Ejector::finishWithError(const QString& name, const QString& message,
                                     const QString& mountPoint)
{
    if (name.endsWith(QLatin1String(".DeviceBusy")))
        emit ejected(Busy, MountHolders::of(mountPoint), message);
    else if (name.contains(QLatin1String(".NotAuthorized")) ||
             name == QLatin1String("org.freedesktop.DBus.Error.AccessDenied"))
        emit ejected(NotPermitted, {}, message);
    else
        emit ejected(Failed, {}, message);
}

void UDisks2Ejector::callStep(const QDBusObjectPath& path, const QString& interface,
                              const QString& method, const std::function<void()>& next,
                              const QString& mountPoint)
{
    QDBusMessage call = QDBusMessage::createMethodCall(Service, path.path(), interface, method);
    call << QVariantMap();
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, CallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, next, mountPoint](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusPendingReply<> reply = *w;
                if (reply.isError())
                    finishWithError(reply.error().name(), reply.error().message(), mountPoint);
                else
                    next();
            });
}

void UDisks2Ejector::eject(const QString& mountPoint)
{
    findPlan(mountPoint, [this, mountPoint](bool found, const Plan& plan, const QString& error) {
        if (!found) {
            emit ejected(Failed, {},
                         error.isEmpty() ? tr("the drive is not known to UDisks2") : error);
            return;
        }
        const auto powerOff = [this, plan, mountPoint]() {
            if (!plan.canPowerOff) {
                emit ejected(Unmounted, {}, QString());
                return;
            }
            callStep(
                plan.drive, DriveInterface, QStringLiteral("PowerOff"),
                [this]() { emit ejected(Ejected, {}, QString()); }, mountPoint);
        };
        const auto lock = [this, plan, powerOff, mountPoint]() {
            if (!isSet(plan.cryptoBacking)) {
                powerOff();
                return;
            }
            callStep(plan.cryptoBacking, EncryptedInterface, QStringLiteral("Lock"), powerOff,
                     mountPoint);
        };
        callStep(plan.filesystem, FilesystemInterface, QStringLiteral("Unmount"), lock, mountPoint);
    });
}
