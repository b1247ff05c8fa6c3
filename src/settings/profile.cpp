#include "settings/profile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>

#include <fcntl.h>
#include <unistd.h>

ProfileWriteError::ProfileWriteError(const QString &path, const QString &reason)
    : std::runtime_error(QCoreApplication::translate("Profile", "Unable to write to %1\n%2").arg(path, reason).toStdString())
    , m_path(path)
    , m_reason(reason)
{
}

ProfileWriteError::ProfileWriteError(const QString &path, int error)
    : ProfileWriteError(path, QString::fromLocal8Bit(std::strerror(error)))
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

QString asciiDigits(QStringView text, const QLocale &locale)
{
    QString result = text.toString();
    const QString zero = locale.zeroDigit();
    if (zero.size() == 1 && zero[0] != u'0') {
        const char16_t first = zero[0].unicode();
        for (QChar &c : result) {
            if (c.unicode() >= first && c.unicode() <= first + 9)
                c = QChar(u'0' + (c.unicode() - first));
        }
    }
    return result;
}

QString formatFloat(double value, const QLocale &locale)
{
    // ASCII digits whatever the locale, so a file or a box written under one locale with digits
    // of its own still reads as a number; only the decimal separator is the locale's.
    QString text = QString::number(value, 'g', 15);
    const QString point = locale.decimalPoint();
    if (point != u".")
        text.replace(u'.', point);
    return text;
}

std::optional<double> parseFloat(QStringView text, const QLocale &locale)
{
    QString plain = asciiDigits(text, locale);
    const QString point = locale.decimalPoint();
    if (point != u".") {
        // A "." is no decimal separator here; a group separator would let "1.5" read as 15.
        if (plain.contains(u'.'))
            return std::nullopt;
        plain.replace(point, QStringLiteral("."));
    }
    const QString minus = locale.negativeSign();
    if (minus != u"-")
        plain.replace(minus, QStringLiteral("-"));
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = c.toDouble(plain, &ok);
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

// The line without its line ending: LF, CR LF or a lone CR.
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
    return line.endsWith('\n') || line.endsWith('\r');
}

// Where the line that starts at `begin` ends, its line ending included.
qsizetype lineEnd(const QByteArray &bytes, qsizetype begin)
{
    for (qsizetype i = begin; i < bytes.size(); ++i) {
        if (bytes[i] == '\n')
            return i + 1;
        if (bytes[i] == '\r')
            return i + 1 < bytes.size() && bytes[i + 1] == '\n' ? i + 2 : i + 1;
    }
    return bytes.size();
}

// The file a write must replace: the end of a chain of symbolic links, so the link stays a link.
QString writeTarget(const QString &path)
{
    QString target = path;
    for (int depth = 0; depth < 40; ++depth) {
        const QFileInfo info(target);
        if (!info.isSymLink())
            break;
        target = info.symLinkTarget();
    }
    return target;
}

// The temporary files save() makes beside `fileName`: its name, a dot and six letters or digits.
bool isTemporaryOf(const QString &name, const QString &fileName)
{
    if (name.size() != fileName.size() + 7 || !name.startsWith(fileName + u'.'))
        return false;
    for (qsizetype i = fileName.size() + 1; i < name.size(); ++i) {
        if (!name[i].isLetterOrNumber() || name[i].unicode() > 127)
            return false;
    }
    return true;
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
    // Bounded: a device without end (a link to /dev/zero) must not stall the start.
    const QByteArray bytes = file.read(maxFileSize + 1);
    return fromBytes(bytes.size() > maxFileSize ? QByteArray() : bytes);
}

IniDocument IniDocument::readForWrite(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return fromBytes({});
    if (QFileInfo(path).isDir())
        throw ProfileWriteError(path, EISDIR);
    if (!file.open(QIODevice::ReadOnly))
        throw ProfileWriteError(path, file.errorString());
    const QByteArray bytes = file.read(maxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        throw ProfileWriteError(path, file.errorString());
    if (bytes.size() > maxFileSize)
        throw ProfileWriteError(path, QCoreApplication::translate("Profile", "The file is larger than %1 bytes").arg(maxFileSize));
    return fromBytes(bytes);
}

void IniDocument::parse(const QByteArray &bytes)
{
    m_sections.assign(1, Section{});
    m_sectionIndex.clear();
    qsizetype begin = 0;
    while (begin < bytes.size()) {
        const qsizetype end = lineEnd(bytes, begin);
        QByteArray line = bytes.mid(begin, end - begin);
        if (begin == 0 && endsLine(line))
            m_lineEnding = line.mid(content(line).size());
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
        // The value read back unchanged keeps its bytes: a value cut short when read, or one that
        // is no UTF-8, would otherwise lose the rest or its bytes at every save.
        if (this->value(section, key) == value)
            return;
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

bool renameOver(const QString &from, const QString &to)
{
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0 && syncFolderOf(to);
}

bool syncFolderOf(const QString &path)
{
    const int folder =
        ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return false;
    // Some file systems cannot sync a folder and say so; they keep no name unsynced either.
    const bool synced = ::fsync(folder) == 0 || errno == EINVAL;
    ::close(folder);
    return synced;
}

void IniDocument::save(const QString &path, RenameStep rename) const
{
    const QString targetPath = writeTarget(path);
    const QFileInfo target(targetPath);
    QTemporaryFile temporary(target.absoluteDir().filePath(target.fileName() + QStringLiteral(".XXXXXX")));
    if (!temporary.open()) {
        // A folder the user may not write but a file they may: the file is rewritten in place.
        if (target.isFile() && ::access(QFile::encodeName(target.absolutePath()).constData(), W_OK) != 0) {
            rewriteInPlace(path, targetPath);
            return;
        }
        throw ProfileWriteError(path, temporary.errorString());
    }
    temporary.setPermissions(target.exists() ? target.permissions()
                                             : QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                   | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const QByteArray data = bytes();
    if (temporary.write(data) != data.size() || !temporary.flush())
        throw ProfileWriteError(path, temporary.errorString());
    if (::fsync(temporary.handle()) != 0)
        throw ProfileWriteError(path, errno);
    temporary.close();
    errno = 0;
    if (!rename(temporary.fileName(), targetPath))
        throw ProfileWriteError(path, errno ? errno : EIO);
    temporary.setAutoRemove(false);
}

void IniDocument::rewriteInPlace(const QString &path, const QString &targetPath) const
{
    const int fd = ::open(QFile::encodeName(targetPath).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        throw ProfileWriteError(path, errno);
    const QByteArray data = bytes();
    // The space is taken before the first byte changes, so a full disk leaves the old file whole.
    int error = ::posix_fallocate(fd, 0, std::max<off_t>(data.size(), 1));
    for (qsizetype done = 0; error == 0 && done < data.size();) {
        const ssize_t written = ::pwrite(fd, data.constData() + done, size_t(data.size() - done), done);
        if (written < 0 && errno != EINTR)
            error = errno;
        else if (written > 0)
            done += written;
    }
    if (error == 0 && (::ftruncate(fd, data.size()) != 0 || ::fsync(fd) != 0))
        error = errno;
    ::close(fd);
    if (error != 0)
        throw ProfileWriteError(path, error);
}

void IniDocument::removeStaleTemporaries(const QString &path)
{
    const QFileInfo target(writeTarget(path));
    QDir folder = target.absoluteDir();
    const QStringList names =
        folder.entryList({target.fileName() + QStringLiteral(".??????")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (isTemporaryOf(name, target.fileName()))
            folder.remove(name);
    }
}
