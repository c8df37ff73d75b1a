// Permanent network adapter addresses for the machine identifiers, as 12 upper-case hexadecimal digits.
#pragma once

#include <string>
#include <vector>

// The address mid uses: the lowest-sorting permanent address of the registered network cards,
// else the first NetBIOS adapter's address.
std::string NetworkAddressForMid();

// The address mid2 uses: physical adapters only (when the adapter class key can be read), the
// lowest-sorting wired address, else the lowest-sorting wireless one; the adapter information list
// is the fallback.
std::string NetworkAddressForMid2();

std::string FormatHardwareAddress(const unsigned char* bytes);

// One adapter's address and kind, as the choice between candidates needs them.
struct AdapterAddress {
    std::string address;
    bool wireless = false;
};

// The lowest-sorting wired address, else the lowest-sorting wireless one, else empty.
std::string ChooseAdapterAddress(const std::vector<AdapterAddress>& candidates);

// An adapter class entry is wireless by its driver description or its lower interface range.
bool IsWirelessAdapter(const std::wstring& driverDescription, const std::wstring& lowerRange);

// The adapter information list's kinds: IEEE 802.11 is wireless, Ethernet is wireless when its
// description says so; false answers mean the adapter is skipped.
bool ClassifyListedAdapter(unsigned type, const std::string& description, bool& wireless);
