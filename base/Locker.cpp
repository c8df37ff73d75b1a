#include "base/Locker.h"

namespace _BaseModule {

CCriticalSection::CCriticalSection() { InitializeCriticalSection(&section_); }

CCriticalSection::~CCriticalSection() { DeleteCriticalSection(&section_); }

void CCriticalSection::Lock() { EnterCriticalSection(&section_); }

void CCriticalSection::Unlock() { LeaveCriticalSection(&section_); }

}  // namespace _BaseModule
