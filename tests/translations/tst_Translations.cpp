#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

// One message of a catalogue.
struct Message
{
    QString context;
    QString source;
    QString disambiguation;
    QString translation;
    QStringList forms; // a plural message's forms, each with its own placeholders
    QString type;      // "unfinished", "obsolete", "vanished", or empty when done
    QString key() const
    {
        return context + QLatin1Char('\x1f') + source + QLatin1Char('\x1f') + disambiguation;
    }
};

namespace {

const QStringList Languages = {QStringLiteral("fr"), QStringLiteral("de"), QStringLiteral("es"),
                               QStringLiteral("ja")};

QList<Message> readCatalogue(const QString& path, QString* language = nullptr)
{
    QList<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message current;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        if (name == QLatin1String("TS") && language) {
            *language = xml.attributes().value(QLatin1String("language")).toString();
        } else if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("message")) {
            current = Message();
            current.context = context;
        } else if (name == QLatin1String("source")) {
            current.source = xml.readElementText();
        } else if (name == QLatin1String("comment")) {
            current.disambiguation = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            current.type = xml.attributes().value(QLatin1String("type")).toString();
            while (!(xml.readNext() == QXmlStreamReader::EndElement &&
                     xml.name() == QLatin1String("translation")) &&
                   !xml.atEnd()) {
                if (xml.isCharacters())
                    current.translation += xml.text();
                else if (xml.isStartElement() && xml.name() == QLatin1String("numerusform"))
                    current.forms << xml.readElementText();
            }
            current.translation += current.forms.join(QString());
            messages << current;
        }
    }
    if (xml.hasError())
        qWarning() << path << xml.errorString();
    return messages;
}

// What must survive translation: the %1 and %n placeholders and the rich-text tags, each as
// often as in the source (their order may change with the language).
QStringList markers(const QString& text)
{
    static const QRegularExpression marker(QStringLiteral("%L?[0-9]+|%n|<[^>]+>"));
    QStringList found;
    for (auto it = marker.globalMatch(text); it.hasNext();)
        found << it.next().captured(0);
    found.sort();
    return found;
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void catalogue_isFinished_data();
    void catalogue_isFinished();
    void catalogue_coversEverySourceText_data();
    void catalogue_coversEverySourceText();

private:
    QTemporaryDir m_dir;
    QSet<QString> m_sourceKeys;
};

void TestTranslations::initTestCase()
{
    // The texts the sources hold today, extracted as the update target does; a text added
    // to the code without a translation shows up here.
    QVERIFY(m_dir.isValid());
    const QString fresh = m_dir.filePath(QStringLiteral("fresh.ts"));
    QProcess lupdate;
    lupdate.setProcessChannelMode(QProcess::MergedChannels);
    const QString root = QStringLiteral(PORTAVO_SOURCE_DIR);
    QStringList arguments = {QStringLiteral("-recursive"), QStringLiteral("-locations"),
                             QStringLiteral("none"), QStringLiteral("-silent"),
                             root + QStringLiteral("/src")};
    arguments << QStringLiteral(PORTAVO_TR_ENGINE_SOURCES).split(QLatin1Char('|'));
    arguments << QStringLiteral("-ts") << fresh;
    lupdate.start(QStringLiteral(PORTAVO_LUPDATE), arguments);
    QVERIFY2(lupdate.waitForFinished(120000), "lupdate did not finish");
    QVERIFY2(lupdate.exitCode() == 0, lupdate.readAll().constData());
    for (const Message& message : readCatalogue(fresh))
        m_sourceKeys.insert(message.key());
    QVERIFY2(m_sourceKeys.size() > 100, "lupdate found too few texts");
}

void TestTranslations::catalogue_isFinished_data()
{
    QTest::addColumn<QString>("language");
    for (const QString& language : Languages)
        QTest::newRow(qPrintable(language)) << language;
}

// Every message has a finished translation that keeps the source's placeholders and tags.
void TestTranslations::catalogue_isFinished()
{
    QFETCH(QString, language);
    QString declared;
    const QList<Message> messages = readCatalogue(
        QStringLiteral(PORTAVO_TS_DIR "/lang-") + language + QStringLiteral(".ts"), &declared);
    QVERIFY(!messages.isEmpty());
    QCOMPARE(declared, language);
    QStringList problems;
    for (const Message& m : messages) {
        const QString where =
            m.context + QStringLiteral(": \"") + m.source.left(60) + QStringLiteral("\"");
        if (!m.type.isEmpty())
            problems << where + QStringLiteral(" is ") + m.type;
        else if (m.translation.trimmed().isEmpty())
            problems << where + QStringLiteral(" has no translation");
        for (const QString& text : m.forms.isEmpty() ? QStringList{m.translation} : m.forms) {
            if (!m.translation.trimmed().isEmpty() && markers(m.source) != markers(text))
                problems << where + QStringLiteral(" keeps ") +
                                markers(text).join(QLatin1Char(' ')) +
                                QStringLiteral(" instead of ") +
                                markers(m.source).join(QLatin1Char(' '));
        }
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void TestTranslations::catalogue_coversEverySourceText_data()
{
    catalogue_isFinished_data();
}

// The catalogue holds exactly the texts of the sources: none missing (scripts/
// update-translations.sh adds them), none left over.
void TestTranslations::catalogue_coversEverySourceText()
{
    QFETCH(QString, language);
    QSet<QString> keys;
    for (const Message& message :
         readCatalogue(QStringLiteral(PORTAVO_TS_DIR "/lang-") + language + QStringLiteral(".ts")))
        keys.insert(message.key());
    const auto describe = [](const QSet<QString>& set) {
        QStringList list(set.begin(), set.end());
        list.sort();
        return list.join(QLatin1Char('\n')).replace(QLatin1Char('\x1f'), QLatin1String(" | "));
    };
    const QSet<QString> missing = m_sourceKeys - keys;
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("not in the catalogue (run scripts/update-translations.sh "
                                       "and translate):\n") +
                        describe(missing)));
    const QSet<QString> extra = keys - m_sourceKeys;
    QVERIFY2(extra.isEmpty(),
             qPrintable(QStringLiteral("no longer in the sources:\n") + describe(extra)));
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_Translations.moc"
