// portavo_screens <outdir>: renders every wizard page, the open drive popup, the Add dialog, the
// secondary dialogs and message boxes to PNG files, so the look can be reviewed without a
// display.

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QUrl>
#include <cstdio>

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

QString outDir;
int failures = 0;

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

void save(QWidget* widget, const QString& name)
{
    settle();
    const QString path = outDir + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!widget->grab().save(path)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        ++failures;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

// The keyboard focus on a widget, as Tab puts it there (with its focus ring).
void saveFocused(QWidget* window, const char* widget, const QString& name)
{
    if (QWidget* w = window->findChild<QWidget*>(QString::fromLatin1(widget)))
        w->setFocus(Qt::TabFocusReason);
    save(window, name);
}

// The whole screen with the window where it stands, named after the screen's pixels.
void saveOnScreen(QWidget* window)
{
    settle();
    QScreen* screen = window->screen();
    const qreal dpr = screen->devicePixelRatio();
    const QSize pixels = screen->geometry().size() * dpr;
    QImage canvas(pixels, QImage::Format_RGB32);
    canvas.setDevicePixelRatio(dpr);
    canvas.fill(QColor(96, 102, 116));
    QPainter painter(&canvas);
    painter.drawPixmap(window->frameGeometry().topLeft() - screen->geometry().topLeft(),
                       window->grab());
    painter.end();
    const QString path = outDir + QStringLiteral("/screen-%1x%2-scale%3.png")
                                      .arg(pixels.width())
                                      .arg(pixels.height())
                                      .arg(dpr);
    if (!canvas.save(path)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        ++failures;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

// Modal windows run their own loop: wait for the next one of type T to show, grab it once it
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
            save(window, name);
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

QString makeClip(const QDir& dir, const QString& name, qint64 bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.resize(bytes);
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: portavo_screens <outdir>\n");
        return 2;
    }
    outDir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outDir);

    // Settings of this run only.
    QTemporaryDir home;
    qputenv("KAVO_USER_HIVE", home.filePath("user.reg").toUtf8());
    qputenv("KAVO_MACHINE_HIVE", home.filePath("machine.reg").toUtf8());

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
    start.deviceLabel = QStringLiteral("DVD Player");
    dlg.setWizardStartParameters(start);
    dlg.show();
    save(&dlg, "page0-welcome");
    dlg.nextPage();
    save(&dlg, "page1-devicetype");
    saveFocused(&dlg, "KavoHDRadioButton", "focus-tile");
    dlg.nextPage();
    save(&dlg, "page2-method");
    saveFocused(&dlg, "learnMoreLabelForTransfer", "focus-link");
    dlg.findChild<QRadioButton*>("CopyToUSBRadioButton")->click();
    save(&dlg, "page2-method-usb");
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
    save(&dlg, "page3-files");
    saveFocused(&dlg, "driveComboBox", "focus-drive-picker");
    saveOnScreen(&dlg);

    // The Add dialog opens in the folder of the listed videos.
    grabNextModal<QFileDialog>("dialog-add-files");
    dlg.addFiles();

    auto* combo = dlg.findChild<DriveComboBox*>("driveComboBox");
    combo->onClick();
    settle();
    if (combo->popup() && combo->popup()->isVisible()) {
        save(combo->popup(), "page3-drive-popup");
        // The keyboard on the next entry of the open list: Down, as a user presses it.
        if (QWidget* entry = combo->popup()->focusWidget()) {
            QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
            QApplication::sendEvent(entry, &down);
        }
        save(combo->popup(), "focus-drive-popup-entry");
    } else {
        std::fprintf(stderr, "drive popup did not open\n");
        ++failures;
    }
    if (combo->popup())
        combo->popup()->hide();

    dlg.startButtonClicked();
    save(&dlg, "page4-transfer");
    dlg.updateProgress(40, 100, 95, names[1]);
    save(&dlg, "page4-converting");
    grabNextMessageBox("box-close-warning");
    dlg.reject();
    grabNextMessageBox("box-cancel-warning");
    dlg.cancelProcessWarning();
    dlg.fileSaveDone();
    save(&dlg, "page4-transfer-done");
    dlg.nextPage();
    save(&dlg, "page5-finish");

    // Start without a usable drive.
    dlg.fileModel()->clear();
    dlg.resetWizard();
    service.burners.clear();
    service.usb.clear();
    dlg.setWizardStartParameters(start);
    dlg.nextPage();
    dlg.nextPage();
    dlg.nextPage();
    save(&dlg, "page3-files-nodrive");
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
    save(&dlg, "page3-files-longname");
    dlg.startButtonClicked();
    save(&dlg, "page4-transfer-longname");

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
    save(&dlg, "page4-verifying");
    grabNextMessageBox("box-write-error");
    dlg.saveFailed(QStringLiteral("Transfer failed. Birthday party 2009.mp4 could not be "
                                  "written: buffer underrun: the data did not reach the drive "
                                  "fast enough (drive sense 3/0C/09)."));

    // Secondary dialogs.
    ErrorDialog errors;
    errors.addRow(QStringLiteral("/home/alice/Videos/empty clip.avi"), 21);
    errors.addRow(QStringLiteral("/home/alice/Videos/Sommerfest am Seeufer 2009 (gekürzt).mp4"),
                  22);
    errors.addRow(QStringLiteral("/home/alice/Music/song.avi"), 23);
    errors.addRow(QStringLiteral("/media/alice/STICK/old.wmv"), 155);
    grabNextModal<ErrorDialog>("dialog-invalid-files");
    errors.run(QStringLiteral("Invalid Files"),
               QStringLiteral("Kavo Transfer Wizard is unable to recognize the following files:"),
               false);

    // A message box of its own, as when a file is added twice.
    grabNextMessageBox("box-already-queued");
    WizardMessages::alreadyQueued({names[0]});

    HelpChooseDeviceDlg help(&dlg);
    help.show();
    save(&help, "dialog-help-choose");
    help.hide();

    UnSupportedFileTypeDlg unsupported;
    unsupported.setFileNames({QStringLiteral("notes.txt"), QStringLiteral("song.flac")});
    unsupported.show();
    save(&unsupported, "dialog-unsupported");
    unsupported.hide();

    kvqs::ProgressDialog progress(&dlg, false, true);
    progress.setStyleSheet(dialogStyleSheet());
    progress.setWindowTitle(QStringLiteral("Portavo"));
    progress.setText(QStringLiteral("Analyzing... 2/3"));
    progress.setRange(0, 0);
    progress.show();
    save(&progress, "dialog-progress");
    progress.hide();

    // The help viewer on a shipped page, as a desktop without a web browser shows it.
    HelpViewer viewer;
    viewer.setSource(QUrl(errorHelpUrl(23)));
    viewer.show();
    save(&viewer, "dialog-help-viewer");
    viewer.hide();

    return failures == 0 ? 0 : 1;
}
