#include "net/Statistic.h"

void CStatistic::SetProductCode(const std::wstring& code) { productCode_ = code; }

void CStatistic::SetMainExePath(const std::wstring& path) { mainExePath_ = path; }

// Nothing is sent until the statistics service client exists.
void CStatistic::Report(const wchar_t*, const wchar_t*, bool) {}
