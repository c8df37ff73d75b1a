#include "ui/framework/ResInitializer.h"

ResInitializer& ResInitializer::Instance()
{
    static ResInitializer instance;
    return instance;
}

// The resource registry does not exist yet: there is nothing to register or release.
void ResInitializer::Initialize() {}

void ResInitializer::Uninitialize() {}
