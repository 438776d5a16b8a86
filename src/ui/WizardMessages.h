#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class QMessageBox;

// The wizard's modal questions and warnings. Each box runs without a parent, with the
// product's window icon and a fixed size; questions default to No.
class WizardMessages
{
    // The texts are the wizard dialog's.
    Q_DECLARE_TR_FUNCTIONS(TransferWizardDlg)

public:
    // A warning with only OK, for example why Start cannot begin the transfer.
    static void warning(const QString& text);
    // Closing the window while a transfer runs: true when the user wants to close anyway.
    static bool confirmCloseDuringTransfer();
    // Closing the window (Escape, the title bar) while the list holds videos that were not
    // transferred: true when the user wants to close anyway.
    static bool confirmCloseWithFiles();
    // The Cancel button during a transfer: true when the user wants to cancel.
    static bool confirmCancelTransfer();
    // A file failed to convert. With othersLeft the user chooses whether to go on with the
    // remaining files (true); without, the box only informs and the answer is false.
    static bool continueAfterConversionError(int error, const QString& file, bool othersLeft);
    // Files that are already waiting for conversion and were not added again.
    static void alreadyQueued(const QStringList& files);
    // Why some files take longer to transfer than others.
    static void fileInformation();
    // The device library could not be read: said once, without blocking.
    static void deviceMemoryNotice(const QString& notice);
    // Why videos handed over by a later launch were not added.
    static void addVideoError(const QString& text);

    // Gives a message box the product's icon and the look of the wizard's dialogs: for boxes
    // built elsewhere. Call it before the box gets its buttons.
    static void styleMessageBox(QMessageBox& box);
};
