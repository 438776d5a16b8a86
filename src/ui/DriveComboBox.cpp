#include "DriveComboBox.h"

DriveComboBox::DriveComboBox(QWidget* parent) : SuperComboBox(parent)
{
    setObjectName(QStringLiteral("driveComboBox"));
    setStyle(defaultStyle());
}

DriveComboBox::~DriveComboBox() = default;

void DriveComboBox::groupDecoration(int group, QString& icon, QString& pressedIcon,
                                    QString& groupName) const
{
    switch (group) {
    case DiscGroup:
        icon = QStringLiteral(":/driveComboBox/DVD.png");
        pressedIcon = QStringLiteral(":/driveComboBox/DVD_down.png");
        groupName = QStringLiteral("DVD-ROM");
        break;
    case USBGroup:
        icon = QStringLiteral(":/driveComboBox/USB.png");
        pressedIcon = QStringLiteral(":/driveComboBox/USB_down.png");
        groupName = QStringLiteral("USB");
        break;
    default:
        SuperComboBox::groupDecoration(group, icon, pressedIcon, groupName);
        break;
    }
}
