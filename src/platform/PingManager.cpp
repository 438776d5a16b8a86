#include "PingManager.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>
#include <string>

#include "SettingsAccessors.h"

namespace {
constexpr int WaitRounds = 30;
constexpr int WaitSleepMs = 100;
constexpr int WaitEventsMs = 100;
// A host that accepts the connection but never answers must not hold the queue forever.
constexpr int RequestTimeoutMs = 30000;
} // namespace

PingManager::PingManager() = default;

PingManager::~PingManager()
{
    clear();
}

void PingManager::ping(const QUrl& url, bool doNotWait)
{
    if (url.isEmpty() || !url.isValid())
        return;
    m_queue.append(url);
    if (m_queue.size() == 1)
        sendHead();
    if (doNotWait)
        return;
    for (int round = 0; round < WaitRounds; ++round) {
        if (m_queue.isEmpty())
            break;
        QThread::msleep(WaitSleepMs);
        // User input stays queued so that nothing re-enters the caller while it waits.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, WaitEventsMs);
    }
}

void PingManager::clear()
{
    m_queue.clear();
    if (m_inFlight) {
        QNetworkReply* reply = m_inFlight;
        m_inFlight = nullptr;
        reply->disconnect(this);
        reply->abort();
    }
    // The network manager goes with the queue: it must not outlive the application object.
    delete m_network;
    m_network = nullptr;
}

void PingManager::onDone(bool /*error*/)
{
    if (!m_queue.isEmpty())
        m_queue.removeFirst();
    if (!m_queue.isEmpty())
        sendHead();
}

void PingManager::sendHead()
{
    if (m_queue.isEmpty())
        return;
    if (!QCoreApplication::instance()) {
        // Without an application there is no event loop to carry the request.
        m_queue.clear();
        return;
    }
    if (!m_network) {
        m_network = new QNetworkAccessManager(this);
        if (thread() != QCoreApplication::instance()->thread())
            moveToThread(QCoreApplication::instance()->thread());
    }

    const QUrl head = m_queue.first();
    // Only the path goes out: query and fragment are dropped.
    QUrl target;
    target.setScheme(head.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0
                         ? QStringLiteral("https")
                         : QStringLiteral("http"));
    target.setHost(head.host());
    if (head.port() != -1)
        target.setPort(head.port());
    target.setPath(head.path(QUrl::FullyEncoded), QUrl::TolerantMode);

    QNetworkRequest request(target);
    request.setTransferTimeout(RequestTimeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply* reply = m_network->get(request);
    m_inFlight = reply;
    connect(reply, &QNetworkReply::finished, this, [this, reply]() { finished(reply); });
}

void PingManager::finished(QNetworkReply* reply)
{
    const bool error = reply->error() != QNetworkReply::NoError;
    reply->deleteLater();
    if (reply != m_inFlight)
        return;
    m_inFlight = nullptr;
    onDone(error);
}

QByteArray PingManager::usageHost()
{
    std::string host;
    if (!ReadInstallSetting("TransferWizard", "UsageHost", host))
        return {};
    return QByteArray::fromStdString(host).trimmed();
}

QByteArray PingManager::baseUrl()
{
    const QByteArray host = usageHost();
    if (host.isEmpty())
        return {};
    return "http://" + host + "/hint/d9-WindowTransferWizard";
}

QByteArray PingManager::transcodeProfileBaseUrl()
{
    const QByteArray host = usageHost();
    if (host.isEmpty())
        return {};
    return "http://" + host + "/hint/WindowTransferWizardTranscodeProfile-";
}

PingManager* pingManager()
{
    static PingManager manager;
    return &manager;
}

QUrl sendUsagePing(const QByteArray& event, bool doNotWait)
{
    const QByteArray base = PingManager::baseUrl();
    if (base.isEmpty())
        return {};
    const QUrl url = QUrl::fromEncoded(base + event, QUrl::TolerantMode);
    pingManager()->ping(url, doNotWait);
    return url;
}
