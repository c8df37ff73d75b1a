// An inner node of the control tree: owns its children, draws them in insertion order over an optional
// background, finds the topmost child under a point, filters children by page and routes timer ticks.
#pragma once

#include "ui/framework/LayerControlBase.h"

#include <map>
#include <vector>

class CImage;
class CLayerControlRootView;

class CLayerControlGroup : public CLayerControlBase {
public:
    CLayerControlGroup() : CLayerControlBase(layer::type::kGroup) {}
    ~CLayerControlGroup() override;

    void SetPage(int page, int redraw) override;
    void SetVisible(int visible, int redraw) override;
    void OnDestroy() override { RemoveAll(0); }
    void OnSize(int left, int top, int right, int bottom) override;
    void OnTimer(UINT id) override;
    void Draw(HDC dc) override;
    void OnSetCursor(HWND window, UINT hitTest, UINT message, int* handled) override {}
    void OnMouseMove(UINT flags, int x, int y) override {}
    void OnMouseHover(UINT flags, int x, int y) override {}
    void OnMouseLeave() override {}
    void OnLButtonDown(UINT flags, int x, int y, int* handled) override {}
    void OnLButtonUp(UINT flags, int x, int y, int* handled) override {}
    void OnLButtonDblClk(UINT flags, int x, int y, int* handled) override {}
    void OnRButtonDown(UINT flags, int x, int y, int* handled) override {}
    void OnRButtonUp(UINT flags, int x, int y, int* handled) override {}

    // Appends a child (the group owns it); the id map keeps the first child of an id.
    virtual void AddChild(ILayerControl* child, int reserved = 0);
    virtual void RemoveChild(ILayerControl* child, int destroy, int redraw);
    virtual void RemoveChildById(int id, int destroy, int redraw);
    virtual void RemoveAll(int redraw);
    // Direct children only.
    virtual ILayerControl* FindChild(int id);
    // The topmost visible child under a point in window coordinates that passes the page filter; a hit
    // group answers with its own children (or null).
    virtual ILayerControl* ChildAt(int x, int y);
    virtual ILayerControl* GetHoverControl() { return nullptr; }
    virtual void SetHoverControl(ILayerControl* control) {}
    virtual ILayerControl* GetPressedControl() { return nullptr; }
    virtual void SetPressedControl(ILayerControl* control) {}
    virtual void InvalidateAll() { Invalidate(nullptr); }
    virtual void DrawBackground(HDC dc);
    // The root of the tree this group is part of, or null when it is not attached to one.
    virtual CLayerControlGroup* GetRootView();

    void SetBackgroundColor(COLORREF color, int redraw);
    void SetBackgroundImage(CImage* image, int redraw);
    void MoveChild(int id, int x, int y, int redraw);
    void EnableChild(int id, int enabled, int redraw);
    void ShowChild(int id, int visible, int redraw);
    // Sets a child's text; the colour (unless -1) first, without redraw.
    void SetChildText(int id, const std::wstring& text, COLORREF color, int redraw);
    void StartChildAnimation(int id);
    void StopChildAnimation(int id);

    const std::vector<ILayerControl*>& Children() const { return children_; }
    // Whether a child is shown on the group's current page.
    bool PassesPageFilter(ILayerControl* child) const;

private:
    // Shows or hides the hosted native windows below this group to match visibility and pages.
    void UpdateNativeWindows(bool shown);
    void ForgetInRoot(ILayerControl* child);

    std::vector<ILayerControl*> children_;
    std::map<int, ILayerControl*> byId_;
    CImage* backgroundImage_ = nullptr;
    COLORREF backgroundColor_ = layer::kNoColor;
};
