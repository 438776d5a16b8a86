#include "TranslationLoader.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "TranslationTag.h"

TranslationLoader::TranslationLoader() = default;

TranslationLoader::~TranslationLoader()
{
    remove();
}

void TranslationLoader::remove()
{
    for (auto* translator : {&m_app, &m_qt}) {
        if (*translator)
            QCoreApplication::removeTranslator(translator->get());
        translator->reset();
    }
}

bool TranslationLoader::install(const QString& localeName, const QString& i18nDir)
{
    remove();
    const QLocale locale(localeName);
    QLocale::setDefault(locale);
    const QString tag = TranslationTag::fromLocaleName(localeName);
    const bool haveDir = !i18nDir.isEmpty() && QFileInfo(i18nDir).isDir();
    const QString delimiters = QStringLiteral("-");

    m_qt = std::make_unique<QTranslator>();
    if ((haveDir && m_qt->load(QStringLiteral("qt-") + tag, i18nDir, delimiters)) ||
        m_qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(m_qt.get());
    else
        m_qt.reset();

    m_app = std::make_unique<QTranslator>();
    if (haveDir && m_app->load(QStringLiteral("lang-") + tag, i18nDir, delimiters)) {
        QCoreApplication::installTranslator(m_app.get());
        return true;
    }
    m_app.reset();
    return false;
}

QString TranslationLoader::language() const
{
    const QString language = m_app ? m_app->language().left(2) : QString();
    return language.isEmpty() ? QStringLiteral("en") : language;
}
