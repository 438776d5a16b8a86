#include "UnSupportedFileTypeDlg.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "DialogStyleSheet.h"

UnSupportedFileTypeDlg::UnSupportedFileTypeDlg(QWidget* parent) : QDialog(parent)
{
    setUpSecondaryDialog(this, QStringLiteral("UnsupportedVideoDialog"));
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(QCoreApplication::translate("UnsupportedVideoDialog", "Unsupported Video"));

    auto* root = new QVBoxLayout(this);
    auto* description = new QLabel(
        QCoreApplication::translate("UnsupportedVideoDialog",
                                    "We are sorry, but Portavo does not support this file type"),
        this);
    description->setObjectName(QStringLiteral("descriptionLabel"));
    description->setWordWrap(true);

    auto* learnMore = new QLabel(this);
    learnMore->setObjectName(QStringLiteral("learnMoreLabel"));
    learnMore->setStyleSheet(QStringLiteral("QLabel{\n font: 10px;\n}"));
    learnMore->setTextFormat(Qt::RichText);
    learnMore->setText(
        QStringLiteral("<a href=\"%1\"><span style=\"text-decoration: underline; "
                       "color:#2BB0DC;\">%2</span></a>")
            .arg(helpPageUrl(QStringLiteral("/kavo/windows/portavo/support/filetype/en"))
                     .toHtmlEscaped(),
                 QCoreApplication::translate("UnsupportedVideoDialog", "Learn more")));
    learnMore->setOpenExternalLinks(true);

    m_fileNameList = new QListWidget(this);
    m_fileNameList->setObjectName(QStringLiteral("fileNameList"));
    m_fileNameList->setSelectionMode(QAbstractItemView::NoSelection);
    // The list only informs: taking focus would make its first row current and draw it
    // highlighted, as if it were chosen.
    m_fileNameList->setFocusPolicy(Qt::NoFocus);
    m_fileNameList->setDropIndicatorShown(false);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    buttons->setCenterButtons(true);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    root->addWidget(description);
    root->addWidget(learnMore);
    root->addWidget(m_fileNameList);
    root->addWidget(buttons);
    setFixedSize(311, 165);
}

UnSupportedFileTypeDlg::~UnSupportedFileTypeDlg() = default;

void UnSupportedFileTypeDlg::setFileNames(const QStringList& names)
{
    m_fileNameList->clear();
    m_fileNameList->addItems(names);
    m_fileNameList->setCurrentIndex(QModelIndex());
}
