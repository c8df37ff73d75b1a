// Registers the program's fonts, images and cursors once per process.
#pragma once

class ResInitializer {
public:
    // The one instance, constructed on first use.
    static ResInitializer& Instance();
    void Initialize();
    void Uninitialize();
};
