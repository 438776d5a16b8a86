#include "TranslationTag.h"

#include <QRegularExpression>
#include <QStringList>

void TranslationTag::split(const QString& localeName, QString& language, QString& country)
{
    language = localeName.mid(0, 2).toLower();
    if (language.size() != 2)
        language = QStringLiteral("en");

    country = localeName.mid(3, 4).toLower();
    if (country.size() == 2)
        return;
    static const struct
    {
        const char* language;
        const char* country;
    } defaults[] = {{"en", "us"}, {"fr", "fr"}, {"de", "de"}, {"es", "es"},
                    {"pt", "br"}, {"ja", "jp"}, {"zh", "cn"}};
    for (const auto& d : defaults) {
        if (language == QLatin1String(d.language)) {
            country = QLatin1String(d.country);
            return;
        }
    }
}

bool TranslationTag::isShipped(const QString& language)
{
    const QStringList supported = QStringLiteral("en,fr,de,ja,es").split(QLatin1Char(','));
    return supported.contains(language);
}

QString TranslationTag::tag(const QString& language, const QString& country)
{
    if (isShipped(language))
        return language;
    return language + QLatin1Char('-') + country;
}

QString TranslationTag::fromLocaleName(const QString& localeName)
{
    QString language;
    QString country;
    split(localeName, language, country);
    return tag(language, country);
}

namespace {
QString withoutEncoding(QString name)
{
    const qsizetype cut = name.indexOf(QRegularExpression(QStringLiteral("[.@]")));
    if (cut >= 0)
        name.truncate(cut);
    return name;
}
} // namespace

QString TranslationTag::messagesLocaleName(const QProcessEnvironment& environment)
{
    QString locale;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = environment.value(QLatin1String(variable));
        if (!locale.isEmpty())
            break;
    }
    locale = withoutEncoding(locale);
    // gettext ignores LANGUAGE in the C locale: "LANG=C portavo" is English whatever is set.
    if (locale == QLatin1String("C") || locale == QLatin1String("POSIX"))
        return QStringLiteral("en_US");
    const QStringList wanted =
        environment.value(QStringLiteral("LANGUAGE")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& entry : wanted) {
        const QString name = withoutEncoding(entry);
        if (isShipped(name.left(2).toLower()))
            return name;
    }
    if (locale.isEmpty() && !wanted.isEmpty())
        return withoutEncoding(wanted.first());
    return locale;
}
