// Read-only access to an XML document through the system DOM: load, find elements by path, read attributes.
#pragma once

#include "base/ScopedHandle.h"

#include <msxml2.h>

#include <string>

// The XML declaration of the configuration documents.
inline constexpr wchar_t kXmlUtf16Declaration[] = L"version='1.0' encoding='utf-16'";

class CXMLArchiveItemList;

// One element of a loaded document; copied by value; an empty item has no element.
class CXMLArchiveItem {
public:
    CXMLArchiveItem();
    CXMLArchiveItem(const ComPtr<IXMLDOMDocument>& document, const ComPtr<IXMLDOMElement>& element);
    virtual ~CXMLArchiveItem();

    // True when the item has both its document and its element.
    bool IsValid() const;
    // All elements of that name anywhere below this one, in document order.
    CXMLArchiveItemList GetItems(const std::wstring& name) const;
    IXMLDOMElement* Element() const;

private:
    ComPtr<IXMLDOMDocument> document_;
    ComPtr<IXMLDOMElement> element_;
    long reserved_ = 0;  // kept 0
};

// A list of elements found in a document; copied by value; an empty list has count 0 and no list.
class CXMLArchiveItemList {
public:
    CXMLArchiveItemList();
    CXMLArchiveItemList(const ComPtr<IXMLDOMDocument>& document, const ComPtr<IXMLDOMNodeList>& list);
    virtual ~CXMLArchiveItemList();

    long GetCount() const;
    // The element at index, or an empty item outside 0 to count - 1.
    CXMLArchiveItem Item(long index) const;
    // All elements of that name anywhere below the element at index; empty for an invalid index.
    CXMLArchiveItemList GetChildren(long index, const std::wstring& name) const;

private:
    long count_ = 0;
    ComPtr<IXMLDOMNodeList> list_;
    ComPtr<IXMLDOMDocument> document_;
};

// A read-only XML document loaded from a file. The calling thread must have initialised COM.
class CXMLArchive {
public:
    explicit CXMLArchive(const std::wstring& declaration = kXmlUtf16Declaration);
    virtual ~CXMLArchive();

    // Loads the file (or, with create, starts an empty document that finds nothing); on failure the
    // archive has no document and the result code tells why (E_FAIL for a missing or unloadable file).
    HRESULT Open(const std::wstring& path, bool create);

    // Elements found by a path of element names separated by "/" or "\": the first name is searched
    // anywhere in the document, each next one anywhere below the first element found for the one before.
    // An empty name ends the walk; a single name finds nothing.
    CXMLArchiveItemList GetItems(const std::wstring& path) const;
    // The first element of GetItems(path), or an empty item.
    CXMLArchiveItem GetItem(const std::wstring& path) const;

    // Copies the attribute's text to output and answers true when it exists; otherwise sets output to
    // defaultText (empty for none) and answers false. An empty name leaves output untouched.
    static bool GetAttributeString(const CXMLArchiveItem& item, const std::wstring& name, std::wstring& output,
                                   const wchar_t* defaultText = nullptr);
    // Reads the attribute as a decimal or "0x" hexadecimal integer and answers true when it exists;
    // otherwise sets output to defaultValue and answers false. An empty name leaves output untouched.
    static bool GetAttributeInt(const CXMLArchiveItem& item, const std::wstring& name, long& output, long defaultValue);
    // Stores the DOM's value of the attribute (VT_NULL when missing) in output, overwriting it without
    // clearing; the caller clears it. Answers true when the DOM call succeeded.
    static bool GetAttribute(const CXMLArchiveItem& item, const std::wstring& name, VARIANT& output);

private:
    CXMLArchiveItemList FindInDocument(const std::wstring& name) const;
    HRESULT Load(IXMLDOMDocument* document) const;
    HRESULT AddDeclaration(IXMLDOMDocument* document) const;

    ComPtr<IXMLDOMDocument> document_;
    std::wstring path_;
    std::wstring declaration_;
    bool create_ = false;
};
