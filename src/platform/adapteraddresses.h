#pragma once

#include <QByteArray>
#include <QStringList>

// Where the captured adapter's own IPv6 addresses come from, so a test can stand in for the system.
class AdapterAddressSource
{
public:
    virtual ~AdapterAddressSource() = default;
    // Each global IPv6 address of `device` with its prefix length, as the address lists write a
    // network ("2001:db8:1::5/64"); every adapter's for "any".
    virtual QStringList ipv6Networks(const QByteArray &device) = 0;
};

// The system's addresses as getifaddrs() lists them now; cheap enough to ask every few seconds.
class SystemAdapterAddresses : public AdapterAddressSource
{
public:
    QStringList ipv6Networks(const QByteArray &device) override;
};
