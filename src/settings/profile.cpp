#include "settings/profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryFile>

#include <cmath>
#include <limits>

#include <unistd.h>

ProfileWriteError::ProfileWriteError(const QString &path)
    : std::runtime_error(QStringLiteral("Unable to write to %1").arg(path).toStdString())
    , m_path(path)
{
}

namespace ProfileValue {

namespace {
int digitValue(QChar c, int base)
{
    const char16_t u = c.unicode();
    int digit = 99;
    if (u >= u'0' && u <= u'9')
        digit = u - u'0';
    else if (u >= u'a' && u <= u'f')
        digit = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        digit = u - u'A' + 10;
    return digit < base ? digit : -1;
}
} // namespace

std::optional<int32_t> parseInt(QStringView text)
{
    int base = 10;
    bool negative = false;
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        base = 16;
        text = text.mid(2);
    } else if (!text.isEmpty() && (text[0] == u'-' || text[0] == u'+')) {
        negative = text[0] == u'-';
        text = text.mid(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    // Accumulating the magnitude stops as soon as it leaves the 32-bit range, so a long run of
    // digits cannot overflow.
    const int64_t limit = negative ? int64_t{std::numeric_limits<int32_t>::max()} + 1 : std::numeric_limits<int32_t>::max();
    int64_t magnitude = 0;
    for (QChar c : text) {
        const int digit = digitValue(c, base);
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

QString formatFloat(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 15);
}

std::optional<double> parseFloat(QStringView text)
{
    QLocale locale;
    // A group separator would let "1.5" read as 15 under a locale whose decimal separator is ",".
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString trimmed(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= u' ')
        ++begin;
    while (end > begin && text[end - 1].unicode() <= u' ')
        --end;
    return text.mid(begin, end - begin);
}

} // namespace ProfileValue

namespace {

const QByteArray utf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

QByteArray nameKey(QStringView name)
{
    return name.toUtf8().trimmed().toLower();
}

// The line without its line ending.
QByteArray content(const QByteArray &line)
{
    qsizetype end = line.size();
    if (end > 0 && line[end - 1] == '\n')
        --end;
    if (end > 0 && line[end - 1] == '\r')
        --end;
    return line.left(end);
}

bool endsLine(const QByteArray &line)
{
    return line.endsWith('\n');
}

// The section name of a header line "[name]", or nothing. A "[" without "]" is no header.
std::optional<QByteArray> headerName(const QByteArray &trimmedLine)
{
    if (!trimmedLine.startsWith('['))
        return std::nullopt;
    const qsizetype close = trimmedLine.indexOf(']');
    if (close < 0)
        return std::nullopt;
    return trimmedLine.mid(1, close - 1).trimmed().toLower();
}

// The position just after "=" and the blanks that follow it, or -1 for a line that holds no key.
qsizetype valueStart(const QByteArray &lineContent)
{
    const qsizetype equals = lineContent.indexOf('=');
    if (equals < 0)
        return -1;
    qsizetype start = equals + 1;
    while (start < lineContent.size() && (lineContent[start] == ' ' || lineContent[start] == '\t'))
        ++start;
    return start;
}

std::optional<QByteArray> keyName(const QByteArray &trimmedLine)
{
    if (trimmedLine.startsWith(';'))
        return std::nullopt;
    const qsizetype equals = trimmedLine.indexOf('=');
    if (equals <= 0)
        return std::nullopt;
    QByteArray key = trimmedLine.left(equals).trimmed().toLower();
    if (key.isEmpty())
        return std::nullopt;
    return key;
}

QByteArray encodedValue(const QString &value)
{
    QByteArray bytes = value.toUtf8();
    bytes.replace('\r', ' ').replace('\n', ' ');
    return bytes;
}

} // namespace

IniDocument IniDocument::fromBytes(const QByteArray &bytes)
{
    IniDocument document;
    document.parse(bytes);
    return document;
}

IniDocument IniDocument::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fromBytes({});
    return fromBytes(file.readAll());
}

IniDocument IniDocument::readForWrite(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return fromBytes({});
    if (!file.open(QIODevice::ReadOnly))
        throw ProfileWriteError(path);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ProfileWriteError(path);
    return fromBytes(bytes);
}

void IniDocument::parse(const QByteArray &bytes)
{
    m_sections.assign(1, Section{});
    m_sectionIndex.clear();
    qsizetype begin = 0;
    while (begin < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', begin);
        end = end < 0 ? bytes.size() : end + 1;
        QByteArray line = bytes.mid(begin, end - begin);
        if (begin == 0 && line.contains('\n'))
            m_lineEnding = line.endsWith("\r\n") ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
        QByteArray trimmedLine = content(line).trimmed();
        if (begin == 0 && trimmedLine.startsWith(utf8Bom))
            trimmedLine = trimmedLine.mid(utf8Bom.size()).trimmed();
        begin = end;

        if (const auto name = headerName(trimmedLine)) {
            if (!m_sectionIndex.contains(*name)) // the first section of a name is the one read
                m_sectionIndex.insert(*name, int(m_sections.size()));
            m_sections.push_back(Section{*name, {std::move(line)}, {}});
            continue;
        }
        Section &section = m_sections.back();
        // Keys before the first header belong to no section and are never read.
        if (m_sections.size() > 1) {
            if (const auto key = keyName(trimmedLine); key && !section.keyLines.contains(*key))
                section.keyLines.insert(*key, int(section.lines.size()));
        }
        section.lines.push_back(std::move(line));
    }
}

const IniDocument::Section *IniDocument::findSection(QStringView name) const
{
    const auto it = m_sectionIndex.constFind(nameKey(name));
    return it == m_sectionIndex.cend() ? nullptr : &m_sections[*it];
}

std::optional<QString> IniDocument::value(QStringView section, QStringView key) const
{
    const Section *found = findSection(section);
    if (!found)
        return std::nullopt;
    const auto line = found->keyLines.constFind(nameKey(key));
    if (line == found->keyLines.cend())
        return std::nullopt;
    const QByteArray text = content(found->lines[*line]);
    return QString::fromUtf8(text.mid(valueStart(text)).trimmed()).left(maxValueLength);
}

QString IniDocument::string(QStringView section, QStringView key, const QString &defaultValue) const
{
    return value(section, key).value_or(defaultValue);
}

int32_t IniDocument::integer(QStringView section, QStringView key, int32_t defaultValue) const
{
    const auto text = value(section, key);
    return text ? ProfileValue::parseInt(*text).value_or(defaultValue) : defaultValue;
}

bool IniDocument::flag(QStringView section, QStringView key, bool defaultValue) const
{
    return integer(section, key, defaultValue ? 1 : 0) != 0;
}

double IniDocument::floating(QStringView section, QStringView key, double defaultValue) const
{
    const auto text = value(section, key);
    return text ? ProfileValue::parseFloat(*text).value_or(defaultValue) : defaultValue;
}

void IniDocument::setString(QStringView section, QStringView key, const QString &value)
{
    const QByteArray encoded = encodedValue(value);
    const QByteArray sectionName = nameKey(section);
    const QByteArray keyName = nameKey(key);
    auto sectionIt = m_sectionIndex.constFind(sectionName);
    if (sectionIt == m_sectionIndex.cend()) {
        std::vector<QByteArray> &lines = m_sections.back().lines;
        if (!lines.empty() && !endsLine(lines.back()))
            lines.back() += m_lineEnding;
        m_sectionIndex.insert(sectionName, int(m_sections.size()));
        m_sections.push_back(Section{sectionName, {'[' + section.toUtf8() + ']' + m_lineEnding}, {}});
        sectionIt = m_sectionIndex.constFind(sectionName);
    }
    Section &target = m_sections[*sectionIt];

    if (const auto line = target.keyLines.constFind(keyName); line != target.keyLines.cend()) {
        QByteArray &text = target.lines[*line];
        const QByteArray old = content(text);
        const QByteArray ending = text.mid(old.size());
        text = old.left(valueStart(old)) + encoded + ending;
        return;
    }
    // New keys go after the section's last line with text, before the blank lines that part it
    // from the next section.
    auto position = target.lines.size();
    while (position > 1 && content(target.lines[position - 1]).trimmed().isEmpty())
        --position;
    if (!endsLine(target.lines[position - 1]))
        target.lines[position - 1] += m_lineEnding;
    target.lines.insert(target.lines.begin() + position, key.toUtf8() + '=' + encoded + m_lineEnding);
    target.keyLines.insert(keyName, int(position));
}

void IniDocument::setInteger(QStringView section, QStringView key, int32_t value)
{
    setString(section, key, QString::number(value));
}

void IniDocument::setFlag(QStringView section, QStringView key, bool value)
{
    setInteger(section, key, value ? 1 : 0);
}

void IniDocument::setFloat(QStringView section, QStringView key, double value)
{
    setString(section, key, ProfileValue::formatFloat(value));
}

QByteArray IniDocument::bytes() const
{
    QByteArray result;
    for (const Section &section : m_sections) {
        for (const QByteArray &line : section.lines)
            result += line;
    }
    return result;
}

bool IniDocument::renameOver(const QString &from, const QString &to)
{
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

void IniDocument::save(const QString &path, RenameStep rename) const
{
    const QFileInfo target(path);
    QTemporaryFile temporary(target.absoluteDir().filePath(target.fileName() + QStringLiteral(".XXXXXX")));
    if (!temporary.open())
        throw ProfileWriteError(path);
    temporary.setPermissions(target.exists() ? target.permissions()
                                             : QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                   | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const QByteArray data = bytes();
    if (temporary.write(data) != data.size() || !temporary.flush() || ::fsync(temporary.handle()) != 0)
        throw ProfileWriteError(path);
    temporary.close();
    if (!rename(temporary.fileName(), path))
        throw ProfileWriteError(path);
    temporary.setAutoRemove(false);
}
