#include "app/historywindowloader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QStringList HistoryWindowLoader::defaultFolders()
{
    return {QCoreApplication::applicationDirPath(), QStringLiteral(TARVO_MODULE_DIR)};
}

HistoryWindowLoader::HistoryWindowLoader(QStringList folders)
    : m_folders(std::move(folders))
{
}

bool HistoryWindowLoader::load()
{
    if (m_create)
        return true;
    const QString name = QString::fromLatin1(HistoryWindowModule::fileName);
    QString path = QDir(m_folders.value(0)).filePath(name);
    for (const QString &folder : std::as_const(m_folders)) {
        if (const QString candidate = QDir(folder).filePath(name); QFileInfo::exists(candidate)) {
            path = candidate;
            break;
        }
    }
    m_library.setFileName(path);
    if (!m_library.load()) {
        m_error = m_library.errorString();
        return false;
    }
    m_create = reinterpret_cast<HistoryWindowModule::Create>(m_library.resolve(HistoryWindowModule::createName));
    m_follow = reinterpret_cast<HistoryWindowModule::Follow>(m_library.resolve(HistoryWindowModule::followName));
    if (!m_create || !m_follow) {
        m_error = m_library.errorString();
        m_create = nullptr;
        return false;
    }
    return true;
}

QWidget *HistoryWindowLoader::create(const UsageHistoryReader &reader, const QDateTime &now, QWidget *parent)
{
    return load() ? m_create(reader, now, parent) : nullptr;
}

void HistoryWindowLoader::follow(QWidget *window, const QDateTime &now) const
{
    m_follow(window, now);
}
