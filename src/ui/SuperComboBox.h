#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QVariant>

#include "HoverClickWidget.h"

class QLabel;
class QGridLayout;
class SuperComboBoxPopup;

// A drop-down selector whose face shows an icon, a bold text, a sub-text and a size, and whose
// list is a popup of rich entries. Subclasses decide the icons and group names of entries.
// Works from the keyboard as a combo box does.
class SuperComboBox : public HoverClickWidget
{
    Q_OBJECT

public:
    struct Item
    {
        int group = 0;
        QString text;
        QString subText;
        QString sizeText;
        QString icon;
        QString pressedIcon;
        QString groupName;
        QVariant data;
    };

    // The look of one state (normal, hover, down).
    struct StateStyle
    {
        int top = 8;
        int right = 8;
        int bottom = 10;
        int left = 8;
        QString borderImage;
        QString arrowImage;
        QColor textColor = Qt::white;
        QColor subTextColor = Qt::white;
    };

    struct ComboStyle
    {
        StateStyle normal;
        StateStyle hover;
        StateStyle down;
    };

    explicit SuperComboBox(QWidget* parent = nullptr);
    ~SuperComboBox() override;

    static ComboStyle defaultStyle();
    using QWidget::setStyle;
    void setStyle(const ComboStyle& style);
    const ComboStyle& comboStyle() const { return m_style; }

    void addItem(int group, const QString& text, const QString& subText,
                 const QVariant& data = QVariant(), const QString& sizeText = QString());
    void setItemSizeText(int index, const QString& sizeText);
    void clear();
    int count() const { return m_items.size(); }
    int currentIndex() const { return m_currentIndex; }
    QString currentText() const;
    QString currentSubText() const;
    QVariant itemData(int index) const;
    const Item* item(int index) const;
    QList<int> findData(const QVariant& value) const;
    void setCurrentIndex(int index);

    bool isPopupVisible() const;
    // Opens the list with the keyboard on the chosen entry, kept inside the screen.
    void showPopup();
    SuperComboBoxPopup* popup() const { return m_popup; }

signals:
    void onExpand();
    void onCollapse();
    void currentIndexChanged(int index);

public slots:
    void onClick();
    virtual void collapse(int index);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // Like a combo box: Space, F4 or Alt+Down open the list, the arrows, Home and End choose
    // without opening it; Enter is left to the window's default button.
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    // The icon, pressed icon and group name of entries in group; none by default.
    virtual void groupDecoration(int group, QString& icon, QString& pressedIcon,
                                 QString& groupName) const;
    void applyState();

private:
    void popupShown();
    void popupHidden();
    void showItemOnFace(const Item* item);
    // Shows the face texts shortened to their labels' widths.
    void elideFaceTexts();

    QGridLayout* m_rootLayout = nullptr;
    QLabel* m_iconLabel = nullptr;
    QLabel* m_textLabel = nullptr;
    QLabel* m_subTextLabel = nullptr;
    QLabel* m_sizeLabel = nullptr;
    QLabel* m_arrowLabel = nullptr;
    SuperComboBoxPopup* m_popup = nullptr;
    QList<Item> m_items;
    int m_currentIndex = -1;
    bool m_hovered = false;
    bool m_down = false;
    ComboStyle m_style;
    // The whole texts of the entry on the face; the labels may show them shortened.
    QString m_faceText;
    QString m_faceSubText;
    QString m_faceIcon;
    QString m_facePressedIcon;
    QString m_frameSheets[3];
    QString m_textSheets[3];
    QString m_subTextSheets[3];
    bool m_closing = false;

    friend class SuperComboBoxPopup;
};
