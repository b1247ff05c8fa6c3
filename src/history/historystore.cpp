#include "history/historystore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <optional>

namespace {

// "TRVH" in the file's header, so another program's SQLite file is never taken for ours.
constexpr int kApplicationId = 0x54525648;
// 2: a host's address is its 16 bytes (IPv4 as ::ffff:a.b.c.d) instead of an IPv4 integer.
// 3: the corrections of the bucket from the provider's figure.
constexpr int kSchemaVersion = 3;
// SQLite's result codes for a file that is no database, or a damaged one.
const QString kNotADatabase = QStringLiteral("26");
const QString kCorrupt = QStringLiteral("11");

const char kCreateCorrections[] =
    "CREATE TABLE corrections(at INTEGER NOT NULL, tarvo_level INTEGER NOT NULL, provider_level INTEGER NOT NULL)";

const char *const kSchema[] = {
    "CREATE TABLE periods(granularity INTEGER NOT NULL, start INTEGER NOT NULL,"
    " download INTEGER NOT NULL, upload INTEGER NOT NULL,"
    " download_packets INTEGER NOT NULL, upload_packets INTEGER NOT NULL,"
    " level INTEGER NOT NULL, cutoff_limit INTEGER NOT NULL, throttle_limit INTEGER NOT NULL,"
    " level_at INTEGER NOT NULL," // the minute the three figures before it come from
    " worst_restriction INTEGER NOT NULL, dropped_frames INTEGER NOT NULL,"
    " PRIMARY KEY(granularity, start)) WITHOUT ROWID",
    "CREATE TABLE hosts(granularity INTEGER NOT NULL, start INTEGER NOT NULL, address BLOB NOT NULL,"
    " download INTEGER NOT NULL, PRIMARY KEY(granularity, start, address)) WITHOUT ROWID",
    // Where each size has been cut by its retention: the hosts read from the finest size kept.
    "CREATE TABLE pruned(granularity INTEGER PRIMARY KEY, before INTEGER NOT NULL)",
    kCreateCorrections,
};

const char kUpsertPeriod[] =
    "INSERT INTO periods VALUES(:granularity, :start, :download, :upload, :downloadPackets, :uploadPackets,"
    " :level, :limit, :throttle, :levelAt, :worst, :dropped)"
    " ON CONFLICT(granularity, start) DO UPDATE SET"
    " download = download + excluded.download, upload = upload + excluded.upload,"
    " download_packets = download_packets + excluded.download_packets,"
    " upload_packets = upload_packets + excluded.upload_packets,"
    " level = iif(excluded.level_at >= level_at, excluded.level, level),"
    " cutoff_limit = iif(excluded.level_at >= level_at, excluded.cutoff_limit, cutoff_limit),"
    " throttle_limit = iif(excluded.level_at >= level_at, excluded.throttle_limit, throttle_limit),"
    " level_at = max(level_at, excluded.level_at),"
    " worst_restriction = max(worst_restriction, excluded.worst_restriction),"
    " dropped_frames = dropped_frames + excluded.dropped_frames";

const char kUpsertHost[] =
    "INSERT INTO hosts VALUES(:granularity, :start, :address, :download)"
    " ON CONFLICT(granularity, start, address) DO UPDATE SET download = download + excluded.download";

int granularityKey(HistoryGranularity granularity)
{
    return int(granularity);
}

std::atomic<int> connectionCounter{0};

bool isDamage(const QSqlError &error)
{
    return error.nativeErrorCode() == kNotADatabase || error.nativeErrorCode() == kCorrupt;
}

} // namespace

struct HistoryStore::Connection
{
    QString name;
    std::optional<QSqlQuery> upsertPeriod;
    std::optional<QSqlQuery> upsertHost;

    QSqlDatabase database() const { return QSqlDatabase::database(name, false); }
};

HistoryStore::HistoryStore(QString path, Mode mode)
    : m_path(std::move(path))
    , m_mode(mode)
{
    open();
}

HistoryStore::~HistoryStore()
{
    close();
}

bool HistoryStore::isOpen() const
{
    return m_connection != nullptr;
}

void HistoryStore::close()
{
    if (!m_connection)
        return;
    const QString name = m_connection->name;
    m_connection.reset();
    QSqlDatabase::database(name, false).close();
    QSqlDatabase::removeDatabase(name);
}

namespace {

// What an opened file holds.
struct Inspection
{
    enum class Kind { Store, Empty, Damaged, Failed } kind;
    QString reason;
};

// The whole file is checked only by the writer, once per open: a reader (the history window,
// tarvo-cli) takes what SQLite finds on the pages it reads, and SQLite refuses a file cut short
// at the first read of its header.
Inspection inspect(const QSqlDatabase &database, HistoryStore::Mode mode)
{
    using Kind = Inspection::Kind;
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("PRAGMA application_id")) || !query.next())
        return {isDamage(query.lastError()) ? Kind::Damaged : Kind::Failed, query.lastError().databaseText()};
    if (query.value(0).toInt() == kApplicationId) {
        query.exec(QStringLiteral("PRAGMA user_version"));
        const int version = query.next() ? query.value(0).toInt() : 0;
        // An older store is brought up to date when opened for writing; readers take both forms.
        if (version < 1 || version > kSchemaVersion)
            return {Kind::Damaged, QCoreApplication::translate("HistoryStore", "unknown version %1").arg(version)};
        if (mode == HistoryStore::Mode::Read)
            return {Kind::Store, {}};
        query.exec(QStringLiteral("PRAGMA quick_check"));
        const QString check = query.next() ? query.value(0).toString() : query.lastError().databaseText();
        return check == u"ok" ? Inspection{Kind::Store, {}} : Inspection{Kind::Damaged, check};
    }
    query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    if (query.next() && query.value(0).toInt() == 0 && query.value(0).isValid())
        return {Kind::Empty, QCoreApplication::translate("HistoryStore", "not a usage history of Tarvo")};
    return {Kind::Damaged, QCoreApplication::translate("HistoryStore", "not a usage history of Tarvo")};
}

// A host's address as the store keeps it: 16 bytes, or an IPv4 integer in a store of version 1.
HostAddress storedAddress(const QVariant &value)
{
    if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int)
        return HostAddress::fromIpv4(uint32_t(value.toLongLong()));
    return HostAddress::fromBytes(value.toByteArray()).value_or(HostAddress{});
}

// Version 1 kept a host's address as an IPv4 integer: each becomes its 16 bytes. Version 2 had no
// corrections. In place and in one transaction, so a failure leaves the store as it was. Returns
// the failure, or nothing.
QString upgrade(QSqlDatabase database)
{
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return query.lastError().text();
    const int version = query.value(0).toInt();
    if (version >= kSchemaVersion)
        return {};
    bool done = database.transaction();
    QSqlQuery update(database);
    if (version < 2) {
        done = done && query.exec(QStringLiteral("SELECT DISTINCT address FROM hosts"));
        std::vector<qint64> addresses;
        while (done && query.next())
            addresses.push_back(query.value(0).toLongLong());
        done = done && update.prepare(QStringLiteral("UPDATE hosts SET address = ? WHERE address = ?"));
        for (const qint64 address : addresses) {
            update.bindValue(0, HostAddress::fromIpv4(uint32_t(address)).bytes());
            update.bindValue(1, address);
            done = done && update.exec();
        }
    }
    done = done && query.exec(QString::fromLatin1(kCreateCorrections));
    done = done && query.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
    if (done && database.commit())
        return {};
    const QString error = update.lastError().isValid() ? update.lastError().text()
                          : query.lastError().isValid() ? query.lastError().text()
                                                        : database.lastError().text();
    database.rollback();
    return error;
}

// WAL: a commit is one append, and a killed program leaves every committed minute; FULL syncs
// the log at every commit, so a minute written survives a power cut too. A new file gets the
// tables. Returns the failure, or nothing.
QString prepareForWriting(QSqlDatabase database)
{
    QSqlQuery query(database);
    // The log is cut back to 1 MiB after each checkpoint, so it does not keep its largest size.
    if (!query.exec(QStringLiteral("PRAGMA journal_mode = WAL")) || !query.exec(QStringLiteral("PRAGMA synchronous = FULL"))
        || !query.exec(QStringLiteral("PRAGMA journal_size_limit = 1048576"))
        || !query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !query.next())
        return query.lastError().text();
    if (query.value(0).toInt() != 0)
        return upgrade(database);
    bool done = database.transaction();
    for (const char *statement : kSchema)
        done = done && query.exec(QString::fromLatin1(statement));
    done = done && query.exec(QStringLiteral("PRAGMA application_id = %1").arg(kApplicationId))
           && query.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
    if (done && database.commit())
        return {};
    const QString error = query.lastError().isValid() ? query.lastError().text() : database.lastError().text();
    database.rollback();
    return error;
}

} // namespace

bool HistoryStore::connect()
{
    m_connection = std::make_unique<Connection>();
    m_connection->name = QStringLiteral("tarvo-history-%1").arg(connectionCounter.fetch_add(1));
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection->name);
    database.setDatabaseName(m_path);
    if (database.open() && QSqlQuery(database).exec(QStringLiteral("PRAGMA busy_timeout = 2000")))
        return true;
    m_error = database.lastError().text();
    database = QSqlDatabase();
    close();
    return false;
}

bool HistoryStore::open()
{
    using Kind = Inspection::Kind;
    if (m_mode == Mode::Read && !QFileInfo::exists(m_path)) {
        m_error = QCoreApplication::translate("HistoryStore", "%1 does not exist").arg(m_path);
        return false;
    }
    // A damaged or foreign file is moved aside once; the second round starts on a new file.
    for (int round = 0;; ++round) {
        if (!connect())
            return false;
        const Inspection found = inspect(m_connection->database(), m_mode);
        if (found.kind == Kind::Store || (found.kind == Kind::Empty && m_mode == Mode::Write))
            break;
        close();
        if (found.kind == Kind::Failed || m_mode == Mode::Read || round > 0) {
            m_error = QStringLiteral("%1: %2").arg(m_path, found.reason);
            return false;
        }
        const QString aside = QStringLiteral("%1.damaged-%2").arg(
            m_path, QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")));
        QFile::remove(m_path + QStringLiteral("-shm"));
        QFile::rename(m_path + QStringLiteral("-wal"), aside + QStringLiteral("-wal"));
        if (!QFile::rename(m_path, aside)) {
            m_error = QCoreApplication::translate("HistoryStore", "%1 is damaged (%2) and could not be moved aside").arg(m_path, found.reason);
            return false;
        }
        m_movedAside = QCoreApplication::translate("HistoryStore", "The usage history %1 could not be read (%2); it was moved to %3 and a new one "
                                      "was started")
                           .arg(m_path, found.reason, aside);
    }
    if (m_mode == Mode::Write) {
        QString error = prepareForWriting(m_connection->database());
        if (error.isEmpty()) {
            m_connection->upsertPeriod.emplace(m_connection->database());
            m_connection->upsertHost.emplace(m_connection->database());
            if (!m_connection->upsertPeriod->prepare(QString::fromLatin1(kUpsertPeriod))
                || !m_connection->upsertHost->prepare(QString::fromLatin1(kUpsertHost)))
                error = m_connection->upsertPeriod->lastError().text() + m_connection->upsertHost->lastError().text();
        }
        if (!error.isEmpty()) {
            m_error = error;
            close();
            return false;
        }
    }
    m_error.clear();
    return true;
}

bool HistoryStore::write(const std::vector<FinishedMinute> &minutes)
{
    if (m_mode != Mode::Write || (!m_connection && !open()))
        return false;
    bool damaged = false;
    if (writeAll(minutes, damaged))
        return true;
    // Damage found while writing: the next write opens the file again, which moves it aside.
    if (damaged)
        close();
    return false;
}

bool HistoryStore::writeAll(const std::vector<FinishedMinute> &minutes, bool &damaged)
{
    QSqlDatabase database = m_connection->database();
    QSqlQuery &period = *m_connection->upsertPeriod;
    QSqlQuery &host = *m_connection->upsertHost;

    const auto addPeriod = [&](HistoryGranularity granularity, int64_t start, const UsagePeriod &minute) {
        period.bindValue(0, granularityKey(granularity));
        period.bindValue(1, qint64(start));
        period.bindValue(2, qint64(minute.downloadBytes));
        period.bindValue(3, qint64(minute.uploadBytes));
        period.bindValue(4, qint64(minute.downloadPackets));
        period.bindValue(5, qint64(minute.uploadPackets));
        period.bindValue(6, minute.levelBytes);
        period.bindValue(7, minute.limitBytes);
        period.bindValue(8, minute.throttleLimitBytes);
        period.bindValue(9, qint64(minute.startUtc));
        period.bindValue(10, int(minute.worstRestriction));
        period.bindValue(11, qint64(minute.droppedFrames));
        return period.exec();
    };
    const auto addHost = [&](HistoryGranularity granularity, int64_t start, const HostUsage &usage) {
        host.bindValue(0, granularityKey(granularity));
        host.bindValue(1, qint64(start));
        host.bindValue(2, usage.address.bytes());
        host.bindValue(3, qint64(usage.downloadBytes));
        return host.exec();
    };

    QSqlQuery other(database);
    bool done = database.transaction();
    int64_t newest = INT64_MIN;
    for (const FinishedMinute &minute : minutes) {
        const int64_t start = minute.period.startUtc;
        newest = std::max(newest, start);
        const std::pair<HistoryGranularity, int64_t> sizes[] = {
            {HistoryGranularity::Minute, start},
            {HistoryGranularity::Hour, hourStart(start)},
            {HistoryGranularity::Day, localDayStart(start)},
        };
        for (const auto &[granularity, periodStart] : sizes) {
            done = done && addPeriod(granularity, periodStart, minute.period);
            for (const HostUsage &usage : minute.hosts)
                done = done && addHost(granularity, periodStart, usage);
        }
    }
    if (!minutes.empty()) {
        const std::pair<HistoryGranularity, int64_t> cuts[] = {
            {HistoryGranularity::Minute, newest - minuteRetentionSeconds},
            {HistoryGranularity::Hour, newest - hourRetentionSeconds},
        };
        for (const auto &[granularity, before] : cuts) {
            for (const char *table : {"periods", "hosts"}) {
                other.prepare(QStringLiteral("DELETE FROM %1 WHERE granularity = ? AND start < ?").arg(QLatin1String(table)));
                other.addBindValue(granularityKey(granularity));
                other.addBindValue(qint64(before));
                done = done && other.exec();
            }
            other.prepare(QStringLiteral("INSERT INTO pruned VALUES(?, ?) ON CONFLICT(granularity) DO UPDATE SET"
                                         " before = max(before, excluded.before)"));
            other.addBindValue(granularityKey(granularity));
            other.addBindValue(qint64(before));
            done = done && other.exec();
        }
    }
    if (done && database.commit())
        return true;

    const QSqlError failure = [&] {
        for (const QSqlError &error : {period.lastError(), host.lastError(), other.lastError(), database.lastError()})
            if (error.isValid())
                return error;
        return QSqlError();
    }();
    m_error = failure.databaseText().isEmpty() ? failure.text() : failure.databaseText();
    database.rollback();
    damaged = isDamage(failure);
    return false;
}

bool HistoryStore::writeCorrection(const BucketCorrection &correction)
{
    if (m_mode != Mode::Write || (!m_connection && !open()))
        return false;
    QSqlQuery insert(m_connection->database());
    insert.prepare(QStringLiteral("INSERT INTO corrections VALUES(?, ?, ?)"));
    insert.addBindValue(qint64(correction.utcSeconds));
    insert.addBindValue(qint64(correction.tarvoLevel));
    insert.addBindValue(qint64(correction.providerLevel));
    if (insert.exec())
        return true;
    m_error = insert.lastError().text();
    if (isDamage(insert.lastError()))
        close();
    return false;
}

std::vector<BucketCorrection> HistoryStore::corrections() const
{
    std::vector<BucketCorrection> found;
    if (!m_connection)
        return found;
    // A store of an earlier version, read as it is, has none.
    QSqlQuery query(m_connection->database());
    query.exec(QStringLiteral("SELECT at, tarvo_level, provider_level FROM corrections ORDER BY at, rowid"));
    while (query.next())
        found.push_back({query.value(0).toLongLong(), query.value(1).toLongLong(), query.value(2).toLongLong()});
    return found;
}

std::vector<UsagePeriod> HistoryStore::periods(HistoryGranularity granularity, int64_t fromUtc, int64_t toUtc) const
{
    std::vector<UsagePeriod> found;
    if (!m_connection)
        return found;
    QSqlQuery query(m_connection->database());
    query.prepare(QStringLiteral(
        "SELECT start, download, upload, download_packets, upload_packets, level, cutoff_limit, throttle_limit,"
        " worst_restriction, dropped_frames FROM periods WHERE granularity = ? AND start >= ? AND start < ?"
        " ORDER BY start"));
    query.addBindValue(granularityKey(granularity));
    query.addBindValue(qint64(fromUtc));
    query.addBindValue(qint64(toUtc));
    query.exec();
    while (query.next()) {
        UsagePeriod period;
        period.startUtc = query.value(0).toLongLong();
        period.downloadBytes = query.value(1).toLongLong();
        period.uploadBytes = query.value(2).toLongLong();
        period.downloadPackets = query.value(3).toLongLong();
        period.uploadPackets = query.value(4).toLongLong();
        period.levelBytes = query.value(5).toInt();
        period.limitBytes = query.value(6).toInt();
        period.throttleLimitBytes = query.value(7).toInt();
        period.worstRestriction = Restriction(std::clamp(query.value(8).toInt(), 0, int(Restriction::CutOff)));
        period.droppedFrames = query.value(9).toLongLong();
        found.push_back(period);
    }
    return found;
}

std::vector<HostUsage> HistoryStore::hosts(int64_t fromUtc, int64_t toUtc) const
{
    std::vector<HostUsage> found;
    if (!m_connection)
        return found;
    QSqlQuery query(m_connection->database());
    // Minutes and hours serve unless their retention has cut them before fromUtc.
    std::array<int64_t, 2> cut{INT64_MIN, INT64_MIN};
    query.exec(QStringLiteral("SELECT granularity, before FROM pruned"));
    while (query.next())
        cut[size_t(std::clamp(query.value(0).toInt(), 0, 1))] = query.value(1).toLongLong();
    const HistoryGranularity granularity = fromUtc >= cut[0]   ? HistoryGranularity::Minute
                                           : fromUtc >= cut[1] ? HistoryGranularity::Hour
                                                               : HistoryGranularity::Day;
    query.prepare(QStringLiteral("SELECT address, sum(download) AS total FROM hosts WHERE granularity = ? AND start >= ?"
                                 " AND start < ? GROUP BY address ORDER BY total DESC, address"));
    query.addBindValue(granularityKey(granularity));
    query.addBindValue(qint64(fromUtc));
    query.addBindValue(qint64(toUtc));
    query.exec();
    while (query.next())
        found.push_back(HostUsage{storedAddress(query.value(0)), query.value(1).toLongLong()});
    return found;
}
