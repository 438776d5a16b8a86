#include "WizardMessages.h"

#include <QIcon>
#include <QMessageBox>

#include "DialogStyleSheet.h"

namespace {

int runBox(QMessageBox::Icon icon, const QString& title, const QString& text,
           const QString& informative, QMessageBox::StandardButtons buttons)
{
    QMessageBox box;
    // The sheet first: the buttons decide on their icons when they are made.
    WizardMessages::styleMessageBox(box);
    box.setIcon(icon);
    box.setWindowTitle(title);
    box.setText(text);
    // Without buttons of its own the box offers OK (setting none would take that away).
    if (buttons != QMessageBox::NoButton)
        box.setStandardButtons(buttons);
    if (!informative.isEmpty())
        box.setInformativeText(informative);
    if (buttons & QMessageBox::No)
        box.setDefaultButton(QMessageBox::No);
    box.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    return box.exec();
}

} // namespace

void WizardMessages::styleMessageBox(QMessageBox& box)
{
    // Before any button is added: a button takes its icon, or none, as it is made.
    box.setWindowIcon(QIcon(QStringLiteral(":/DeviceTransferWizard/portavo.png")));
    // The look of the wizard's own dialogs, so that every window is of one program.
    box.setStyleSheet(dialogStyleSheet());
}

void WizardMessages::warning(const QString& text)
{
    runBox(QMessageBox::Warning, tr("Warning"), text, QString(), QMessageBox::NoButton);
}

bool WizardMessages::confirmCloseDuringTransfer()
{
    return runBox(QMessageBox::Warning, tr("Warning"),
                  tr("If you choose to close window, your progress will be lost."),
                  tr("Are you sure you want to cancel this transfer and close window?"),
                  QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool WizardMessages::confirmCloseWithFiles()
{
    return runBox(QMessageBox::Warning, tr("Warning"),
                  tr("If you choose to close window, the videos in your list will be removed."),
                  tr("Are you sure you want to close window?"),
                  QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool WizardMessages::confirmCancelTransfer()
{
    return runBox(QMessageBox::Warning, tr("Warning"),
                  tr("If you choose to cancel the transfer process, your progress will be lost."),
                  tr("Are you sure you want to cancel this transfer?"),
                  QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool WizardMessages::continueAfterConversionError(int error, const QString& file, bool othersLeft)
{
    if (!othersLeft) {
        runBox(QMessageBox::Warning, tr("Warning"),
               tr("Error %1: There was an error with the file %2 and the file cannot be "
                  "converted. The transfer cannot be completed.")
                   .arg(error)
                   .arg(file),
               QString(), QMessageBox::Ok);
        return false;
    }
    return runBox(QMessageBox::Warning, tr("Warning"),
                  tr("Error: %1. There was an error with the file %2 and the file cannot be "
                     "converted. \n\nWould you like to continue with transferring the remaing "
                     "files? ")
                      .arg(error)
                      .arg(file),
                  QString(), QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void WizardMessages::fileInformation()
{
    runBox(QMessageBox::Information, tr("File Information"),
           tr("Why do some file types take longer to transfer than others?"),
           tr("Portavo may need to convert your files to ensure that they are compatible with "
              "your Kavo Certified device. \n\nLarger files might also take longer to transfer "
              "than smaller files."),
           QMessageBox::NoButton);
}

void WizardMessages::alreadyQueued(const QStringList& files)
{
    runBox(QMessageBox::Warning, tr("Input files already in queue"),
           tr("Portavo did not add the following input files because they are already in the "
              "queue:\n\n%1")
               .arg(files.join(QLatin1Char('\n'))),
           QString(), QMessageBox::NoButton);
}

void WizardMessages::deviceMemoryNotice(const QString& notice)
{
    auto* box =
        new QMessageBox(QMessageBox::Warning,
                        //: title of a box: the device library that remembers choices per device
                        QCoreApplication::translate("TransferWizardController", "Device Memory"),
                        notice, QMessageBox::Ok, nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

void WizardMessages::addVideoError(const QString& text)
{
    QMessageBox box(QMessageBox::Information,
                    QCoreApplication::translate("TransferWizardController", "Add Video Error"),
                    text, QMessageBox::NoButton, nullptr,
                    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint);
    styleMessageBox(box);
    box.exec();
}
