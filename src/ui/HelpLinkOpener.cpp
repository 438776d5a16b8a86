#include "HelpLinkOpener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

#include "HelpViewer.h"

namespace {
const char* const Schemes[] = {"file", "http", "https"};
} // namespace

HelpLinkOpener::HelpLinkOpener(QObject* parent)
    : QObject(parent), m_opener(QStringLiteral("xdg-open"))
{
}

HelpLinkOpener::~HelpLinkOpener()
{
    if (m_installed) {
        for (const char* scheme : Schemes)
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
}

void HelpLinkOpener::install()
{
    for (const char* scheme : Schemes)
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "openUrl");
    m_installed = true;
}

void HelpLinkOpener::openUrl(const QUrl& url)
{
    auto* process = new QProcess(this);
    // xdg-open says with its exit code whether a program took the link (0), or why not.
    connect(process, &QProcess::finished, this,
            [this, process, url](int exitCode, QProcess::ExitStatus status) {
                process->deleteLater();
                if (status != QProcess::NormalExit || exitCode != 0)
                    showHere(url);
            });
    connect(process, &QProcess::errorOccurred, this,
            [this, process, url](QProcess::ProcessError error) {
                if (error != QProcess::FailedToStart)
                    return;
                process->deleteLater();
                showHere(url);
            });
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->start(m_opener, {url.toString(QUrl::FullyEncoded)});
}

void HelpLinkOpener::showHere(const QUrl& url)
{
    if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile()) {
        auto* viewer = new HelpViewer;
        viewer->setAttribute(Qt::WA_DeleteOnClose);
        viewer->setSource(url);
        viewer->show();
        viewer->raise();
        viewer->activateWindow();
        return;
    }
    const QString where = url.isLocalFile() ? url.toLocalFile() : url.toString();
    auto* box = new QMessageBox(QMessageBox::Information, tr("Help"),
                                tr("No program to show this help page was found. The page is "
                                   "at:\n\n%1")
                                    .arg(where),
                                QMessageBox::Ok, nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    box->open();
}
