#pragma once

#include <QDialog>

class QLabel;

// Explains the device-type choice of the profile page, with a link to more information.
class HelpChooseDeviceDlg : public QDialog
{
    Q_OBJECT

public:
    explicit HelpChooseDeviceDlg(QWidget* parent = nullptr);
    ~HelpChooseDeviceDlg() override;

    QLabel* learnMoreLabel() const { return m_learnMoreLabel; }

private:
    QLabel* m_descriptionLabel = nullptr;
    QLabel* m_learnMoreLabel = nullptr;
};
