#pragma once

#include <QRadioButton>

// The profile page's radio button, which tells when the mouse enters or leaves it so the page
// can explain the choice under the cursor.
class ProfileRadioButton : public QRadioButton
{
    Q_OBJECT

public:
    explicit ProfileRadioButton(QWidget* parent = nullptr);
    ~ProfileRadioButton() override;

signals:
    void mouseOver();
    void mouseExit();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
};
