#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

struct Message {
    QString key; // "context / source"
    QString source;
    QString translation;
    QString type; // "unfinished", "obsolete", "vanished" or empty
};

QList<Message> readTs(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<Message> messages;
    QString context;
    QXmlStreamReader xml(&file);
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            messages.append(Message{});
        } else if (xml.name() == u"source") {
            messages.last().source = xml.readElementText();
            messages.last().key = context + u" / "_s + messages.last().source;
        } else if (xml.name() == u"translation") {
            messages.last().type = xml.attributes().value(u"type"_s).toString();
            messages.last().translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        }
    }
    return messages;
}

// The arguments a text takes: a translation that drops or adds one shows the wrong figure.
QStringList placeholders(const QString &text)
{
    static const QRegularExpression argument(u"%\\d+"_s);
    QStringList found;
    for (const QRegularExpressionMatch &match : argument.globalMatch(text))
        found << match.captured();
    found.sort();
    found.removeDuplicates();
    return found;
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QHash<QString, Message> m_sourceTexts;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString fresh = m_dir.filePath(u"fresh.ts"_s);
        QProcess lupdate;
        lupdate.start(QStringLiteral(TARVO_LUPDATE),
                      {QStringLiteral(TARVO_SOURCE_DIR "/src"), QStringLiteral(TARVO_SOURCE_DIR "/tools"),
                       u"-locations"_s, u"none"_s, u"-silent"_s, u"-ts"_s, fresh});
        QVERIFY(lupdate.waitForFinished(120000));
        QVERIFY2(lupdate.exitCode() == 0, lupdate.readAllStandardError().constData());
        for (const Message &message : readTs(fresh))
            m_sourceTexts.insert(message.key, message);
        QVERIFY(m_sourceTexts.size() > 100);
    }

    void committedFileHasEverySourceText_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("German") << QStringLiteral(TARVO_SOURCE_DIR "/translations/tarvo_de.ts");
        QTest::newRow("Spanish") << QStringLiteral(TARVO_SOURCE_DIR "/translations/tarvo_es.ts");
    }

    // Every text of the sources translated, none left unfinished, none the sources no longer have.
    void committedFileHasEverySourceText()
    {
        QFETCH(QString, file);
        QStringList problems;
        QSet<QString> committed;
        for (const Message &message : readTs(file)) {
            committed.insert(message.key);
            if (!m_sourceTexts.contains(message.key) || message.type == u"obsolete" || message.type == u"vanished")
                problems << u"obsolete: "_s + message.key;
            else if (message.type == u"unfinished" || message.translation.isEmpty())
                problems << u"unfinished: "_s + message.key;
            else if (placeholders(message.source) != placeholders(message.translation))
                problems << u"other arguments than the source: "_s + message.key;
        }
        for (auto text = m_sourceTexts.cbegin(); text != m_sourceTexts.cend(); ++text) {
            if (!committed.contains(text.key()))
                problems << u"missing: "_s + text.key();
        }
        problems.sort();
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }

    void languageFollowsTheLocale_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QString>("message");
        const QString german = u"tarvo-cli: unbekannter Befehl"_s;
        const QString spanish = u"tarvo-cli: orden desconocida"_s;
        const QString english = u"tarvo-cli: unknown command"_s;
        QTest::newRow("German LANG") << QStringList{u"LANG=de_DE.UTF-8"_s} << german;
        QTest::newRow("C") << QStringList{u"LANG=C"_s} << english;
        QTest::newRow("nothing set") << QStringList{} << english;
        QTest::newRow("Spanish LANG") << QStringList{u"LANG=es_ES.UTF-8"_s} << spanish;
        QTest::newRow("Austrian German") << QStringList{u"LANG=de_AT.UTF-8"_s} << german;
        QTest::newRow("no translation") << QStringList{u"LANG=fr_FR.UTF-8"_s} << english;
        QTest::newRow("LC_ALL over LANG") << QStringList{u"LANG=es_ES.UTF-8"_s, u"LC_ALL=de_DE.UTF-8"_s} << german;
        QTest::newRow("C in LC_ALL") << QStringList{u"LANG=de_DE.UTF-8"_s, u"LC_ALL=C"_s} << english;
        QTest::newRow("LC_MESSAGES over LANG")
            << QStringList{u"LANG=de_DE.UTF-8"_s, u"LC_MESSAGES=es_ES.UTF-8"_s} << spanish;
        QTest::newRow("LANGUAGE: the first with a translation")
            << QStringList{u"LANG=de_DE.UTF-8"_s, u"LANGUAGE=fr:es"_s} << spanish;
    }

    void languageFollowsTheLocale()
    {
        QFETCH(QStringList, environment);
        QFETCH(QString, message);
        QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"LANG"_s, u"LC_ALL"_s, u"LC_MESSAGES"_s, u"LANGUAGE"_s})
            variables.remove(name);
        for (const QString &setting : environment)
            variables.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
        QProcess cli;
        cli.setProcessEnvironment(variables);
        cli.start(QStringLiteral(TARVO_CLI), {u"no-such-command"_s});
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(cli.exitCode(), 2);
        const QString said = QString::fromUtf8(cli.readAllStandardError());
        QVERIFY2(said.startsWith(message), qPrintable(said));
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
