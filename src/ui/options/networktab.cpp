#include "ui/options/networktab.h"

#include "settings/addressentry.h"
#include "settings/appsettings.h"
#include "ui/options/optionsform.h"
#include "ui/options/optionswindow.h"

#include <QCoreApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>

using namespace OptionsForm;

namespace {

// Says why `box` was not taken beside it, and keeps it as the box's tool tip until the next try.
void showRefusal(QLineEdit *box, const QString &message)
{
    box->setToolTip(message);
    if (!message.isEmpty())
        QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())), message, box);
}

// The selected row of a single-selection list, -1 when none is selected.
int selectedRow(const QListWidget *list)
{
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

// A label, then the four boxes of an address side by side, first number first, then the IPv6 box.
QHBoxLayout *addressRow(QLabel *caption, std::array<QLineEdit *, 4> &boxes, QLineEdit *&ipv6, const char *name)
{
    auto *row = new QHBoxLayout;
    row->addWidget(caption);
    for (size_t i = 0; i < boxes.size(); ++i) {
        boxes[i] = new QLineEdit;
        boxes[i]->setObjectName(QLatin1String(name) + QString::number(i + 1));
        boxes[i]->setMaxLength(3);
        boxes[i]->setFixedWidth(40);
        row->addWidget(boxes[i]);
    }
    ipv6 = new QLineEdit;
    ipv6->setObjectName(QLatin1String(name) + u'6');
    ipv6->setPlaceholderText(QCoreApplication::translate("NetworkTab", "or IPv6"));
    ipv6->setMaxLength(longestIpv6Entry);
    ipv6->setMinimumWidth(120);
    row->addWidget(ipv6);
    row->addStretch();
    return row;
}

QListWidget *addressList(const char *name)
{
    auto *list = named(new QListWidget, name);
    list->setMinimumHeight(48);
    list->setMaximumHeight(120);
    return list;
}

// An address frame: the list at the left; at the right, on a white panel, the four boxes with
// the add and delete buttons. Gives the panel's layout for whatever else the frame holds.
QVBoxLayout *addressFrame(QGroupBox *group, QListWidget *list, QHBoxLayout *boxes, QPushButton *add, QPushButton *remove)
{
    auto *layout = new QHBoxLayout(group);
    layout->addWidget(list, 1);
    QFrame *panel = whitePanel();
    auto *inputs = new QVBoxLayout(panel);
    inputs->addLayout(boxes);
    inputs->addLayout(buttonRow({add, remove}));
    layout->addWidget(panel);
    return inputs;
}

} // namespace

template<typename Added, typename Removed>
void NetworkTab::connectEditor(const AddressEditor &editor, Added added, Removed removed)
{
    connect(editor.add, &QPushButton::clicked, this, [editor, added] {
        if (const auto address = addAddress(editor))
            added(*address);
    });
    connect(editor.remove, &QPushButton::clicked, this, [editor, removed] {
        if (const int row = deleteAddress(editor); row >= 0)
            removed(row);
    });
}

NetworkTab::NetworkTab(OptionsWindow &window)
    : m_window(window)
{
    paintAsTabSheet(this, "networkTab");
    auto *network = new QVBoxLayout(this);

    auto *adapterGroup = frame("adapterGroup", tr(
        "Please select the device corresponding to your Direcway connection from the list below"));
    m_adapterList = named(new QListWidget, "adapterList");
    m_adapterList->setMinimumHeight(76);
    m_adapterList->setMaximumHeight(84);
    (new QVBoxLayout(adapterGroup))->addWidget(m_adapterList);
    network->addWidget(adapterGroup);

    auto *lanGroup = frame("lanGroup", tr("IP Address in your LAN"));
    m_lan.list = addressList("lanAddressList");
    m_lan.add = button("addLanButton", tr("Add new IP"), QStyle::SP_DialogOkButton);
    m_lan.remove = button("deleteLanButton", tr("Delete selected IP"), QStyle::SP_DialogCancelButton);
    QVBoxLayout *lanInputs =
        addressFrame(lanGroup, m_lan.list,
                     addressRow(new QLabel(tr("Add new IP")), m_lan.boxes, m_lan.ipv6, "lanAddressBox"), m_lan.add,
                     m_lan.remove);
    m_useAll192Check = named(new QCheckBox(tr("Use all 192.168.*.* IPs as LAN")), "useAll192Check");
    lanInputs->addWidget(m_useAll192Check);
    m_useAdapterIpv6Check = named(new QCheckBox(tr("Use this adapter's IPv6 networks as LAN")),
                                  "useAdapterIpv6Check");
    lanInputs->addWidget(m_useAdapterIpv6Check);
    auto *showPublicAddressButton =
        named(new QPushButton(tr("See my public IP")), "showPublicAddressButton");
    m_addPublicAddressButton =
        button("addPublicAddressButton", tr("Add my public IP"), QStyle::SP_DialogOkButton);
    lanInputs->addLayout(buttonRow({showPublicAddressButton, m_addPublicAddressButton}));
    network->addWidget(lanGroup);

    auto *ignoredGroup = frame("ignoredGroup", tr(
        "IP Addresses to exclude from count ( e.g. www.direcway.example - 203.0.113.10 )"));
    m_ignored.list = addressList("ignoredAddressList");
    m_ignored.add = button("addIgnoredButton", tr("Add new IP"), QStyle::SP_DialogOkButton);
    m_ignored.remove =
        button("deleteIgnoredButton", tr("Delete selected IP"), QStyle::SP_DialogCancelButton);
    addressFrame(ignoredGroup, m_ignored.list,
                 addressRow(new QLabel(tr("Add new IP")), m_ignored.boxes, m_ignored.ipv6, "ignoredAddressBox"),
                 m_ignored.add, m_ignored.remove)
        ->addStretch();
    network->addWidget(ignoredGroup);

    OptionsWindow *reporter = &m_window;
    connectEditor(
        m_lan, [reporter](const QString &address) { Q_EMIT reporter->lanAddressAdded(address); },
        [reporter](int row) { Q_EMIT reporter->lanAddressRemoved(row); });
    connectEditor(
        m_ignored, [reporter](const QString &address) { Q_EMIT reporter->ignoredAddressAdded(address); },
        [reporter](int row) { Q_EMIT reporter->ignoredAddressRemoved(row); });
    connect(showPublicAddressButton, &QPushButton::clicked, &m_window, &OptionsWindow::showPublicAddressRequested);
    connect(m_addPublicAddressButton, &QPushButton::clicked, this, [this] {
        // One lookup at a time.
        m_addPublicAddressButton->setEnabled(false);
        Q_EMIT m_window.addPublicAddressRequested();
    });
}

void NetworkTab::setAdapters(const QStringList &rows)
{
    m_adapterList->addItems(rows);
}

void NetworkTab::showSettings(const AppSettings &settings)
{
    m_adapterList->setCurrentRow(settings.adapterIndex < m_adapterList->count() ? settings.adapterIndex : -1);
    m_lan.list->clear();
    m_lan.list->addItems(settings.lanAddresses.entries());
    m_ignored.list->clear();
    m_ignored.list->addItems(settings.ignoredAddresses.entries());
    m_useAll192Check->setChecked(settings.useAll192168.load());
    m_useAdapterIpv6Check->setChecked(settings.useAdapterIpv6.load());
}

void NetworkTab::takeSettings(AppSettings &settings) const
{
    // The address lists are taken as they are edited; the adapter row needs the controller's
    // device names.
    settings.useAll192168.store(m_useAll192Check->isChecked());
    settings.useAdapterIpv6.store(m_useAdapterIpv6Check->isChecked());
}

void NetworkTab::endPublicAddressLookup(const std::optional<QString> &address)
{
    if (address && appendNew(m_lan.list, *address))
        Q_EMIT m_window.lanAddressAdded(*address);
    m_addPublicAddressButton->setEnabled(true);
}

void NetworkTab::lockAdapter()
{
    m_adapterList->setEnabled(false);
}

int NetworkTab::selectedAdapter() const
{
    // The selection, not the current row: a row unselected with Ctrl+click stays current.
    return selectedRow(m_adapterList);
}

bool NetworkTab::hasLanRule() const
{
    return m_lan.list->count() > 0 || m_useAll192Check->isChecked();
}

std::optional<QString> NetworkTab::addAddress(const AddressEditor &editor)
{
    if (const QString typed = editor.ipv6->text(); !typed.trimmed().isEmpty()) {
        const auto entry = ipv6EntryFromBox(typed);
        showRefusal(editor.ipv6, entry ? QString() : badIpv6EntryMessage(typed));
        if (!entry)
            return std::nullopt;
        if (!appendNew(editor.list, *entry))
            return std::nullopt;
        editor.ipv6->clear();
        return entry;
    }
    AddressBoxes boxes;
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i] = editor.boxes[i]->text();
    const auto address = addressFromBoxes(boxes);
    for (size_t i = 0; i < boxes.size(); ++i)
        editor.boxes[i]->setText(boxes[i]);
    showRefusal(editor.boxes[0], address ? QString() : badAddressBoxesMessage(boxes));
    if (!address || !appendNew(editor.list, *address))
        return std::nullopt;
    for (QLineEdit *box : editor.boxes)
        box->clear();
    return address;
}

bool NetworkTab::appendNew(QListWidget *list, const QString &address)
{
    if (!list->findItems(address, Qt::MatchExactly).isEmpty())
        return false;
    list->addItem(address);
    return true;
}

int NetworkTab::deleteAddress(const AddressEditor &editor)
{
    const int row = selectedRow(editor.list);
    if (row >= 0)
        delete editor.list->takeItem(row);
    return row;
}
