// The "/K" run: refreshes shortcuts, the uninstall entry and autorun of an installation.
#pragma once

// Re-registers the installation named by the App Paths value; shows no window.
void RunReRegistration();
