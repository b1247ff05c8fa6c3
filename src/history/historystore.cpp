#include "history/historystore.h"

#include "history/hostrows.h"

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
#include <map>
#include <optional>

namespace {

// "TRVH" in the file's header, so another program's SQLite file is never taken for ours.
constexpr int kApplicationId = 0x54525648;
// 2: a host's address is its 16 bytes (IPv4 as ::ffff:a.b.c.d) instead of an IPv4 integer.
// 3: the corrections of the bucket from the provider's figure.
// 4: the hosts of a period packed into one row, each address numbered once in a table of its own.
constexpr int kSchemaVersion = 4;
// SQLite's result codes for a file that is no database, or a damaged one.
const QString kNotADatabase = QStringLiteral("26");
const QString kCorrupt = QStringLiteral("11");

const char kCreateCorrections[] =
    "CREATE TABLE corrections(at INTEGER NOT NULL, tarvo_level INTEGER NOT NULL, provider_level INTEGER NOT NULL)";

const char kCreateAddresses[] = "CREATE TABLE addresses(id INTEGER PRIMARY KEY, address BLOB NOT NULL UNIQUE)";
// A table with row ids, so a row of a thousand hosts (3-4 KB) stays on its page instead of
// spilling into overflow pages.
const char kCreateHostPeriods[] =
    "CREATE TABLE host_periods(granularity INTEGER NOT NULL, start INTEGER NOT NULL, hosts BLOB NOT NULL,"
    " UNIQUE(granularity, start))";

const char *const kSchema[] = {
    "CREATE TABLE periods(granularity INTEGER NOT NULL, start INTEGER NOT NULL,"
    " download INTEGER NOT NULL, upload INTEGER NOT NULL,"
    " download_packets INTEGER NOT NULL, upload_packets INTEGER NOT NULL,"
    " level INTEGER NOT NULL, cutoff_limit INTEGER NOT NULL, throttle_limit INTEGER NOT NULL,"
    " level_at INTEGER NOT NULL," // the minute the three figures before it come from
    " worst_restriction INTEGER NOT NULL, dropped_frames INTEGER NOT NULL,"
    " PRIMARY KEY(granularity, start)) WITHOUT ROWID",
    kCreateAddresses,
    kCreateHostPeriods,
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

const char kSelectHostRow[] = "SELECT hosts FROM host_periods WHERE granularity = ? AND start = ?";
const char kUpsertHostRow[] =
    "INSERT INTO host_periods VALUES(?, ?, ?) ON CONFLICT(granularity, start) DO UPDATE SET hosts = excluded.hosts";
const char kInsertAddress[] = "INSERT INTO addresses(address) VALUES(?)";

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
    std::optional<QSqlQuery> selectHostRow;
    std::optional<QSqlQuery> upsertHostRow;
    std::optional<QSqlQuery> insertAddress;
    // The number of each address in the file, read at the first write; forgotten when a write
    // fails, since its rollback may have taken new numbers back.
    std::map<HostAddress, int64_t> numbers;
    bool numbersRead = false;

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

// Version 1 kept a host's address as an IPv4 integer: each becomes its 16 bytes.
QString toVersion2(const QSqlDatabase &database)
{
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT DISTINCT address FROM hosts")))
        return query.lastError().text();
    std::vector<qint64> addresses;
    while (query.next())
        addresses.push_back(query.value(0).toLongLong());
    QSqlQuery update(database);
    if (!update.prepare(QStringLiteral("UPDATE hosts SET address = ? WHERE address = ?")))
        return update.lastError().text();
    for (const qint64 address : addresses) {
        update.bindValue(0, HostAddress::fromIpv4(uint32_t(address)).bytes());
        update.bindValue(1, address);
        if (!update.exec())
            return update.lastError().text();
    }
    return {};
}

// Version 2 had no corrections.
QString toVersion3(const QSqlDatabase &database)
{
    QSqlQuery query(database);
    return query.exec(QString::fromLatin1(kCreateCorrections)) ? QString() : query.lastError().text();
}

// Version 3 kept a row for each host of each period: the rows of a period become one packed row.
QString toVersion4(const QSqlDatabase &database)
{
    QSqlQuery query(database);
    query.setForwardOnly(true);
    for (const char *statement : {kCreateAddresses, kCreateHostPeriods,
                                  "INSERT INTO addresses(address) SELECT DISTINCT address FROM hosts ORDER BY address"})
        if (!query.exec(QString::fromLatin1(statement)))
            return query.lastError().text();
    if (!query.exec(QStringLiteral("SELECT hosts.granularity, hosts.start, addresses.id, hosts.download FROM hosts"
                                   " JOIN addresses USING(address) ORDER BY hosts.granularity, hosts.start")))
        return query.lastError().text();
    QSqlQuery insert(database);
    if (!insert.prepare(QString::fromLatin1(kUpsertHostRow)))
        return insert.lastError().text();
    std::pair<int, qint64> period{-1, 0};
    std::vector<NumberedHost> row;
    const auto writeRow = [&] {
        if (row.empty())
            return true;
        mergeHosts(row);
        insert.bindValue(0, period.first);
        insert.bindValue(1, period.second);
        insert.bindValue(2, packHosts(row));
        row.clear();
        return insert.exec();
    };
    while (query.next()) {
        const std::pair<int, qint64> next{query.value(0).toInt(), query.value(1).toLongLong()};
        if (next != period && !writeRow())
            return insert.lastError().text();
        period = next;
        row.push_back({query.value(2).toLongLong(), query.value(3).toLongLong()});
    }
    if (query.lastError().isValid())
        return query.lastError().text();
    if (!writeRow())
        return insert.lastError().text();
    query.finish();
    return query.exec(QStringLiteral("DROP TABLE hosts")) ? QString() : query.lastError().text();
}

// The step that brings a store of the version before it up to each version.
using UpgradeStep = QString (*)(const QSqlDatabase &);
constexpr std::pair<int, UpgradeStep> kUpgradeSteps[] = {{2, toVersion2}, {3, toVersion3}, {4, toVersion4}};
static_assert(std::end(kUpgradeSteps)[-1].first == kSchemaVersion);

// Brings an older store up to date in place, every step in one transaction, so a failure leaves
// the store as it was. Returns the failure, or nothing.
QString upgrade(QSqlDatabase database)
{
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return query.lastError().text();
    const int version = query.value(0).toInt();
    query.finish();
    if (version >= kSchemaVersion)
        return {};
    if (!database.transaction())
        return database.lastError().text();
    QString error;
    for (const auto &[to, step] : kUpgradeSteps)
        if (error.isEmpty() && to > version)
            error = step(database);
    if (error.isEmpty() && !query.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion)))
        error = query.lastError().text();
    if (error.isEmpty() && database.commit()) {
        // What the upgrade freed (most of the file, where version 4 packed the hosts) goes back to
        // the file system; the store is whole whether this works or not.
        query.exec(QStringLiteral("VACUUM"));
        return {};
    }
    if (error.isEmpty())
        error = database.lastError().text();
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
    const bool made = query.value(0).toInt() != 0;
    // A statement still reading the schema would keep an upgrade from dropping a table.
    query.finish();
    if (made)
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
        const std::pair<std::optional<QSqlQuery> Connection::*, const char *> statements[] = {
            {&Connection::upsertPeriod, kUpsertPeriod},
            {&Connection::selectHostRow, kSelectHostRow},
            {&Connection::upsertHostRow, kUpsertHostRow},
            {&Connection::insertAddress, kInsertAddress},
        };
        for (const auto &[member, statement] : statements) {
            std::optional<QSqlQuery> &query = (*m_connection).*member;
            query.emplace(m_connection->database());
            if (error.isEmpty() && !query->prepare(QString::fromLatin1(statement)))
                error = query->lastError().text();
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
    QSqlQuery &selectHostRow = *m_connection->selectHostRow;
    QSqlQuery &upsertHostRow = *m_connection->upsertHostRow;
    QSqlQuery &insertAddress = *m_connection->insertAddress;
    QSqlQuery other(database);

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
    std::map<HostAddress, int64_t> &numbers = m_connection->numbers;
    const auto numberOf = [&](const HostAddress &address, int64_t &number) {
        if (!m_connection->numbersRead) {
            if (!other.exec(QStringLiteral("SELECT id, address FROM addresses")))
                return false;
            while (other.next())
                if (const auto stored = HostAddress::fromBytes(other.value(1).toByteArray()))
                    numbers.emplace(*stored, other.value(0).toLongLong());
            m_connection->numbersRead = true;
        }
        if (const auto known = numbers.find(address); known != numbers.end()) {
            number = known->second;
            return true;
        }
        insertAddress.bindValue(0, address.bytes());
        if (!insertAddress.exec())
            return false;
        number = insertAddress.lastInsertId().toLongLong();
        numbers.emplace(address, number);
        return true;
    };
    // The hosts a period gets from these minutes, added to its row once.
    const auto addHosts = [&](const std::pair<int, int64_t> &key, std::vector<NumberedHost> &added) {
        selectHostRow.bindValue(0, key.first);
        selectHostRow.bindValue(1, qint64(key.second));
        if (!selectHostRow.exec())
            return false;
        // A row whose bytes are spoilt is replaced by what these minutes bring.
        if (selectHostRow.next())
            unpackHosts(selectHostRow.value(0).toByteArray(), added);
        selectHostRow.finish();
        mergeHosts(added);
        upsertHostRow.bindValue(0, key.first);
        upsertHostRow.bindValue(1, qint64(key.second));
        upsertHostRow.bindValue(2, packHosts(added));
        return upsertHostRow.exec();
    };

    bool done = database.transaction();
    std::map<std::pair<int, int64_t>, std::vector<NumberedHost>> hostRows;
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
            if (minute.hosts.empty())
                continue;
            std::vector<NumberedHost> &row = hostRows[{granularityKey(granularity), periodStart}];
            for (const HostUsage &usage : minute.hosts) {
                int64_t number = 0;
                done = done && numberOf(usage.address, number);
                row.push_back({number, usage.downloadBytes});
            }
        }
    }
    for (auto &[key, added] : hostRows)
        done = done && addHosts(key, added);
    if (!minutes.empty()) {
        const std::pair<HistoryGranularity, int64_t> cuts[] = {
            {HistoryGranularity::Minute, newest - minuteRetentionSeconds},
            {HistoryGranularity::Hour, newest - hourRetentionSeconds},
        };
        for (const auto &[granularity, before] : cuts) {
            for (const char *table : {"periods", "host_periods"}) {
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
        for (const QSqlError &error : {period.lastError(), selectHostRow.lastError(), upsertHostRow.lastError(),
                                       insertAddress.lastError(), other.lastError(), database.lastError()})
            if (error.isValid())
                return error;
        return QSqlError();
    }();
    m_error = failure.databaseText().isEmpty() ? failure.text() : failure.databaseText();
    database.rollback();
    numbers.clear();
    m_connection->numbersRead = false;
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
    query.setForwardOnly(true);
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
    query.setForwardOnly(true);
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
    query.setForwardOnly(true);
    // Minutes and hours serve unless their retention has cut them before fromUtc; whole hours
    // add up the same from hours as from their minutes, in a sixtieth of the rows.
    std::array<int64_t, 2> cut{INT64_MIN, INT64_MIN};
    query.exec(QStringLiteral("SELECT granularity, before FROM pruned"));
    while (query.next())
        cut[size_t(std::clamp(query.value(0).toInt(), 0, 1))] = query.value(1).toLongLong();
    const bool wholeHours = fromUtc % 3600 == 0 && toUtc % 3600 == 0;
    const HistoryGranularity granularity = fromUtc >= cut[0] && !wholeHours ? HistoryGranularity::Minute
                                           : fromUtc >= cut[1]              ? HistoryGranularity::Hour
                                                                            : HistoryGranularity::Day;
    query.exec(QStringLiteral("PRAGMA user_version"));
    const int version = query.next() ? query.value(0).toInt() : 0;
    if (version < 4) {
        // A store of an earlier version, read as it is: a row for each host of each period.
        query.prepare(QStringLiteral("SELECT address, sum(download) AS total FROM hosts WHERE granularity = ?"
                                     " AND start >= ? AND start < ? GROUP BY address ORDER BY total DESC, address"));
        query.addBindValue(granularityKey(granularity));
        query.addBindValue(qint64(fromUtc));
        query.addBindValue(qint64(toUtc));
        query.exec();
        while (query.next())
            found.push_back(HostUsage{storedAddress(query.value(0)), query.value(1).toLongLong()});
        return found;
    }

    // Every address by its number, then each packed row of the span added to them.
    std::vector<int64_t> numbers;
    query.exec(QStringLiteral("SELECT id, address FROM addresses ORDER BY id"));
    while (query.next()) {
        numbers.push_back(query.value(0).toLongLong());
        found.push_back(HostUsage{storedAddress(query.value(1)), -1});
    }
    query.prepare(QStringLiteral("SELECT hosts FROM host_periods WHERE granularity = ? AND start >= ? AND start < ?"));
    query.addBindValue(granularityKey(granularity));
    query.addBindValue(qint64(fromUtc));
    query.addBindValue(qint64(toUtc));
    query.exec();
    std::vector<NumberedHost> row;
    while (query.next()) {
        row.clear();
        unpackHosts(query.value(0).toByteArray(), row);
        auto at = numbers.begin();
        for (const NumberedHost &host : row) {
            // Numbers are handed out one after the other, so the next host is mostly the next address.
            if (at == numbers.end() || *at != host.number)
                at = std::lower_bound(at, numbers.end(), host.number);
            if (at == numbers.end())
                break;
            if (*at == host.number) {
                int64_t &total = found[size_t(at - numbers.begin())].downloadBytes;
                total = std::max<int64_t>(total, 0) + host.downloadBytes;
                ++at;
            }
        }
    }
    // -1 marks an address with no row in the span.
    found.erase(std::remove_if(found.begin(), found.end(), [](const HostUsage &host) { return host.downloadBytes < 0; }),
                found.end());
    std::sort(found.begin(), found.end(), [](const HostUsage &a, const HostUsage &b) {
        return a.downloadBytes != b.downloadBytes ? a.downloadBytes > b.downloadBytes : a.address < b.address;
    });
    return found;
}
