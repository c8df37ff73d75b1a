// File streams and the reference-counting base of the objects handed to the archive library.
#pragma once

#include "base/ScopedHandle.h"
#include "config/ArchiveInterfaces.h"

#include <initializer_list>
#include <string>
#include <utility>

// Reference counting for the library's callback and stream objects; deleted at the last release.
class CMyUnknownImp {
public:
    virtual ~CMyUnknownImp() = default;

protected:
    using InterfaceEntry = std::pair<const GUID*, IUnknown*>;

    ULONG AddRefImpl() { return InterlockedIncrement(&references_); }
    ULONG ReleaseImpl();
    // Answers the interfaces of the table (IUnknown with the first); others get E_NOINTERFACE and null.
    static HRESULT Answer(REFIID iid, void** object, std::initializer_list<InterfaceEntry> table);

private:
    LONG references_ = 0;
};

// Reads the temporary archive file.
class CInFileStream : public archive::IInStream, public archive::IStreamGetSize, public CMyUnknownImp {
public:
    // Opens path for reading; false when it cannot be opened.
    bool Open(const std::wstring& path);

    STDMETHOD(QueryInterface)(REFIID iid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override { return AddRefImpl(); }
    STDMETHOD_(ULONG, Release)() override { return ReleaseImpl(); }
    STDMETHOD(Read)(void* data, UINT32 size, UINT32* processedSize) override;
    STDMETHOD(Seek)(INT64 offset, UINT32 seekOrigin, UINT64* newPosition) override;
    STDMETHOD(GetSize)(UINT64* size) override;

private:
    UniqueHandle file_;
};

// Writes one extracted file.
class COutFileStream : public archive::IOutStream, public CMyUnknownImp {
public:
    // Creates path anew; false when it cannot be created.
    bool Create(const std::wstring& path);
    void SetModificationTime(const FILETIME& time);
    void Close();

    STDMETHOD(QueryInterface)(REFIID iid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override { return AddRefImpl(); }
    STDMETHOD_(ULONG, Release)() override { return ReleaseImpl(); }
    STDMETHOD(Write)(const void* data, UINT32 size, UINT32* processedSize) override;
    STDMETHOD(Seek)(INT64 offset, UINT32 seekOrigin, UINT64* newPosition) override;
    STDMETHOD(SetSize)(UINT64 newSize) override;

private:
    UniqueHandle file_;
};
