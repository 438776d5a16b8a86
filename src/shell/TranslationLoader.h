#pragma once

#include <QString>
#include <memory>

class QTranslator;

// Puts the program's texts into one language: Qt's own texts (standard buttons, the file
// dialog) and the wizard's. The translators stay installed while the loader lives.
class TranslationLoader
{
public:
    TranslationLoader();
    ~TranslationLoader();
    TranslationLoader(const TranslationLoader&) = delete;
    TranslationLoader& operator=(const TranslationLoader&) = delete;

    // For a locale name ("de_AT", "pt-br"): Qt's texts from "qt-TAG" in i18nDir, else from the
    // Qt installation's qtbase catalogue; the wizard's from "lang-TAG" in i18nDir (TAG as
    // TranslationTag makes it, falling back from "pt-br" to "pt"). Numbers and dates then
    // follow that locale too. Returns whether the wizard's translation was found.
    bool install(const QString& localeName, const QString& i18nDir);
    // The language of the wizard's loaded translation ("fr"), "en" when none is loaded.
    QString language() const;

private:
    void remove();

    std::unique_ptr<QTranslator> m_qt;
    std::unique_ptr<QTranslator> m_app;
};
