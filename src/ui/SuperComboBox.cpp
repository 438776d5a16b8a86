#include "SuperComboBox.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include "DialogStyleSheet.h"
#include "PopupPlacement.h"
#include "SharpPixmap.h"
#include "SuperComboBoxItem.h"
#include "SuperComboBoxPopup.h"

namespace {

enum StateIndex
{
    NormalState = 0,
    HoverState = 1,
    DownState = 2
};

QString labelSheet(const QColor& color)
{
    return QStringLiteral("QLabel {color: %1;}").arg(color.name());
}

} // namespace

SuperComboBox::SuperComboBox(QWidget* parent) : HoverClickWidget(parent)
{
    initPortavoResources();
    setObjectName(QStringLiteral("SuperComboBox"));
    setFocusPolicy(Qt::StrongFocus);
    resize(249, 41);

    m_rootLayout = new QGridLayout(this);
    m_rootLayout->setObjectName(QStringLiteral("rootLayout"));
    m_rootLayout->setHorizontalSpacing(3);
    m_rootLayout->setVerticalSpacing(0);
    m_rootLayout->setContentsMargins(0, 0, 6, 0);

    m_iconLabel = new QLabel(this);
    m_iconLabel->setObjectName(QStringLiteral("iconLabel"));
    m_iconLabel->setMargin(5);
    m_textLabel = new QLabel(QStringLiteral("[TEXT]"), this);
    m_textLabel->setObjectName(QStringLiteral("textLabel"));
    m_textLabel->setMinimumWidth(100);
    // Both texts are elided to the room the layout gives them, so neither widens the combo.
    m_textLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_textLabel->installEventFilter(this);
    m_subTextLabel = new QLabel(QStringLiteral("[SUBTEXT]"), this);
    m_subTextLabel->setObjectName(QStringLiteral("subTextLabel"));
    m_subTextLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_subTextLabel->installEventFilter(this);
    m_sizeLabel = new QLabel(QStringLiteral("[SIZE]"), this);
    m_sizeLabel->setObjectName(QStringLiteral("centeredTxt"));
    m_sizeLabel->setAlignment(Qt::AlignCenter);
    m_arrowLabel = new QLabel(this);
    m_arrowLabel->setObjectName(QStringLiteral("arrowLabel"));
    m_arrowLabel->setPixmap(
        sharpPixmap(QStringLiteral(":/SuperComboBox/icon-dropdown-up.png"), devicePixelRatioF()));

    QFont small = font();
    if (small.pointSizeF() > 1.0)
        small.setPointSizeF(small.pointSizeF() - 1.0);
    QFont bold = small;
    bold.setBold(true);
    m_textLabel->setFont(bold);
    m_subTextLabel->setFont(small);

    m_rootLayout->addWidget(m_iconLabel, 0, 0, 2, 1);
    m_rootLayout->addWidget(m_textLabel, 0, 1);
    m_rootLayout->addWidget(m_subTextLabel, 1, 1);
    m_rootLayout->addWidget(m_sizeLabel, 0, 2, 2, 1);
    m_rootLayout->addWidget(m_arrowLabel, 0, 3, 2, 1);
    m_rootLayout->setColumnStretch(1, 1);

    m_popup = new SuperComboBoxPopup(this);
    connect(m_popup, &SuperComboBoxPopup::shown, this, &SuperComboBox::popupShown);
    connect(m_popup, &SuperComboBoxPopup::hidden, this, &SuperComboBox::popupHidden);
    connect(this, &HoverClickWidget::clicked, this, &SuperComboBox::onClick);
    connect(this, &QObject::objectNameChanged, this, [this] { applyState(); });

    m_faceIcon = QStringLiteral(":/driveComboBox/DVD.png");
    m_facePressedIcon = m_faceIcon;
    m_faceText = QStringLiteral("DVD");
    m_faceSubText = QStringLiteral("drive");
    elideFaceTexts();
    m_sizeLabel->clear();
    m_style = defaultStyle();
    applyState();
}

SuperComboBox::~SuperComboBox() = default;

SuperComboBox::ComboStyle SuperComboBox::defaultStyle()
{
    ComboStyle style;
    style.normal.borderImage = QStringLiteral(":/SuperComboBox/button-tile-up.png");
    style.hover.borderImage = QStringLiteral(":/SuperComboBox/button-tile-hover.png");
    style.down.borderImage = QStringLiteral(":/SuperComboBox/button-tile-down.png");
    style.normal.arrowImage = QStringLiteral(":/SuperComboBox/icon-dropdown-up.png");
    style.hover.arrowImage = QStringLiteral(":/SuperComboBox/icon-dropdown-hover.png");
    style.down.arrowImage = QStringLiteral(":/SuperComboBox/icon-dropdown-down.png");
    style.down.textColor = Qt::black;
    style.down.subTextColor = Qt::black;
    return style;
}

void SuperComboBox::setStyle(const ComboStyle& style)
{
    m_style = style;
    applyState();
}

void SuperComboBox::applyState()
{
    const StateStyle* state = &m_style.normal;
    bool down = false;
    if (m_down) {
        state = &m_style.down;
        down = true;
    } else if (m_hovered && isEnabled()) {
        state = &m_style.hover;
    }
    // Built from the current object name: a designer form renames the widget after
    // construction.
    const QString frameSheet =
        QStringLiteral(
            "QFrame#%6 {border-top-width: %1px; border-right-width: %2px; "
            "border-bottom-width: %3px; border-left-width: %4px; border-image: url(%5) %1 %2 "
            "%3 %4 stretch stretch; padding-top: -%1px; padding-right: -%2px; padding-bottom: "
            "-%3px; padding-left: -%4px; }")
            .arg(state->top)
            .arg(state->right)
            .arg(state->bottom)
            .arg(state->left)
            .arg(state->borderImage, objectName());
    if (styleSheet() != frameSheet)
        setStyleSheet(frameSheet);
    m_arrowLabel->setPixmap(sharpPixmap(state->arrowImage, devicePixelRatioF()));
    m_textLabel->setStyleSheet(labelSheet(state->textColor));
    m_subTextLabel->setStyleSheet(labelSheet(state->subTextColor));
    m_sizeLabel->setStyleSheet(labelSheet(state->textColor));
    const QString icon = down ? m_facePressedIcon : m_faceIcon;
    if (icon.isEmpty())
        m_iconLabel->clear();
    else
        m_iconLabel->setPixmap(sharpPixmap(icon, devicePixelRatioF()));
}

bool SuperComboBox::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
        if (!m_hovered) {
            m_hovered = true;
            applyState();
        }
        break;
    case QEvent::HoverLeave:
        m_hovered = false;
        applyState();
        break;
    default:
        break;
    }
    return HoverClickWidget::event(event);
}

void SuperComboBox::mousePressEvent(QMouseEvent* event)
{
    // The press that just closed the popup is not the start of a new click.
    if (m_closing) {
        event->accept();
        return;
    }
    HoverClickWidget::mousePressEvent(event);
}

void SuperComboBox::changeEvent(QEvent* event)
{
    HoverClickWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        applyState();
}

void SuperComboBox::groupDecoration(int, QString& icon, QString& pressedIcon,
                                    QString& groupName) const
{
    icon.clear();
    pressedIcon.clear();
    groupName.clear();
}

void SuperComboBox::addItem(int group, const QString& text, const QString& subText,
                            const QVariant& data, const QString& sizeText)
{
    Item entry;
    entry.group = group;
    entry.text = text;
    entry.subText = subText;
    entry.sizeText = sizeText;
    entry.data = data;
    groupDecoration(group, entry.icon, entry.pressedIcon, entry.groupName);
    m_items.append(entry);

    auto* row = new SuperComboBoxItem(m_popup, int(m_items.size()) - 1);
    row->setText(text);
    row->setSubText(subText);
    row->setSizeText(sizeText);
    row->setIcon(entry.icon);
    m_popup->addItem(row);
    connect(row, &HoverClickWidget::clicked, this, &SuperComboBox::collapse);
}

void SuperComboBox::setItemSizeText(int index, const QString& sizeText)
{
    if (index < 0 || index >= m_items.size())
        return;
    m_items[index].sizeText = sizeText;
    const auto rows =
        m_popup->findChildren<SuperComboBoxItem*>(QString(), Qt::FindDirectChildrenOnly);
    for (SuperComboBoxItem* row : rows) {
        if (row->id() == index)
            row->setSizeText(sizeText);
    }
    if (index == m_currentIndex)
        m_sizeLabel->setText(sizeText);
}

void SuperComboBox::clear()
{
    const auto rows =
        m_popup->findChildren<SuperComboBoxItem*>(QString(), Qt::FindDirectChildrenOnly);
    for (SuperComboBoxItem* row : rows) {
        disconnect(row, nullptr, this, nullptr);
        row->hide();
        m_popup->itemLayout()->removeWidget(row);
        row->setParent(nullptr);
        row->deleteLater();
    }
    m_items.clear();
    m_currentIndex = -1;
}

QString SuperComboBox::currentText() const
{
    const Item* entry = item(m_currentIndex);
    return entry ? entry->text : QString();
}

QString SuperComboBox::currentSubText() const
{
    const Item* entry = item(m_currentIndex);
    return entry ? entry->subText : QString();
}

QVariant SuperComboBox::itemData(int index) const
{
    const Item* entry = item(index);
    return entry ? entry->data : QVariant();
}

const SuperComboBox::Item* SuperComboBox::item(int index) const
{
    if (index < 0 || index >= m_items.size())
        return nullptr;
    return &m_items[index];
}

QList<int> SuperComboBox::findData(const QVariant& value) const
{
    QList<int> found;
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items[i].data == value)
            found.append(i);
    }
    return found;
}

void SuperComboBox::setCurrentIndex(int index)
{
    m_currentIndex = index;
    showItemOnFace(item(index));
    emit currentIndexChanged(index);
}

void SuperComboBox::showItemOnFace(const Item* entry)
{
    if (!entry)
        return;
    m_faceText = entry->text;
    m_faceSubText = entry->subText;
    m_faceIcon = entry->icon;
    m_facePressedIcon = entry->pressedIcon.isEmpty() ? entry->icon : entry->pressedIcon;
    m_sizeLabel->setText(entry->sizeText);
    elideFaceTexts();
    applyState();
}

void SuperComboBox::elideFaceTexts()
{
    const auto elide = [](QLabel* label, const QString& full) {
        const int width = qMax(label->contentsRect().width(), label->minimumWidth());
        const QString shown = QFontMetrics(label->font()).elidedText(full, Qt::ElideRight, width);
        if (label->text() != shown)
            label->setText(shown);
        return shown != full;
    };
    // A shortened text keeps the whole one as its tooltip; the sub-text always has it.
    m_textLabel->setToolTip(elide(m_textLabel, m_faceText) ? m_faceText : QString());
    elide(m_subTextLabel, m_faceSubText);
    m_subTextLabel->setToolTip(m_faceSubText);
    // Without a sub-text its row folds away and the text sits in the middle of the face.
    m_subTextLabel->setHidden(m_faceSubText.isEmpty());
    m_rootLayout->setRowStretch(0, m_faceSubText.isEmpty() ? 1 : 0);
}

bool SuperComboBox::eventFilter(QObject* watched, QEvent* event)
{
    // The labels' room changes with the combo's width and with the size column's text.
    if (event->type() == QEvent::Resize && (watched == m_textLabel || watched == m_subTextLabel))
        elideFaceTexts();
    return HoverClickWidget::eventFilter(watched, event);
}

bool SuperComboBox::isPopupVisible() const
{
    return m_popup->isVisible();
}

void SuperComboBox::onClick()
{
    showPopup();
}

void SuperComboBox::showPopup()
{
    if (m_popup->isVisible() || m_closing || !isEnabled())
        return;
    int itemHeight = 42;
    const auto rows =
        m_popup->findChildren<SuperComboBoxItem*>(QString(), Qt::FindDirectChildrenOnly);
    for (SuperComboBoxItem* row : rows)
        itemHeight = qMax(itemHeight, row->sizeHint().height());
    const int frame = 2;
    const QSize wanted(qMax(this->width(), m_popup->sizeHint().width()),
                       qMax(1, int(m_items.size())) * itemHeight + frame);
    const QRect anchor(mapToGlobal(QPoint(0, 0)), size());
    const QRect available = PopupPlacement::availableArea(this);
    const QRect placed = available.isEmpty() ? QRect(anchor.bottomLeft() + QPoint(0, 1), wanted)
                                             : PopupPlacement::place(anchor, wanted, available);
    m_popup->setFixedHeight(placed.height());
    m_popup->resize(placed.size());

    emit onExpand();

    m_popup->move(placed.topLeft());
    m_down = true;
    applyState();
    m_popup->show();
}

void SuperComboBox::keyPressEvent(QKeyEvent* event)
{
    const bool alt = event->modifiers() & Qt::AltModifier;
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_F4:
    case Qt::Key_Select:
        showPopup();
        event->accept();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (alt) {
            showPopup();
            event->accept();
            return;
        }
        step = event->key() == Qt::Key_Up ? -1 : 1;
        break;
    case Qt::Key_Left:
    case Qt::Key_PageUp:
        step = -1;
        break;
    case Qt::Key_Right:
    case Qt::Key_PageDown:
        step = 1;
        break;
    case Qt::Key_Home:
        step = -int(m_items.size());
        break;
    case Qt::Key_End:
        step = int(m_items.size());
        break;
    default:
        // Enter and Escape belong to the window (its default button, closing).
        event->ignore();
        return;
    }
    event->accept();
    if (m_items.isEmpty())
        return;
    const int from = m_currentIndex < 0 ? (step > 0 ? -1 : int(m_items.size())) : m_currentIndex;
    const int to = qBound(0, from + step, int(m_items.size()) - 1);
    if (to != m_currentIndex)
        setCurrentIndex(to);
}

void SuperComboBox::collapse(int index)
{
    setCurrentIndex(index);
    m_popup->hide();
}

void SuperComboBox::popupShown()
{
    // The keyboard starts on the chosen entry, as in a combo box's list.
    const auto rows =
        m_popup->findChildren<SuperComboBoxItem*>(QString(), Qt::FindDirectChildrenOnly);
    for (SuperComboBoxItem* row : rows) {
        if (row->id() == m_currentIndex && row->isVisible())
            row->setFocus(Qt::PopupFocusReason);
    }
}

void SuperComboBox::popupHidden()
{
    // A click on the combo is what closes an open popup; that click must not open it again.
    m_closing = true;
    QTimer::singleShot(0, this, [this] { m_closing = false; });
    m_down = false;
    m_hovered = underMouse();
    applyState();
    if (isVisible())
        setFocus(Qt::PopupFocusReason);
    emit onCollapse();
}
