#include "HelpChooseDeviceDlg.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

#include "DialogStyleSheet.h"

HelpChooseDeviceDlg::HelpChooseDeviceDlg(QWidget* parent) : QDialog(parent)
{
    setUpSecondaryDialog(this, QStringLiteral("HelpChooseDialog"));
    setWindowTitle(QCoreApplication::translate("HelpChooseDialog", "Help choose your device type"));

    auto* grid = new QGridLayout(this);
    m_descriptionLabel =
        new QLabel(QCoreApplication::translate(
                       "HelpChooseDialog",
                       "The recommended option will be compatible with any Kavo Certified device.  "
                       "If you are unsure which type of device you have, always choose the "
                       "recommended option."),
                   this);
    m_descriptionLabel->setObjectName(QStringLiteral("helpDescriptionLabel"));
    m_descriptionLabel->setWordWrap(true);

    m_learnMoreLabel = new QLabel(this);
    m_learnMoreLabel->setObjectName(QStringLiteral("learnMoreLabel"));
    m_learnMoreLabel->setTextFormat(Qt::RichText);
    m_learnMoreLabel->setText(
        QStringLiteral("<a href=\"%1\"><span style=\"text-decoration: underline; "
                       "color:#2BB0DC;\">%2</span></a>")
            .arg(helpPageUrl(QStringLiteral("/kavo/profiles/en")).toHtmlEscaped(),
                 QCoreApplication::translate("HelpChooseDialog",
                                             "Learn more about Kavo Certified devices")));
    m_learnMoreLabel->setOpenExternalLinks(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    grid->addWidget(m_descriptionLabel, 0, 0);
    grid->addWidget(m_learnMoreLabel, 1, 0);
    grid->addWidget(buttons, 2, 0);
    setFixedSize(347, 183);
}

HelpChooseDeviceDlg::~HelpChooseDeviceDlg() = default;
