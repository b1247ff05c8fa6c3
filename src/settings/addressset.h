#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

// The 32-bit address (first byte in the top bits) whose dotted-decimal text, each byte without
// leading zeros, is exactly `text`; nothing for any other text ("192.168.000.010", " 1.2.3.4").
std::optional<uint32_t> parseCanonicalAddress(QStringView text) noexcept;

// An immutable list of address texts. Besides the texts it keeps the addresses of the entries
// written in canonical form, so a frame is looked up by integer with the same result as a text
// comparison, and without building any text.
class AddressSet
{
public:
    AddressSet() = default;
    explicit AddressSet(QStringList entries);

    const QStringList &entries() const noexcept { return m_entries; }
    bool contains(uint32_t address) const noexcept;

private:
    QStringList m_entries;
    std::vector<uint32_t> m_addresses; // sorted
};

// A list the capture thread reads for every frame while the options window edits it: each edit
// publishes a new immutable AddressSet whole, so a reader never sees a half-made change. The lock
// guards only the swap of the pointer, never a search. (libstdc++'s atomic<shared_ptr> would do
// the same, but ThreadSanitizer cannot see through its lock bit.) Edits come from the
// user-interface thread only.
class LiveAddressList
{
public:
    LiveAddressList();

    std::shared_ptr<const AddressSet> snapshot() const noexcept
    {
        std::lock_guard lock(m_mutex);
        return m_current;
    }
    QStringList entries() const { return snapshot()->entries(); }

    void assign(const QStringList &entries);
    void append(const QString &entry);
    void removeAt(int index);

private:
    mutable std::mutex m_mutex;
    std::shared_ptr<const AddressSet> m_current;
};
