#include "ErrorDialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "DialogStyleSheet.h"
#include "EllipsisLabel.h"
#include "Formatting.h"
#include "ResultCodeReasons.h"

QString ErrorDialog::reasonText(int code)
{
    return QCoreApplication::translate("ResultCodeReason", kvt::resultCodeReason(code));
}

ErrorDialog::ErrorDialog(QWidget* parent) : QDialog(parent)
{
    setUpSecondaryDialog(this, QStringLiteral("ErrorDialog"));
    setModal(true);

    auto* root = new QVBoxLayout(this);
    root->setObjectName(QStringLiteral("rootLayout"));
    root->setSpacing(9);

    m_label = new QLabel(QStringLiteral("[TEXT]"), this);
    m_label->setObjectName(QStringLiteral("label"));
    m_label->setWordWrap(true);
    m_errorClickLabel =
        new QLabel(tr("Click the link in the error message for more information"), this);
    m_errorClickLabel->setObjectName(QStringLiteral("errorClickLabel"));

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("treeWidget"));
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setDropIndicatorShown(false);
    m_tree->setAlternatingRowColors(true);
    m_tree->setSelectionMode(QAbstractItemView::NoSelection);
    m_tree->setRootIsDecorated(false);
    m_tree->setUniformRowHeights(true);
    m_tree->setItemsExpandable(false);
    m_tree->setColumnCount(3);
    //: column headers: the error code and reason, the file's path
    m_tree->setHeaderLabels({QString(), tr("Error"), tr("File")});
    m_tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_tree->header()->setSectionsMovable(false);
    m_tree->header()->setStretchLastSection(true);

    m_buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));

    root->addWidget(m_label);
    root->addWidget(m_errorClickLabel);
    root->addWidget(m_tree);
    root->addWidget(m_buttonBox);
    setFixedSize(540, 280);
}

ErrorDialog::~ErrorDialog() = default;

void ErrorDialog::addRow(const QString& path, int code)
{
    auto* item = new QTreeWidgetItem(m_tree);
    if (code == 0) {
        item->setIcon(0, QIcon(QStringLiteral(":/DeviceTransferWizard/generic-success.png")));
        item->setText(1, QString());
        item->setTextAlignment(1, Qt::AlignLeft | Qt::AlignVCenter);
    } else {
        item->setIcon(0, QIcon(QStringLiteral(":/DeviceTransferWizard/generic-failure.png")));
        auto* link = new QLabel(m_tree);
        link->setTextFormat(Qt::RichText);
        // The code links to its help page; the reason beside it says in plain words what the
        // number means.
        link->setText(
            QStringLiteral("<a href=\"%1\"><span style=\"color:#2BB0DC;\">%2</span></a> %3")
                .arg(errorHelpUrl(code).toHtmlEscaped())
                .arg(code)
                .arg(reasonText(code).toHtmlEscaped()));
        link->setOpenExternalLinks(true);
        link->setTextInteractionFlags(Qt::TextBrowserInteraction);
        // A gap before the file name, which the column would otherwise touch.
        link->setContentsMargins(0, 0, 12, 0);
        m_tree->setItemWidget(item, 1, link);
        ++m_linkCount;
    }
    auto* name = new kvqs::EllipsisLabel(m_tree);
    // The path is data, never markup.
    name->setTextFormat(Qt::PlainText);
    name->setText(nativePath(path));
    name->setToolTip(nativePath(path));
    m_tree->setItemWidget(item, 2, name);
    m_tree->clearSelection();
    m_tree->setFocusPolicy(Qt::NoFocus);
    m_tree->clearFocus();
    ++m_rowCount;
}

bool ErrorDialog::hasRows() const
{
    return m_tree->topLevelItemCount() > 0;
}

void ErrorDialog::prepare(const QString& title, const QString& text, bool twoButtons)
{
    setWindowTitle(title);
    QString body = text;
    if (body.contains(QLatin1String("%1")))
        body = body.arg(m_rowCount - m_linkCount);
    m_label->setText(body);
    m_errorClickLabel->setVisible(m_linkCount > 0);
    // The reasons were measured as they were added; measure them again as they are shown.
    m_tree->resizeColumnToContents(1);
    m_buttonBox->disconnect(this);
    m_buttonBox->clear();
    if (twoButtons) {
        QPushButton* ok = m_buttonBox->addButton(QDialogButtonBox::Ok);
        //: button: open the listed files anyway
        QPushButton* open = m_buttonBox->addButton(tr("Open"), QDialogButtonBox::AcceptRole);
        connect(ok, &QPushButton::clicked, this, &QDialog::reject);
        connect(open, &QPushButton::clicked, this, &QDialog::accept);
        open->setDefault(true);
    } else {
        QPushButton* ok = m_buttonBox->addButton(QDialogButtonBox::Ok);
        connect(ok, &QPushButton::clicked, this, &QDialog::close);
        ok->setDefault(true);
    }
}

int ErrorDialog::run(const QString& title, const QString& text, bool twoButtons)
{
    if (!hasRows())
        return 0;
    prepare(title, text, twoButtons);
    return exec();
}
