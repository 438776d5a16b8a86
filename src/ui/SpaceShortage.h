#pragma once

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

// What to tell the user when the videos do not fit the chosen destination: how much they need,
// how much the medium takes, and what helps. Figures are in the units the file list uses
// (MB and GB of 1024 × 1024 and 1024³ bytes).
class SpaceShortage
{
    // Its texts are the wizard dialog's.
    Q_DECLARE_TR_FUNCTIONS(TransferWizardDlg)

public:
    // A blank (freeBytes == totalBytes) or appendable disc that cannot take neededBytes.
    static QString disc(quint64 neededBytes, quint64 freeBytes, quint64 totalBytes);
    // The figures added to the USB drive's own message.
    static QString usbFigures(quint64 neededBytes, quint64 freeBytes);
    // A written image file behind an image burner: the user must move it out of the way.
    static QString writtenImage(const QString& imagePath);

    // "771 MB" below 1000 MB, else "4.38 GB". roundUp rounds a whole MB up (an amount to
    // remove), otherwise down (a capacity is never overstated).
    static QString roundedSize(quint64 bytes, bool roundUp);
};
