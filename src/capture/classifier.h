#pragma once

#include <pcap/pcap.h>

#include <cstdint>

class AddressSet;
class FapMeter;
struct AppSettings;
struct TrafficCounters;

enum class FrameVerdict { Neither, Download, Upload };

// The decision for one frame from its two addresses (first byte in the top bits). The ignore
// list is consulted only for the end outside the LAN.
FrameVerdict classifyAddresses(uint32_t source, uint32_t destination, const AddressSet &lan,
                               const AddressSet &ignored, bool useAll192168) noexcept;

// What the capture callback counts into; handed to pcap_loop as its user argument.
struct CaptureContext
{
    AppSettings &settings;
    TrafficCounters &counters;
    FapMeter &meter;
};

// The pcap_loop callback: `user` is a CaptureContext. Reads the IPv4 addresses at frame bytes
// 26-33 without checking the frame's type, and counts the wire length of downloads and uploads.
// Allocates nothing and builds no text.
void classifyFrame(u_char *user, const pcap_pkthdr *header, const u_char *bytes);
