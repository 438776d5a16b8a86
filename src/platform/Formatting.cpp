#include "Formatting.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>
#include <string>

#include "PortavoLayout.h"
#include "SettingsAccessors.h"

namespace {
constexpr quint64 KiB = 1024;
constexpr quint64 MiB = 1024 * KiB;
constexpr quint64 GiB = 1024 * MiB;
// The unit changes at 1000 of the smaller unit, so a size never shows four integer digits.
constexpr quint64 MbThreshold = 1000 * KiB;
constexpr quint64 GbThreshold = 1000 * MiB;

const char* const ErrorPagePath = "/kavo/windows/converter/error/";

// Set once at start-up, before any window exists.
QString s_uiLanguage = QStringLiteral("en");

QString installString(const char* path, const char* name)
{
    std::string value;
    if (!ReadInstallSetting(path, name, value))
        return {};
    return QString::fromUtf8(value.data(), qsizetype(value.size())).trimmed();
}
} // namespace

QString decimalText(double value, int decimals)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

QString fileSizeText(quint64 bytes)
{
    if (bytes < MbThreshold) {
        const quint64 kb = qMax<quint64>(1, bytes / KiB);
        //: file size in kilobytes
        return QCoreApplication::translate("::SetFileSize()", "%1 KB")
            .arg(decimalText(double(kb), 0));
    }
    if (bytes < GbThreshold) {
        return QCoreApplication::translate("::SetFileSize()", "%1 MB")
            .arg(decimalText(double(bytes) / double(MiB), 2));
    }
    return QCoreApplication::translate("::SetFileSize()", "%1 GB")
        .arg(decimalText(double(bytes) / double(GiB), 2));
}

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString currentLocale()
{
    const QString locale = installString("Setup", "Locale");
    return locale.isEmpty() ? QStringLiteral("en-us") : locale;
}

QString uiLanguage()
{
    return s_uiLanguage;
}

void setUiLanguage(const QString& language)
{
    s_uiLanguage = language.isEmpty() ? QStringLiteral("en") : language;
}

QString localHelpDir()
{
    const QString fromEnv = qEnvironmentVariable("KAVO_HELP_DIR");
    if (!fromEnv.isEmpty())
        return fromEnv;
    const QString appDir =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    const QString beside = appDir + QStringLiteral("/help");
    if (QFileInfo(beside).isDir())
        return beside;
    return QDir::cleanPath(appDir + QStringLiteral("/" PORTAVO_DATA_FROM_BIN "/help"));
}

QString errorHelpUrl(int code)
{
    const QString locale = currentLocale();
    const QString host = installString("TransferWizard", "HelpHost");
    if (!host.isEmpty()) {
        return QStringLiteral("http://%1%2%3#%4")
            .arg(host, QLatin1String(ErrorPagePath), locale)
            .arg(code);
    }
    // No help host: the same path under the pages shipped with the program. A locale
    // without its own page falls back to the English one.
    const QString dir = localHelpDir() + QLatin1String(ErrorPagePath);
    QString page = dir + locale + QStringLiteral(".html");
    if (!QFileInfo::exists(page))
        page = dir + QStringLiteral("en-us.html");
    QUrl url = QUrl::fromLocalFile(page);
    url.setFragment(QString::number(code));
    return url.toString();
}
