#pragma once

#include <QString>

// Turns a locale name such as "pt_BR" into the tag of the translation files to load
// ("pt-br"), falling back to English when the name is unusable.
class TranslationTag
{
public:
    // language: first two characters, lower-cased ("en" when not two). country: up to four
    // characters from index 3, lower-cased; when not two characters, the usual country of the
    // language ("en" -> "us", "pt" -> "br", ...), else left as computed.
    static void split(const QString& localeName, QString& language, QString& country);
    // The language alone when it is one we ship whole ("en,fr,de,ja,es"), else language-country.
    static QString tag(const QString& language, const QString& country);
    static QString fromLocaleName(const QString& localeName);
};
