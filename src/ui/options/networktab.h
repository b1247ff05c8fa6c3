#pragma once

#include <QWidget>

#include <array>
#include <optional>

class OptionsWindow;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
struct AppSettings;

// "Network settings": the capture adapter, the LAN addresses and the addresses not counted.
// Each edit of an address list, and the public-address buttons, are reported at once as the
// window's signals; the adapter is the controller's to take.
class NetworkTab : public QWidget
{
    Q_OBJECT

public:
    explicit NetworkTab(OptionsWindow &window);

    void setAdapters(const QStringList &rows);
    void showSettings(const AppSettings &settings);
    void takeSettings(AppSettings &settings) const;
    // See OptionsWindow.
    void endPublicAddressLookup(const std::optional<QString> &address);
    void lockAdapter();
    int selectedAdapter() const;
    bool hasLanRule() const;

private:
    // The four boxes of one address list with the list and its buttons, so both lists share one
    // add and one delete handler.
    struct AddressEditor
    {
        QListWidget *list = nullptr;
        std::array<QLineEdit *, 4> boxes{}; // first to fourth number of the dotted address
        QLineEdit *ipv6 = nullptr;          // an IPv6 address or network, taken before the four
        QPushButton *add = nullptr;
        QPushButton *remove = nullptr;
    };
    // Both address lists work alike; each reports its own edits as the window's signals.
    template<typename Added, typename Removed>
    void connectEditor(const AddressEditor &editor, Added added, Removed removed);
    // The boxes' address into the list; nothing for boxes that hold no address or one listed. A
    // bad IPv6 entry says so at its box.
    static std::optional<QString> addAddress(const AddressEditor &editor);
    // The address at the end of the list unless listed already; true when added.
    static bool appendNew(QListWidget *list, const QString &address);
    // The selected row out of the list; -1 when none is selected.
    static int deleteAddress(const AddressEditor &editor);

    OptionsWindow &m_window;
    QListWidget *m_adapterList = nullptr;
    AddressEditor m_lan;
    AddressEditor m_ignored;
    QCheckBox *m_useAll192Check = nullptr;
    QCheckBox *m_useAdapterIpv6Check = nullptr;
    QPushButton *m_addPublicAddressButton = nullptr;
};
