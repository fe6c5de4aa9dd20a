#include "app/Quorel_Timer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Timer_Fixture : ::testing::Test
{
    Virtual_Clock clock;
    std::vector<qint64> fired;
    Quorel_Timer timer{clock, "Timer_Test", 100, false};
    void SetUp() override { timer.Set_Handler([this]() { fired.push_back(clock.Now_Ms()); }); }
};

TEST_F(Timer_Fixture, FiresPeriodicallyWhileEnabled)
{
    timer.Set_Enabled(true);
    clock.Advance(350);
    EXPECT_EQ(fired, (std::vector<qint64>{100, 200, 300}));
    timer.Set_Enabled(false);
    clock.Advance(500);
    EXPECT_EQ(fired.size(), 3u);
}

TEST_F(Timer_Fixture, EnablingARunningTimerKeepsItsCount)
{
    timer.Set_Enabled(true);
    clock.Advance(60);
    timer.Set_Enabled(true);
    clock.Advance(40);
    EXPECT_EQ(fired, (std::vector<qint64>{100}));
}

TEST_F(Timer_Fixture, OffAndOnRestartsTheCount)
{
    timer.Set_Enabled(true);
    clock.Advance(60);
    timer.Set_Enabled(false);
    timer.Set_Enabled(true);
    clock.Advance(99);
    EXPECT_TRUE(fired.empty());
    clock.Advance(1);
    EXPECT_EQ(fired, (std::vector<qint64>{160}));
}

TEST_F(Timer_Fixture, NewIntervalRestartsSameIntervalDoesNot)
{
    timer.Set_Enabled(true);
    clock.Advance(60);
    timer.Set_Interval(100);
    clock.Advance(40);
    EXPECT_EQ(fired, (std::vector<qint64>{100}));
    clock.Advance(30);
    timer.Set_Interval(500);
    clock.Advance(499);
    EXPECT_EQ(fired.size(), 1u);
    clock.Advance(1);
    EXPECT_EQ(fired.back(), 630);
}

TEST_F(Timer_Fixture, HandlerSwitchingItselfOffFiresOnce)
{
    timer.Set_Handler([this]() {
        fired.push_back(clock.Now_Ms());
        timer.Set_Enabled(false);
    });
    timer.Set_Enabled(true);
    clock.Advance(1000);
    EXPECT_EQ(fired, (std::vector<qint64>{100}));
    EXPECT_FALSE(timer.Enabled());
}

TEST_F(Timer_Fixture, HandlerChangingIntervalTakesEffectNextPeriod)
{
    timer.Set_Handler([this]() {
        fired.push_back(clock.Now_Ms());
        timer.Set_Interval(500);
    });
    timer.Set_Enabled(true);
    clock.Advance(1100);
    EXPECT_EQ(fired, (std::vector<qint64>{100, 600, 1100}));
}

TEST_F(Timer_Fixture, IntervalChangeWhileOffDoesNotStartIt)
{
    timer.Set_Interval(20);
    clock.Advance(100);
    EXPECT_TRUE(fired.empty());
    EXPECT_FALSE(timer.Enabled());
}

TEST(Virtual_Clock_Test, RunsCallbacksInDueOrderAndCancels)
{
    Virtual_Clock clock;
    std::vector<int> order;
    clock.Call_At(30, [&]() { order.push_back(3); });
    clock.Call_At(10, [&]() { order.push_back(1); });
    auto h = clock.Call_At(20, [&]() { order.push_back(2); });
    clock.Call_At(10, [&]() { order.push_back(11); });
    clock.Cancel(h);
    clock.Advance(100);
    EXPECT_EQ(order, (std::vector<int>{1, 11, 3}));
    EXPECT_EQ(clock.Now_Ms(), 100);
}

} // namespace

#include <QEventLoop>
#include <QTimer>

namespace {

TEST(Real_Clock_Test, RunsCallbacksInOrderOnTheEventLoopAndCancels)
{
    Real_Clock clock;
    std::vector<int> order;
    QEventLoop loop;
    clock.Call_After(30, [&]() { order.push_back(3); loop.quit(); });
    clock.Call_After(5, [&]() { order.push_back(1); });
    auto h = clock.Call_After(10, [&]() { order.push_back(2); });
    clock.Call_After(20, [&]() { order.push_back(4); });
    clock.Cancel(h);
    QTimer::singleShot(2000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(order, (std::vector<int>{1, 4, 3}));
    EXPECT_GE(clock.Now_Ms(), 30);
}

TEST(Real_Clock_Test, ImmediateChainLetsTheEventLoopRun)
{
    Real_Clock clock;
    int chain = 0;
    bool other_ran = false;
    std::function<void()> step = [&]() {
        if (++chain < 100000 && !other_ran)
            clock.Call_After(0, step);
    };
    clock.Call_After(0, step);
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&]() { other_ran = true; });
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_TRUE(other_ran);
    EXPECT_LT(chain, 100000);
}

TEST(Real_Clock_Test, TimerOnTheRealClockFiresPeriodically)
{
    Real_Clock clock;
    Quorel_Timer timer(clock, "Timer_Test", 10, false);
    int fired = 0;
    QEventLoop loop;
    timer.Set_Handler([&]() {
        if (++fired == 3) {
            timer.Set_Enabled(false);
            loop.quit();
        }
    });
    timer.Set_Enabled(true);
    QTimer::singleShot(2000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(fired, 3);
    EXPECT_GE(clock.Now_Ms(), 30);
}

} // namespace
