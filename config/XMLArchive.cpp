#include "config/XMLArchive.h"

#include "base/PathUtil.h"

#include <cwchar>
#include <optional>
#include <vector>

namespace {

// The version-independent DOM document class and the interfaces used of it.
constexpr CLSID kDomDocumentClassId = {0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
constexpr IID kDomDocumentId = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
constexpr IID kDomElementId = {0x2933BF86, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

constexpr wchar_t kDeclarationTarget[] = L"xml";
constexpr wchar_t kPathSeparators[] = L"/\\";
constexpr size_t kMaxPathChars = 2048;

constexpr wchar_t kLeadingBlanks[] = L" \t";
constexpr size_t kMinHexChars = 3;   // "0x" and one digit
constexpr size_t kMaxHexChars = 10;  // "0x" and eight digits
constexpr int kHexBase = 16;
constexpr int kDecimalBase = 10;

UniqueBstr MakeBstr(const std::wstring& text)
{
    return UniqueBstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

// A new, running DOM document.
HRESULT CreateDocument(ComPtr<IXMLDOMDocument>& document)
{
    ComPtr<IUnknown> unknown;
    HRESULT hr = CoCreateInstance(kDomDocumentClassId, nullptr, CLSCTX_ALL, IID_IUnknown, unknown.PutVoid());
    if (FAILED(hr)) {
        return hr;
    }
    hr = OleRun(unknown.Get());
    if (FAILED(hr)) {
        return hr;
    }
    return unknown->QueryInterface(kDomDocumentId, document.PutVoid());
}

// The element names of a path, empty ones included.
std::vector<std::wstring> SplitPath(const std::wstring& path)
{
    std::vector<std::wstring> names;
    size_t start = 0;
    for (;;) {
        const size_t end = path.find_first_of(kPathSeparators, start);
        names.push_back(path.substr(start, end - start));
        if (end == std::wstring::npos) {
            return names;
        }
        start = end + 1;
    }
}

std::optional<std::wstring> ReadAttributeText(const CXMLArchiveItem& item, const std::wstring& name)
{
    UniqueVariant value;
    if (!CXMLArchive::GetAttribute(item, name, *value.Put()) || value.Get().vt != VT_BSTR) {
        return std::nullopt;
    }
    const BSTR text = value.Get().bstrVal;
    return std::wstring(text, SysStringLen(text));
}

int HexDigitValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

bool IsHexLiteral(const std::wstring& text)
{
    return text.size() >= kMinHexChars && text.size() <= kMaxHexChars && text[0] == L'0' &&
           (text[1] == L'x' || text[1] == L'X');
}

// Hexadecimal digits up to the first other character.
long ParseHexDigits(const std::wstring& digits)
{
    unsigned long value = 0;
    for (const wchar_t c : digits) {
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            break;
        }
        value = value * kHexBase + static_cast<unsigned long>(digit);
    }
    return static_cast<long>(value);
}

// An attribute's integer: leading blanks skipped, then "0x" hexadecimal when short enough, else decimal.
long ParseAttributeInteger(const std::wstring& text)
{
    const size_t start = text.find_first_not_of(kLeadingBlanks);
    if (start == std::wstring::npos) {
        return 0;
    }
    const std::wstring rest = text.substr(start);
    if (IsHexLiteral(rest)) {
        return ParseHexDigits(rest.substr(2));
    }
    return wcstol(rest.c_str(), nullptr, kDecimalBase);
}

}  // namespace

CXMLArchiveItem::CXMLArchiveItem() = default;

CXMLArchiveItem::CXMLArchiveItem(const ComPtr<IXMLDOMDocument>& document, const ComPtr<IXMLDOMElement>& element)
    : document_(document), element_(element)
{
}

CXMLArchiveItem::~CXMLArchiveItem() = default;

bool CXMLArchiveItem::IsValid() const { return document_ && element_; }

CXMLArchiveItemList CXMLArchiveItem::GetItems(const std::wstring& name) const
{
    if (!IsValid()) {
        return CXMLArchiveItemList();
    }
    ComPtr<IXMLDOMNodeList> list;
    const UniqueBstr tagName = MakeBstr(name);
    if (FAILED(element_->getElementsByTagName(tagName.Get(), list.Put()))) {
        return CXMLArchiveItemList();
    }
    return CXMLArchiveItemList(document_, list);
}

IXMLDOMElement* CXMLArchiveItem::Element() const { return element_.Get(); }

CXMLArchiveItemList::CXMLArchiveItemList() = default;

CXMLArchiveItemList::CXMLArchiveItemList(const ComPtr<IXMLDOMDocument>& document,
                                         const ComPtr<IXMLDOMNodeList>& list)
{
    long count = 0;
    if (!list || FAILED(list->get_length(&count))) {
        return;
    }
    count_ = count;
    list_ = list;
    document_ = document;
}

CXMLArchiveItemList::~CXMLArchiveItemList() = default;

long CXMLArchiveItemList::GetCount() const { return count_; }

CXMLArchiveItem CXMLArchiveItemList::Item(long index) const
{
    if (index < 0 || index >= count_) {
        return CXMLArchiveItem();
    }
    ComPtr<IXMLDOMNode> node;
    if (FAILED(list_->get_item(index, node.Put())) || !node) {
        return CXMLArchiveItem();
    }
    ComPtr<IXMLDOMElement> element;
    if (FAILED(node->QueryInterface(kDomElementId, element.PutVoid()))) {
        return CXMLArchiveItem();
    }
    return CXMLArchiveItem(document_, element);
}

CXMLArchiveItemList CXMLArchiveItemList::GetChildren(long index, const std::wstring& name) const
{
    return Item(index).GetItems(name);
}

CXMLArchive::CXMLArchive(const std::wstring& declaration) : declaration_(declaration) {}

CXMLArchive::~CXMLArchive() = default;

HRESULT CXMLArchive::Open(const std::wstring& path, bool create)
{
    document_.Reset();
    ComPtr<IXMLDOMDocument> document;
    HRESULT hr = CreateDocument(document);
    if (FAILED(hr)) {
        return hr;
    }
    path_ = path;
    create_ = create;
    document->put_preserveWhiteSpace(VARIANT_TRUE);
    document->put_async(VARIANT_FALSE);
    hr = create ? AddDeclaration(document.Get()) : Load(document.Get());
    if (FAILED(hr)) {
        return hr;
    }
    document_ = std::move(document);
    return S_OK;
}

// Starts a new document with its XML declaration.
HRESULT CXMLArchive::AddDeclaration(IXMLDOMDocument* document) const
{
    const UniqueBstr target = MakeBstr(kDeclarationTarget);
    const UniqueBstr text = MakeBstr(declaration_.empty() ? std::wstring(kXmlUtf16Declaration) : declaration_);
    ComPtr<IXMLDOMProcessingInstruction> instruction;
    HRESULT hr = document->createProcessingInstruction(target.Get(), text.Get(), instruction.Put());
    if (FAILED(hr)) {
        return hr;
    }
    ComPtr<IXMLDOMNode> added;
    return document->appendChild(instruction.Get(), added.Put());
}

// Loads the stored path synchronously; a missing file or an unsuccessful load is a generic failure.
HRESULT CXMLArchive::Load(IXMLDOMDocument* document) const
{
    if (!FileExists(path_)) {
        return E_FAIL;
    }
    UniqueVariant source;
    VARIANT* sourceValue = source.Put();
    sourceValue->vt = VT_BSTR;
    sourceValue->bstrVal = MakeBstr(path_).Release();
    VARIANT_BOOL loaded = VARIANT_FALSE;
    const HRESULT hr = document->load(source.Get(), &loaded);
    if (FAILED(hr)) {
        return hr;
    }
    return loaded == VARIANT_TRUE ? S_OK : E_FAIL;
}

CXMLArchiveItemList CXMLArchive::FindInDocument(const std::wstring& name) const
{
    ComPtr<IXMLDOMNodeList> list;
    const UniqueBstr tagName = MakeBstr(name);
    if (FAILED(document_->getElementsByTagName(tagName.Get(), list.Put()))) {
        return CXMLArchiveItemList();
    }
    return CXMLArchiveItemList(document_, list);
}

CXMLArchiveItemList CXMLArchive::GetItems(const std::wstring& path) const
{
    if (!document_ || create_ || path.empty() || path.size() > kMaxPathChars) {
        return CXMLArchiveItemList();
    }
    const std::vector<std::wstring> names = SplitPath(path);
    if (names.front().empty()) {
        return CXMLArchiveItemList();
    }
    CXMLArchiveItem parent = FindInDocument(names.front()).Item(0);
    CXMLArchiveItemList current;
    for (size_t i = 1; i < names.size() && !names[i].empty() && parent.IsValid(); ++i) {
        current = parent.GetItems(names[i]);
        parent = current.Item(0);
    }
    return current;
}

CXMLArchiveItem CXMLArchive::GetItem(const std::wstring& path) const { return GetItems(path).Item(0); }

bool CXMLArchive::GetAttributeString(const CXMLArchiveItem& item, const std::wstring& name, std::wstring& output,
                                     const wchar_t* defaultText)
{
    if (name.empty()) {
        return false;
    }
    const std::optional<std::wstring> text = ReadAttributeText(item, name);
    if (!text) {
        output = defaultText != nullptr ? defaultText : L"";
        return false;
    }
    output = *text;
    return true;
}

bool CXMLArchive::GetAttributeInt(const CXMLArchiveItem& item, const std::wstring& name, long& output,
                                  long defaultValue)
{
    if (name.empty()) {
        return false;
    }
    output = defaultValue;
    const std::optional<std::wstring> text = ReadAttributeText(item, name);
    if (!text) {
        return false;
    }
    output = ParseAttributeInteger(*text);
    return true;
}

bool CXMLArchive::GetAttribute(const CXMLArchiveItem& item, const std::wstring& name, VARIANT& output)
{
    if (!item.IsValid()) {
        return false;
    }
    const UniqueBstr attributeName = MakeBstr(name);
    return SUCCEEDED(item.Element()->getAttribute(attributeName.Get(), &output));
}
