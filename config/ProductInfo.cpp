#include "config/ProductInfo.h"

#include "config/ProductConstants.h"

// Until the encrypted identity file is read, every installation is the standard product.
std::wstring GetMainExeName() { return product::kDefaultMainExe; }
