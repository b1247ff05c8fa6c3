#include "settings/profile.h"
#include "support/filefixtures.h"
#include "support/powercutdisk.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QLocale>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
QString lastTemporaryContent;
bool recordAndFail(const QString &from, const QString &)
{
    lastTemporaryContent = QString::fromUtf8(fileBytes(from));
    return false;
}
} // namespace

class TestProfile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void readValue_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected"); // "<default>" when the key is not found

        QTest::newRow("names match without regard to case") << QByteArray("[system]\nPLAN=2\n") << "System" << "Plan" << "2";
        QTest::newRow("the first of two equal keys") << QByteArray("[S]\nk=1\nK=2\n") << "S" << "k" << "1";
        QTest::newRow("the first of two equal sections") << QByteArray("[S]\na=1\n[s]\nb=2\n") << "S" << "b" << "<default>";
        QTest::newRow("blanks around name and value") << QByteArray("[ S ]\n  key \t=  v a \t\n") << "S" << "key" << "v a";
        QTest::newRow("empty value") << QByteArray("[S]\nk=\n") << "S" << "k" << "";
        QTest::newRow("missing section") << QByteArray("[T]\nk=1\n") << "S" << "k" << "<default>";
        QTest::newRow("missing key") << QByteArray("[S]\nj=1\n") << "S" << "k" << "<default>";
        QTest::newRow("key before any section") << QByteArray("k=1\n[S]\n") << "S" << "k" << "<default>";
        QTest::newRow("comment is no key") << QByteArray("[S]\n;k=1\n") << "S" << "k" << "<default>";
        QTest::newRow("line without = is no key") << QByteArray("[S]\nk\n") << "S" << "k" << "<default>";
        QTest::newRow("header without ] is no section") << QByteArray("[T]\n[S\nk=1\n") << "S" << "k" << "<default>";
        QTest::newRow("lines after a broken header stay in the section before")
            << QByteArray("[T]\n[S\nk=1\n") << "T" << "k" << "1";
        QTest::newRow("last line without line break") << QByteArray("[S]\nk=1") << "S" << "k" << "1";
        QTest::newRow("CR LF line endings") << QByteArray("[S]\r\nk=1\r\n") << "S" << "k" << "1";
        QTest::newRow("UTF-8 byte order mark") << QByteArray("\xEF\xBB\xBF[S]\nk=1\n") << "S" << "k" << "1";
        QTest::newRow("value with = in it") << QByteArray("[S]\nk=a=b\n") << "S" << "k" << "a=b";
        QTest::newRow("2047-character limit") << ("[S]\nk=" + QByteArray(5000, 'x') + '\n') << "S" << "k"
                                              << QString(2047, u'x');
        QTest::newRow("binary bytes around") << binary("\x00\xff\x01\n[S]\x00\nk=1\n\x00\x00") << "S" << "k" << "1";
    }
    void readValue()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.ini"));
        writeBytes(path, file);
        QCOMPARE(IniDocument::read(path).string(section, key, QStringLiteral("<default>")), expected);
    }

    void write_data()
    {
        QTest::addColumn<QByteArray>("before"); // null: no file
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");

        QTest::newRow("new file") << QByteArray() << "System" << "plan" << "3" << QByteArray("[System]\nplan=3\n");
        QTest::newRow("in-place replace keeps every other byte")
            << QByteArray("; my settings\n[System]\nfoo = bar ; note\nPlan=2\nzzz\n\n[Other]\nx=y\n") << "System" << "plan"
            << "3" << QByteArray("; my settings\n[System]\nfoo = bar ; note\nPlan=3\nzzz\n\n[Other]\nx=y\n");
        QTest::newRow("replace keeps the file's spelling of the names")
            << QByteArray("[SYSTEM]\nPlan=2\n") << "System" << "plan" << "5" << QByteArray("[SYSTEM]\nPlan=5\n");
        QTest::newRow("replace keeps the blanks before the value")
            << QByteArray("[S]\nkey = old  \n") << "S" << "key" << "new" << QByteArray("[S]\nkey = new\n");
        QTest::newRow("new key at the end of its section, before the blank lines")
            << QByteArray("[A]\na=1\n\n[B]\nb=1\n") << "A" << "c" << "2" << QByteArray("[A]\na=1\nc=2\n\n[B]\nb=1\n");
        QTest::newRow("new key in an empty section") << QByteArray("[A]\n[B]\n") << "A" << "c" << "2"
                                                     << QByteArray("[A]\nc=2\n[B]\n");
        QTest::newRow("new section at the end") << QByteArray("[A]\na=1\n") << "B" << "b" << "2"
                                                << QByteArray("[A]\na=1\n[B]\nb=2\n");
        QTest::newRow("new section after a last line without line break")
            << QByteArray("[A]\na=1") << "B" << "b" << "2" << QByteArray("[A]\na=1\n[B]\nb=2\n");
        QTest::newRow("new key after a last line without line break")
            << QByteArray("[A]\na=1") << "A" << "b" << "2" << QByteArray("[A]\na=1\nb=2\n");
        QTest::newRow("CR LF file gets CR LF lines") << QByteArray("[A]\r\na=1\r\n") << "A" << "b" << "2"
                                                     << QByteArray("[A]\r\na=1\r\nb=2\r\n");
        QTest::newRow("replace on a CR LF line") << QByteArray("[A]\r\na=1\r\n") << "a" << "A" << "22"
                                                 << QByteArray("[A]\r\na=22\r\n");
        QTest::newRow("odd lines and unknown keys kept byte for byte")
            << QByteArray("[A]\nnoequals\n[broken\n\x01\x02=\xff\n;a=0\na=1\n") << "A" << "a" << "2"
            << QByteArray("[A]\nnoequals\n[broken\n\x01\x02=\xff\n;a=0\na=2\n");
        QTest::newRow("a key before the first section is not replaced")
            << QByteArray("a=1\n[A]\n") << "A" << "a" << "2" << QByteArray("a=1\n[A]\na=2\n");
        QTest::newRow("line break in a value becomes a blank") << QByteArray("[A]\n") << "A" << "a" << "x\r\ny=1"
                                                              << QByteArray("[A]\na=x  y=1\n");
    }
    void write()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.ini"));
        if (!before.isNull())
            writeBytes(path, before);

        IniDocument document = IniDocument::readForWrite(path);
        document.setString(section, key, value);
        document.save(path);

        QCOMPARE(fileBytes(path), after);
        QCOMPARE(IniDocument::read(path).string(section, key, QString()), value.replace(u'\r', u' ').replace(u'\n', u' '));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.ini")});
    }

    void parseInt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("expected");

        QTest::newRow("decimal") << "4096" << true << 4096;
        QTest::newRow("negative") << "-1" << true << -1;
        QTest::newRow("plus sign") << "+7" << true << 7;
        QTest::newRow("leading zeros") << "000000000000000000012" << true << 12;
        QTest::newRow("hexadecimal") << "0x2" << true << 2;
        QTest::newRow("hexadecimal, capital X") << "0X1f" << true << 31;
        QTest::newRow("0x alone is decimal text") << "0x" << false << 0;
        QTest::newRow("hexadecimal with a sign") << "0x-1" << false << 0;
        QTest::newRow("largest") << "2147483647" << true << 2147483647;
        QTest::newRow("smallest") << "-2147483648" << true << int(-2147483648LL);
        QTest::newRow("beyond the largest") << "2147483648" << false << 0;
        QTest::newRow("hexadecimal beyond the largest") << "0x80000000" << false << 0;
        QTest::newRow("many digits") << "99999999999999999999999999" << false << 0;
        QTest::newRow("trailing letters") << "12ab" << false << 0;
        QTest::newRow("decimal point") << "1.5" << false << 0;
        QTest::newRow("blank inside") << "1 2" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("sign alone") << "-" << false << 0;
    }
    void parseInt()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, expected);
        const auto value = ProfileValue::parseInt(text);
        QCOMPARE(value.has_value(), valid);
        if (valid)
            QCOMPARE(*value, expected);
    }

    void floats_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");

        QTest::newRow("default cut-off limit in MB") << "C" << 96888422 / 1048576.0 << "92.3999996185303";
        QTest::newRow("default throttle limit in MB") << "C" << 64592281 / 1048576.0 << "61.5999994277954";
        QTest::newRow("12.5 MB") << "C" << 13107200 / 1048576.0 << "12.5";
        QTest::newRow("whole number") << "C" << 4.0 << "4";
        QTest::newRow("date-time") << "C" << 37894.0833333333 << "37894.0833333333";
        QTest::newRow("comma locale") << "de_DE" << 12.5 << "12,5";
        QTest::newRow("no group separator") << "de_DE" << 1234567.25 << "1234567,25";
        QTest::newRow("negative") << "en_US" << -1.0 << "-1";
        // Digits of its own: written with ASCII digits, only the separator is the locale's.
        QTest::newRow("Arabic locale") << "ar_EG" << 37894.0833333333 << "37894\u066B0833333333";
    }
    void floats()
    {
        QFETCH(QString, locale);
        QFETCH(double, value);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(ProfileValue::formatFloat(value), text);
        const auto parsed = ProfileValue::parseFloat(text);
        QVERIFY(parsed);
        QCOMPARE(ProfileValue::formatFloat(*parsed), text);
    }

    void floatsThatDoNotParse_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");

        QTest::newRow("comma under a dot locale") << "C" << "37894,0833333333";
        QTest::newRow("dot under a comma locale") << "de_DE" << "37894.0833333333";
        QTest::newRow("not a number") << "C" << "yesterday";
        QTest::newRow("infinity") << "C" << "inf";
        QTest::newRow("nan") << "C" << "nan";
        QTest::newRow("overflow") << "C" << "1e999";
        QTest::newRow("empty") << "C" << "";
    }
    void floatsThatDoNotParse()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(ProfileValue::parseFloat(text), std::nullopt);
    }

    // A float written under a comma locale reads as the default under a dot locale.
    void floatAcrossLocales()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tarvo.ini"));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        IniDocument written = IniDocument::readForWrite(path);
        written.setFloat(u"System", u"lastshut", 37894.0833333333);
        written.save(path);
        QCOMPARE(fileBytes(path), QByteArray("[System]\nlastshut=37894,0833333333\n"));
        QCOMPARE(IniDocument::read(path).floating(u"System", u"lastshut", -1.0), 37894.0833333333);

        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(IniDocument::read(path).floating(u"System", u"lastshut", -1.0), -1.0);
    }

    void trimmed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("blanks") << "  4 " << "4";
        QTest::newRow("tabs and control characters") << QStringLiteral("\t\x01" "92.4\x7f\x1f") << "92.4\x7f";
        QTest::newRow("inner blanks stay") << " a b " << "a b";
        QTest::newRow("only blanks") << " \t " << "";
    }
    void trimmed()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(ProfileValue::trimmed(text), expected);
    }

    // The old file stays whole and the error names the file, whichever step of the write fails.
    void failedWrite_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("read-only directory") << "read-only directory";
        QTest::newRow("directory is a regular file") << "directory is a regular file";
        QTest::newRow("file system full half-way") << "file size limit";
        QTest::newRow("rename fails after the temporary file is written") << "rename";
    }
    void failedWrite()
    {
        QFETCH(QString, failure);
        QTemporaryDir dir;
        const QByteArray old = "; keep me\n[System]\nfapbytes=12345\n";
        QString path = dir.filePath(QStringLiteral("tarvo.ini"));
        QString survivor = path; // the file whose bytes must not change
        writeBytes(path, old);
        IniDocument::RenameStep rename = renameOver;

        IniDocument document = IniDocument::readForWrite(path);
        document.setString(u"System", u"fapbytes", QString(200, u'9'));
        rlimit savedLimit{};
        if (failure == u"read-only directory") {
            if (geteuid() == 0)
                QSKIP("root writes into read-only directories; the other rows cover the failure");
            // The file is read-only too, or the write would rewrite it in place.
            QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
            QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        } else if (failure == u"directory is a regular file") {
            survivor = dir.filePath(QStringLiteral("blocker"));
            writeBytes(survivor, old);
            path = survivor + QStringLiteral("/tarvo.ini");
        } else if (failure == u"file size limit") {
            // Works as root too: the limit makes the write of the temporary file stop short.
            std::signal(SIGXFSZ, SIG_IGN);
            getrlimit(RLIMIT_FSIZE, &savedLimit);
            rlimit small = savedLimit;
            small.rlim_cur = 64;
            setrlimit(RLIMIT_FSIZE, &small);
        } else {
            rename = recordAndFail;
        }

        const QStringList filesBefore = QDir(dir.path()).entryList(QDir::Files);
        QString message;
        try {
            document.save(path, rename);
        } catch (const ProfileWriteError &error) {
            message = QString::fromUtf8(error.what());
        }
        if (failure == u"file size limit")
            setrlimit(RLIMIT_FSIZE, &savedLimit);
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        // The file on the first line, the system's reason on the second.
        QCOMPARE(message.section(u'\n', 0, 0), QStringLiteral("Unable to write to ") + path);
        QVERIFY(!message.section(u'\n', 1).isEmpty());
        QCOMPARE(fileBytes(survivor), old);
        if (failure == u"rename")
            QCOMPARE(lastTemporaryContent, QString::fromUtf8(document.bytes()));
        // No temporary file is left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), filesBefore);
    }

    // A settings path that exists but cannot be read is not overwritten with the few keys of a write.
    void unreadableFileIsNotReplaced()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tarvo.ini"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("tarvo.ini")));
        try {
            (void)IniDocument::readForWrite(path);
            QFAIL("a folder was taken for a settings file");
        } catch (const ProfileWriteError &error) {
            QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Unable to write to %1\nIs a directory").arg(path));
        }
        QCOMPARE(IniDocument::read(path).string(u"System", u"a", QStringLiteral("d")), QStringLiteral("d"));
    }

    // A lone CR ends a line as LF and CR LF do; each line keeps its own ending when a value changes.
    void lineEndings_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("CR only") << QByteArray("[System]\rfapbytes=1\rlastshut=2\r[Ping]\rurl=x\r")
                                 << QByteArray("[System]\rfapbytes=77\rlastshut=2\r[Ping]\rurl=x\rttl=9\r");
        QTest::newRow("mixed") << QByteArray("[System]\r\nfapbytes=1\rlastshut=2\n[Ping]\r\nurl=x")
                               << QByteArray("[System]\r\nfapbytes=77\rlastshut=2\n[Ping]\r\nurl=x\r\nttl=9\r\n");
    }
    void lineEndings()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        IniDocument document = IniDocument::fromBytes(before);
        QCOMPARE(document.string(u"System", u"lastshut", {}), QStringLiteral("2"));
        QCOMPARE(document.string(u"Ping", u"url", {}), QStringLiteral("x"));
        document.setInteger(u"System", u"fapbytes", 77);
        document.setInteger(u"Ping", u"ttl", 9);
        QCOMPARE(document.bytes(), after);
    }

    // A symbolic link stays a link: its target gets the new bytes.
    void symbolicLinkIsWrittenThrough()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("real")));
        const QString target = dir.filePath(QStringLiteral("real/tarvo.ini"));
        const QString link = dir.filePath(QStringLiteral("tarvo.ini"));
        writeBytes(target, "[System]\nfapbytes=1\n");
        QVERIFY(QFile::link(QStringLiteral("real/tarvo.ini"), link));
        IniDocument document = IniDocument::readForWrite(link);
        document.setInteger(u"System", u"fapbytes", 2);
        document.save(link);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(fileBytes(target), QByteArray("[System]\nfapbytes=2\n"));
        QCOMPARE(QDir(dir.filePath(QStringLiteral("real"))).entryList(QDir::Files), QStringList{u"tarvo.ini"_qs});
    }

    // A folder the user cannot write, holding a file they can: the file is rewritten in place. As
    // root (who writes any folder), the write runs in a child process as the user "nobody".
    void readOnlyFolderRewritesInPlace()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tarvo.ini"));
        writeBytes(path, "; mine\n[System]\nfapbytes=123456789\n");
        IniDocument document = IniDocument::readForWrite(path);
        document.setInteger(u"System", u"fapbytes", 5);
        const QByteArray expected = document.bytes();
        const auto everyone = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther
                              | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
        QVERIFY(QFile::setPermissions(dir.path(), everyone));
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther
                                                | QFileDevice::WriteOther));
        bool saved = false;
        if (geteuid() != 0) {
            try {
                document.save(path);
                saved = true;
            } catch (const ProfileWriteError &) {
            }
        } else {
            const pid_t child = fork();
            if (child == 0) {
                if (setgid(65534) != 0 || setuid(65534) != 0)
                    _exit(3);
                try {
                    document.save(path);
                } catch (const ProfileWriteError &) {
                    _exit(1);
                }
                _exit(0);
            }
            int status = -1;
            QCOMPARE(waitpid(child, &status, 0), child);
            saved = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(saved);
        QCOMPARE(fileBytes(path), expected);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"tarvo.ini"_qs});
    }

    // Only names a save makes (the file's name, a dot, six letters or digits) are removed.
    // A save that returned survives a power cut right after it: the bytes and the new name are
    // both on the disk, for a new file as for a replaced one.
    void saveSurvivesAPowerCut_data()
    {
        QTest::addColumn<bool>("replacing");
        QTest::newRow("a new file") << false;
        QTest::newRow("replacing a file") << true;
    }
    void saveSurvivesAPowerCut()
    {
        QFETCH(bool, replacing);
        if (geteuid() != 0)
            QSKIP("needs root: it mounts a file system of its own from a loop device");
        PowerCutDisk disk;
        QVERIFY2(disk.ok, qPrintable(disk.error));
        const QString path = disk.filePath(QStringLiteral("tarvo.ini"));
        IniDocument document = IniDocument::fromBytes("[System]\r\nfapbytes=1\r\n");
        if (replacing) {
            document.save(path);
            ::sync();
        }
        document.setInteger(u"System", u"fapbytes", 2);
        document.save(path);
        QVERIFY2(disk.cut(), qPrintable(disk.error));
        QCOMPARE(IniDocument::read(path).integer(u"System", u"fapbytes", -1), 2);
    }

    void staleTemporariesAreRemoved()
    {
        QTemporaryDir dir;
        const QStringList names{u"tarvo.ini"_qs,  u"tarvo.ini.Ab3dE9"_qs, u"tarvo.ini.x1y2z3"_qs, u"tarvo.ini.bak"_qs,
                                u"tarvo.ini.Ab3dE9x"_qs, u"plans.ini.Ab3dE9"_qs, u"tarvo.ini.ab-d_9"_qs};
        for (const QString &name : names)
            writeBytes(dir.filePath(name), "x");
        IniDocument::removeStaleTemporaries(dir.filePath(u"tarvo.ini"_qs));
        QStringList left = QDir(dir.path()).entryList(QDir::Files);
        left.sort();
        QCOMPARE(left, (QStringList{u"plans.ini.Ab3dE9"_qs, u"tarvo.ini"_qs, u"tarvo.ini.Ab3dE9x"_qs,
                                    u"tarvo.ini.ab-d_9"_qs, u"tarvo.ini.bak"_qs}));
    }

    // A file without end (a link to /dev/zero) reads as empty and is never replaced.
    void endlessFileIsBounded()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tarvo.ini"));
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        QCOMPARE(IniDocument::read(path).bytes(), QByteArray());
        QVERIFY_THROWS_EXCEPTION(ProfileWriteError, IniDocument::readForWrite(path));
    }

    // Random bytes never crash a read or a write, and a write keeps every byte it does not own.
    void garbageIsReadAndKept()
    {
        QRandomGenerator random(20261210);
        const char pieces[] = {'[', ']', '=', '\n', '\r', ';', ' ', 'a', 'A', '\0', '\xff', 'x'};
        for (int round = 0; round < 300; ++round) {
            QByteArray garbage;
            const int size = random.bounded(400);
            for (int i = 0; i < size; ++i)
                garbage += random.bounded(2) ? pieces[random.bounded(int(sizeof pieces))] : char(random.bounded(256));
            IniDocument document = IniDocument::fromBytes(garbage);
            QCOMPARE(document.bytes(), garbage);
            (void)document.string(u"a", u"a", QString());
            (void)document.integer(u"A", u"x", 0);
            document.setString(u"zz new", u"key", QStringLiteral("value"));
            QVERIFY(document.bytes().startsWith(garbage));
            QCOMPARE(IniDocument::fromBytes(document.bytes()).string(u"ZZ NEW", u"KEY", QString()), QStringLiteral("value"));
        }
    }
};

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
