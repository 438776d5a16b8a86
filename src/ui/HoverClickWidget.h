#pragma once

#include <QBrush>
#include <QFrame>

class QEnterEvent;

// A frame that lights up under the mouse or the keyboard focus and reports a click (press and
// release on it, or Space/Enter while it has the focus) with its id.
class HoverClickWidget : public QFrame
{
    Q_OBJECT

public:
    explicit HoverClickWidget(QWidget* parent = nullptr, int id = 0);
    ~HoverClickWidget() override;

    int id() const { return m_id; }
    void setId(int id) { m_id = id; }
    QBrush highlightBrush() const { return m_highlight; }
    void setHighlightBrush(const QBrush& brush);
    int cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(int radius);
    bool isPressed() const { return m_pressed; }

signals:
    void clicked(int id);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int m_id = 0;
    QBrush m_highlight;
    int m_cornerRadius = 0;
    bool m_pressed = false;
};
