#include "TerminationSignals.h"

#include <QCoreApplication>
#include <QDebug>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include "ShellLogging.h"

namespace {

// Made once per process and never closed: a signal may still arrive while the process ends.
int g_pipe[2] = {-1, -1};
const int kSignals[] = {SIGTERM, SIGINT};

void onTerminationSignal(int signal)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

void setHandler(int signal, void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls go on: the signal is handled on the event loop.
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qCWarning(lcShell)
            << "TerminationSignals  no pipe; SIGTERM and SIGINT end the program at once";
        return;
    }
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::onSignal);
    for (int signal : kSignals)
        setHandler(signal, &onTerminationSignal);
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier)
        return;
    for (int signal : kSignals)
        setHandler(signal, SIG_DFL);
}

void TerminationSignals::onSignal()
{
    unsigned char byte = 0;
    while (::read(g_pipe[0], &byte, 1) == 1) {
        if (m_received != 0)
            continue;
        m_received = byte;
        qCDebug(lcShell).noquote() << "TerminationSignals  signal" << m_received << ": quitting";
        // Asked twice: the user wants the process gone, whatever it is waiting for.
        setHandler(m_received, SIG_DFL);
        // Leaves every running event loop, modal ones included, without asking the windows
        // (quit() would let the wizard ask whether to cancel its transfer).
        QCoreApplication::exit(0);
    }
}
