#include "config/UninstallRootDirList.h"

#include "base/ScopedHandle.h"
#include "base/StringUtil.h"
#include "base/TempName.h"
#include "base/PathUtil.h"
#include "config/XMLArchive.h"

#include <cwchar>

namespace {

constexpr DWORD kTempDirChars = 1024;

}  // namespace

bool CUninstallRootDirList::Load(const wchar_t* path)
{
    if (path == nullptr) {
        return false;
    }
    CXMLArchive document(kXmlUtf16Declaration);
    if (FAILED(document.Open(path, false))) {
        return false;
    }
    entries_.clear();
    const struct {
        const wchar_t* path;
        DWORD isDirectory;
    } sections[] = {{L"RootDirFiles/Dir", 1}, {L"RootDirFiles/File", 0}};
    for (const auto& section : sections) {
        const CXMLArchiveItem element = document.GetItem(section.path);
        if (!element.IsValid()) {
            continue;
        }
        const CXMLArchiveItemList items = element.GetItems(L"Item");
        for (long i = 0; i < items.GetCount(); ++i) {
            const CXMLArchiveItem item = items.Item(i);
            if (!item.IsValid()) {
                break;
            }
            Entry entry{std::wstring(), section.isDirectory, 0};
            CXMLArchive::GetAttributeString(item, L"Name", entry.name, L"");
            long optional = 0;
            CXMLArchive::GetAttributeInt(item, L"optional", optional, 0);
            entry.optional = static_cast<DWORD>(optional);
            entries_[ToUpper(entry.name)] = entry;
        }
    }
    count_ = static_cast<int>(entries_.size());
    return true;
}

bool CUninstallRootDirList::LoadFromResource(HMODULE module, const wchar_t* resourceName, const wchar_t* resourceType)
{
    HRSRC resource = FindResourceW(module, resourceName, resourceType);
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return false;
    }
    const std::wstring path = ChooseFreshTempPath(GetTempDirectory(kTempDirChars));
    if (path.empty()) {
        return false;
    }
    {
        UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
        const DWORD size = SizeofResource(module, resource);
        DWORD written = 0;
        if (!file || !WriteFile(file.Get(), data, size, &written, nullptr) || written != size) {
            DeleteFileW(path.c_str());
            return false;
        }
    }
    const bool loadedList = Load(path.c_str());
    DeleteFileW(path.c_str());
    return loadedList;
}

int CUninstallRootDirList::GetCount() { return count_; }

bool CUninstallRootDirList::GetEntry(int index, RootDirEntry* entry)
{
    if (entry == nullptr || index < 0 || index >= count_) {
        return false;
    }
    auto at = entries_.begin();
    std::advance(at, index);
    const Entry& found = at->second;
    *entry = RootDirEntry{};
    wcsncpy(entry->name, found.name.c_str(), MAX_PATH - 1);
    entry->isDirectory = found.isDirectory;
    entry->optional = found.optional;
    return true;
}

bool CUninstallRootDirList::Remove(const wchar_t* name)
{
    if (name == nullptr) {
        return false;
    }
    entries_.erase(ToUpper(name));
    count_ = static_cast<int>(entries_.size());
    return true;
}

bool CUninstallRootDirList::Contains(const wchar_t* name)
{
    return name != nullptr && entries_.count(ToUpper(name)) != 0;
}
