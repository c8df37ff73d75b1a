// The callbacks the archive library calls while it opens the configuration archive and extracts it.
#pragma once

#include "base/ScopedHandle.h"
#include "config/ArchiveStreams.h"

#include <string>

// Open progress is ignored; no password is defined, so an encrypted archive cannot be opened.
class CArchiveOpenCallback : public archive::IArchiveOpenCallback,
                             public archive::ICryptoGetTextPassword,
                             public CMyUnknownImp {
public:
    STDMETHOD(QueryInterface)(REFIID iid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override { return AddRefImpl(); }
    STDMETHOD_(ULONG, Release)() override { return ReleaseImpl(); }
    STDMETHOD(SetTotal)(const UINT64* files, const UINT64* bytes) override;
    STDMETHOD(SetCompleted)(const UINT64* files, const UINT64* bytes) override;
    STDMETHOD(CryptoGetTextPassword)(BSTR* password) override;
};

// Hands the library one output file per item below the target directory and records the results.
class CArchiveExtractCallback : public archive::IArchiveExtractCallback,
                                public archive::ICryptoGetTextPassword,
                                public CMyUnknownImp {
public:
    CArchiveExtractCallback(archive::IInArchive* archive, const std::wstring& targetDir,
                            archive::IProgress* listener);

    // Items that could not be written or whose data were damaged.
    int FailedItems() const { return failedItems_; }

    STDMETHOD(QueryInterface)(REFIID iid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override { return AddRefImpl(); }
    STDMETHOD_(ULONG, Release)() override { return ReleaseImpl(); }
    STDMETHOD(SetTotal)(UINT64 total) override;
    STDMETHOD(SetCompleted)(const UINT64* completeValue) override;
    STDMETHOD(GetStream)(UINT32 index, archive::ISequentialOutStream** outStream, INT32 askExtractMode) override;
    STDMETHOD(PrepareOperation)(INT32 askExtractMode) override;
    STDMETHOD(SetOperationResult)(INT32 operationResult) override;
    STDMETHOD(CryptoGetTextPassword)(BSTR* password) override;

private:
    struct Item {
        std::wstring path;
        DWORD attributes = 0;
        bool hasAttributes = false;
        bool isDirectory = false;
        FILETIME modified = {};
        bool hasModified = false;
    };

    bool ReadItem(UINT32 index, Item& item);
    // Opens the output file of a file item; false (item failed) when it cannot be made.
    bool OpenOutput(const std::wstring& path);
    void FinishOutput();

    archive::IInArchive* archive_;
    std::wstring targetDir_;
    archive::IProgress* listener_;
    Item item_;
    std::wstring outputPath_;
    ComPtr<COutFileStream> output_;
    int failedItems_ = 0;
};
