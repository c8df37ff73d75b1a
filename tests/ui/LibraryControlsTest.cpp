// The controls of the library that the screens do not use yet: frame animation, the creeping
// progress bar and the host of a native child window.
#include "tests/ui/UiTestSupport.h"
#include "ui/framework/LayerAnimateCtrl.h"
#include "ui/framework/LayerControlRootView.h"
#include "ui/framework/LayerCtrl.h"
#include "ui/framework/LayerProgressSpecial.h"
#include "ui/framework/ResourceRegistry.h"

#include <gtest/gtest.h>

namespace {

class LibraryControlsTest : public testing::Test {
protected:
    LibraryControlsTest() { root_.Create(nullptr, &window_, -1, 0, 0, 400, 300, 0); }

    template <class T>
    T* Add(CLayerControlGroup& parent, int id, const RECT& rect)
    {
        auto* control = new T();
        control->Create(nullptr, &window_, id, rect, 0);
        parent.AddChild(control);
        return control;
    }

    uitest::FakeWindow window_;
    CLayerControlRootView root_;
};

TEST_F(LibraryControlsTest, AnAnimationWithoutLoopStopsAtItsLastFrameAndSaysSo)
{
    auto strip = std::make_unique<CImage>();
    ASSERT_TRUE(strip->LoadFromResource(uitest::kStrip4Id, nullptr, CResourceRegistry::kImageResourceType));
    strip->SetFrameCount(4);
    auto* animation = Add<CLayerAnimateCtrl>(root_, 30, {0, 0, 10, 10});
    animation->SetStrip(strip.get());
    animation->SetLoop(0);
    animation->SetReverse(1);
    animation->Start();
    EXPECT_EQ(window_.timers, std::vector<UINT>{30});
    const auto shown = [&] {
        uitest::PixelCanvas canvas(10, 10);
        root_.Draw(canvas.Dc());
        return canvas.At(5, 5);
    };
    EXPECT_EQ(shown(), uitest::Opaque(255, 255, 0));  // reversed: the last frame first
    for (int tick = 0; tick < 3; ++tick) {
        root_.OnTimer(30);
    }
    EXPECT_EQ(animation->GetFrame(), 3);
    EXPECT_EQ(shown(), uitest::Opaque(255, 0, 0));
    EXPECT_TRUE(window_.posted.empty());
    root_.OnTimer(30);
    EXPECT_FALSE(animation->IsRunning());
    EXPECT_TRUE(window_.timers.empty());
    ASSERT_EQ(window_.posted.size(), 1u);
    EXPECT_EQ(window_.posted[0].message, layer::kMsgAnimationDone);
    EXPECT_EQ(window_.posted[0].wParam, 30u);
}

TEST_F(LibraryControlsTest, TheCreepingBarRunsAheadSlowsNearTheEndAndBlinksThere)
{
    auto* bar = Add<CLayerProgressSpecial>(root_, 31, {0, 0, 100, 10});
    bar->SetRange(1000, 0);
    bar->SetPos(100, 0);
    bar->Start();
    ASSERT_TRUE(bar->IsRunning());
    root_.OnTimer(31);
    EXPECT_EQ(bar->GetShownPos(), 120u);  // range / 50 per tick
    bar->SetPos(950, 0);
    EXPECT_EQ(bar->GetShownPos(), 950u);
    root_.OnTimer(31);
    EXPECT_EQ(bar->GetShownPos(), 951u);  // one per tick above 90 %
    for (int tick = 0; tick < 49; ++tick) {
        root_.OnTimer(31);
    }
    EXPECT_EQ(bar->GetShownPos(), 1000u);
    root_.OnTimer(31);
    EXPECT_EQ(bar->GetShownPos(), 950u);
    root_.OnTimer(31);
    EXPECT_EQ(bar->GetShownPos(), 1000u);
    bar->SetPos(1000, 0);
    EXPECT_FALSE(bar->IsRunning());
    EXPECT_TRUE(window_.timers.empty());
}

TEST_F(LibraryControlsTest, AHostedWindowFollowsItsRectangleAndThePagesOfItsGroup)
{
    HWND parent = CreateWindowExW(0, L"STATIC", nullptr, WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    HWND child = CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, parent, nullptr, nullptr,
                                 nullptr);
    ShowWindow(parent, SW_SHOWNA);
    auto* group = Add<CLayerControlGroup>(root_, 1, {50, 40, 350, 240});
    auto* host = Add<CLayerCtrl>(*group, 2, {10, 10, 110, 40});
    host->SetPage(2, 0);
    host->SetChildWindow(child);
    RECT placed = {};
    GetWindowRect(child, &placed);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 60);
    EXPECT_EQ(placed.top, 50);
    EXPECT_EQ(placed.right, 160);

    group->SetPage(1, 1);
    EXPECT_FALSE(IsWindowVisible(child));
    group->SetPage(2, 1);
    EXPECT_TRUE(IsWindowVisible(child));
    group->SetVisible(0, 0);
    EXPECT_FALSE(IsWindowVisible(child));
    group->SetVisible(1, 0);
    EXPECT_TRUE(IsWindowVisible(child));
    host->MoveTo(20, 10, 0);
    GetWindowRect(child, &placed);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 70);
    DestroyWindow(parent);
}

}  // namespace
