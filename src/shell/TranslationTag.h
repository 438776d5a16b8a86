#pragma once

#include <QProcessEnvironment>
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
    // The locale the user reads messages in, chosen as gettext does: the first of LC_ALL,
    // LC_MESSAGES and LANG that is set; before it the LANGUAGE list ("de:fr"), whose first
    // language we ship wins, unless that locale is C or POSIX (then English). "en_US" for C,
    // empty when nothing is set. Encoding and modifier are dropped ("fr_FR.UTF-8" -> "fr_FR").
    static QString messagesLocaleName(
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
    // Whether the language (two lower-case letters) is one we ship whole.
    static bool isShipped(const QString& language);
};
