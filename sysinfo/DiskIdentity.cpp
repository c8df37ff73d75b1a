#include "sysinfo/DiskIdentity.h"

#include "base/ScopedHandle.h"
#include "base/StringUtil.h"
#include "sysinfo/OSVersionCheck.h"

#include <windows.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include <cctype>
#include <vector>

namespace {

constexpr DWORD kScsiMiniportIdentify = 0x1B0501;
constexpr DWORD kPropertyBufferSize = 10000;
constexpr BYTE kIdentifyDevice = 0xEC;
constexpr BYTE kIdentifyPacketDevice = 0xA1;
constexpr size_t kIdentifyBytes = 512;

enum class IdentifyCommand { ByDeviceMap, AlwaysAta };

// What one drive answered: whether it answered at all, and the text it gave.
struct DriveAnswer {
    bool answered = false;
    std::string text;
};

UniqueHandle OpenDevice(const std::wstring& name, DWORD access, DWORD share)
{
    return UniqueHandle(CreateFileW(name.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr));
}

std::wstring PhysicalDriveName(int drive) { return FormatString(L"\\\\.\\PhysicalDrive%d", drive); }

bool IsPrintable(unsigned char c) { return c >= 0x20 && c < 0x7f; }

int HexValue(char c)
{
    if (c == ' ') {
        return 0;
    }
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

bool DecodeHexPairs(const std::string& serial, std::string& decoded)
{
    if (serial.empty() || serial.size() % 2 != 0) {
        return false;
    }
    decoded.clear();
    for (size_t i = 0; i < serial.size(); i += 2) {
        const int high = HexValue(serial[i]);
        const int low = HexValue(serial[i + 1]);
        if (high < 0 || low < 0 || !IsPrintable(static_cast<unsigned char>(high * 16 + low))) {
            return false;
        }
        decoded += static_cast<char>(high * 16 + low);
    }
    return true;
}

// SMART identify through an open drive: IDENTIFY PACKET DEVICE for drives the device map marks as
// ATAPI (unless told to always use IDENTIFY DEVICE), words 10 to 19 of the answer.
DriveAnswer SmartIdentify(HANDLE device, int drive, IdentifyCommand command)
{
    GETVERSIONINPARAMS version = {};
    DWORD returned = 0;
    if (!DeviceIoControl(device, SMART_GET_VERSION, nullptr, 0, &version, sizeof(version), &returned, nullptr)) {
        return {};
    }
    const unsigned map = version.bIDEDeviceMap >> (drive % 4);
    if ((map & 0x11) == 0) {
        return {};
    }
    SENDCMDINPARAMS in = {};
    in.cBufferSize = kIdentifyBytes;
    in.irDriveRegs.bSectorCountReg = 1;
    in.irDriveRegs.bSectorNumberReg = 1;
    in.irDriveRegs.bDriveHeadReg = static_cast<BYTE>(0xA0 | ((drive & 1) << 4));
    const bool atapi = command == IdentifyCommand::ByDeviceMap && (map & 0x10) != 0;
    in.irDriveRegs.bCommandReg = atapi ? kIdentifyPacketDevice : kIdentifyDevice;
    in.bDriveNumber = static_cast<BYTE>(drive);
    std::vector<BYTE> out(sizeof(SENDCMDOUTPARAMS) + kIdentifyBytes, 0);
    if (!DeviceIoControl(device, SMART_RCV_DRIVE_DATA, &in, sizeof(in) - 1, out.data(), static_cast<DWORD>(out.size()),
                         &returned, nullptr)) {
        return {};
    }
    const auto* answer = reinterpret_cast<const SENDCMDOUTPARAMS*>(out.data());
    return {true, IdentifySerialText(reinterpret_cast<const uint16_t*>(answer->bBuffer))};
}

DriveAnswer SmartDrive(int drive, DWORD share, IdentifyCommand command)
{
    UniqueHandle device = OpenDevice(PhysicalDriveName(drive), GENERIC_READ | GENERIC_WRITE, share);
    return device ? SmartIdentify(device.Get(), drive, command) : DriveAnswer();
}

DriveAnswer ScsiMiniportDrive(int controller)
{
    UniqueHandle device = OpenDevice(FormatString(L"\\\\.\\Scsi%d:", controller), GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (!device) {
        return {};
    }
    constexpr DWORD kAnswerLength = sizeof(SENDCMDOUTPARAMS) + kIdentifyBytes - 1;
    std::vector<BYTE> buffer(sizeof(SRB_IO_CONTROL) + kAnswerLength + sizeof(SENDCMDINPARAMS), 0);
    auto* control = reinterpret_cast<SRB_IO_CONTROL*>(buffer.data());
    control->HeaderLength = sizeof(SRB_IO_CONTROL);
    memcpy(control->Signature, "SCSIDISK", 8);
    control->Timeout = 10000;
    control->ControlCode = kScsiMiniportIdentify;
    control->Length = kAnswerLength;
    auto* in = reinterpret_cast<SENDCMDINPARAMS*>(buffer.data() + sizeof(SRB_IO_CONTROL));
    in->irDriveRegs.bCommandReg = kIdentifyDevice;
    DWORD returned = 0;
    if (!DeviceIoControl(device.Get(), IOCTL_SCSI_MINIPORT, buffer.data(),
                         sizeof(SRB_IO_CONTROL) + sizeof(SENDCMDINPARAMS) - 1, buffer.data(),
                         sizeof(SRB_IO_CONTROL) + kAnswerLength, &returned, nullptr)) {
        return {};
    }
    const auto* answer = reinterpret_cast<const SENDCMDOUTPARAMS*>(buffer.data() + sizeof(SRB_IO_CONTROL));
    return {true, IdentifySerialText(reinterpret_cast<const uint16_t*>(answer->bBuffer))};
}

// The standard device descriptor of a drive opened without access rights; empty when not answered.
std::vector<BYTE> QueryDescriptor(int drive)
{
    UniqueHandle device = OpenDevice(PhysicalDriveName(drive), 0, FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (!device) {
        return {};
    }
    STORAGE_PROPERTY_QUERY query = {};
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;
    std::vector<BYTE> buffer(kPropertyBufferSize, 0);
    DWORD returned = 0;
    if (!DeviceIoControl(device.Get(), IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof(query), buffer.data(),
                         kPropertyBufferSize, &returned, nullptr) ||
        returned < sizeof(STORAGE_DEVICE_DESCRIPTOR) - 1) {
        return {};
    }
    buffer.resize(returned);
    return buffer;
}

// A zero-terminated text inside the descriptor, bounded by what the driver returned.
std::string DescriptorText(const std::vector<BYTE>& descriptor, DWORD offset)
{
    if (offset == 0 || offset >= descriptor.size()) {
        return std::string();
    }
    std::string text;
    for (size_t i = offset; i < descriptor.size() && descriptor[i] != 0; ++i) {
        text += static_cast<char>(descriptor[i]);
    }
    return text;
}

const STORAGE_DEVICE_DESCRIPTOR& AsDescriptor(const std::vector<BYTE>& bytes)
{
    return *reinterpret_cast<const STORAGE_DEVICE_DESCRIPTOR*>(bytes.data());
}

DriveAnswer PropertyQueryDrive(int drive)
{
    const std::vector<BYTE> descriptor = QueryDescriptor(drive);
    if (descriptor.empty()) {
        return {};
    }
    const std::string serial = DescriptorText(descriptor, AsDescriptor(descriptor).SerialNumberOffset);
    return {true, SwapNeighbourPairs(DecodeDescriptorSerial(serial))};
}

// Scans the drives until one answers; that drive's text (possibly empty) is the source's result.
template <typename Query>
std::string FirstAnsweringDrive(Query query)
{
    for (int drive = 0; drive < kDiskScanCount; ++drive) {
        DriveAnswer answer = query(drive);
        if (answer.answered) {
            return answer.text;
        }
    }
    return std::string();
}

bool SwapsDescriptorSerial()
{
    const OSVERSIONINFOEXW& version = COSVersionCheck::Instance()->Version();
    return version.dwMajorVersion < 6 || (version.dwMajorVersion == 6 && version.dwMinorVersion <= 1);
}

std::string Mid2DriveText(int drive)
{
    const std::vector<BYTE> descriptor = QueryDescriptor(drive);
    if (descriptor.empty()) {
        return std::string();
    }
    const STORAGE_DEVICE_DESCRIPTOR& header = AsDescriptor(descriptor);
    if (!IsDriveUsableForMid2(header.RemovableMedia != 0, header.BusType)) {
        return std::string();
    }
    std::string text = SmartDrive(drive, FILE_SHARE_READ | FILE_SHARE_WRITE, IdentifyCommand::ByDeviceMap).text;
    if (!text.empty()) {
        return text;
    }
    text = DecodeDescriptorSerial(DescriptorText(descriptor, header.SerialNumberOffset));
    if (SwapsDescriptorSerial()) {
        text = SwapNeighbourPairs(text);
    }
    return text + TrimBlanks(DescriptorText(descriptor, header.VendorIdOffset)) +
           TrimBlanks(DescriptorText(descriptor, header.ProductIdOffset));
}

}  // namespace

std::string IdentifySerialText(const uint16_t* identifyWords)
{
    std::string text;
    for (int word = 10; word < 20; ++word) {
        const char high = static_cast<char>(identifyWords[word] >> 8);
        const char low = static_cast<char>(identifyWords[word] & 0xff);
        if (high == 0) {
            break;
        }
        text += high;
        if (low == 0) {
            break;
        }
        text += low;
    }
    const size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

std::string DecodeDescriptorSerial(const std::string& serial)
{
    std::string decoded;
    if (DecodeHexPairs(serial, decoded)) {
        return decoded;
    }
    for (unsigned char c : serial) {
        if (!IsPrintable(c)) {
            return std::string();
        }
    }
    return serial;
}

std::string SwapNeighbourPairs(std::string text)
{
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        std::swap(text[i], text[i + 1]);
    }
    return text;
}

bool IsDriveUsableForMid2(bool removable, int busType)
{
    if (removable) {
        return false;
    }
    switch (busType) {
    case 1:   // SCSI
    case 4:   // IEEE 1394
    case 7:   // USB
    case 10:  // SAS
    case 14:  // virtual
    case 15:  // file-backed virtual
        return false;
    default:
        return true;
    }
}

std::string DiskIdForMid()
{
    constexpr DWORD kShared = FILE_SHARE_READ | FILE_SHARE_WRITE;
    std::string text =
        FirstAnsweringDrive([](int d) { return SmartDrive(d, kShared, IdentifyCommand::ByDeviceMap); });
    if (text.empty()) {
        text = FirstAnsweringDrive(ScsiMiniportDrive);
    }
    if (text.empty()) {
        text = FirstAnsweringDrive(PropertyQueryDrive);
    }
    if (text.empty()) {
        text = FirstAnsweringDrive(
            [](int d) { return SmartDrive(d, kShared | FILE_SHARE_DELETE, IdentifyCommand::AlwaysAta); });
    }
    return text.substr(0, kMidDiskTextLimit);
}

std::string DiskIdForMid2()
{
    for (int drive = 0; drive < kDiskScanCount; ++drive) {
        std::string text = Mid2DriveText(drive);
        if (!text.empty()) {
            return text;
        }
    }
    return std::string();
}
