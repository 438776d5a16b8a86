#pragma once

#include <QFrame>

class QVBoxLayout;
class SuperComboBoxItem;

// The drop-down list of a SuperComboBox: a popup window holding the entries one under another.
class SuperComboBoxPopup : public QFrame
{
    Q_OBJECT

public:
    explicit SuperComboBoxPopup(QWidget* parent = nullptr);
    ~SuperComboBoxPopup() override;

    // Inserts the entry before the trailing stretch.
    void addItem(SuperComboBoxItem* item);
    QVBoxLayout* itemLayout() const { return m_itemLayout; }

signals:
    void shown();
    void hidden();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // Up, Down, Home and End move among the entries; Escape closes without a choice.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QVBoxLayout* m_itemLayout = nullptr;
};
