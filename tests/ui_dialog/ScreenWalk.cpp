#include "ScreenWalk.h"
#include "PrivateEnvironment.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "DestinationDrives.h"
#include "DialogStyleSheet.h"
#include "DriveComboBox.h"
#include "ErrorDialog.h"
#include "FakeWizardService.h"
#include "FileInfoModel.h"
#include "Formatting.h"
#include "HelpChooseDeviceDlg.h"
#include "HelpViewer.h"
#include "ProfileRadioButton.h"
#include "ProgressDialog.h"
#include "SuperComboBoxPopup.h"
#include "TranscodeEngineInfo.h"
#include "TransferWizardDlg.h"
#include "UnSupportedFileTypeDlg.h"
#include "WizardMessages.h"

namespace {

int failures = 0;
ScreenWalk::Visit s_visit;

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

void visit(QWidget* widget, const QString& name)
{
    settle();
    s_visit(widget, name);
}

// Modal windows run their own loop: wait for the next one of type T to show, visit it once it
// has settled and close it again.
template <class T> void grabNextModal(const QString& name)
{
    auto* timer = new QTimer;
    auto* waited = new int(0);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, name] {
        auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!window || !window->isVisible()) {
            if (++*waited < 250)
                return;
            std::fprintf(stderr, "no window for %s\n", qPrintable(name));
            ++failures;
        } else {
            QEventLoop settleLoop;
            QTimer::singleShot(150, &settleLoop, &QEventLoop::quit);
            settleLoop.exec();
            visit(window, name);
            static_cast<QDialog*>(window)->done(QDialog::Rejected);
        }
        timer->stop();
        timer->deleteLater();
        delete waited;
    });
    timer->start(20);
}

void grabNextMessageBox(const QString& name)
{
    grabNextModal<QMessageBox>(name);
}

// The keyboard focus on a widget, as Tab puts it there (with its focus ring).
void visitFocused(QWidget* window, const char* widget, const QString& name)
{
    if (QWidget* w = window->findChild<QWidget*>(QString::fromLatin1(widget)))
        w->setFocus(Qt::TabFocusReason);
    visit(window, name);
}

QString makeClip(const QDir& dir, const QString& name, qint64 bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.resize(bytes);
    return path;
}

QString tr(const char* context, const char* text)
{
    return QCoreApplication::translate(context, text);
}

} // namespace

int ScreenWalk::run(const Visit& visitor)
{
    failures = 0;
    s_visit = visitor;
    // Settings of this run only.
    QTemporaryDir home;
    PrivateEnvironment::useHives(home.path());

    FakeWizardService service;
    service.burners << FakeWizardService::drive("/dev/sr0", "DVD RW Drive (sr0)", 4700000000ull);
    service.usb << FakeWizardService::drive("/media/alice/STICK", "STICK", 7ull << 30);
    service.usb << FakeWizardService::drive("/media/alice/Holiday Photos Backup Drive",
                                            "Holiday Photos Backup Drive", 120ull << 30);
    service.transcodeCount = 2;

    TransferWizardDlg dlg(&service);
    // The engine's own file types, as the Add dialog's filter offers them.
    dlg.setFileTypes(QStringLiteral("Kavo Engine"), kvt::TranscodeEngineInfo::readableFileTypes());
    WizardStartParameters start;
    start.deviceLabel = tr("TransferWizardController", "DVD Player");
    dlg.setWizardStartParameters(start);
    dlg.show();
    visit(&dlg, "page0-welcome");
    dlg.nextPage();
    visit(&dlg, "page1-devicetype");
    visitFocused(&dlg, "KavoHDRadioButton", "focus-tile");
    // The hint beside each profile.
    dlg.findChild<QRadioButton*>("KavoHDRadioButton")->click();
    visit(&dlg, "page1-devicetype-hd");
    dlg.findChild<QRadioButton*>("KavoPlusHDRadioButton")->click();
    visit(&dlg, "page1-devicetype-plushd");
    dlg.findChild<QRadioButton*>("KavoRadioButton")->click();
    dlg.nextPage();
    visit(&dlg, "page2-method");
    visitFocused(&dlg, "learnMoreLabelForTransfer", "focus-link");
    dlg.findChild<QRadioButton*>("CopyToUSBRadioButton")->click();
    visit(&dlg, "page2-method-usb");
    dlg.nextPage();

    // A few files, as the analysis would have listed them.
    QDir clips(home.path());
    const QStringList names = {
        makeClip(clips, "Birthday party 2009.mp4", 35000000),
        makeClip(clips, "holiday.avi", 730000000),
        makeClip(clips, "A very long file name of a video from the camera.mkv", 1200000)};
    QList<FileInfoModel::SourceFile> sources;
    QList<FileInfoModel::Estimate> estimates;
    QStringList outputs;
    for (int i = 0; i < names.size(); ++i) {
        sources << FileInfoModel::SourceFile::fromPath(names[i]);
        FileInfoModel::Estimate e;
        e.conversionSeconds = i == 1 ? 95 : 0;
        e.outputBytes = quint64(QFileInfo(names[i]).size());
        estimates << e;
        outputs << (i == 1 ? home.filePath("holiday.kavo") : QString());
    }
    dlg.fileModel()->insertFiles(sources, outputs, estimates, {names[0], names[2]}, false);
    dlg.nextPage(); // back through the page setup so the file page shows the files
    dlg.prevPage();
    visit(&dlg, "page3-files");
    visitFocused(&dlg, "driveComboBox", "focus-drive-picker");
    // The window where it stands on the screen (portavo_screens draws the whole screen).
    visit(&dlg, QString::fromLatin1(ScreenWalk::WholeScreen));

    // The Add dialog opens in the folder of the listed videos.
    grabNextModal<QFileDialog>("dialog-add-files");
    dlg.addFiles();

    auto* combo = dlg.findChild<DriveComboBox*>("driveComboBox");
    combo->onClick();
    settle();
    if (combo->popup() && combo->popup()->isVisible()) {
        visit(combo->popup(), "page3-drive-popup");
        // The keyboard on the next entry of the open list: Down, as a user presses it.
        if (QWidget* entry = combo->popup()->focusWidget()) {
            QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
            QApplication::sendEvent(entry, &down);
        }
        visit(combo->popup(), "focus-drive-popup-entry");
    } else {
        std::fprintf(stderr, "drive popup did not open\n");
        ++failures;
    }
    if (combo->popup())
        combo->popup()->hide();

    dlg.startButtonClicked();
    visit(&dlg, "page4-transfer");
    dlg.updateProgress(40, 100, 95, names[1]);
    visit(&dlg, "page4-converting");
    grabNextMessageBox("box-close-warning");
    dlg.reject();
    grabNextMessageBox("box-cancel-warning");
    dlg.cancelProcessWarning();
    dlg.fileSaveDone();
    visit(&dlg, "page4-transfer-done");
    dlg.nextPage();
    visit(&dlg, "page5-finish");
    // After an activation video, the finish page also asks to play it first.
    dlg.findChild<QLabel*>("registerLabel")->show();
    visit(&dlg, "page5-finish-register");

    // Start without a usable drive.
    dlg.fileModel()->clear();
    dlg.resetWizard();
    service.burners.clear();
    service.usb.clear();
    dlg.setWizardStartParameters(start);
    dlg.nextPage();
    dlg.nextPage();
    dlg.nextPage();
    visit(&dlg, "page3-files-nodrive");
    grabNextMessageBox("box-start-warning");
    dlg.startButtonClicked();

    // A drive whose name is longer than the room for it.
    dlg.resetWizard();
    const QString longRoot = QStringLiteral("/media/alice/Holiday Photos Backup Drive");
    service.usb << FakeWizardService::drive(
        longRoot, "Holiday Photos Backup Drive of the Family Archive", 120ull << 30);
    WizardStartParameters toLongDrive = start;
    toLongDrive.driveType = 1;
    toLongDrive.skipProfilePage = true;
    toLongDrive.driveLetter = longRoot.toStdU16String();
    dlg.setWizardStartParameters(toLongDrive);
    dlg.fileModel()->insertFiles({sources[0]}, {QString()}, {estimates[0]}, {names[0]}, false);
    dlg.prevPage();
    dlg.nextPage();
    visit(&dlg, "page3-files-longname");
    dlg.startButtonClicked();
    visit(&dlg, "page4-transfer-longname");

    // A disc write: the read-back after the write, then a drive that fails.
    dlg.resetWizard();
    service.burners << FakeWizardService::drive("/dev/sr0", "HL-DT-ST DVDRAM GH24NSD1",
                                                4700000000ull);
    WizardStartParameters toDisc = start;
    toDisc.driveType = 0;
    toDisc.skipProfilePage = true;
    toDisc.driveLetter = u"/dev/sr0";
    dlg.setWizardStartParameters(toDisc);
    dlg.fileModel()->insertFiles({sources[0], sources[2]}, {QString(), QString()},
                                 {estimates[0], estimates[2]}, {names[0], names[2]}, false);
    dlg.prevPage();
    dlg.nextPage();
    dlg.startButtonClicked();
    dlg.fileSaveStarted(0);
    dlg.updateProgress(18000, 18000, 0, QString());
    dlg.burnPhaseProgress(6, 7000, 18000);
    visit(&dlg, "page4-verifying");
    grabNextMessageBox("box-write-error");
    dlg.saveFailed(tr("TransferWizardController", "Transfer failed. %1 could not be written: %2.")
                       .arg(QStringLiteral("Birthday party 2009.mp4"),
                            QStringLiteral("buffer underrun: the data did not reach the drive "
                                           "fast enough (drive sense 3/0C/09)")));
    service.burners.clear();

    // A transfer to a USB drive that went away after the first file: the failed page.
    dlg.fileModel()->clear();
    dlg.resetWizard();
    const QString gone = home.filePath("STICK");
    QDir().mkpath(gone);
    service.usb << FakeWizardService::drive(gone, "STICK", 7ull << 30);
    WizardStartParameters toStick = toLongDrive;
    toStick.driveLetter = gone.toStdU16String();
    dlg.setWizardStartParameters(toStick);
    dlg.fileModel()->insertFiles(sources, {QString(), QString(), QString()}, estimates, names,
                                 false);
    dlg.prevPage();
    dlg.nextPage();
    dlg.startButtonClicked();
    dlg.fileSaveStarted(0);
    dlg.updateProgress(60, 100, 0, QString());
    dlg.fileSaveFinished(0);
    dlg.fileSaveStarted(1);
    dlg.updateProgress(30, 100, 0, QString());
    QDir(gone).removeRecursively();
    const QString goneReason = tr("USBFileCopier", "could not name the file on the drive") +
                               QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(ENOENT));
    dlg.fileSaveFailed(1, goneReason);
    grabNextMessageBox("box-drive-gone");
    dlg.saveFailed(QFileInfo(names[1]).fileName() + QStringLiteral(": ") + goneReason);
    visit(&dlg, "page4-failed");
    service.usb.clear();

    // A drive too small for the videos: the longest of the file page's warnings.
    dlg.resetWizard();
    const QString smallRoot = QStringLiteral("/media/alice/SMALL");
    service.usb << FakeWizardService::drive(smallRoot, "SMALL", 20000000);
    WizardStartParameters toSmallDrive = toLongDrive;
    toSmallDrive.driveLetter = smallRoot.toStdU16String();
    dlg.setWizardStartParameters(toSmallDrive);
    dlg.fileModel()->insertFiles({sources[0]}, {QString()}, {estimates[0]}, {names[0]}, false);
    dlg.prevPage();
    dlg.nextPage();
    visit(&dlg, "page3-files-full");
    // Every warning the file page can show under the free space, in its label.
    {
        auto* warning = dlg.findChild<QLabel*>("warningDeviceIsfull");
        const USBDriveData ready = FakeWizardService::drive(smallRoot, "SMALL", 20000000);
        USBDriveData noMedium = ready;
        noMedium.status = DriveNoMediumInfo;
        USBDriveData readOnly = ready;
        readOnly.status = DriveMediumNotWritable;
        USBDriveData full = ready;
        full.freeBytes = 0;
        USBDriveData blankDvd = FakeWizardService::drive("/dev/sr0", "DVD", 4700000000ull);
        blankDvd.totalBytes = blankDvd.freeBytes;
        USBDriveData usedCd = FakeWizardService::drive("/dev/sr0", "CD-R", 300ull << 20);
        usedCd.totalBytes = 703ull << 20;
        const QString video = QStringLiteral("Birthday party 2009.mp4");
        const QStringList messages = {
            DestinationDrives::statusMessage(nullptr, 0, 0, FS_ALL, 0, video),
            DestinationDrives::statusMessage(nullptr, 1, 0, FS_ALL, 0, video),
            DestinationDrives::statusMessage(&noMedium, 0, 0, FS_ALL, 0, video),
            DestinationDrives::statusMessage(&noMedium, 1, 0, FS_ALL, 0, video),
            DestinationDrives::statusMessage(&readOnly, 0, 0, FS_ALL, 0, video),
            DestinationDrives::statusMessage(&readOnly, 1, 0, FS_ALL, 0, video),
            DestinationDrives::statusMessage(&full, 0, 0, FS_ALL, 0, video),
            DestinationDrives::statusMessage(&full, 1, 0, FS_ALL, 0, video),
            DestinationDrives::statusMessage(&ready, 1, ready.freeBytes, FS_ALL, 0, video),
            DestinationDrives::statusMessage(&ready, 1, 0, FS_NTFS, 0, video),
            DestinationDrives::statusMessage(&ready, 1, 0, FS_ALL, 5ull << 30, video),
            // Discs too small: a blank DVD, a CD with something on it already.
            DestinationDrives::statusMessage(&blankDvd, 0, 6ull << 30, FS_ALL, 0, video),
            DestinationDrives::statusMessage(&usedCd, 0, 1300ull << 20, FS_ALL, 0, video)};
        for (int i = 0; i < messages.size(); ++i) {
            warning->setText(messages[i]);
            visit(&dlg, QStringLiteral("page3-warning-%1").arg(i));
        }
    }

    // Secondary dialogs.
    ErrorDialog errors;
    errors.addRow(QStringLiteral("/home/alice/Videos/empty clip.avi"), 21);
    errors.addRow(QStringLiteral("/home/alice/Videos/Sommerfest am Seeufer 2009 (gekürzt).mp4"),
                  22);
    errors.addRow(QStringLiteral("/home/alice/Music/song.avi"), 23);
    errors.addRow(QStringLiteral("/media/alice/STICK/old.wmv"), 155);
    grabNextModal<ErrorDialog>("dialog-invalid-files");
    errors.run(
        tr("TransferWizardDlg", "Invalid Files"),
        tr("TransferWizardDlg", "Kavo Transfer Wizard is unable to recognize the following files:"),
        false);

    // A message box of its own, as when a file is added twice.
    grabNextMessageBox("box-already-queued");
    WizardMessages::alreadyQueued({names[0]});
    grabNextMessageBox("box-file-information");
    WizardMessages::fileInformation();
    grabNextMessageBox("box-conversion-error");
    WizardMessages::continueAfterConversionError(21, names[1], true);
    grabNextMessageBox("box-conversion-error-last");
    WizardMessages::continueAfterConversionError(21, names[1], false);

    HelpChooseDeviceDlg help(&dlg);
    help.show();
    visit(&help, "dialog-help-choose");
    help.hide();

    UnSupportedFileTypeDlg unsupported;
    unsupported.setFileNames({QStringLiteral("notes.txt"), QStringLiteral("song.flac")});
    unsupported.show();
    visit(&unsupported, "dialog-unsupported");
    unsupported.hide();

    kvqs::ProgressDialog progress(&dlg, false, true);
    progress.setStyleSheet(dialogStyleSheet());
    progress.setWindowTitle(QStringLiteral("Portavo"));
    progress.setText(tr("FileAnalysisRunner", "Analyzing... %1/%2").arg(2).arg(3));
    progress.setRange(0, 0);
    progress.show();
    visit(&progress, "dialog-progress");
    progress.hide();

    // The help viewer on a shipped page, as a desktop without a web browser shows it.
    HelpViewer viewer;
    viewer.setSource(QUrl(errorHelpUrl(23)));
    viewer.show();
    visit(&viewer, "dialog-help-viewer");
    viewer.hide();

    return failures;
}
