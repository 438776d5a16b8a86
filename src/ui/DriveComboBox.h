#pragma once

#include "SuperComboBox.h"

// The destination selector of the file page: group 0 holds disc burners, group 1 USB drives.
class DriveComboBox : public SuperComboBox
{
    Q_OBJECT

public:
    enum Group
    {
        DiscGroup = 0,
        USBGroup = 1
    };

    explicit DriveComboBox(QWidget* parent = nullptr);
    ~DriveComboBox() override;

protected:
    void groupDecoration(int group, QString& icon, QString& pressedIcon,
                         QString& groupName) const override;
};
