#include "TranslationTag.h"

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

QString TranslationTag::tag(const QString& language, const QString& country)
{
    const QStringList supported = QStringLiteral("en,fr,de,ja,es").split(QLatin1Char(','));
    if (supported.contains(language))
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
