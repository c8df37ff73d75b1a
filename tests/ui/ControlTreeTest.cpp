// The control tree's rules with synthetic mouse calls and timer ticks, and what the standard controls
// draw and report.
#include "tests/ui/UiTestSupport.h"
#include "ui/framework/LayerButtonCtrl.h"
#include "ui/framework/LayerCheckboxCtrl.h"
#include "ui/framework/LayerControlRootView.h"
#include "ui/framework/LayerImageCtrl.h"
#include "ui/framework/LayerLabelCtrl.h"
#include "ui/framework/LayerProgress.h"
#include "ui/framework/ResourceIds.h"
#include "ui/framework/ResourceRegistry.h"

#include <gtest/gtest.h>

namespace {

using uitest::Opaque;
using uitest::Pixel;
using uitest::PixelCanvas;

// A control that counts what reaches it.
class ProbeControl : public CLayerControlBase {
public:
    ProbeControl() : CLayerControlBase(layer::type::kImage) {}
    void Draw(HDC) override { ++draws; }
    void OnTimer(UINT) override { ++ticks; }
    void OnMouseHover(UINT, int x, int y) override { events.push_back("hover"); last = {x, y}; }
    void OnMouseMove(UINT, int x, int y) override { events.push_back("move"); last = {x, y}; }
    void OnMouseLeave() override { events.push_back("leave"); }
    void OnLButtonDown(UINT, int x, int y, int*) override { events.push_back("down"); last = {x, y}; }
    void OnLButtonUp(UINT, int x, int y, int*) override { events.push_back("up"); last = {x, y}; }
    int draws = 0;
    int ticks = 0;
    std::vector<std::string> events;
    POINT last = {};
};

class ControlTreeTest : public testing::Test {
protected:
    ControlTreeTest() { root_.Create(nullptr, &window_, -1, 0, 0, 400, 300, 0); }

    template <class T>
    T* Add(CLayerControlGroup& parent, int id, const RECT& rect)
    {
        auto* control = new T();
        control->Create(nullptr, &window_, id, rect, 0);
        parent.AddChild(control);
        return control;
    }
    ProbeControl* Probe(int id, const RECT& rect) { return Add<ProbeControl>(root_, id, rect); }

    void Click(int downX, int downY, int upX, int upY)
    {
        int handled = 1;
        root_.OnLButtonDown(0, downX, downY, &handled);
        root_.OnLButtonUp(0, upX, upY, &handled);
    }

    uitest::FakeWindow window_;
    CLayerControlRootView root_;
};

TEST_F(ControlTreeTest, TheFirstChildOfAnIdWinsTheLookup)
{
    ProbeControl* first = Probe(5, {0, 0, 10, 10});
    ProbeControl* second = Probe(5, {20, 0, 30, 10});
    EXPECT_EQ(root_.FindChild(5), first);
    EXPECT_EQ(root_.ChildAt(25, 5), second);
    PixelCanvas canvas(400, 300);
    root_.Draw(canvas.Dc());
    EXPECT_EQ(first->draws, 1);
    EXPECT_EQ(second->draws, 1);
    root_.RemoveChild(first, 1, 0);
    EXPECT_EQ(root_.FindChild(5), nullptr);
    EXPECT_EQ(root_.ChildAt(25, 5), second);
}

TEST_F(ControlTreeTest, TheTopmostVisibleChildGetsThePoint)
{
    ProbeControl* lower = Probe(1, {0, 0, 100, 100});
    ProbeControl* upper = Probe(2, {50, 50, 150, 150});
    EXPECT_EQ(root_.ChildAt(75, 75), upper);
    EXPECT_EQ(root_.ChildAt(25, 25), lower);
    EXPECT_EQ(root_.ChildAt(150, 150), nullptr);  // right and bottom edges are outside
    upper->SetVisible(0, 0);
    EXPECT_EQ(root_.ChildAt(75, 75), lower);
}

TEST_F(ControlTreeTest, AGroupAnswersForItsAreaEvenWhereOnlyALowerSiblingLies)
{
    ProbeControl* lower = Probe(1, {0, 0, 200, 200});
    auto* group = Add<CLayerControlGroup>(root_, 2, {100, 100, 300, 300});
    ProbeControl* inner = Add<ProbeControl>(*group, 3, {10, 10, 50, 50});
    EXPECT_EQ(root_.ChildAt(120, 120), inner);
    EXPECT_EQ(root_.ChildAt(150, 150), nullptr);
    EXPECT_EQ(root_.ChildAt(50, 50), lower);
    RECT window = {};
    inner->GetWindowRect(&window);
    EXPECT_EQ(window.left, 110);
    EXPECT_EQ(window.bottom, 150);
}

TEST_F(ControlTreeTest, PagesFilterDrawingHitsAndTicks)
{
    auto* group = Add<CLayerControlGroup>(root_, 1, {0, 0, 400, 300});
    ProbeControl* everyPage = Add<ProbeControl>(*group, 10, {0, 0, 50, 50});
    ProbeControl* page1 = Add<ProbeControl>(*group, 11, {100, 0, 150, 50});
    ProbeControl* page2 = Add<ProbeControl>(*group, 12, {200, 0, 250, 50});
    page1->SetPage(1, 0);
    page2->SetPage(2, 0);
    for (ProbeControl* probe : {everyPage, page1, page2}) {
        probe->StartTimer(probe->GetID(), 100);
    }
    group->SetPage(2, 1);
    EXPECT_FALSE(window_.redraws.empty());

    PixelCanvas canvas(400, 300);
    root_.Draw(canvas.Dc());
    EXPECT_EQ(everyPage->draws, 1);
    EXPECT_EQ(page1->draws, 0);
    EXPECT_EQ(page2->draws, 1);
    EXPECT_EQ(root_.ChildAt(120, 20), nullptr);
    EXPECT_EQ(root_.ChildAt(220, 20), page2);

    for (UINT id : {10u, 11u, 12u}) {
        root_.OnTimer(id);
    }
    EXPECT_EQ(everyPage->ticks, 1);
    EXPECT_EQ(page1->ticks, 0);
    EXPECT_EQ(page2->ticks, 1);
    root_.OnTimer(99);
    EXPECT_EQ(everyPage->ticks, 1);
}

TEST_F(ControlTreeTest, ChildrenOutsideTheClipAreNotDrawn)
{
    ProbeControl* inside = Probe(1, {0, 0, 50, 50});
    ProbeControl* outside = Probe(2, {200, 200, 250, 250});
    PixelCanvas canvas(400, 300);
    UniqueRegion clip(CreateRectRgn(0, 0, 100, 100));
    SelectClipRgn(canvas.Dc(), clip.Get());
    root_.Draw(canvas.Dc());
    EXPECT_EQ(inside->draws, 1);
    EXPECT_EQ(outside->draws, 0);
}

TEST_F(ControlTreeTest, MovesHoverLeaveAndTheControlsOwnCoordinates)
{
    ProbeControl* a = Probe(1, {10, 10, 60, 60});
    auto* group = Add<CLayerControlGroup>(root_, 2, {100, 0, 200, 100});
    ProbeControl* b = Add<ProbeControl>(*group, 3, {0, 10, 50, 60});
    a->SetTooltipOn(1);
    a->SetTooltip(L"tip a");
    root_.OnMouseMove(0, 20, 30);
    root_.OnMouseMove(0, 25, 30);
    root_.OnMouseMove(0, 110, 20);
    EXPECT_EQ(a->events, (std::vector<std::string>{"hover", "move", "leave"}));
    EXPECT_EQ(b->events, (std::vector<std::string>{"hover"}));
    // Points reach a control in the coordinates of its rectangle (its parent's).
    EXPECT_EQ(b->last.x, 10);
    EXPECT_EQ(b->last.y, 20);
    EXPECT_EQ(window_.tooltips, (std::vector<std::wstring>{L"tip a", L"tip a", L"", L""}));
    root_.OnMouseLeave();
    EXPECT_EQ(b->events.back(), "leave");
    EXPECT_EQ(root_.GetHoverControl(), nullptr);
}

TEST_F(ControlTreeTest, TheReleaseGoesToThePressedControlWhereverThePointerIs)
{
    ProbeControl* pressed = Probe(1, {10, 10, 60, 60});
    ProbeControl* other = Probe(2, {100, 10, 150, 60});
    Click(20, 20, 120, 20);
    EXPECT_EQ(pressed->events, (std::vector<std::string>{"down", "up"}));
    EXPECT_EQ(pressed->last.x, 120);
    EXPECT_TRUE(other->events.empty());
    EXPECT_EQ(root_.GetPressedControl(), nullptr);
}

TEST_F(ControlTreeTest, ADisabledControlGetsNoPressAndDragsTheWindow)
{
    ProbeControl* disabled = Probe(1, {10, 10, 60, 60});
    disabled->SetEnabled(0, 0);
    disabled->SetDragThrough(0);
    int handled = 1;
    root_.OnLButtonDown(0, 20, 20, &handled);
    EXPECT_EQ(handled, 0);
    EXPECT_EQ(root_.GetPressedControl(), nullptr);
    root_.OnLButtonUp(0, 20, 20, &handled);
    EXPECT_TRUE(disabled->events.empty());
}

TEST_F(ControlTreeTest, RemovingAControlForgetsItAsHoveredAndPressed)
{
    ProbeControl* probe = Probe(1, {10, 10, 60, 60});
    root_.OnMouseMove(0, 20, 20);
    int handled = 1;
    root_.OnLButtonDown(0, 20, 20, &handled);
    root_.RemoveChild(probe, 0, 0);
    EXPECT_EQ(root_.GetHoverControl(), nullptr);
    EXPECT_EQ(root_.GetPressedControl(), nullptr);
    root_.OnLButtonUp(0, 20, 20, &handled);
    EXPECT_EQ(probe->events, (std::vector<std::string>{"hover", "down"}));
    probe->Release();
}

TEST_F(ControlTreeTest, SettingTheSameRectangleDoesNothing)
{
    ProbeControl* probe = Probe(1, {10, 10, 60, 60});
    window_.redraws.clear();
    probe->SetRect({10, 10, 60, 60}, 1);
    EXPECT_TRUE(window_.redraws.empty());
    probe->MoveTo(20, 10, 1);
    ASSERT_EQ(window_.redraws.size(), 1u);
    EXPECT_EQ(window_.redraws[0].left, 10);
    EXPECT_EQ(window_.redraws[0].right, 70);  // the union of old and new
    probe->Resize(-1, 5, 0);
    RECT rect = {};
    probe->GetRect(&rect);
    EXPECT_EQ(rect.right, 70);
    EXPECT_EQ(rect.bottom, 15);
}

TEST_F(ControlTreeTest, AButtonClicksWhereverTheReleaseHappensUnlessDisabled)
{
    auto* button = Add<CLayerButtonCtrl>(root_, 42, {10, 10, 60, 40});
    EXPECT_FALSE(button->IsDragThrough());
    root_.OnMouseMove(0, 20, 20);
    EXPECT_TRUE(button->IsHot());
    int handled = 1;
    root_.OnLButtonDown(0, 20, 20, &handled);
    EXPECT_EQ(handled, 1);
    EXPECT_TRUE(button->IsPressed());
    root_.OnLButtonUp(0, 300, 200, &handled);
    EXPECT_FALSE(button->IsPressed());
    EXPECT_EQ(window_.Commands(), std::vector<int>{42});
    EXPECT_EQ(window_.posted[0].lParam, reinterpret_cast<LPARAM>(button));

    button->SetEnabled(0, 0);
    Click(20, 20, 20, 20);
    EXPECT_EQ(window_.Commands(), std::vector<int>{42});
}

TEST_F(ControlTreeTest, CheckBoxesToggleOnClickButNotWhenDisabled)
{
    auto* box = Add<CLayerCheckboxCtrl>(root_, 7, {10, 10, 100, 30});
    EXPECT_EQ(box->GetTextFormat(), 0x1001u);
    Click(20, 20, 20, 20);
    EXPECT_EQ(box->GetCheck(), 1);
    box->SetAutoToggle(0);
    Click(20, 20, 20, 20);
    EXPECT_EQ(box->GetCheck(), 1);
    EXPECT_EQ(window_.Commands(), (std::vector<int>{7, 7}));
    box->SetEnabled(0, 0);
    box->SetAutoToggle(1);
    int handled = 0;
    box->OnLButtonUp(0, 5, 5, &handled);
    EXPECT_EQ(box->GetCheck(), 1);
    EXPECT_EQ(window_.Commands(), (std::vector<int>{7, 7}));
}

TEST_F(ControlTreeTest, LabelsAndImagesPostOnlyWhenClickable)
{
    auto* label = Add<CLayerLabelCtrl>(root_, 3, {10, 10, 60, 30});
    auto* image = Add<CLayerImageCtrl>(root_, 4, {100, 10, 160, 30});
    Click(20, 20, 20, 20);
    Click(110, 20, 110, 20);
    EXPECT_TRUE(window_.Commands().empty());
    EXPECT_TRUE(label->IsDragThrough());
    label->SetClickable(1);
    image->SetClickable(1);
    EXPECT_FALSE(label->IsDragThrough());
    Click(20, 20, 20, 20);
    Click(110, 20, 110, 20);
    EXPECT_EQ(window_.Commands(), (std::vector<int>{3, 4}));
}

TEST_F(ControlTreeTest, AButtonDrawsTheFrameOfItsState)
{
    auto strip = std::make_unique<CImage>();
    ASSERT_TRUE(strip->LoadFromResource(uitest::kStrip4Id, nullptr, CResourceRegistry::kImageResourceType));
    strip->SetFrameCount(4);
    auto* button = Add<CLayerButtonCtrl>(root_, 1, {20, 20, 30, 30});
    button->SetImage(strip.get());
    const auto colourNow = [&] {
        PixelCanvas canvas(100, 100);
        root_.Draw(canvas.Dc());
        return canvas.At(25, 25);
    };
    EXPECT_EQ(colourNow(), Opaque(255, 0, 0));
    root_.OnMouseMove(0, 25, 25);
    EXPECT_EQ(colourNow(), Opaque(0, 255, 0));
    int handled = 1;
    root_.OnLButtonDown(0, 25, 25, &handled);
    EXPECT_EQ(colourNow(), Opaque(0, 0, 255));
    root_.OnLButtonUp(0, 25, 25, &handled);
    button->SetEnabled(0, 0);
    EXPECT_EQ(colourNow(), Opaque(255, 255, 0));
}

struct ProgressCase {
    const char* name;
    uint64_t range;
    uint64_t position;
    int direction;
    RECT filled;  // probes inside the fill area that must be filled
    RECT empty;   // probes that must keep the background
};

class ProgressTest : public ControlTreeTest, public testing::WithParamInterface<ProgressCase> {};

TEST_P(ProgressTest, FillsTheFractionAlongItsDirection)
{
    const ProgressCase& c = GetParam();
    auto* bar = Add<CLayerProgress>(root_, 1, {0, 0, 200, 100});
    bar->SetDirection(c.direction, 0);
    bar->SetBackgroundColor(RGB(0, 0, 255), 0);
    bar->SetFillColor(RGB(255, 0, 0), 0);
    bar->SetRange(c.range, 0);
    bar->SetPos(c.position, 0);
    PixelCanvas canvas(200, 100);
    root_.Draw(canvas.Dc());
    // The fill lies over the background: red over (almost nothing of) the blue.
    const auto red = [](Pixel p) { return p.r == 254 && p.b <= 1 && p.a == 255; };
    const auto blue = [](Pixel p) { return p == Pixel{254, 0, 0, 254}; };
    if (c.filled.right > c.filled.left) {
        EXPECT_TRUE(red(canvas.At(c.filled.left, c.filled.top)));
        EXPECT_TRUE(red(canvas.At(c.filled.right - 1, c.filled.bottom - 1)));
    }
    if (c.empty.right > c.empty.left) {
        EXPECT_TRUE(blue(canvas.At(c.empty.left, c.empty.top)));
        EXPECT_TRUE(blue(canvas.At(c.empty.right - 1, c.empty.bottom - 1)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fractions, ProgressTest,
    testing::Values(ProgressCase{"zero", 100, 0, 0, {0, 0, 0, 0}, {0, 0, 200, 100}},
                    ProgressCase{"onePerMille", 1000, 1, 0, {0, 0, 2, 100}, {2, 0, 200, 100}},
                    ProgressCase{"half", 100, 50, 0, {0, 0, 100, 100}, {100, 0, 200, 100}},
                    ProgressCase{"beyondRange", 100, 500, 0, {0, 0, 200, 100}, {0, 0, 0, 0}},
                    ProgressCase{"rightToLeft", 100, 25, 1, {150, 0, 200, 100}, {0, 0, 150, 100}},
                    ProgressCase{"topToBottom", 100, 25, 2, {0, 0, 200, 25}, {0, 25, 200, 100}},
                    ProgressCase{"bottomToTop", 100, 25, 3, {0, 75, 200, 100}, {0, 0, 200, 75}}),
    [](const testing::TestParamInfo<ProgressCase>& info) { return info.param.name; });

TEST_F(ControlTreeTest, AProgressBarWithoutBackgroundPaintsWhiteAndShowsTheFullPercentage)
{
    auto* bar = Add<CLayerProgress>(root_, 1, {0, 0, 200, 40});
    bar->SetFont(CResourceRegistry::Instance()->GetFont(res::kFont14));
    bar->SetTextColor(RGB(0, 0, 0), 0);
    bar->SetShowPercentage(1);
    bar->SetPos(250, 0);
    PixelCanvas canvas(200, 40);
    root_.Draw(canvas.Dc());
    EXPECT_EQ(canvas.At(2, 2), (Pixel{254, 254, 254, 254}));
    // Dark ink of the text "100.0%" in the middle of the white bar.
    int dark = 0;
    for (int x = 60; x < 140; ++x) {
        for (int y = 5; y < 35; ++y) {
            dark += canvas.At(x, y).r < 100 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 20);
}

}  // namespace
