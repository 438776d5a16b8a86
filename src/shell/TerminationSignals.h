#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a clean end of the wizard: the application's event loops are
// left as if its window had closed, so the controller is torn down and removes this run's
// converted files and messaging socket. The signal handler only writes the signal number to a
// pipe; a notifier on the GUI thread reads it. A second signal of the same kind, once the
// first is being handled, ends the process the usual way.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    // Installs the handlers; needs the application object.
    explicit TerminationSignals(QObject* parent = nullptr);
    // Puts the default handling back.
    ~TerminationSignals() override;

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // The signal that asked to quit, or 0. One handled before the application's event loop
    // started (while start-up turned the loop briefly) is only recorded here.
    int received() const { return m_received; }

private:
    void onSignal();

    QSocketNotifier* m_notifier = nullptr;
    int m_received = 0;
};
