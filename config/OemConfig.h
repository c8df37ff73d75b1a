// OEM installations' replacement hosts of the service addresses, read from encrypted registry values.
#pragma once

#include <map>
#include <string>

class COemConfig {
public:
    // Keeps the product code and, when the App Paths value "oem_f" is "1", loads the decrypted pairs of the
    // "oemconfig" subkey; false when the product code has no registry key.
    bool Init(const std::wstring& productCode);

    // The address with its host replaced by the value stored for serviceName; unchanged when the OEM values
    // are off, the name has no value, or the address has no host.
    std::wstring ApplyToUrl(const std::wstring& serviceName, const std::wstring& url) const;

private:
    void LoadValues();

    std::wstring productCode_;
    std::map<std::wstring, std::wstring> values_;
    std::wstring keyPath_;
    bool enabled_ = false;
};
