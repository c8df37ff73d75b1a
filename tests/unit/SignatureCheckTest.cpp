#include "trust/SignatureCheck.h"

#include "base/PathUtil.h"
#include "support/WineTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SignatureCase {
    const wchar_t* file;  // in the build's bin folder; empty for the folder itself
    bool maker;
};

class MakerSignature : public testing::TestWithParam<SignatureCase> {};

TEST_P(MakerSignature, AcceptsOnlyTheMakersCertificate)
{
    const std::wstring path = wintest::BinFile(GetParam().file);
    EXPECT_EQ(VerifyMakerSignature(path.c_str()), GetParam().maker);
}

INSTANTIATE_TEST_SUITE_P(Files, MakerSignature,
                         testing::Values(SignatureCase{L"Uninstall.exe", true},
                                         SignatureCase{L"probe.exe", true},
                                         SignatureCase{L"probe_unsigned.exe", false},
                                         SignatureCase{L"probe_foreign.exe", false},
                                         SignatureCase{L"7z.dll", false},
                                         SignatureCase{L"", false},
                                         SignatureCase{L"no such file.exe", false}));

TEST(SignerName, ComparesTheLeafNameIgnoringCase)
{
    const std::wstring foreign = wintest::BinFile(L"probe_foreign.exe");
    const std::wstring maker = wintest::BinFile(L"probe.exe");
    std::wstring upperMaker = MakerSignerName();
    for (wchar_t& c : upperMaker) {
        c = static_cast<wchar_t>(towupper(c));
    }
    EXPECT_TRUE(VerifySignerName(foreign.c_str(), L"foreign test signer"));
    EXPECT_TRUE(VerifySignerName(maker.c_str(), upperMaker.c_str()));
    EXPECT_FALSE(VerifySignerName(maker.c_str(), L"Foreign Test Signer"));
    EXPECT_FALSE(VerifySignerName(wintest::BinFile(L"probe_unsigned.exe").c_str(), MakerSignerName()));
}

TEST(SignerName, ANullNameAcceptsAnyFileWithoutChecking)
{
    EXPECT_TRUE(VerifySignerName(wintest::BinFile(L"probe_unsigned.exe").c_str(), nullptr));
    EXPECT_TRUE(VerifySignerName(nullptr, nullptr));
}

}  // namespace
