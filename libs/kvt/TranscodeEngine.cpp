#include "TranscodeEngine.h"

#include "EngineLog.h"
#include "LocalPath.h"
#include "PortavoLayout.h"
#include "ProfileTable.h"
#include "TranscodeEngineInfo.h"
#include "TranscodeEnums.h"
#include "TranscodeOutputSettings.h"
#include "TranscodeSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace kvt {

namespace {

const char kEngineName[] = "KavoEngine";

bool isExecutableFile(const QString& path)
{
    const QFileInfo fi(path);
    return fi.isFile() && ::access(QFile::encodeName(fi.absoluteFilePath()).constData(), X_OK) == 0;
}

// The executable in dir (a directory or the executable itself), or empty.
QString engineIn(const QString& given)
{
    if (given.isEmpty())
        return {};
    QString path = given;
    // Paths written for the Windows engine name "KavoEngine.exe".
    if (path.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive) && !QFileInfo::exists(path))
        path.chop(4);
    const QFileInfo fi(path);
    if (fi.isDir())
        path = QDir(path).filePath(QLatin1String(kEngineName));
    return isExecutableFile(path) ? QFileInfo(path).absoluteFilePath() : QString();
}

QString ownDirectory()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return {};
    buf[n] = '\0';
    return QFileInfo(QFile::decodeName(buf)).absolutePath();
}

} // namespace

std::u16string LocateTranscodeEngine(const std::u16string& engineDir)
{
    QString given = QString::fromStdU16String(engineDir);
    // "/KavoEngine.exe" is what an empty install directory plus the engine's
    // name gives: that is no directory at all.
    const QFileInfo asFile(given);
    if (asFile.path() == QLatin1String("/") &&
        asFile.completeBaseName() == QLatin1String(kEngineName) && !asFile.exists())
        given.clear();
    if (!given.isEmpty())
        return engineIn(given).toStdU16String();
    const QString own = ownDirectory();
    QString found = engineIn(own);
    // An installed program keeps its worker in its private libexec folder.
    if (found.isEmpty() && !own.isEmpty())
        found = engineIn(QDir::cleanPath(own + QStringLiteral("/" PORTAVO_LIBEXEC_FROM_BIN)));
    if (found.isEmpty())
        found = engineIn(qEnvironmentVariable("KAVO_ENGINE_DIR"));
    return found.toStdU16String();
}

int32_t InitTranscodeEngine(const std::u16string& enginePath, const LoggerSettings* logger,
                            kvtl::RefCountedPtr<ITranscodeEngineInfo>& info)
{
    info.reset();
    LoggerSettings settings = logger ? *logger : LoggerSettings();
    if (settings.enable && settings.level == 0)
        settings.level = KAVO_ALL_MSG;
    EngineLog::configure(settings);

    const std::u16string path = LocateTranscodeEngine(enginePath);
    if (path.empty()) {
        EngineLog::write(KAVO_ERROR_MSG,
                         "InitTranscodeEngine: no KavoEngine at '" + toLocalPath(enginePath) + "'");
        return CRTL_FILE_DOES_NOT_EXIST;
    }
    // The FFmpeg versions are logged when the media module loads, at the first analysis.
    EngineLog::write(KAVO_INFO_MSG, "InitTranscodeEngine: " + toLocalPath(path) + ", " +
                                        TranscodeEngineInfo::engineText());
    info = new TranscodeEngineInfo(path, settings);
    return SUCCESS;
}

int32_t CreateTranscodeSession(kvtl::RefCountedPtr<ITranscodeSession>& session)
{
    session = new TranscodeSession();
    return SUCCESS;
}

int32_t
CreateDefaultTranscodeOutputSettings(int32_t profile,
                                     kvtl::RefCountedPtr<ITranscodeOutputSettings>& settings)
{
    settings.reset();
    if (!findDeviceProfile(profile))
        return ENG_OUTOFRANGE_ERR;
    settings = new TranscodeOutputSettings(profile);
    return SUCCESS;
}

} // namespace kvt
