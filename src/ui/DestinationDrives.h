#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <string>

#include "USBDriveData.h"

class DriveComboBox;
class FileInfoModel;
class TransferWizardServericeInterface;

// The wizard's destination choice: the disc burners and USB drives the controller listed, and
// the selected entry of each list. Method 0 writes to a burner, method 1 to a USB drive. The
// drive combo of the file page shows both lists, burners first; a list without drives shows
// one placeholder entry instead.
class DestinationDrives
{
    // Its texts are the wizard dialog's.
    Q_DECLARE_TR_FUNCTIONS(TransferWizardDlg)

public:
    // Data values of the combo's entries.
    enum EntryKind
    {
        NoBurnerEntry = 2,
        NoUSBEntry = 3,
        BurnerEntry = 4,
        USBEntry = 5
    };

    const QList<USBDriveData>& burners() const { return m_burners; }
    const QList<USBDriveData>& usbDrives() const { return m_usb; }
    int burnerIndex() const { return m_burnerIndex; }
    int usbIndex() const { return m_usbIndex; }

    void clear();
    void setDrives(const QList<USBDriveData>& burners, const QList<USBDriveData>& usb);
    // Asks the controller for the drive lists again (USB drives only when usbOnly).
    void refresh(TransferWizardServericeInterface& service, bool usbOnly);

    // The drive selected for method, or null when its list has none.
    const USBDriveData* current(int method) const;
    // Looks name up among the burners first, then the USB drives; a match selects it and sets
    // method. True when the matched drive can take files (a burner needs free space). Indexes
    // outside their list are put back to 0.
    bool selectByName(const std::u16string& name, int& method);
    // The combo index of the selection for method.
    int comboIndex(int method) const;
    // Selects the drive behind a combo index; returns the method it belongs to, or -1 for a
    // negative index.
    int selectComboIndex(int index);
    // Fills the combo with both groups; the combo emits nothing while it is filled.
    void fillCombo(DriveComboBox& combo) const;
    // Sets the free space of every USB drive with that root; true when one matched.
    bool updateFreeSpace(const std::u16string& root, quint64 freeBytes);

    // Why drive cannot take neededBytes for method, or an empty text when it can. The mask
    // lists the file systems the device reads (63: any). largestFile names the largest file to
    // write and largestBytes its size: FAT and FAT32 cannot store files of 4 GB or more.
    static QString statusMessage(const USBDriveData* drive, int method, quint64 neededBytes,
                                 unsigned int requiredFileSystems, quint64 largestBytes = 0,
                                 const QString& largestFile = QString());
    // The largest file a transfer of the model's rows would write: the converted file's
    // estimate, or the source itself when it is written unchanged (all of them when
    // unchanged is set). Returns its size; name gets the source's file name.
    static quint64 largestFile(const FileInfoModel& model, bool unchanged, QString& name);
    // How full drive would be after writing neededBytes: the used share in percent (0 to 100)
    // and the bytes left (0 when they do not fit).
    struct SpaceUsage
    {
        int percent = 0;
        quint64 remaining = 0;
    };
    static SpaceUsage spaceUsage(const USBDriveData& drive, quint64 neededBytes);
    // Bytes per second to expect when writing to drive (null: a typical drive of method).
    static quint32 writeRate(const USBDriveData* drive, int method);

    // "FAT/FAT32" style names of the file systems in mask, in bit order.
    static QString fileSystemNames(unsigned int mask);

private:
    QList<USBDriveData> m_burners;
    QList<USBDriveData> m_usb;
    int m_burnerIndex = 0;
    int m_usbIndex = 0;
};
