#include "SuperComboBoxItem.h"

#include "SharpPixmap.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>

SuperComboBoxItem::SuperComboBoxItem(QWidget* parent, int id) : HoverClickWidget(parent, id)
{
    setObjectName(QStringLiteral("SuperComboPopupItem"));
    setFocusPolicy(Qt::StrongFocus);
    resize(384, 42);
    setHighlightBrush(QColor(0, 0, 128, 32));

    auto* layout = new QGridLayout(this);
    layout->setObjectName(QStringLiteral("SuperComboPopupItemLayout"));
    layout->setHorizontalSpacing(3);
    layout->setVerticalSpacing(0);
    layout->setContentsMargins(0, 0, 6, 0);

    m_iconLabel = new QLabel(this);
    m_iconLabel->setObjectName(QStringLiteral("iconLabel"));
    m_iconLabel->setMargin(6);
    m_textLabel = new QLabel(QStringLiteral("[TEXT]"), this);
    m_textLabel->setObjectName(QStringLiteral("textLabel"));
    m_textLabel->setMinimumWidth(110);
    m_textLabel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    QFont bold = m_textLabel->font();
    bold.setBold(true);
    m_textLabel->setFont(bold);
    m_textLabel->setStyleSheet(QStringLiteral("QWidget{\n\tcolor: rgb(50, 53, 60);\n}"));
    m_subTextLabel = new QLabel(QStringLiteral("[SUBTEXT]"), this);
    m_subTextLabel->setObjectName(QStringLiteral("subTextLabel"));
    m_sizeLabel = new QLabel(QStringLiteral("[SIZE]"), this);
    m_sizeLabel->setObjectName(QStringLiteral("centeredTxt"));
    m_sizeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Grey enough to rank below the name, dark enough to be read on the white popup.
    const QString secondary = QStringLiteral("QWidget{\n\tcolor: #6E737B;\n}");
    m_subTextLabel->setStyleSheet(secondary);
    m_sizeLabel->setStyleSheet(secondary);

    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("HorizontalLine"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setStyleSheet(QStringLiteral("color: #E4E6E9;"));

    layout->addWidget(m_iconLabel, 0, 0, 2, 1);
    layout->addWidget(m_textLabel, 0, 1);
    layout->addWidget(m_subTextLabel, 1, 1);
    layout->addWidget(m_sizeLabel, 0, 2, 2, 1);
    layout->addWidget(line, 2, 0, 1, 3);
}

SuperComboBoxItem::~SuperComboBoxItem() = default;

void SuperComboBoxItem::setText(const QString& text)
{
    m_textLabel->setText(text);
}

void SuperComboBoxItem::setSubText(const QString& subText)
{
    m_subTextLabel->setText(subText);
}

void SuperComboBoxItem::setSizeText(const QString& sizeText)
{
    m_sizeLabel->setText(sizeText);
}

void SuperComboBoxItem::setIcon(const QString& path)
{
    if (path.isEmpty())
        m_iconLabel->clear();
    else
        m_iconLabel->setPixmap(sharpPixmap(path, devicePixelRatioF()));
}

QString SuperComboBoxItem::text() const
{
    return m_textLabel->text();
}

QString SuperComboBoxItem::subText() const
{
    return m_subTextLabel->text();
}

QString SuperComboBoxItem::sizeText() const
{
    return m_sizeLabel->text();
}
