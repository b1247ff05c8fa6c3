#include "programs/processtable.h"
#include "programs/programidentity.h"
#include "support/filefixtures.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(CgroupApplication::Kind)

namespace {

// A data folder with the desktop entries the tests name programs by.
void writeEntries(const QString &folder)
{
    QDir().mkpath(folder + u"/applications"_s);
    const auto entry = [&](const QString &file, const QByteArray &text) {
        writeBytes(folder + u"/applications/"_s + file, text);
    };
    entry(u"firefox.desktop"_s, "[Desktop Entry]\nType=Application\nName=Firefox Web Browser\nIcon=firefox\n"
                                "Exec=/usr/lib/firefox/firefox %u\n[Desktop Action new-window]\nName=New Window\n");
    entry(u"org.gnome.Epiphany.desktop"_s, "[Desktop Entry]\nType=Application\nName=Web\nIcon=org.gnome.Epiphany\n"
                                           "Exec=epiphany %U\n");
    entry(u"org.gnome.Terminal.desktop"_s, "[Desktop Entry]\nType=Application\nName=Terminal\n"
                                           "Exec=gnome-terminal --window\n");
    entry(u"org.mozilla.Thunderbird.desktop"_s, "[Desktop Entry]\nType=Application\nName=Thunderbird\n"
                                                "Icon=org.mozilla.Thunderbird\nExec=env GDK_BACKEND=x11 \"/app/bin/thunderbird\"\n");
    entry(u"spotify_spotify.desktop"_s, "[Desktop Entry]\nType=Application\nName=Spotify\nIcon=/snap/spotify/icon.png\n"
                                        "Exec=spotify %U\n");
    entry(u"hidden-link.desktop"_s, "[Desktop Entry]\nType=Link\nName=A link\nURL=https://example.org\n");
}

} // namespace

class ProgramIdentityTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_data.isValid());
        writeEntries(m_data.path());
        m_entries = DesktopEntries({m_data.path()});
    }

    void cgroupApplication_data()
    {
        QTest::addColumn<QString>("cgroup");
        QTest::addColumn<CgroupApplication::Kind>("kind");
        QTest::addColumn<QString>("id");
        using Kind = CgroupApplication::Kind;
        const QString user = u"0::/user.slice/user-1000.slice/user@1000.service/app.slice/"_s;
        QTest::newRow("desktop launch") << user + u"app-gnome-org.gnome.Epiphany-4711.scope\n"_s << Kind::Desktop
                                        << u"gnome-org.gnome.Epiphany"_s;
        QTest::newRow("without launcher") << user + u"app-firefox-12.scope\n"_s << Kind::Desktop << u"firefox"_s;
        QTest::newRow("escaped dash") << user + u"app-gnome-my\\x2dtool-3.scope"_s << Kind::Desktop << u"gnome-my-tool"_s;
        QTest::newRow("flatpak") << user + u"app-flatpak-org.mozilla.Thunderbird-1234.scope\n"_s << Kind::Flatpak
                                 << u"org.mozilla.Thunderbird"_s;
        QTest::newRow("snap") << user + u"snap.spotify.spotify-6a2b1c3d-aaaa-bbbb-cccc-0123456789ab.scope\n"_s
                              << Kind::Snap << u"spotify"_s;
        QTest::newRow("snap service") << u"0::/system.slice/snap.lxd.daemon.service\n"_s << Kind::Snap << u"lxd"_s;
        QTest::newRow("session scope") << u"0::/user.slice/user-1000.slice/session-3.scope\n"_s << Kind::None << QString();
        QTest::newRow("terminal shell") << user + u"app-org.gnome.Terminal.slice/vte-spawn-1f2e.scope\n"_s << Kind::None
                                        << QString();
        QTest::newRow("service") << u"0::/system.slice/NetworkManager.service\n"_s << Kind::None << QString();
        QTest::newRow("hybrid hierarchy, unified line") << u"12:pids:/x\n1:name=systemd:/y\n0::/app.slice/app-firefox-9.scope\n"_s
                                                        << Kind::Desktop << u"firefox"_s;
        QTest::newRow("empty") << QString() << Kind::None << QString();
    }
    void cgroupApplication()
    {
        QFETCH(QString, cgroup);
        QFETCH(CgroupApplication::Kind, kind);
        QFETCH(QString, id);
        const CgroupApplication application = applicationOfCgroup(cgroup);
        QCOMPARE(application.kind, kind);
        QCOMPARE(application.id, id);
    }

    void programOfProcess_data()
    {
        QTest::addColumn<QString>("cgroup");
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("icon");
        const QString apps = u"0::/user.slice/user-1000.slice/user@1000.service/app.slice/"_s;
        QTest::newRow("desktop launch after a launcher") << apps + u"app-gnome-org.gnome.Epiphany-4711.scope"_s << u"epiphany"_s
                                                         << u"org.gnome.Epiphany"_s << u"Web"_s << u"org.gnome.Epiphany"_s;
        QTest::newRow("desktop launch, id only") << apps + u"app-firefox-12.scope"_s << u"firefox"_s << u"firefox"_s
                                                 << u"Firefox Web Browser"_s << u"firefox"_s;
        // A program the terminal started is that program, not the terminal.
        QTest::newRow("program in an application's scope") << apps + u"app-gnome-org.gnome.Terminal-5.scope"_s
                                                            << u"curl"_s << u"curl"_s << u"curl"_s << QString();
        QTest::newRow("flatpak with entry") << apps + u"app-flatpak-org.mozilla.Thunderbird-1.scope"_s << u"bwrap"_s
                                            << u"org.mozilla.Thunderbird"_s << u"Thunderbird"_s << u"org.mozilla.Thunderbird"_s;
        QTest::newRow("flatpak without entry") << apps + u"app-flatpak-com.example.Tool-1.scope"_s << u"tool"_s
                                               << u"com.example.Tool"_s << u"com.example.Tool"_s << QString();
        QTest::newRow("snap") << apps + u"snap.spotify.spotify-6a2b.scope"_s << u"spotify"_s << u"spotify"_s
                              << u"Spotify"_s << u"/snap/spotify/icon.png"_s;
        QTest::newRow("executable with entry") << u"0::/user.slice/user-1000.slice/session-2.scope"_s << u"firefox"_s
                                               << u"firefox"_s << u"Firefox Web Browser"_s << u"firefox"_s;
        QTest::newRow("quoted executable after env") << u"0::/"_s << u"thunderbird"_s << u"org.mozilla.Thunderbird"_s
                                                     << u"Thunderbird"_s << u"org.mozilla.Thunderbird"_s;
        QTest::newRow("executable only") << u"0::/system.slice/apt-daily.service"_s << u"apt"_s << u"apt"_s << u"apt"_s
                                         << QString();
    }
    void programOfProcess()
    {
        QFETCH(QString, cgroup);
        QFETCH(QString, executable);
        QFETCH(QString, id);
        QFETCH(QString, name);
        QFETCH(QString, icon);
        QCOMPARE(programOf({cgroup, executable}, m_entries), (ProgramInfo{id, name, icon}));
    }

    // Entries that are not applications to show are not looked up, and the first folder wins.
    void desktopEntries()
    {
        QVERIFY(!m_entries.byId(u"hidden-link"_s));
        QVERIFY(m_entries.byId(u"ORG.GNOME.EPIPHANY"_s));
        QTemporaryDir first;
        QDir().mkpath(first.path() + u"/applications"_s);
        writeBytes(first.path() + u"/applications/firefox.desktop"_s,
                   "[Desktop Entry]\nType=Application\nName=My Firefox\nExec=firefox\n");
        const DesktopEntries both({first.path(), m_data.path()});
        QCOMPARE(both.byExecutable(u"firefox"_s)->name, u"My Firefox"_s);
        QCOMPARE(both.byExecutable(u"epiphany"_s)->name, u"Web"_s);
    }

    // A /proc tree of the test's own: the sockets each process holds, its cgroup and executable.
    void processTable()
    {
        QTemporaryDir proc;
        const auto process = [&](int pid, const QList<QByteArray> &links, const QString &exe) {
            const QString folder = proc.path() + u'/' + QString::number(pid);
            QDir().mkpath(folder + u"/fd"_s);
            for (int fd = 0; fd < links.size(); ++fd)
                QVERIFY(QFile::link(QString::fromLatin1(links[fd]), folder + u"/fd/"_s + QString::number(fd)));
            writeBytes(folder + u"/cgroup"_s, "0::/user.slice/user-1000.slice/session-2.scope\n");
            writeBytes(folder + u"/comm"_s, "short-comm\n");
            if (!exe.isEmpty())
                QVERIFY(QFile::link(exe, folder + u"/exe"_s));
        };
        process(100, {"/dev/null", "socket:[5001]", "pipe:[77]", "socket:[5002]"}, u"/usr/bin/wget"_s);
        process(200, {"socket:[6001]"}, u"/opt/tool/bin/fetcher (deleted)"_s);
        process(300, {"socket:[7001]"}, QString());
        QDir().mkpath(proc.path() + u"/self"_s);
        QDir().mkpath(proc.path() + u"/400"_s); // no fd folder: its sockets are hidden
        ProcessTable table(QFile::encodeName(proc.path()));
        table.scan();
        QCOMPARE(table.processOf(5001), std::optional<pid_t>(100));
        QCOMPARE(table.processOf(5002), std::optional<pid_t>(100));
        QCOMPARE(table.processOf(6001), std::optional<pid_t>(200));
        QCOMPARE(table.processOf(77), std::nullopt);
        QCOMPARE(table.processOf(9999), std::nullopt);
        QVERIFY(table.hidesSockets(::getuid()));
        QCOMPARE(table.factsOf(100).executable, u"wget"_s);
        QCOMPARE(table.factsOf(100).cgroup, u"0::/user.slice/user-1000.slice/session-2.scope\n"_s);
        QCOMPARE(table.factsOf(200).executable, u"short-comm"_s);
        QCOMPARE(table.factsOf(300).executable, u"short-comm"_s);
        QCOMPARE(table.factsOf(500).executable, QString());
    }

private:
    QTemporaryDir m_data;
    DesktopEntries m_entries;
};

QTEST_GUILESS_MAIN(ProgramIdentityTest)
#include "tst_programidentity.moc"
