// The machine identifiers: the double-finished MD5, the CRC-8, mid2 composition, both caches and
// their rules with fixed hardware texts, and what the real sources give under Wine.
#include "base/Registry.h"
#include "sysinfo/Crc8.h"
#include "sysinfo/DiskIdentity.h"
#include "sysinfo/MachineId.h"
#include "sysinfo/MachineIdNames.h"
#include "sysinfo/MachineIdSources.h"
#include "sysinfo/Mid2.h"
#include "sysinfo/MidHash.h"
#include "sysinfo/NetworkAddress.h"
#include "sysinfo/ProcessorText.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cwctype>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr char kAddress[] = "001122AABBCC";
constexpr char kDisk[] = "WD-SERIAL42";
constexpr char kCpu2[] = "GenuineIntel,906ea,Some CPU";
constexpr char kGuid[] = "00112233445566778899aabbccddeeff";

// Elevated composition of kAddress, kDisk and kCpu2, and the same seen by a process that is not.
constexpr wchar_t kHashedElevated[] = L"f9e7ab705263b1b5107086a634173f5739ce0dae2b7e";
constexpr wchar_t kHashedNotElevated[] = L"eeeeeeee5263b1b5107086a634173f5739ce0dae2bd1";
constexpr wchar_t kRandom[] = L"ffffffff00112233445566778899aabbccddeeff10bf";

// Fixed hardware texts; a second list answers the reads after the first, to model a retry.
class FakeSources : public IMachineIdSources {
public:
    std::string cpu = "GenuineIntel:178bfbff";
    std::string disk;
    std::string address;
    std::string cpu2 = kCpu2;
    std::vector<std::string> disk2Reads;
    std::vector<std::string> address2Reads;
    bool elevated = true;
    bool guidAvailable = true;
    std::vector<unsigned long> waits;
    int reads = 0;

    std::string ProcessorTextForMid() override { return ++reads, cpu; }
    std::string DiskIdForMid() override { return ++reads, disk; }
    std::string NetworkAddressForMid() override { return ++reads, address; }
    std::string ProcessorTextForMid2() override { return ++reads, cpu2; }
    std::string DiskIdForMid2() override { return Next(disk2Reads); }
    std::string NetworkAddressForMid2() override { return Next(address2Reads); }
    bool IsElevated() override { return elevated; }
    void Wait(unsigned long milliseconds) override { waits.push_back(milliseconds); }
    bool NewGuidDigits(std::string& digits) override
    {
        digits = kGuid;
        return guidAvailable;
    }

private:
    std::string Next(std::vector<std::string>& reads_)
    {
        ++reads;
        if (reads_.empty()) {
            return std::string();
        }
        std::string value = reads_.front();
        if (reads_.size() > 1) {
            reads_.erase(reads_.begin());
        }
        return value;
    }
};

// ---- hashes and checksums ----

std::string SingleFinishMd5(const std::string& text)
{
    Md5Context context;
    Md5Init(context);
    Md5Update(context, reinterpret_cast<const uint8_t*>(text.data()), text.size());
    Md5Finish(context);
    return Md5StateHex(context);
}

TEST(MidHash, OneFinishingStepIsStandardMd5)
{
    EXPECT_EQ(SingleFinishMd5(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(SingleFinishMd5("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(SingleFinishMd5("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    std::string digits;
    for (int i = 0; i < 8; ++i) {
        digits += "1234567890";
    }
    EXPECT_EQ(SingleFinishMd5(digits), "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(MidHash, FinishesTwiceAndReadsAtMost259Characters)
{
    struct Case {
        std::string text;
        const char* hash;
    };
    const std::vector<Case> cases = {
        {"", "5d2735c78b4ad61d0f6b5933aef45e4f"},
        {"abc", "ab32b7d610b8276088dc6cdcfe9adbf3"},
        {"Mid2Failed", "30908dae359c9665d70190674e7dc5a0"},
        {std::string(55, 'a'), "d1de83ec7560036ac2806b328e416569"},  // padding fits the block
        {std::string(56, 'a'), "68659628a1ec2b4918c0a7536b4f4749"},  // padding needs a second block
        {std::string(64, 'a'), "82f84856aee7de736c15364291f85670"},
        {std::string(259, 'x'), "cea38ec154f7bd2dbf6e08688fbc014c"},
        {std::string(300, 'x'), "cea38ec154f7bd2dbf6e08688fbc014c"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MidHash(c.text), c.hash) << c.text.size();
    }
}

TEST(Crc8, IsTheReflectedDallasChecksum)
{
    EXPECT_EQ(Crc8(""), 0);
    EXPECT_EQ(Crc8("123456789"), 0xA1);
}

// ---- mid2 composition and cache validity ----

TEST(Mid2Composition, ComposesIdFlagsAndChecksum)
{
    struct Case {
        const char* name;
        std::string address, disk, cpu;
        bool elevated;
        bool guid;
        const wchar_t* value;
        bool success;
    };
    const std::vector<Case> cases = {
        {"all read", kAddress, kDisk, kCpu2, true, true, kHashedElevated, true},
        {"not elevated", kAddress, kDisk, kCpu2, false, true, kHashedNotElevated, true},
        {"address only", kAddress, "", kCpu2, true, true, L"8f150c297d7dbdca2810569b62f7c4a5aac574ba29a4", true},
        {"disk only", "", kDisk, "", true, true, L"00200d11995d46617768379fb6049e8d2eb9e79422a2", true},
        {"processor only", "", "", kCpu2, false, true, kRandom, false},
        {"nothing, no guid", "", "", "", true, false, L"000000000000000000000000000000000000000010a1", false},
        {"nothing, no guid, not elevated", "", "", "", false, false,
         L"eeeeeeee0000000000000000000000000000000010da", false},
    };
    for (const Case& c : cases) {
        FakeSources sources;
        sources.guidAvailable = c.guid;
        const Mid2Composition composed = ComposeMid2({c.address, c.disk, c.cpu}, c.elevated, sources);
        EXPECT_EQ(std::wstring(composed.value.begin(), composed.value.end()), c.value) << c.name;
        EXPECT_EQ(composed.success, c.success) << c.name;
        EXPECT_TRUE(IsValidMid2(c.value)) << c.name;
    }
}

TEST(Mid2Cache, IsValidOnlyWith44CharactersAndAMatchingChecksum)
{
    const std::wstring good = kHashedElevated;
    EXPECT_TRUE(IsValidMid2(good));
    EXPECT_FALSE(IsValidMid2(good.substr(0, 43)));
    EXPECT_FALSE(IsValidMid2(good + L"0"));
    EXPECT_FALSE(IsValidMid2(L"0" + good.substr(1)));  // id changed under its checksum
    EXPECT_FALSE(IsValidMid2(good.substr(0, 42) + L"zz"));
    EXPECT_FALSE(IsValidMid2(L""));
    EXPECT_TRUE(IsPlaceholderMid2(L"FFFFffff00112233445566778899aabbccddeeff10bf"));
    EXPECT_FALSE(IsPlaceholderMid2(good));
}

// ---- the hardware texts' rules ----

std::vector<uint16_t> IdentifyWithSerial(const std::string& serial)
{
    std::vector<uint16_t> words(256, 0);
    std::string padded = serial;
    padded.resize(20, ' ');
    for (int i = 0; i < 10; ++i) {
        words[10 + i] = static_cast<uint16_t>((uint8_t(padded[2 * i]) << 8) | uint8_t(padded[2 * i + 1]));
    }
    return words;
}

TEST(DiskTexts, IdentifySerialIsReadHighByteFirstWithoutTrailingBlanks)
{
    EXPECT_EQ(IdentifySerialText(IdentifyWithSerial("  WD-123").data()), "  WD-123");
    EXPECT_EQ(IdentifySerialText(IdentifyWithSerial("").data()), "");
    std::vector<uint16_t> words(256, 0);
    words[10] = 0x4142;  // "AB", then a zero word ends the text
    words[12] = 0x4344;
    EXPECT_EQ(IdentifySerialText(words.data()), "AB");
}

TEST(DiskTexts, DescriptorSerialsAreDecodedOrKeptOrDropped)
{
    struct Case {
        std::string serial;
        std::string decoded;
    };
    const std::vector<Case> cases = {
        {"57442d313233", "WD-123"},  // hexadecimal pairs of printable characters
        {"20574 ", " W@"},          // a blank counts as 0
        {" 4 3", " 4 3"},            // pairs, but not printable once decoded: the text itself is printable
        {"WD-123", "WD-123"},
        {"abc", "abc"},              // odd length cannot be pairs
        {"\x01x", ""},              // neither
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeDescriptorSerial(c.serial), c.decoded) << c.serial;
    }
    EXPECT_EQ(SwapNeighbourPairs("WD-123"), "DW1-32");
    EXPECT_EQ(SwapNeighbourPairs("abc"), "bac");
}

TEST(DiskTexts, Mid2SkipsRemovableAndExternalOrVirtualBuses)
{
    for (int bus : {1, 4, 7, 10, 14, 15}) {
        EXPECT_FALSE(IsDriveUsableForMid2(false, bus)) << bus;
    }
    for (int bus : {3, 8, 11, 17}) {  // ATA, RAID, SATA, NVMe
        EXPECT_TRUE(IsDriveUsableForMid2(false, bus)) << bus;
    }
    EXPECT_FALSE(IsDriveUsableForMid2(true, 11));
}

TEST(AdapterTexts, WiredLowestWinsOverWireless)
{
    EXPECT_EQ(ChooseAdapterAddress({{"BB0000000000", false}, {"AA0000000000", true}, {"BA0000000000", false}}),
              "BA0000000000");
    EXPECT_EQ(ChooseAdapterAddress({{"CC0000000000", true}, {"AA0000000000", true}}), "AA0000000000");
    EXPECT_EQ(ChooseAdapterAddress({}), "");
    const unsigned char bytes[6] = {0x00, 0x1a, 0x2b, 0xc3, 0xd4, 0xef};
    EXPECT_EQ(FormatHardwareAddress(bytes), "001A2BC3D4EF");
}

TEST(AdapterTexts, WirelessKindsFollowDescriptionsAndTypes)
{
    EXPECT_TRUE(IsWirelessAdapter(L"Intel(R) WIRELESS-AC 9560", L"ethernet"));
    EXPECT_TRUE(IsWirelessAdapter(L"Some adapter", L"ethernet,WLAN"));
    EXPECT_TRUE(IsWirelessAdapter(L"Some adapter", L"vWiFi"));
    EXPECT_FALSE(IsWirelessAdapter(L"Realtek PCIe GbE", L"ndis5,ethernet"));
    bool wireless = false;
    EXPECT_TRUE(ClassifyListedAdapter(71, "anything", wireless));
    EXPECT_TRUE(wireless);
    EXPECT_TRUE(ClassifyListedAdapter(6, "USB WiFi dongle", wireless));
    EXPECT_TRUE(wireless);
    EXPECT_TRUE(ClassifyListedAdapter(6, "Gigabit Ethernet", wireless));
    EXPECT_FALSE(wireless);
    EXPECT_FALSE(ClassifyListedAdapter(24, "loopback", wireless));
    EXPECT_EQ(FixedVendorText("GenuineIotel"), "GenuineIntel");
    EXPECT_EQ(FixedVendorText("AuthenticAMD"), "AuthenticAMD");
}

// ---- the caches, in this prefix's registry ----

class MachineIdCache : public testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }

    static void Clear()
    {
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, machine_id::kMidKey);
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, machine_id::kMid2Key, KEY_WOW64_32KEY, 0);
    }

    static void PutMid(const char* name, const std::string& value)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, machine_id::kMidKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }

    static std::string Mid(const char* name)
    {
        char data[256] = {};
        DWORD size = sizeof(data) - 1;
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, machine_id::kMidKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
            return "<none>";
        }
        const LONG result = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
        RegCloseKey(key);
        return result == ERROR_SUCCESS ? std::string(data) : "<none>";
    }

    static void PutMid2(const wchar_t* name, const std::wstring& value)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, machine_id::kMid2Key, 0, nullptr, 0,
                                  KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }

    static std::wstring Mid2(const wchar_t* name)
    {
        return RegReadString(HKEY_LOCAL_MACHINE, machine_id::kMid2Key, name, MAX_PATH, KEY_WOW64_32KEY)
            .value_or(L"<none>");
    }
};

TEST_F(MachineIdCache, MidIsHashedFromTheSourcesAndStoredWithItsCheck)
{
    FakeSources sources;
    sources.disk = kDisk;
    sources.address = kAddress;
    const std::string id = ComputeMid(sources);
    EXPECT_EQ(id, MidHash(sources.cpu + kDisk + kAddress));
    EXPECT_EQ(Mid("mid"), id + MidHash(id));
    EXPECT_EQ(Mid("mid_old"), "<none>");

    FakeSources later;
    later.reads = 0;
    EXPECT_EQ(ComputeMid(later), id);  // a valid cache answers without reading the hardware
    EXPECT_EQ(later.reads, 0);
}

TEST_F(MachineIdCache, AStoredMidWithABadCheckIsRecomputedAndKeptAsTheOldValue)
{
    const std::string damaged = std::string(32, 'a') + std::string(32, 'b');
    PutMid("mid", damaged);
    FakeSources sources;
    const std::string id = ComputeMid(sources);
    EXPECT_EQ(id, MidHash(sources.cpu));
    EXPECT_EQ(Mid("mid"), id + MidHash(id));
    EXPECT_EQ(Mid("mid_old"), damaged);
}

TEST_F(MachineIdCache, ACheckInUpperCaseStillHolds)
{
    const std::string id(32, '1');
    std::string check = MidHash(id);
    for (char& c : check) {
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    }
    PutMid("mid", id + check);
    FakeSources sources;
    EXPECT_EQ(ComputeMid(sources), id);
}

TEST_F(MachineIdCache, NothingReadGivesTheFailureHashWhichIsNeverStored)
{
    FakeSources sources;
    sources.cpu.clear();
    EXPECT_EQ(ComputeMid(sources), MidHash("Mid2Failed"));
    EXPECT_EQ(Mid("mid"), "<none>");
}

TEST_F(MachineIdCache, AFreshMid2IsStoredAndAValidCacheServesTheNonElevated)
{
    FakeSources elevated;
    elevated.address2Reads = {kAddress};
    elevated.disk2Reads = {kDisk};
    EXPECT_EQ(ComputeMid2(elevated), kHashedElevated);
    EXPECT_TRUE(elevated.waits.empty());  // both read at once: no retry
    EXPECT_EQ(Mid2(L"m2"), kHashedElevated);
    EXPECT_EQ(Mid2(L"m2_old"), L"<none>");

    FakeSources plain;
    plain.elevated = false;
    EXPECT_EQ(ComputeMid2(plain), kHashedElevated);
    EXPECT_EQ(plain.reads, 0);
}

TEST_F(MachineIdCache, ElevatedAndPlainProcessesComputingFreshDifferInPrefixAndChecksumOnly)
{
    FakeSources plain;
    plain.elevated = false;
    plain.address2Reads = {kAddress};
    plain.disk2Reads = {kDisk};
    const std::wstring plainValue = ComputeMid2(plain);
    EXPECT_EQ(plainValue, kHashedNotElevated);
    EXPECT_EQ(std::wstring(kHashedElevated).substr(8, 34), plainValue.substr(8, 34));
}

TEST_F(MachineIdCache, AnElevatedProcessReplacesADifferentCacheAndKeepsTheOldOne)
{
    const std::wstring previous = L"5a40d98fc026beea33acafddca078d1ce03de46c2bbd";
    PutMid2(L"m2", previous);
    FakeSources sources;
    sources.address2Reads = {kAddress};
    sources.disk2Reads = {kDisk};
    EXPECT_EQ(ComputeMid2(sources), kHashedElevated);
    EXPECT_EQ(Mid2(L"m2"), kHashedElevated);
    EXPECT_EQ(Mid2(L"m2_old"), previous);
}

TEST_F(MachineIdCache, AnElevatedProcessWhoseHardwareMatchesTheCacheNeitherWaitsNorStores)
{
    PutMid2(L"m2", kHashedElevated);
    FakeSources sources;
    sources.address2Reads = {kAddress};
    sources.disk2Reads = {kDisk};
    EXPECT_EQ(ComputeMid2(sources), kHashedElevated);
    EXPECT_TRUE(sources.waits.empty());
    EXPECT_EQ(Mid2(L"m2_old"), L"<none>");
}

TEST_F(MachineIdCache, CachesOfTheWrongLengthAreIgnored)
{
    for (const std::wstring& bad : {std::wstring(kHashedNotElevated).substr(0, 43), std::wstring(kHashedNotElevated) + L"0"}) {
        PutMid2(L"m2", bad);
        FakeSources plain;
        plain.elevated = false;
        plain.address2Reads = {kAddress};
        plain.disk2Reads = {kDisk};
        EXPECT_EQ(ComputeMid2(plain), kHashedNotElevated) << bad.size();
        EXPECT_EQ(Mid2(L"m2_old"), L"<none>");  // an invalid value is not worth keeping
    }
}

TEST_F(MachineIdCache, WithoutAddressOrDiskTheRandomIdIsStoredAndThenReused)
{
    FakeSources first;
    EXPECT_EQ(ComputeMid2(first), kRandom);
    EXPECT_EQ(first.waits, std::vector<unsigned long>{500});
    EXPECT_EQ(Mid2(L"m2"), kRandom);

    FakeSources again;  // another elevated run, still without hardware
    again.guidAvailable = false;
    EXPECT_EQ(ComputeMid2(again), kRandom);
    EXPECT_EQ(Mid2(L"m2_old"), L"<none>");
}

TEST_F(MachineIdCache, APartAppearingOnTheRetryIsComposedIn)
{
    FakeSources sources;
    sources.address2Reads = {kAddress};
    sources.disk2Reads = {"", kDisk};  // the disk answers only the second time
    EXPECT_EQ(ComputeMid2(sources), kHashedElevated);
    EXPECT_EQ(sources.waits, std::vector<unsigned long>{500});
    EXPECT_EQ(Mid2(L"m2"), kHashedElevated);
}

TEST_F(MachineIdCache, HardwareReplacesAPlaceholderCache)
{
    PutMid2(L"m2", kRandom);
    FakeSources sources;
    sources.address2Reads = {kAddress};
    const std::wstring value = ComputeMid2(sources);
    EXPECT_EQ(value, L"8f150c297d7dbdca2810569b62f7c4a5aac574ba29a4");
    EXPECT_EQ(Mid2(L"m2"), value);
    EXPECT_EQ(Mid2(L"m2_old"), kRandom);
}

// ---- the real machine, as Wine presents it ----

TEST(MachineIdOnWine, TheRealSourcesGiveStableIdentifiers)
{
    RecordProperty("processor_mid", ProcessorTextForMid());
    RecordProperty("processor_mid2", ProcessorTextForMid2());
    RecordProperty("disk_mid", DiskIdForMid());
    RecordProperty("disk_mid2", DiskIdForMid2());
    RecordProperty("address_mid", NetworkAddressForMid());
    RecordProperty("address_mid2", NetworkAddressForMid2());
    EXPECT_TRUE(std::regex_match(ProcessorTextForMid(), std::regex(".{12}:[0-9a-f]{8}")));

    wchar_t first[MAX_PATH] = {};
    wchar_t second[MAX_PATH] = {};
    ASSERT_TRUE(GetMidW(first, MAX_PATH));
    ASSERT_TRUE(GetMidW(second, MAX_PATH));
    EXPECT_TRUE(std::regex_match(std::wstring(first), std::wregex(L"[0-9a-f]{32}")));
    EXPECT_STREQ(first, second);
    EXPECT_FALSE(GetMidW(nullptr, MAX_PATH));
    EXPECT_FALSE(GetMidW(first, 0));
    RecordProperty("mid", std::string(first, first + 32));

    std::vector<std::wstring> answers(4);
    std::vector<std::thread> threads;
    for (std::wstring& answer : answers) {
        threads.emplace_back([&answer] {
            wchar_t buffer[kMid2MinCapacity] = {};
            if (GetMid2(buffer, kMid2MinCapacity) == S_OK) {
                answer = buffer;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_TRUE(IsValidMid2(answers[0])) << testing::PrintToString(answers[0]);
    EXPECT_EQ(std::set<std::wstring>(answers.begin(), answers.end()).size(), 1u);
    RecordProperty("mid2", std::string(answers[0].begin(), answers[0].end()));
    wchar_t small[kMid2MinCapacity - 1] = {};
    EXPECT_EQ(GetMid2(small, kMid2MinCapacity - 1), E_INVALIDARG);
}

}  // namespace
