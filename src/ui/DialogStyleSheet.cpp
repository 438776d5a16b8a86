#include "DialogStyleSheet.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QUrl>
#include <QtGlobal>
#include <string>

#include "Formatting.h"
#include "SettingsAccessors.h"

// Outside any namespace: the resource initialiser's name is global.
static void registerPortavoResources()
{
    Q_INIT_RESOURCE(portavo_images);
}

void initPortavoResources()
{
    static const bool registered = [] {
        registerPortavoResources();
        return true;
    }();
    Q_UNUSED(registered);
}

void setUpSecondaryDialog(QDialog* dialog, const QString& objectName)
{
    initPortavoResources();
    dialog->setObjectName(objectName);
    dialog->setWindowFlags((dialog->windowFlags() & ~Qt::WindowContextHelpButtonHint) |
                           Qt::MSWindowsFixedSizeDialogHint);
    dialog->setWindowIcon(QIcon(QStringLiteral(":/DeviceTransferWizard/portavo.png")));
    dialog->setStyleSheet(dialogStyleSheet());
}

QString dialogStyleSheet()
{
    initPortavoResources();
    static const QString sheet = [] {
        QFile file(QStringLiteral(":/styles/dialog.qss"));
        if (file.open(QIODevice::ReadOnly))
            return QString::fromUtf8(file.readAll());
        return QString();
    }();
    return sheet;
}

QString fileDialogStyleSheet()
{
    initPortavoResources();
    static const QString sheet = [] {
        QFile file(QStringLiteral(":/styles/filedialog.qss"));
        return dialogStyleSheet() +
               (file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString());
    }();
    return sheet;
}

QString helpPageUrl(const QString& path)
{
    // The forms name the English page ("/kavo/profiles/en"); the page asked for is the one in
    // the wizard's language, and a shipped page falls back to English where none exists.
    QString localized = path;
    const QString english = QStringLiteral("/en");
    const bool perLanguage = path.endsWith(english);
    if (perLanguage)
        localized = path.left(path.size() - english.size() + 1) + uiLanguage();
    std::string host;
    if (ReadInstallSetting(std::string("TransferWizard"), std::string("HelpHost"), host)) {
        const QString text = QString::fromStdString(host).trimmed();
        if (!text.isEmpty())
            return QStringLiteral("http://") + text + localized;
    }
    QString page = localHelpDir() + localized + QStringLiteral(".html");
    if (perLanguage && !QFileInfo::exists(page))
        page = localHelpDir() + path + QStringLiteral(".html");
    return QUrl::fromLocalFile(page).toString();
}
