// The product's HTTP library, loaded from the program's own directory after its signature check.
#pragma once

// Loads and initialises the library; false leaves the program working offline.
bool LoadHttpModule();
