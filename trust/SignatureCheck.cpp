#include "trust/SignatureCheck.h"

#include "base/PathUtil.h"
#include "sysinfo/NtVersion.h"

#include <windows.h>
#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <cstddef>

#ifndef UNINST_SIGNER_NAME
#error "UNINST_SIGNER_NAME must be defined by the build"
#endif

namespace {

constexpr DWORD kNameBufferChars = 512;
// The record sizes of the original trust structures (the trust data up to and including its UI context).
constexpr DWORD kFileInfoSize = 16;
constexpr DWORD kTrustDataSize = 48;
static_assert(offsetof(WINTRUST_DATA, dwUIContext) + sizeof(DWORD) == kTrustDataSize, "trust data layout");

enum class RootPolicy { AcceptUntrustedRoot, RequireTrustedRoot };

bool IsAcceptedResult(LONG result, RootPolicy policy)
{
    if (result == ERROR_SUCCESS || result == static_cast<LONG>(CERT_E_EXPIRED)) {
        return true;
    }
    return policy == RootPolicy::AcceptUntrustedRoot && result == static_cast<LONG>(CERT_E_UNTRUSTEDROOT);
}

// The leaf certificate of the first signer of a finished verification, or null.
PCCERT_CONTEXT LeafCertificate(HANDLE stateData)
{
    CRYPT_PROVIDER_DATA* provider = WTHelperProvDataFromStateData(stateData);
    if (provider == nullptr) {
        return nullptr;
    }
    CRYPT_PROVIDER_SGNR* signer = WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0);
    if (signer == nullptr || signer->pChainContext == nullptr || signer->pChainContext->cChain == 0) {
        return nullptr;
    }
    PCERT_SIMPLE_CHAIN chain = signer->pChainContext->rgpChain[0];
    if (chain == nullptr || chain->cElement == 0 || chain->rgpElement[0] == nullptr) {
        return nullptr;
    }
    return chain->rgpElement[0]->pCertContext;
}

bool LeafNameMatches(HANDLE stateData, const wchar_t* expected)
{
    PCCERT_CONTEXT leaf = LeafCertificate(stateData);
    if (leaf == nullptr) {
        return false;
    }
    wchar_t name[kNameBufferChars] = {};
    const DWORD count = CertGetNameStringW(leaf, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, name, kNameBufferChars);
    return count >= 1 && count < kNameBufferChars && _wcsicmp(name, expected) == 0;
}

bool VerifyAgainst(const wchar_t* path, const wchar_t* expected, RootPolicy policy)
{
    if (path == nullptr || !PathExists(path)) {
        return false;
    }
    NtVersion version;
    if (GetNtVersionNumbers(version) && version.major < 6) {
        return true;
    }

    WINTRUST_FILE_INFO fileInfo = {};
    fileInfo.cbStruct = kFileInfoSize;
    fileInfo.pcwszFilePath = path;

    WINTRUST_DATA trustData = {};
    trustData.cbStruct = kTrustDataSize;
    trustData.dwUIChoice = WTD_UI_NONE;
    trustData.fdwRevocationChecks = WTD_REVOKE_NONE;
    trustData.dwUnionChoice = WTD_CHOICE_FILE;
    trustData.pFile = &fileInfo;
    trustData.dwStateAction = WTD_STATEACTION_VERIFY;
    trustData.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL | WTD_REVOCATION_CHECK_CHAIN_EXCLUDE_ROOT;

    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    const LONG result = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &trustData);
    const bool accepted = IsAcceptedResult(result, policy) && LeafNameMatches(trustData.hWVTStateData, expected);
    trustData.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &trustData);
    return accepted;
}

}  // namespace

const wchar_t* MakerSignerName() { return UNINST_SIGNER_NAME; }

bool VerifyMakerSignature(const wchar_t* path)
{
    return VerifyAgainst(path, MakerSignerName(), RootPolicy::AcceptUntrustedRoot);
}

bool VerifySignerName(const wchar_t* path, const wchar_t* signerName)
{
    if (signerName == nullptr) {
        return true;
    }
    return VerifyAgainst(path, signerName, RootPolicy::RequireTrustedRoot);
}
