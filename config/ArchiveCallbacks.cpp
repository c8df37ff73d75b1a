#include "config/ArchiveCallbacks.h"

#include "base/PathUtil.h"

namespace {

// Output paths are built in buffers of this many characters.
constexpr size_t kMaxOutputPath = MAX_PATH - 1;
constexpr wchar_t kUnnamedItem[] = L"[Content]";
// The Windows part of an item's attributes (archives made elsewhere keep other modes in the high bits).
constexpr DWORD kWindowsAttributeBits = 0x7FFF & ~FILE_ATTRIBUTE_DIRECTORY;

// A path inside the archive that stays below the target: relative, without ".." components.
bool IsContainedPath(const std::wstring& path)
{
    if (path.empty() || path[0] == L'\\' || path[0] == L'/' || path.find(L':') != std::wstring::npos) {
        return false;
    }
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = path.find_first_of(L"\\/", start);
        const std::wstring part = path.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (part == L"..") {
            return false;
        }
        if (end == std::wstring::npos) {
            break;
        }
        start = end + 1;
    }
    return true;
}

class PropVariant {
public:
    PropVariant() { PropVariantInit(&value_); }
    ~PropVariant() { PropVariantClear(&value_); }
    PropVariant(const PropVariant&) = delete;
    PropVariant& operator=(const PropVariant&) = delete;
    PROPVARIANT* Put()
    {
        PropVariantClear(&value_);
        return &value_;
    }
    const PROPVARIANT& Get() const { return value_; }

private:
    PROPVARIANT value_;
};

}  // namespace

STDMETHODIMP CArchiveOpenCallback::QueryInterface(REFIID iid, void** object)
{
    return Answer(iid, object,
                  {{&archive::kIidArchiveOpenCallback, static_cast<archive::IArchiveOpenCallback*>(this)},
                   {&archive::kIidCryptoGetTextPassword, static_cast<archive::ICryptoGetTextPassword*>(this)}});
}

STDMETHODIMP CArchiveOpenCallback::SetTotal(const UINT64*, const UINT64*) { return S_OK; }

STDMETHODIMP CArchiveOpenCallback::SetCompleted(const UINT64*, const UINT64*) { return S_OK; }

STDMETHODIMP CArchiveOpenCallback::CryptoGetTextPassword(BSTR*) { return E_ABORT; }

CArchiveExtractCallback::CArchiveExtractCallback(archive::IInArchive* archive, const std::wstring& targetDir,
                                                 archive::IProgress* listener)
    : archive_(archive), targetDir_(targetDir), listener_(listener)
{
}

STDMETHODIMP CArchiveExtractCallback::QueryInterface(REFIID iid, void** object)
{
    IUnknown* extract = static_cast<archive::IArchiveExtractCallback*>(this);
    return Answer(iid, object,
                  {{&archive::kIidArchiveExtractCallback, extract},
                   {&archive::kIidProgress, extract},
                   {&archive::kIidCryptoGetTextPassword, static_cast<archive::ICryptoGetTextPassword*>(this)}});
}

STDMETHODIMP CArchiveExtractCallback::SetTotal(UINT64 total)
{
    return listener_ != nullptr ? listener_->SetTotal(total) : S_OK;
}

STDMETHODIMP CArchiveExtractCallback::SetCompleted(const UINT64* completeValue)
{
    return listener_ != nullptr ? listener_->SetCompleted(completeValue) : S_OK;
}

bool CArchiveExtractCallback::ReadItem(UINT32 index, Item& item)
{
    item = Item();
    PropVariant value;
    if (FAILED(archive_->GetProperty(index, archive::kpidPath, value.Put()))) {
        return false;
    }
    if (value.Get().vt == VT_BSTR && value.Get().bstrVal != nullptr) {
        item.path = value.Get().bstrVal;
    } else if (value.Get().vt != VT_EMPTY) {
        return false;
    }
    if (item.path.empty()) {
        item.path = kUnnamedItem;
    }
    if (SUCCEEDED(archive_->GetProperty(index, archive::kpidAttrib, value.Put())) && value.Get().vt == VT_UI4) {
        item.attributes = value.Get().ulVal;
        item.hasAttributes = true;
    }
    if (SUCCEEDED(archive_->GetProperty(index, archive::kpidIsDir, value.Put())) && value.Get().vt == VT_BOOL) {
        item.isDirectory = value.Get().boolVal != VARIANT_FALSE;
    }
    if (SUCCEEDED(archive_->GetProperty(index, archive::kpidMTime, value.Put())) && value.Get().vt == VT_FILETIME) {
        item.modified = value.Get().filetime;
        item.hasModified = true;
    }
    return true;
}

bool CArchiveExtractCallback::OpenOutput(const std::wstring& path)
{
    CreateDirectoryTree(PathDirectory(path));
    if (PathExists(path)) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileW(path.c_str())) {
            return false;
        }
    }
    ComPtr<COutFileStream> stream(new COutFileStream());
    if (!stream->Create(path)) {
        return false;
    }
    output_ = stream;
    return true;
}

STDMETHODIMP CArchiveExtractCallback::GetStream(UINT32 index, archive::ISequentialOutStream** outStream,
                                                INT32 askExtractMode)
{
    if (outStream == nullptr) {
        return E_POINTER;
    }
    *outStream = nullptr;
    output_.Reset();
    outputPath_.clear();
    if (!ReadItem(index, item_)) {
        ++failedItems_;
        return S_OK;
    }
    if (askExtractMode != archive::kAskModeExtract) {
        return S_OK;
    }
    const std::wstring path = PathJoin(targetDir_, item_.path);
    if (!IsContainedPath(item_.path) || path.size() > kMaxOutputPath) {
        ++failedItems_;
        return S_OK;
    }
    if (item_.isDirectory) {
        CreateDirectoryTree(path);
        return S_OK;
    }
    if (!OpenOutput(path)) {
        ++failedItems_;
        return S_OK;
    }
    outputPath_ = path;
    output_->AddRef();
    *outStream = output_.Get();
    return S_OK;
}

STDMETHODIMP CArchiveExtractCallback::PrepareOperation(INT32) { return S_OK; }

void CArchiveExtractCallback::FinishOutput()
{
    if (!output_) {
        return;
    }
    if (item_.hasModified) {
        output_->SetModificationTime(item_.modified);
    }
    output_->Close();
    output_.Reset();
    if (item_.hasAttributes) {
        SetFileAttributesW(outputPath_.c_str(), item_.attributes & kWindowsAttributeBits);
    }
}

STDMETHODIMP CArchiveExtractCallback::SetOperationResult(INT32 operationResult)
{
    if (operationResult != archive::kOperationResultOk) {
        ++failedItems_;
    }
    FinishOutput();
    return S_OK;
}

STDMETHODIMP CArchiveExtractCallback::CryptoGetTextPassword(BSTR*) { return E_ABORT; }
