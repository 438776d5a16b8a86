#pragma once

#include "HoverClickWidget.h"

class QLabel;

// One entry of a SuperComboBox's popup: icon, text, sub-text and size over a separator line.
// Its id is its index in the popup.
class SuperComboBoxItem : public HoverClickWidget
{
    Q_OBJECT

public:
    explicit SuperComboBoxItem(QWidget* parent = nullptr, int id = 0);
    ~SuperComboBoxItem() override;

    void setText(const QString& text);
    void setSubText(const QString& subText);
    void setSizeText(const QString& sizeText);
    void setIcon(const QString& path);
    QString text() const;
    QString subText() const;
    QString sizeText() const;

private:
    QLabel* m_iconLabel = nullptr;
    QLabel* m_textLabel = nullptr;
    QLabel* m_subTextLabel = nullptr;
    QLabel* m_sizeLabel = nullptr;
};
