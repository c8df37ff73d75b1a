#include "config/ResourceUnpack.h"

#include "base/PathUtil.h"
#include "base/ScopedHandle.h"
#include "base/TempName.h"
#include "config/ArchiveCallbacks.h"

namespace {

constexpr DWORD kTempDirChars = 1024;
constexpr DWORD kWriteChunk = 4096;
constexpr size_t kMinRemovablePath = 4;

HMODULE g_archiveLibrary = nullptr;

// Writes the bytes in chunks; stops at the first chunk that cannot be written.
void WriteChunks(HANDLE file, const BYTE* data, DWORD size)
{
    for (DWORD offset = 0; offset < size;) {
        const DWORD chunk = size - offset < kWriteChunk ? size - offset : kWriteChunk;
        DWORD written = 0;
        if (!WriteFile(file, data + offset, chunk, &written, nullptr) || written != chunk) {
            return;
        }
        offset += chunk;
    }
}

// Opens the archive and extracts all items; the handler and both callbacks are released in reverse order.
int ExtractWith(archive::IInArchive* handler, const std::wstring& archivePath, const std::wstring& targetDir,
                archive::IProgress* listener)
{
    ComPtr<CInFileStream> input(new CInFileStream());
    if (!input->Open(archivePath)) {
        return -1;
    }
    ComPtr<CArchiveOpenCallback> openCallback(new CArchiveOpenCallback());
    if (handler->Open(input.Get(), nullptr, openCallback.Get()) != S_OK) {
        return -1;
    }
    ComPtr<CArchiveExtractCallback> extractCallback(new CArchiveExtractCallback(handler, targetDir, listener));
    const HRESULT result = handler->Extract(nullptr, static_cast<UINT32>(-1), FALSE, extractCallback.Get());
    handler->Close();
    return result == S_OK ? 0 : -1;
}

}  // namespace

bool Load7z(const std::wstring& path)
{
    if (g_archiveLibrary == nullptr) {
        g_archiveLibrary = LoadLibraryExW(path.c_str(), nullptr, 0);
    }
    return g_archiveLibrary != nullptr;
}

int Extract7z(const std::wstring& archivePath, const std::wstring& targetDir, archive::IProgress* listener)
{
    CreateDirectoryTree(targetDir);
    if (g_archiveLibrary == nullptr) {
        return -1;
    }
    auto createObject =
        reinterpret_cast<archive::CreateObjectFn>(GetProcAddress(g_archiveLibrary, "CreateObject"));
    if (createObject == nullptr) {
        return -1;
    }
    ComPtr<archive::IInArchive> handler;
    if (createObject(&archive::kSevenZipFormatClassId, &archive::kIidInArchive, handler.PutVoid()) != S_OK ||
        !handler) {
        return -1;
    }
    return ExtractWith(handler.Get(), archivePath, targetDir, listener);
}

bool RemoveExtractedTree(const std::wstring& dir)
{
    if (dir.size() < kMinRemovablePath || !DirectoryExists(dir)) {
        return false;
    }
    SetFileAttributesW(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    bool removed = true;
    ForEachDirectoryEntry(
        dir,
        [&](const std::wstring& name, DWORD attributes) {
            const std::wstring path = PathJoin(dir, name);
            if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
                removed = RemoveExtractedTree(path) && removed;
                return;
            }
            SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
            removed = DeleteFileW(path.c_str()) && removed;
        },
        L"*.*");
    return RemoveDirectoryW(dir.c_str()) && removed;
}

bool CResourceUnpack::Init(HMODULE module, int resourceId, const wchar_t* resourceType)
{
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(resourceId), resourceType);
    if (resource == nullptr) {
        return false;
    }
    HGLOBAL loaded = LoadResource(module, resource);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return false;
    }
    data_ = static_cast<const BYTE*>(data);
    size_ = SizeofResource(module, resource);
    return true;
}

bool CResourceUnpack::Unpack(std::wstring& directory)
{
    const std::wstring tempDir = GetTempDirectory(kTempDirChars);
    const std::wstring archivePath = ChooseFreshTempPath(tempDir);
    if (archivePath.empty()) {
        return false;
    }
    DeleteFileW(archivePath.c_str());
    {
        UniqueHandle file(CreateFileW(archivePath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            return false;
        }
        WriteChunks(file.Get(), data_, size_);
    }
    const std::wstring targetDir = ChooseFreshTempPath(tempDir);
    if (targetDir.empty()) {
        return false;
    }
    CreateDirectoryTree(targetDir);
    if (Extract7z(archivePath, targetDir, nullptr) != 0) {
        return false;
    }
    DeleteFileW(archivePath.c_str());
    directory = targetDir;
    return true;
}
