// What the engine tells the progress window, in slot order.
#pragma once

class IUninstallCallback {
public:
    virtual void OnUninstallStart() = 0;       // UI thread, before the first step
    virtual void OnProgress(int percent) = 0;  // UI thread, 1..99
    virtual void OnUninstallEnd() = 0;         // UI thread, after the last step
    virtual void OnRealInstallEnd() = 0;       // worker thread, under the engine's lock, the very last action

protected:
    ~IUninstallCallback() = default;
};
