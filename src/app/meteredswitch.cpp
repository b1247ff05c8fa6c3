#include "app/meteredswitch.h"

#include "settings/profile.h"

#include <QFile>

namespace {

constexpr QStringView recordSection = u"Metered";

} // namespace

MeteredSwitch::MeteredSwitch(QString recordFile, Bus bus, QObject *parent)
    : QObject(parent)
    , m_recordFile(std::move(recordFile))
    , m_bus(std::move(bus))
{
}

MeteredSwitch::~MeteredSwitch()
{
    finish();
}

QString MeteredSwitch::recordPath(const QString &settingsFolder)
{
    return settingsFolder + QStringLiteral("tarvo-metered.ini");
}

MeteredConnection &MeteredSwitch::connection()
{
    if (!m_connection) {
        m_connection = std::make_unique<MeteredConnection>(m_bus());
        connect(m_connection.get(), &MeteredConnection::finished, this, &MeteredSwitch::finished);
    }
    return *m_connection;
}

void MeteredSwitch::setConfig(const AlertConfig &config)
{
    m_rule.setConfig(config.markMetered, config.meteredPercent);
}

void MeteredSwitch::resume()
{
    if (!QFile::exists(m_recordFile))
        return;
    const IniDocument ini = IniDocument::read(m_recordFile);
    m_interface = ini.string(recordSection, u"Interface", QString());
    const auto earlier = MeteredValue(ini.integer(recordSection, u"Earlier", int32_t(MeteredValue::Unknown)));
    start(m_rule.resume(earlier));
}

void MeteredSwitch::tick(const AlertReading &reading, const QString &interface)
{
    if (m_finished)
        return;
    const MeteredRule::Action action = m_rule.tick(reading);
    if (action == MeteredRule::Action::Mark)
        m_interface = interface;
    start(action);
}

void MeteredSwitch::start(MeteredRule::Action action)
{
    m_under = action;
    if (action == MeteredRule::Action::Mark) {
        connection().change(m_interface, [this](int32_t found) -> std::optional<int32_t> {
            const std::optional<MeteredValue> written = MeteredRule::markOver(MeteredValue(found));
            if (!written)
                return std::nullopt;
            // Recorded before it changes: a run that ends at any moment leaves what to put back.
            try {
                record(MeteredValue(found));
            } catch (const ProfileWriteError &error) {
                m_recordError = QString::fromUtf8(error.what());
                return std::nullopt;
            }
            return int32_t(*written);
        });
    } else if (action == MeteredRule::Action::PutBack) {
        const MeteredValue earlier = *m_rule.owedValue();
        connection().change(m_interface, [earlier](int32_t found) -> std::optional<int32_t> {
            const std::optional<MeteredValue> written = MeteredRule::putBackOver(MeteredValue(found), earlier);
            return written ? std::optional(int32_t(*written)) : std::nullopt;
        });
    }
}

void MeteredSwitch::finished(const MeteredConnection::Result &result)
{
    using Outcome = MeteredConnection::Outcome;
    const MeteredRule::Action action = std::exchange(m_under, MeteredRule::Action::None);
    const QString recordError = std::exchange(m_recordError, {});
    QString why;
    switch (result.outcome) {
    case Outcome::Changed:
    case Outcome::Unchanged:
        if (!recordError.isEmpty()) {
            why = tr("Tarvo could not change the metered state of %1: %2").arg(m_interface, recordError);
        } else if (action == MeteredRule::Action::Mark) {
            m_rule.marked(result.outcome == Outcome::Changed ? std::optional(MeteredValue(result.found))
                                                             : std::nullopt);
        } else {
            // Back, or changed by someone else since, whose choice stands.
            m_rule.putBack();
            removeRecord();
        }
        break;
    case Outcome::Absent:
        why = tr("NetworkManager is not running: Tarvo cannot change the metered state of %1.").arg(m_interface);
        break;
    case Outcome::Refused:
        why = tr("NetworkManager refused to let Tarvo change the metered state of %1.").arg(m_interface);
        break;
    case Outcome::Unmanaged:
        why = tr("NetworkManager does not manage %1: Tarvo cannot change its metered state.").arg(m_interface);
        break;
    case Outcome::Failed:
        why = tr("Tarvo could not change the metered state of %1: %2").arg(m_interface, result.message);
        break;
    }
    if (why.isEmpty())
        return;
    m_rule.failed();
    // A mark that did not happen owes nothing, nor one NetworkManager or the device has dropped
    // since; a value it refused to put back stays recorded for the next start.
    if (action == MeteredRule::Action::Mark || result.outcome == Outcome::Absent
        || result.outcome == Outcome::Unmanaged)
        removeRecord();
    Q_EMIT statusLine(why);
}

void MeteredSwitch::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    if (!m_connection)
        return;
    m_connection->finishBlocking();
    if (m_rule.owedValue())
        start(MeteredRule::Action::PutBack);
}

void MeteredSwitch::record(MeteredValue earlier)
{
    IniDocument ini = IniDocument::readForWrite(m_recordFile);
    ini.setString(recordSection, u"Interface", m_interface);
    ini.setInteger(recordSection, u"Earlier", int32_t(earlier));
    ini.save(m_recordFile);
}

void MeteredSwitch::removeRecord()
{
    QFile::remove(m_recordFile);
}
