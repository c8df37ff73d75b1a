// The few interfaces of the 7-Zip archive library that the configuration unpacking uses, declared
// with the library's interface ids and operation order (no virtual destructors: they would add slots).
#pragma once

#include <windows.h>
#include <objbase.h>
#include <propidl.h>

namespace archive {

// {23170F69-40C1-278A-0000-00gg00ss0000}: group and sub number of a library interface.
constexpr GUID LibraryInterfaceId(unsigned char group, unsigned char sub)
{
    return GUID{0x23170F69, 0x40C1, 0x278A, {0, 0, 0, group, 0, sub, 0, 0}};
}

// The 7z format handler.
constexpr GUID kSevenZipFormatClassId = {0x23170F69, 0x40C1, 0x278A, {0x10, 0x00, 0x00, 0x01, 0x10, 0x07, 0x00, 0x00}};

constexpr GUID kIidProgress = LibraryInterfaceId(0, 0x05);
constexpr GUID kIidSequentialInStream = LibraryInterfaceId(3, 0x01);
constexpr GUID kIidSequentialOutStream = LibraryInterfaceId(3, 0x02);
constexpr GUID kIidInStream = LibraryInterfaceId(3, 0x03);
constexpr GUID kIidOutStream = LibraryInterfaceId(3, 0x04);
constexpr GUID kIidStreamGetSize = LibraryInterfaceId(3, 0x06);
constexpr GUID kIidCryptoGetTextPassword = LibraryInterfaceId(5, 0x10);
constexpr GUID kIidArchiveOpenCallback = LibraryInterfaceId(6, 0x10);
constexpr GUID kIidArchiveExtractCallback = LibraryInterfaceId(6, 0x20);
constexpr GUID kIidInArchive = LibraryInterfaceId(6, 0x60);

// Item properties.
constexpr PROPID kpidPath = 3;
constexpr PROPID kpidIsDir = 6;
constexpr PROPID kpidAttrib = 9;
constexpr PROPID kpidMTime = 12;

// Extraction modes and results.
constexpr INT32 kAskModeExtract = 0;
constexpr INT32 kOperationResultOk = 0;

struct ISequentialInStream : public IUnknown {
    STDMETHOD(Read)(void* data, UINT32 size, UINT32* processedSize) = 0;
};

struct ISequentialOutStream : public IUnknown {
    STDMETHOD(Write)(const void* data, UINT32 size, UINT32* processedSize) = 0;
};

struct IInStream : public ISequentialInStream {
    STDMETHOD(Seek)(INT64 offset, UINT32 seekOrigin, UINT64* newPosition) = 0;
};

struct IOutStream : public ISequentialOutStream {
    STDMETHOD(Seek)(INT64 offset, UINT32 seekOrigin, UINT64* newPosition) = 0;
    STDMETHOD(SetSize)(UINT64 newSize) = 0;
};

struct IStreamGetSize : public IUnknown {
    STDMETHOD(GetSize)(UINT64* size) = 0;
};

struct IProgress : public IUnknown {
    STDMETHOD(SetTotal)(UINT64 total) = 0;
    STDMETHOD(SetCompleted)(const UINT64* completeValue) = 0;
};

struct ICryptoGetTextPassword : public IUnknown {
    STDMETHOD(CryptoGetTextPassword)(BSTR* password) = 0;
};

struct IArchiveOpenCallback : public IUnknown {
    STDMETHOD(SetTotal)(const UINT64* files, const UINT64* bytes) = 0;
    STDMETHOD(SetCompleted)(const UINT64* files, const UINT64* bytes) = 0;
};

struct IArchiveExtractCallback : public IProgress {
    STDMETHOD(GetStream)(UINT32 index, ISequentialOutStream** outStream, INT32 askExtractMode) = 0;
    STDMETHOD(PrepareOperation)(INT32 askExtractMode) = 0;
    STDMETHOD(SetOperationResult)(INT32 operationResult) = 0;
};

struct IInArchive : public IUnknown {
    STDMETHOD(Open)(IInStream* stream, const UINT64* maxCheckStartPosition, IArchiveOpenCallback* openCallback) = 0;
    STDMETHOD(Close)() = 0;
    STDMETHOD(GetNumberOfItems)(UINT32* numItems) = 0;
    STDMETHOD(GetProperty)(UINT32 index, PROPID propId, PROPVARIANT* value) = 0;
    STDMETHOD(Extract)(const UINT32* indices, UINT32 numItems, INT32 testMode,
                       IArchiveExtractCallback* extractCallback) = 0;
    STDMETHOD(GetArchiveProperty)(PROPID propId, PROPVARIANT* value) = 0;
    STDMETHOD(GetNumberOfProperties)(UINT32* numProps) = 0;
    STDMETHOD(GetPropertyInfo)(UINT32 index, BSTR* name, PROPID* propId, VARTYPE* varType) = 0;
    STDMETHOD(GetNumberOfArchiveProperties)(UINT32* numProps) = 0;
    STDMETHOD(GetArchivePropertyInfo)(UINT32 index, BSTR* name, PROPID* propId, VARTYPE* varType) = 0;
};

// The library's one export: creates an object of a class for an interface.
using CreateObjectFn = HRESULT(WINAPI*)(const GUID* classId, const GUID* interfaceId, void** object);

}  // namespace archive
