#include "WizardAccessibleNames.h"

#include <QLabel>
#include <QStackedWidget>
#include <QWidget>

namespace {

struct Naming
{
    const char* object;
    QString name;
    QString description;
};

} // namespace

void WizardAccessibleNames::apply(QWidget* dialog)
{
    const Naming namings[] = {
        {"titleBar", QString(), tr("Drag to move the window")},
        {"KavoRadioButton", tr("Kavo Certified"), tr("Works with any Kavo Certified device")},
        {"KavoHDRadioButton", tr("Kavo HD Certified"), tr("Only for a Kavo HD Certified device")},
        {"KavoPlusHDRadioButton", tr("Kavo Plus HD Certified"),
         tr("Only for a Kavo Plus HD Certified device")},
        {"helpChooseLabel", tr("Help me choose"), tr("Explains the device types")},
        {"learnMoreLabelForTransfer", tr("Learn more"), tr("Explains the transfer methods")},
        {"fileListTableView", tr("Videos to transfer"),
         tr("Delete removes the selected videos. Enter on a video whose time is underlined "
            "tells why it takes longer.")},
        {"driveComboBox", tr("Destination drive"),
         tr("Space opens the list of drives, the arrow keys choose one")},
        {"remainDiskspaceProgressBar", tr("Space used on the destination"), QString()},
        {"USBLink", tr("Open the USB drive"), QString()},
        {"fileProgressTableView", tr("Videos being transferred"), QString()},
        {"fileTransferProgressBar", tr("Transfer progress"), QString()},
        {"needHelpLabel", tr("Need Help?"), tr("Opens the help pages")},
    };
    for (const Naming& n : namings) {
        auto* w = dialog->findChild<QWidget*>(QLatin1String(n.object));
        if (!w)
            continue;
        if (!n.name.isEmpty())
            w->setAccessibleName(n.name);
        if (!n.description.isEmpty())
            w->setAccessibleDescription(n.description);
    }
    // Each page is announced by its title.
    const char* const titles[][2] = {{"welcomePage", "welcomeTitle"},
                                     {"deviceTypePage", "deviceTypeTitle"},
                                     {"transferMethodPage", "transferMethodTitle"},
                                     {"filePage", "filesTitle"},
                                     {"transferPage", "transferringVideoTitle"},
                                     {"finishPage", "finishTitle"}};
    for (const auto& pair : titles) {
        auto* page = dialog->findChild<QWidget*>(QLatin1String(pair[0]));
        auto* title = dialog->findChild<QLabel*>(QLatin1String(pair[1]));
        if (page && title)
            page->setAccessibleName(title->text());
    }
}
