#include "HelpViewer.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpViewer::HelpViewer(QWidget* parent) : QDialog(parent), m_browser(new QTextBrowser(this))
{
    setWindowTitle(tr("Portavo Help"));
    setWindowIcon(QIcon(QStringLiteral(":/DeviceTransferWizard/portavo.png")));
    // Pages link to each other and to the web; the web goes to the desktop's opener.
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_browser);
    layout->addWidget(buttons);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this]() {
        const QString title = m_browser->documentTitle();
        setWindowTitle(title.isEmpty() ? tr("Portavo Help") : title);
    });
    resize(640, 520);
}

void HelpViewer::setSource(const QUrl& url)
{
    m_browser->setSource(url);
}
