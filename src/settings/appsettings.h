#pragma once

#include "meter/alertconfig.h"
#include "meter/fapparameters.h"
#include "settings/addressset.h"

#include <QString>

#include <atomic>
#include <cstdint>

enum class TrayStyle : int32_t { Text = 0, Graphic = 1 };

// Every user setting, owned by the controller for the whole run. The two address lists and
// the two rules are read by the capture thread for every frame; everything else changes only
// on the user-interface thread, at load and at a confirmation.
struct AppSettings
{
    static inline const QString defaultPingHost = QStringLiteral("www.google.com");

    int32_t adapterIndex = -1;
    QString adapterName; // the device of that row; it decides at load when stored
    LiveAddressList lanAddresses;
    LiveAddressList ignoredAddresses;
    std::atomic<bool> useAll192168{true};
    std::atomic<bool> useAdapterIpv6{true}; // the captured adapter's IPv6 networks are the LAN's

    FapParameters fap; // recharge rate, limits and the off-peak window

    QString pingHost = defaultPingHost;
    int32_t pingTimeoutMs = 10000;
    int32_t pingTtl = 64;
    int32_t pingPacketSize = 32;

    bool autoStart = false;
    bool alwaysOnTop = false;
    bool startMinimized = false;
    bool showOptionsAtStart = true;
    int32_t planIndex = 0;
    bool chartAutoScale = false;
    int32_t chartHistorySeconds = 60;
    int32_t windowOpacity = 255;          // 0 transparent .. 255 opaque
    TrayStyle trayStyle = TrayStyle::Graphic;

    AlertConfig alerts; // the desktop notifications
};
