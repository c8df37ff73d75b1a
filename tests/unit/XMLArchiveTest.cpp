#include "config/XMLArchive.h"

#include "base/PathUtil.h"
#include "support/WineTestSupport.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

// Two Setup elements; the first holds a Main deeper than one level before a direct one.
constexpr wchar_t kSetupDocument[] =
    L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
    L"<Root>\r\n"
    L"  <Setup name=\"first\">\r\n"
    L"    <Wrapper>\r\n"
    L"      <Main name=\"deep\">\r\n"
    L"        <Program name=\"a\"/>\r\n"
    L"        <Group><Program name=\"b\"/></Group>\r\n"
    L"      </Main>\r\n"
    L"    </Wrapper>\r\n"
    L"    <Main name=\"near\"><Program name=\"c\"/></Main>\r\n"
    L"  </Setup>\r\n"
    L"  <Setup name=\"second\">\r\n"
    L"    <Main name=\"other\"/>\r\n"
    L"    <Extra name=\"x\"/>\r\n"
    L"  </Setup>\r\n"
    L"</Root>\r\n";

constexpr wchar_t kNameAttribute[] = L"name";

// The document as the configuration files are stored: UTF-16 with a byte-order mark.
std::string Utf16WithBom(const std::wstring& text)
{
    return std::string("\xFF\xFE") +
           std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// The "name" attributes of a list's elements, in list order.
std::vector<std::wstring> Names(const CXMLArchiveItemList& list)
{
    std::vector<std::wstring> names;
    for (long i = 0; i < list.GetCount(); ++i) {
        std::wstring name;
        CXMLArchive::GetAttributeString(list.Item(i), kNameAttribute, name);
        names.push_back(name);
    }
    return names;
}

// COM for the test's thread, for as long as the fixture and the DOM objects it holds live.
class ComApartment {
public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(result_)) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    HRESULT Result() const { return result_; }

private:
    HRESULT result_;
};

class XMLArchiveTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(com_.Result()));
        dir_ = wintest::MakeScratchDir(L"xml");
    }

    std::wstring WriteDocument(const std::string& bytes, const std::wstring& name = L"doc.xml")
    {
        const std::wstring path = PathJoin(dir_, name);
        wintest::WriteTextFile(path, bytes);
        return path;
    }

    void OpenUtf16(CXMLArchive& archive, const std::wstring& text)
    {
        ASSERT_EQ(S_OK, archive.Open(WriteDocument(Utf16WithBom(text)), false));
    }

    ComApartment com_;  // first member: torn down after everything that holds DOM objects
    std::wstring dir_;
};

struct PathCase {
    const wchar_t* path;
    std::vector<std::wstring> names;
};

void PrintTo(const PathCase& c, std::ostream* out)
{
    *out << '"';
    for (const wchar_t* p = c.path; *p != L'\0'; ++p) {
        *out << static_cast<char>(*p);
    }
    *out << '"';
}

class XMLArchivePathTest : public XMLArchiveTest, public testing::WithParamInterface<PathCase> {};

TEST_P(XMLArchivePathTest, FindsTheElementsOfThePath)
{
    CXMLArchive archive;
    OpenUtf16(archive, kSetupDocument);
    EXPECT_EQ(GetParam().names, Names(archive.GetItems(GetParam().path)));
}

INSTANTIATE_TEST_SUITE_P(
    Walk, XMLArchivePathTest,
    testing::Values(
        // Main at any depth below the first Setup, in document order (the deeper one comes first).
        PathCase{L"Setup/Main", {L"deep", L"near"}},
        // Only the first Setup is searched.
        PathCase{L"Setup/Extra", {}},
        // Each step searches below the first element of the list before it.
        PathCase{L"Setup/Main/Program", {L"a", L"b"}},
        PathCase{L"Setup\\Main\\Program", {L"a", L"b"}},
        PathCase{L"Setup\\Main/Program", {L"a", L"b"}},
        PathCase{L"Root/Setup/Main", {L"deep", L"near"}},
        PathCase{L"Wrapper/Program", {L"a", L"b"}},
        // A single name finds nothing, not even the element itself.
        PathCase{L"Setup", {}},
        PathCase{L"", {}},
        // An empty name ends the walk with the list found so far.
        PathCase{L"Setup/Main/", {L"deep", L"near"}},
        PathCase{L"Setup/Main//Program", {L"deep", L"near"}},
        PathCase{L"Setup//Main", {}},
        PathCase{L"/Setup/Main", {}},
        // A step that finds nothing ends with nothing.
        PathCase{L"Setup/Missing/Program", {}},
        PathCase{L"Missing/Main", {}},
        // Names match exactly and case-sensitively.
        PathCase{L"setup/main", {}},
        PathCase{L"Setup/Mai", {}}));

TEST_F(XMLArchiveTest, PathsOfUpTo2048CharactersAreWalked)
{
    CXMLArchive archive;
    OpenUtf16(archive, kSetupDocument);
    std::wstring path = L"Setup/Main";
    path.resize(2048, L'/');
    EXPECT_EQ(2, archive.GetItems(path).GetCount());

    path.push_back(L'/');
    EXPECT_EQ(0, archive.GetItems(path).GetCount());
    EXPECT_FALSE(archive.GetItem(path).IsValid());
}

TEST_F(XMLArchiveTest, GetItemAnswersTheFirstElementOfThePath)
{
    CXMLArchive archive;
    OpenUtf16(archive, kSetupDocument);
    std::wstring name;
    EXPECT_TRUE(CXMLArchive::GetAttributeString(archive.GetItem(L"Setup/Main"), kNameAttribute, name));
    EXPECT_EQ(L"deep", name);
    EXPECT_FALSE(archive.GetItem(L"Setup").IsValid());
    EXPECT_FALSE(archive.GetItem(L"Setup/Missing").IsValid());
}

TEST_F(XMLArchiveTest, ItemSearchesAllDepthsBelowItselfInDocumentOrder)
{
    CXMLArchive archive;
    OpenUtf16(archive, kSetupDocument);
    const CXMLArchiveItem setup = archive.GetItem(L"Root/Setup");
    ASSERT_TRUE(setup.IsValid());
    EXPECT_NE(nullptr, setup.Element());
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"b", L"c"}), Names(setup.GetItems(L"Program")));
    EXPECT_EQ(0, setup.GetItems(L"Setup").GetCount());
    EXPECT_EQ(0, setup.GetItems(L"Extra").GetCount());
}

TEST_F(XMLArchiveTest, ListIndexesOutsideTheListGiveEmptyResults)
{
    CXMLArchive archive;
    OpenUtf16(archive, kSetupDocument);
    const CXMLArchiveItemList mains = archive.GetItems(L"Setup/Main");
    ASSERT_EQ(2, mains.GetCount());

    EXPECT_TRUE(mains.Item(1).IsValid());
    EXPECT_FALSE(mains.Item(-1).IsValid());
    EXPECT_FALSE(mains.Item(2).IsValid());

    EXPECT_EQ((std::vector<std::wstring>{L"a", L"b"}), Names(mains.GetChildren(0, L"Program")));
    EXPECT_EQ((std::vector<std::wstring>{L"c"}), Names(mains.GetChildren(1, L"Program")));
    EXPECT_EQ(0, mains.GetChildren(-1, L"Program").GetCount());
    EXPECT_EQ(0, mains.GetChildren(2, L"Program").GetCount());
}

TEST_F(XMLArchiveTest, EmptyItemsAndListsFindNothing)
{
    const CXMLArchiveItem item;
    EXPECT_FALSE(item.IsValid());
    EXPECT_EQ(nullptr, item.Element());
    EXPECT_EQ(0, item.GetItems(L"Program").GetCount());

    const CXMLArchiveItemList list;
    EXPECT_EQ(0, list.GetCount());
    EXPECT_FALSE(list.Item(0).IsValid());
    EXPECT_EQ(0, list.GetChildren(0, L"Program").GetCount());

    std::wstring text = L"old";
    EXPECT_FALSE(CXMLArchive::GetAttributeString(item, kNameAttribute, text, L"fallback"));
    EXPECT_EQ(L"fallback", text);
    long value = 5;
    EXPECT_FALSE(CXMLArchive::GetAttributeInt(item, kNameAttribute, value, 77));
    EXPECT_EQ(77, value);
}

TEST_F(XMLArchiveTest, ItemsKeepTheirDocumentAfterTheArchiveIsGone)
{
    CXMLArchiveItemList mains;
    {
        CXMLArchive archive;
        OpenUtf16(archive, kSetupDocument);
        mains = archive.GetItems(L"Setup/Main");
    }
    EXPECT_EQ((std::vector<std::wstring>{L"deep", L"near"}), Names(mains));
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"b"}), Names(mains.GetChildren(0, L"Program")));
}

TEST_F(XMLArchiveTest, MissingFileFailsGenericallyAndDropsThePreviousDocument)
{
    CXMLArchive archive;
    OpenUtf16(archive, kSetupDocument);
    ASSERT_EQ(2, archive.GetItems(L"Setup/Main").GetCount());

    EXPECT_EQ(E_FAIL, archive.Open(PathJoin(dir_, L"missing.xml"), false));
    EXPECT_EQ(0, archive.GetItems(L"Setup/Main").GetCount());
    EXPECT_FALSE(archive.GetItem(L"Setup/Main").IsValid());
}

TEST_F(XMLArchiveTest, DirectoryIsNotLoadedAsAFile)
{
    CXMLArchive archive;
    EXPECT_EQ(E_FAIL, archive.Open(dir_, false));
    EXPECT_EQ(0, archive.GetItems(L"Setup/Main").GetCount());
}

TEST_F(XMLArchiveTest, DocumentThatDoesNotParseFailsToOpen)
{
    CXMLArchive archive;
    const std::wstring path = WriteDocument(Utf16WithBom(L"<Root><Setup><Main name=\"x\"></Setup></Root>"));
    EXPECT_TRUE(FAILED(archive.Open(path, false)));
    EXPECT_EQ(0, archive.GetItems(L"Setup/Main").GetCount());
}

TEST_F(XMLArchiveTest, CreateModeFindsNothingAndWritesNothing)
{
    const std::wstring existing = WriteDocument(Utf16WithBom(kSetupDocument));
    CXMLArchive archive;
    EXPECT_EQ(S_OK, archive.Open(existing, true));
    EXPECT_EQ(0, archive.GetItems(L"Setup/Main").GetCount());
    EXPECT_FALSE(archive.GetItem(L"Setup/Main").IsValid());

    const std::wstring fresh = PathJoin(dir_, L"new.xml");
    EXPECT_EQ(S_OK, archive.Open(fresh, true));
    EXPECT_FALSE(FileExists(fresh));

    // A later load works normally again.
    EXPECT_EQ(S_OK, archive.Open(existing, false));
    EXPECT_EQ(2, archive.GetItems(L"Setup/Main").GetCount());
}

TEST_F(XMLArchiveTest, EncodingIsTakenFromTheFile)
{
    CXMLArchive utf16;
    OpenUtf16(utf16, L"<?xml version=\"1.0\" encoding=\"UTF-16\"?><Root><Setup><Text v=\"卸载 a\"/></Setup></Root>");
    std::wstring text;
    EXPECT_TRUE(CXMLArchive::GetAttributeString(utf16.GetItem(L"Setup/Text"), L"v", text));
    EXPECT_EQ(L"卸载 a", text);

    CXMLArchive utf8;
    const std::wstring path = WriteDocument(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<Root><Setup><Text v=\"\xE5\x8D\xB8\xE8\xBD\xBD b\"/></Setup></Root>",
        L"utf8.xml");
    ASSERT_EQ(S_OK, utf8.Open(path, false));
    EXPECT_TRUE(CXMLArchive::GetAttributeString(utf8.GetItem(L"Setup/Text"), L"v", text));
    EXPECT_EQ(L"卸载 b", text);
}

class XMLArchiveAttributeTest : public XMLArchiveTest {
protected:
    void SetUp() override
    {
        XMLArchiveTest::SetUp();
        OpenUtf16(archive_, L"<Root><Setup><Value text=\"  a &amp; b \" empty=\"\" count=\"12\"/></Setup></Root>");
        item_ = archive_.GetItem(L"Setup/Value");
        ASSERT_TRUE(item_.IsValid());
    }
    CXMLArchive archive_;
    CXMLArchiveItem item_;
};

TEST_F(XMLArchiveAttributeTest, StringIsTheFullTextWhenPresent)
{
    std::wstring text = L"old";
    EXPECT_TRUE(CXMLArchive::GetAttributeString(item_, L"text", text, L"fallback"));
    EXPECT_EQ(L"  a & b ", text);
    EXPECT_TRUE(CXMLArchive::GetAttributeString(item_, L"empty", text, L"fallback"));
    EXPECT_EQ(L"", text);
}

TEST_F(XMLArchiveAttributeTest, MissingStringGivesTheDefaultOrEmpty)
{
    std::wstring text = L"old";
    EXPECT_FALSE(CXMLArchive::GetAttributeString(item_, L"missing", text, L"fallback"));
    EXPECT_EQ(L"fallback", text);
    text = L"old";
    EXPECT_FALSE(CXMLArchive::GetAttributeString(item_, L"missing", text));
    EXPECT_EQ(L"", text);
    // Attribute names are case-sensitive.
    EXPECT_FALSE(CXMLArchive::GetAttributeString(item_, L"Text", text));
}

TEST_F(XMLArchiveAttributeTest, EmptyNameLeavesTheOutputUntouched)
{
    std::wstring text = L"old";
    EXPECT_FALSE(CXMLArchive::GetAttributeString(item_, L"", text, L"fallback"));
    EXPECT_EQ(L"old", text);
    long value = 5;
    EXPECT_FALSE(CXMLArchive::GetAttributeInt(item_, L"", value, 77));
    EXPECT_EQ(5, value);
}

TEST_F(XMLArchiveAttributeTest, MissingIntegerGivesTheDefault)
{
    long value = 5;
    EXPECT_FALSE(CXMLArchive::GetAttributeInt(item_, L"missing", value, 77));
    EXPECT_EQ(77, value);
    EXPECT_TRUE(CXMLArchive::GetAttributeInt(item_, L"count", value, 77));
    EXPECT_EQ(12, value);
}

TEST_F(XMLArchiveAttributeTest, VariantHoldsTheDomValue)
{
    UniqueVariant value;
    EXPECT_TRUE(CXMLArchive::GetAttribute(item_, L"count", *value.Put()));
    ASSERT_EQ(VT_BSTR, value.Get().vt);
    EXPECT_STREQ(L"12", value.Get().bstrVal);

    EXPECT_TRUE(CXMLArchive::GetAttribute(item_, L"missing", *value.Put()));
    EXPECT_EQ(VT_NULL, value.Get().vt);

    EXPECT_FALSE(CXMLArchive::GetAttribute(CXMLArchiveItem(), L"count", *value.Put()));
}

struct IntegerCase {
    const wchar_t* xmlValue;  // as written in the document
    long expected;
};

void PrintTo(const IntegerCase& c, std::ostream* out)
{
    *out << '"';
    for (const wchar_t* p = c.xmlValue; *p != L'\0'; ++p) {
        *out << static_cast<char>(*p);
    }
    *out << "\" -> " << c.expected;
}

class XMLArchiveIntegerTest : public XMLArchiveTest, public testing::WithParamInterface<IntegerCase> {};

TEST_P(XMLArchiveIntegerTest, ReadsTheValueAndCountsItPresent)
{
    CXMLArchive archive;
    OpenUtf16(archive, std::wstring(L"<Root><Setup><Value v=\"") + GetParam().xmlValue + L"\"/></Setup></Root>");
    long value = 77;
    EXPECT_TRUE(CXMLArchive::GetAttributeInt(archive.GetItem(L"Setup/Value"), L"v", value, 77));
    EXPECT_EQ(GetParam().expected, value);
}

INSTANTIATE_TEST_SUITE_P(
    Values, XMLArchiveIntegerTest,
    testing::Values(
        IntegerCase{L"40011", 40011}, IntegerCase{L"-5", -5}, IntegerCase{L"+7", 7},
        // Decimal stops at the first non-digit; no digit at all is 0.
        IntegerCase{L"12abc", 12}, IntegerCase{L"abc", 0},
        // Leading spaces and tabs are skipped; nothing left is 0.
        IntegerCase{L"  42", 42}, IntegerCase{L"&#9; 0x1F", 31}, IntegerCase{L" 0x1F", 31},
        IntegerCase{L"   ", 0}, IntegerCase{L"", 0},
        // Hexadecimal: 3 to 10 characters with the prefix, digits of either case up to the first other one.
        IntegerCase{L"0XfF", 255}, IntegerCase{L"0x1", 1}, IntegerCase{L"0x1G5", 1}, IntegerCase{L"0x1F ", 31},
        IntegerCase{L"0x12345678", 0x12345678},
        // Outside that length the text is decimal, which reads the leading 0.
        IntegerCase{L"0x123456789", 0}, IntegerCase{L"0x", 0}));

}  // namespace
