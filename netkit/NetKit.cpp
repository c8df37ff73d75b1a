// The exports of the HTTP library: one factory per HttpInit, freed by HttpUninit.
#include "netkit/TaskFactory.h"

#include <new>

extern "C" __declspec(dllexport) IHttpTaskFactory* HttpInit() { return new (std::nothrow) CTaskFactory(); }

extern "C" __declspec(dllexport) void HttpUninit(IHttpTaskFactory* factory)
{
    delete static_cast<CTaskFactory*>(factory);
}
