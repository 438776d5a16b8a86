#include "DiagnosticOutput.h"

#include <QtGlobal>
#include <atomic>

namespace {

std::atomic<bool> g_terminal{false};
std::atomic<QtMessageHandler> g_previous{nullptr};

void filterMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if ((type == QtDebugMsg || type == QtInfoMsg) && !g_terminal)
        return;
    if (const QtMessageHandler previous = g_previous.load())
        previous(type, context, message);
}

} // namespace

bool DiagnosticOutput::requested(const QStringList& arguments)
{
    return arguments.contains(QStringLiteral("--debug")) ||
           arguments.contains(QStringLiteral("-debug"));
}

void DiagnosticOutput::install(const QStringList& arguments)
{
    g_terminal = requested(arguments) || !qEnvironmentVariableIsEmpty("QT_LOGGING_RULES");
    g_previous = qInstallMessageHandler(filterMessage);
}

bool DiagnosticOutput::toTerminal()
{
    return g_terminal;
}
