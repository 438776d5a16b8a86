#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

// The keyboard focus drawn as a 2-pixel outline in the accent colour around the focused
// widget, over everything else in its window: the style sheets' own focus marks (a faint frame
// on a tile, a thin box in a button) are hard to see on the dark background. It follows the
// focus within its home window and the drop-down lists opened from it, and stays hidden after
// a mouse click until the keyboard is used again.
class FocusRing : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Width = 2;
    // Room between the widget's edge and the outline.
    static constexpr int Gap = 1;

    explicit FocusRing(QWidget* home);
    ~FocusRing() override;

    static QColor color() { return QColor(0x2B, 0xB0, 0xDC); }
    QWidget* target() const { return m_target; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool follows(QWidget* widget) const;
    void follow(QWidget* widget);
    void place();

    QPointer<QWidget> m_home;
    QPointer<QWidget> m_target;
    bool m_keyboard = true;
};
