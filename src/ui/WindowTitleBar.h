#pragma once

#include <QFrame>
#include <QMap>
#include <QPixmap>
#include <QPoint>
#include <QRect>

// The wizard's own title strip for its frameless window: a logo, a background and image
// buttons (close, minimise). It reports button clicks and keeps the drag state that the window
// uses to move itself.
class WindowTitleBar : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(ButtonPosition buttonPosition READ buttonPosition WRITE setButtonPosition)
    Q_PROPERTY(QString imagePath READ imagePath WRITE setImagePath)

public:
    enum ButtonPosition
    {
        LeftButtons = 0,
        RightButtons = 1
    };
    Q_ENUM(ButtonPosition)

    enum ButtonId
    {
        NoButton = 0,
        CloseButton = 1,
        CloseDirtyButton = 2,
        CollapseButton = 3
    };

    struct Button
    {
        bool enabled = true;
        bool visible = true;
        QPixmap normal;
        QPixmap down;
        QPixmap hover;
        QPixmap disabled;
        QRect rect;
    };

    explicit WindowTitleBar(QWidget* parent = nullptr);
    ~WindowTitleBar() override;

    ButtonPosition buttonPosition() const { return m_buttonPosition; }
    void setButtonPosition(ButtonPosition position);
    QString imagePath() const { return m_imagePath; }
    void setImagePath(const QString& path);

    // State read by the window to move itself.
    bool isDragging() const { return m_drag; }
    Qt::MouseButton lastPressedButton() const { return m_lastMouseButton; }
    QPoint dragOffset() const { return m_dragOffset; }

    bool isDirty() const { return m_dirty; }
    int pressedButton() const { return m_pressedId; }
    int hoveredButton() const { return m_hoveredId; }
    bool isLogoHovered() const { return m_logoHovered; }
    QRect buttonRect(int id) const;
    bool isButtonVisible(int id) const;
    bool isButtonEnabled(int id) const;
    QRect logoRect() const { return m_logoRect; }
    void setButtonEnabled(int id, bool enabled);

signals:
    void closeClicked();
    void closeDirtyClicked();
    void collapseClicked();

public slots:
    void setDirty(bool dirty);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void loadButton(int id, const QString& folder);
    void layoutButtons();
    int buttonAt(const QPoint& pos) const;
    QRect buttonsArea() const;

    QPixmap m_logo;
    QRect m_logoRect;
    QPixmap m_background;
    QMap<int, Button> m_buttons;
    ButtonPosition m_buttonPosition = RightButtons;
    int m_pressedId = NoButton;
    int m_hoveredId = NoButton;
    bool m_logoHovered = false;
    bool m_drag = false;
    bool m_dirty = false;
    QPoint m_dragOffset;
    Qt::MouseButton m_lastMouseButton = Qt::NoButton;
    QString m_imagePath;
};
