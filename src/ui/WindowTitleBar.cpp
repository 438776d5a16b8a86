#include "WindowTitleBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "AccessibleWidgets.h"

#include "DialogStyleSheet.h"
#include "SharpPixmap.h"

namespace {
constexpr int Margin = 4;
constexpr int ButtonSpacing = 2;
} // namespace

WindowTitleBar::WindowTitleBar(QWidget* parent) : QFrame(parent)
{
    initPortavoResources();
    installAccessibleWidgets();
    setMouseTracking(true);
}

WindowTitleBar::~WindowTitleBar() = default;

void WindowTitleBar::setButtonPosition(ButtonPosition position)
{
    m_buttonPosition = position;
    layoutButtons();
    update();
}

void WindowTitleBar::setImagePath(const QString& path)
{
    m_imagePath = path;
    m_logo = sharpPixmap(path + QStringLiteral("/Logo"), devicePixelRatioF());
    m_background = sharpPixmap(path + QStringLiteral("/Buttons/Background"), devicePixelRatioF());
    const QString side = m_buttonPosition == LeftButtons ? QStringLiteral("/LeftButtons")
                                                         : QStringLiteral("/RightButtons");
    loadButton(CloseDirtyButton, path + side + QStringLiteral("/Close"));
    loadButton(CloseButton, path + side + QStringLiteral("/Close"));
    loadButton(CollapseButton, path + side + QStringLiteral("/Minimize"));
    layoutButtons();
    setDirty(m_dirty);
}

void WindowTitleBar::loadButton(int id, const QString& folder)
{
    Button& button = m_buttons[id];
    button.enabled = true;
    button.visible = true;
    button.normal = sharpPixmap(folder + QStringLiteral("/Normal"), devicePixelRatioF());
    button.down = sharpPixmap(folder + QStringLiteral("/Down"), devicePixelRatioF());
    button.hover = sharpPixmap(folder + QStringLiteral("/Hover"), devicePixelRatioF());
    button.disabled = sharpPixmap(folder + QStringLiteral("/Disabled"), devicePixelRatioF());
}

void WindowTitleBar::layoutButtons()
{
    const int h = height();
    // Close first, then minimise, from the outer edge inwards. Both close buttons share a place:
    // only one of them is visible at a time.
    const int order[] = {CloseButton, CollapseButton};
    int edge = m_buttonPosition == LeftButtons ? Margin : width() - Margin;
    for (int id : order) {
        auto it = m_buttons.find(id);
        if (it == m_buttons.end())
            continue;
        // Sizes in the widget's own units: a pixmap for a scaled screen has more pixels.
        const QSize size =
            it->normal.isNull() ? QSize(h, h) : it->normal.deviceIndependentSize().toSize();
        const int y = qMax(0, (h - size.height()) / 2);
        QRect r;
        if (m_buttonPosition == LeftButtons) {
            r = QRect(QPoint(edge, y), size);
            edge = r.right() + 1 + ButtonSpacing;
        } else {
            r = QRect(QPoint(edge - size.width(), y), size);
            edge = r.left() - ButtonSpacing;
        }
        it->rect = r;
        if (id == CloseButton && m_buttons.contains(CloseDirtyButton))
            m_buttons[CloseDirtyButton].rect = r;
    }
    // The logo sits at the other end of the bar.
    const QSize logoSize = m_logo.isNull() ? QSize() : m_logo.deviceIndependentSize().toSize();
    const int logoY = qMax(0, (h - logoSize.height()) / 2);
    if (m_buttonPosition == LeftButtons)
        m_logoRect = QRect(QPoint(width() - Margin - logoSize.width(), logoY), logoSize);
    else
        m_logoRect = QRect(QPoint(Margin, logoY), logoSize);
}

QRect WindowTitleBar::buttonRect(int id) const
{
    auto it = m_buttons.find(id);
    return it == m_buttons.end() ? QRect() : it->rect;
}

bool WindowTitleBar::isButtonVisible(int id) const
{
    auto it = m_buttons.find(id);
    return it != m_buttons.end() && it->visible;
}

bool WindowTitleBar::isButtonEnabled(int id) const
{
    auto it = m_buttons.find(id);
    return it != m_buttons.end() && it->enabled;
}

void WindowTitleBar::setButtonEnabled(int id, bool enabled)
{
    auto it = m_buttons.find(id);
    if (it == m_buttons.end())
        return;
    it->enabled = enabled;
    update();
}

QRect WindowTitleBar::buttonsArea() const
{
    QRect area;
    for (const Button& b : m_buttons) {
        if (b.visible)
            area = area.united(b.rect);
    }
    return area;
}

int WindowTitleBar::buttonAt(const QPoint& pos) const
{
    for (auto it = m_buttons.begin(); it != m_buttons.end(); ++it) {
        if (it->enabled && it->visible && it->rect.contains(pos))
            return it.key();
    }
    return NoButton;
}

void WindowTitleBar::setDirty(bool dirty)
{
    m_dirty = dirty;
    if (m_buttons.contains(CloseButton))
        m_buttons[CloseButton].visible = !dirty;
    if (m_buttons.contains(CloseDirtyButton))
        m_buttons[CloseDirtyButton].visible = dirty;
    update();
}

void WindowTitleBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QFrame::mousePressEvent(event);
        return;
    }
    m_lastMouseButton = event->button();
    const QPoint pos = event->position().toPoint();
    const int previous = m_pressedId;
    m_pressedId = NoButton;
    m_drag = !buttonsArea().contains(pos);
    m_dragOffset = pos;
    const int id = buttonAt(pos);
    if (id != NoButton) {
        m_pressedId = id;
        m_hoveredId = id;
    }
    if (m_pressedId != previous)
        update();
    // Wayland lets no window place itself; the compositor moves it. Where the platform cannot,
    // the window follows the mouse itself.
    if (m_drag && m_pressedId == NoButton) {
        QWindow* handle = window()->windowHandle();
        if (handle && handle->startSystemMove()) {
            m_drag = false;
            event->accept();
            return;
        }
    }
    if (m_pressedId != NoButton)
        event->accept();
    else
        event->ignore();
}

void WindowTitleBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QFrame::mouseReleaseEvent(event);
        return;
    }
    m_drag = false;
    const int pressed = m_pressedId;
    bool clicked = false;
    if (pressed != NoButton) {
        auto it = m_buttons.find(pressed);
        if (it != m_buttons.end() && it->enabled && it->visible &&
            it->rect.contains(event->position().toPoint())) {
            clicked = true;
            switch (pressed) {
            case CloseButton:
                emit closeClicked();
                break;
            case CloseDirtyButton:
                emit closeDirtyClicked();
                break;
            case CollapseButton:
                emit collapseClicked();
                break;
            default:
                break;
            }
        }
    }
    m_pressedId = NoButton;
    m_hoveredId = NoButton;
    update();
    if (pressed != NoButton || clicked)
        event->accept();
    else
        event->ignore();
}

void WindowTitleBar::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    int hovered = NoButton;
    if (m_pressedId != NoButton) {
        if (buttonRect(m_pressedId).contains(pos))
            hovered = m_pressedId;
    } else {
        hovered = buttonAt(pos);
    }
    const bool logo = m_pressedId == NoButton && m_logoRect.contains(pos);
    if (hovered != m_hoveredId || logo != m_logoHovered) {
        m_hoveredId = hovered;
        m_logoHovered = logo;
        update();
        event->accept();
        return;
    }
    event->ignore();
}

void WindowTitleBar::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    layoutButtons();
}

void WindowTitleBar::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    if (!m_background.isNull())
        painter.drawPixmap(rect(), m_background);
    if (!m_logo.isNull())
        painter.drawPixmap(m_logoRect.topLeft(), m_logo);
    for (auto it = m_buttons.begin(); it != m_buttons.end(); ++it) {
        const Button& b = *it;
        if (!b.visible)
            continue;
        const QPixmap* image = &b.normal;
        if (!b.enabled)
            image = &b.disabled;
        else if (m_pressedId == it.key() && m_hoveredId == it.key())
            image = &b.down;
        else if (m_hoveredId == it.key())
            image = &b.hover;
        if (image->isNull())
            image = &b.normal;
        painter.drawPixmap(b.rect.topLeft(), *image);
    }
}
