#pragma once

#include <QByteArray>
#include <QHash>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

// The INI ("profile") files beside the program: sections and keys matched without regard to case,
// values read up to 2047 characters, writes that change one value and leave every other byte of
// the file as it was.

// A write that did not reach the file. Its text is what the user sees: "Unable to write to <path>"
// and, on a second line, the system's reason ("No space left on device").
class ProfileWriteError : public std::runtime_error
{
public:
    ProfileWriteError(const QString &path, const QString &reason);
    ProfileWriteError(const QString &path, int error); // an errno value
    const QString &path() const noexcept { return m_path; }
    const QString &reason() const noexcept { return m_reason; }

private:
    QString m_path;
    QString m_reason;
};

// Value encodings shared by the settings, the plans and the options window's boxes.
namespace ProfileValue {

// Decimal, or hexadecimal after "0x"/"0X" when the text is longer than two characters; nothing
// for any other text or a value outside the signed 32-bit range.
std::optional<int32_t> parseInt(QStringView text);
// The locale's own digits (Arabic-Indic, Devanagari, ...) replaced by ASCII ones.
QString asciiDigits(QStringView text, const QLocale &locale = QLocale());
// General format, at most 15 significant digits, ASCII digits, the locale's decimal separator,
// no grouping.
QString formatFloat(double value, const QLocale &locale = QLocale());
// The reverse of formatFloat under the same locale, which also takes the locale's own digits;
// nothing for any other text or a non-finite value.
std::optional<double> parseFloat(QStringView text, const QLocale &locale = QLocale());
// Leading and trailing blanks and control characters removed.
QString trimmed(const QString &text);

} // namespace ProfileValue

// Renames `from` over `to` in one step. Unlike QFile::rename, it replaces an existing `to`; a
// link there is replaced itself rather than the file it points to. The folder is synced after,
// so the new name survives a power cut once this returns.
bool renameOver(const QString &from, const QString &to);
// Syncs the folder that holds `path`: a name made or changed in it is on the disk after.
bool syncFolderOf(const QString &path);

// One INI file read whole and closed again, so a load of many keys opens the file once. Changes
// are made in memory and written back by save(), which replaces the file in one piece.
class IniDocument
{
public:
    static constexpr int maxValueLength = 2047;
    static constexpr qint64 maxFileSize = 16 << 20; // thousands of times any real settings file

    // A missing or unreadable file, or one larger than maxFileSize, reads as an empty document.
    static IniDocument read(const QString &path);
    // For a write: a missing file is an empty document, but one that exists and cannot be read
    // whole raises ProfileWriteError rather than being replaced by the few keys about to be written.
    static IniDocument readForWrite(const QString &path);
    static IniDocument fromBytes(const QByteArray &bytes);

    std::optional<QString> value(QStringView section, QStringView key) const;
    QString string(QStringView section, QStringView key, const QString &defaultValue) const;
    int32_t integer(QStringView section, QStringView key, int32_t defaultValue) const;
    bool flag(QStringView section, QStringView key, bool defaultValue) const;
    double floating(QStringView section, QStringView key, double defaultValue) const;

    // Replaces the value of the key in place, or adds the key at the end of its section, or adds
    // the section at the end of the file. A line break in the value would start a new line of the
    // file, so each one is written as a blank. A value equal to what the key reads now leaves
    // the line's bytes as they are.
    void setString(QStringView section, QStringView key, const QString &value);
    void setInteger(QStringView section, QStringView key, int32_t value);
    void setFlag(QStringView section, QStringView key, bool value);
    void setFloat(QStringView section, QStringView key, double value);

    QByteArray bytes() const;

    // The rename step of save, which a test can make fail.
    using RenameStep = bool (*)(const QString &from, const QString &to);

    // Writes the document into a temporary file in the same folder, flushes it to the disk and
    // renames it over `path`, so the old file stays whole until the new one is. A symbolic link is
    // followed: its target is replaced and the link stays. When the folder refuses a new file but
    // the file itself may be written, the file is rewritten in place instead. Raises
    // ProfileWriteError when any step fails; the temporary file is removed then.
    void save(const QString &path, RenameStep rename = renameOver) const;

    // Removes the temporary files that a save killed before its rename left beside `path`.
    static void removeStaleTemporaries(const QString &path);

private:
    struct Section
    {
        QByteArray name;                 // lower case; empty for the lines before the first header
        std::vector<QByteArray> lines;   // as in the file, with their line endings; the header first
        QHash<QByteArray, int> keyLines; // lower-case key -> its first line
    };

    void parse(const QByteArray &bytes);
    void rewriteInPlace(const QString &path, const QString &targetPath) const;
    const Section *findSection(QStringView name) const;

    std::vector<Section> m_sections;       // m_sections[0] holds the lines before any header
    QHash<QByteArray, int> m_sectionIndex; // lower-case name -> first section of that name
    QByteArray m_lineEnding = "\n";       // the file's own, so added lines match it
};
