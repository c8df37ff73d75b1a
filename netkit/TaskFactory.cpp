#include "netkit/TaskFactory.h"

#include "netkit/HttpTaskImpl.h"

#include <new>

IHttpTask* CTaskFactory::CreateTask() { return new (std::nothrow) CHttpTaskImpl(); }
