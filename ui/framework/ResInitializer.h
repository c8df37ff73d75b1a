// Registers the program's fonts, images and the hand cursor in the resource registry, once per process.
#pragma once

class ResInitializer {
public:
    // The one instance, constructed on first use.
    static ResInitializer& Instance();
    // Registers the 13 fonts (in the chosen UI face), the 39 PNG images with their frame counts, and the
    // hand cursor, in this order.
    void Initialize();
    // Frees the registry's images and fonts.
    void Uninitialize();
};
