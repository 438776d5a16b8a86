#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// Sends the wizard's anonymous usage events as plain HTTP GET requests, one at a time and in
// order. Only the path of each address is sent; replies are not read. A failed request is
// treated like a successful one. All calls come from the GUI thread.
class PingManager : public QObject
{
    Q_OBJECT

public:
    PingManager();
    ~PingManager() override;

    // Queues the address and starts sending when the queue was idle. Unless doNotWait, waits
    // (keeping the event loop turning) until the queue drains, giving up after 30 rounds of
    // 100 ms sleep plus up to 100 ms of event processing. Empty addresses are ignored.
    void ping(const QUrl& url, bool doNotWait);

    // Drops every queued request, including the one in flight, without waiting.
    void clear();

    int pendingCount() const { return int(m_queue.size()); }

    // Base of the wizard's event addresses ("http://<host>/hint/d9-WindowTransferWizard");
    // empty when no usage host is configured, in which case nothing must be sent.
    static QByteArray baseUrl();
    // Base of the converter's profile event
    // ("http://<host>/hint/WindowTransferWizardTranscodeProfile-").
    static QByteArray transcodeProfileBaseUrl();
    // The install setting "UsageHost" (Install/TransferWizard); empty when missing.
    static QByteArray usageHost();

public slots:
    void onDone(bool error);

private:
    void sendHead();
    void finished(QNetworkReply* reply);

    QList<QUrl> m_queue;
    QNetworkAccessManager* m_network = nullptr;
    QNetworkReply* m_inFlight = nullptr;
};

// The process-wide queue. Created on first use; lives until the program ends.
PingManager* pingManager();

// Sends base address + event, when a usage host is configured. Returns the address used
// (empty when nothing was sent), for the caller's log.
QUrl sendUsagePing(const QByteArray& event, bool doNotWait);
