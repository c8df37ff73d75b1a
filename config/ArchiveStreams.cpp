#include "config/ArchiveStreams.h"

namespace {

HRESULT LastError()
{
    const DWORD error = GetLastError();
    return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

HRESULT SeekFile(HANDLE file, INT64 offset, UINT32 origin, UINT64* newPosition)
{
    if (origin > FILE_END) {
        return STG_E_INVALIDFUNCTION;
    }
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER position;
    if (!SetFilePointerEx(file, distance, &position, origin)) {
        return LastError();
    }
    if (newPosition != nullptr) {
        *newPosition = static_cast<UINT64>(position.QuadPart);
    }
    return S_OK;
}

}  // namespace

HRESULT CMyUnknownImp::Answer(REFIID iid, void** object, std::initializer_list<InterfaceEntry> table)
{
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    for (const InterfaceEntry& entry : table) {
        if (IsEqualGUID(iid, *entry.first) || IsEqualGUID(iid, IID_IUnknown)) {
            *object = entry.second;
            entry.second->AddRef();
            return S_OK;
        }
    }
    return E_NOINTERFACE;
}

ULONG CMyUnknownImp::ReleaseImpl()
{
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

bool CInFileStream::Open(const std::wstring& path)
{
    file_.Reset(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    return file_.IsValid();
}

STDMETHODIMP CInFileStream::QueryInterface(REFIID iid, void** object)
{
    IUnknown* inStream = static_cast<archive::IInStream*>(this);
    IUnknown* getSize = static_cast<archive::IStreamGetSize*>(this);
    return Answer(iid, object,
                  {{&archive::kIidInStream, inStream},
                   {&archive::kIidSequentialInStream, inStream},
                   {&archive::kIidStreamGetSize, getSize}});
}

STDMETHODIMP CInFileStream::Read(void* data, UINT32 size, UINT32* processedSize)
{
    DWORD read = 0;
    const BOOL ok = ReadFile(file_.Get(), data, size, &read, nullptr);
    if (processedSize != nullptr) {
        *processedSize = read;
    }
    return ok ? S_OK : LastError();
}

STDMETHODIMP CInFileStream::Seek(INT64 offset, UINT32 seekOrigin, UINT64* newPosition)
{
    return SeekFile(file_.Get(), offset, seekOrigin, newPosition);
}

STDMETHODIMP CInFileStream::GetSize(UINT64* size)
{
    LARGE_INTEGER length;
    if (size == nullptr || !GetFileSizeEx(file_.Get(), &length)) {
        return E_FAIL;
    }
    *size = static_cast<UINT64>(length.QuadPart);
    return S_OK;
}

bool COutFileStream::Create(const std::wstring& path)
{
    file_.Reset(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    return file_.IsValid();
}

void COutFileStream::SetModificationTime(const FILETIME& time) { SetFileTime(file_.Get(), nullptr, nullptr, &time); }

void COutFileStream::Close() { file_.Reset(); }

STDMETHODIMP COutFileStream::QueryInterface(REFIID iid, void** object)
{
    IUnknown* outStream = static_cast<archive::IOutStream*>(this);
    return Answer(iid, object,
                  {{&archive::kIidOutStream, outStream}, {&archive::kIidSequentialOutStream, outStream}});
}

STDMETHODIMP COutFileStream::Write(const void* data, UINT32 size, UINT32* processedSize)
{
    DWORD written = 0;
    const BOOL ok = WriteFile(file_.Get(), data, size, &written, nullptr);
    if (processedSize != nullptr) {
        *processedSize = written;
    }
    return ok ? S_OK : LastError();
}

STDMETHODIMP COutFileStream::Seek(INT64 offset, UINT32 seekOrigin, UINT64* newPosition)
{
    return SeekFile(file_.Get(), offset, seekOrigin, newPosition);
}

STDMETHODIMP COutFileStream::SetSize(UINT64 newSize)
{
    UINT64 current = 0;
    HRESULT result = Seek(0, FILE_CURRENT, &current);
    if (FAILED(result) || FAILED(result = Seek(static_cast<INT64>(newSize), FILE_BEGIN, nullptr))) {
        return result;
    }
    if (!SetEndOfFile(file_.Get())) {
        return LastError();
    }
    return Seek(static_cast<INT64>(current), FILE_BEGIN, nullptr);
}
