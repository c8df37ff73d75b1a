// The single-instance rule: who may run, what a refused second instance tells the running one, and
// when the held mutex is given back.
#include "base/ScopedHandle.h"
#include "startup/InstanceMutex.h"
#include "startup/InstanceNames.h"
#include "support/SetupWindowStub.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

using Params = wintest::SetupWindowStub::Params;

bool MutexExists()
{
    return UniqueHandle(OpenMutexW(SYNCHRONIZE, FALSE, instance::kMutexName)).IsValid();
}

// Whether another thread could take the mutex right now (it cannot while this thread owns it).
bool OtherThreadCanTakeMutex()
{
    bool taken = false;
    std::thread other([&] {
        UniqueHandle mutex(OpenMutexW(SYNCHRONIZE, FALSE, instance::kMutexName));
        if (mutex && WaitForSingleObject(mutex.Get(), 0) == WAIT_OBJECT_0) {
            taken = true;
            ReleaseMutex(mutex.Get());
        }
    });
    other.join();
    return taken;
}

class InstanceMutexTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(window_.IsOpen()); }

    wintest::SetupWindowStub window_;
};

TEST_F(InstanceMutexTest, TheFirstCheckRunsAndOwnsTheMutexWithoutDisturbingTheRunningWindow)
{
    CInstanceMutex first;
    EXPECT_TRUE(first.CheckSingleInstance());
    EXPECT_TRUE(MutexExists());
    EXPECT_FALSE(OtherThreadCanTakeMutex());
    EXPECT_TRUE(window_.Received().empty());
}

TEST_F(InstanceMutexTest, ASecondCheckIsRefusedAndPostsOneActivationToTheMainWindow)
{
    CInstanceMutex first;
    CInstanceMutex second;
    ASSERT_TRUE(first.CheckSingleInstance());
    EXPECT_FALSE(second.CheckSingleInstance());
    EXPECT_EQ(window_.Received(), (std::vector<Params>{{0, 0}}));
}

TEST_F(InstanceMutexTest, ARefusedCheckKeepsNoHandle)
{
    CInstanceMutex first;
    CInstanceMutex second;
    ASSERT_TRUE(first.CheckSingleInstance());
    ASSERT_FALSE(second.CheckSingleInstance());
    first.ReleaseAll();
    EXPECT_FALSE(MutexExists());
}

TEST_F(InstanceMutexTest, ReleaseAllLetsALaterCheckRunAgain)
{
    CInstanceMutex first;
    CInstanceMutex second;
    ASSERT_TRUE(first.CheckSingleInstance());
    EXPECT_TRUE(first.ReleaseAll());
    EXPECT_FALSE(MutexExists());
    EXPECT_TRUE(second.CheckSingleInstance());
    EXPECT_TRUE(window_.Received().empty());
}

TEST_F(InstanceMutexTest, TheDestructorGivesTheMutexBack)
{
    {
        CInstanceMutex first;
        ASSERT_TRUE(first.CheckSingleInstance());
    }
    EXPECT_FALSE(MutexExists());
    CInstanceMutex second;
    EXPECT_TRUE(second.CheckSingleInstance());
}

TEST_F(InstanceMutexTest, AMutexThatCannotBeCreatedDoesNotBlockTheRun)
{
    // Another kind of object under the same name makes the mutex impossible to create.
    UniqueHandle squatter(CreateEventW(nullptr, TRUE, FALSE, instance::kMutexName));
    ASSERT_TRUE(squatter);
    CInstanceMutex first;
    EXPECT_TRUE(first.CheckSingleInstance());
    EXPECT_TRUE(window_.Received().empty());
}

TEST(InstanceMutexWithoutWindowTest, ASecondCheckIsRefusedEvenWhenNoMainWindowExists)
{
    CInstanceMutex first;
    CInstanceMutex second;
    ASSERT_TRUE(first.CheckSingleInstance());
    EXPECT_FALSE(second.CheckSingleInstance());
}

}  // namespace
