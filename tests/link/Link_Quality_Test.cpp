#include "app/Quorel_Context.h"
#include "link/Quorel_Link_Quality.h"
#include "link/Quorel_Serial_Virtual.h"

#include <QTemporaryDir>

#include <limits>

#include <gtest/gtest.h>

namespace {

struct Quality_Rig
{
    QTemporaryDir dir;
    Virtual_Clock clock;
    std::unique_ptr<Quorel_Context> context;
    std::unique_ptr<Link_Quality> quality;
    int panel_updates = 0;

    explicit Quality_Rig(int reply_delay = 60)
    {
        context = std::make_unique<Quorel_Context>(clock, std::make_unique<Virtual_Serial_Port>(clock), dir.path(),
                                                   "QuorelGAS");
        context->App_Settings.Reply_Delay = reply_delay;
        quality = std::make_unique<Link_Quality>(*context);
        QObject::connect(context.get(), &Quorel_Context::Panels_Updated, [this]() { ++panel_updates; });
    }
    ~Quality_Rig()
    {
        quality.reset();
        context.reset();
    }
    const Panel_State& Main() const { return context->Panel_ConnectStatus_PerCent; }
};

// The step condition: the budget left for the decay gives at least 60 ms a tick.
bool Holds(qint64 t, qint64 d, qint64 s) { return (t - d - 600 / s) * s / 100 >= 60; }

TEST(Link_Quality_Test, DecayStepAndIntervalForReplyDelays)
{
    struct Case { int t, d; Link_Quality::Decay want; };
    const Case cases[] = {
        {5000, 60, {2, 93}},
        {5000, 1, {2, 94}},
        {5000, 999, {2, 75}},
        {1000, 60, {8, 70}},
        {0, 60, {100, 100}},        // no time budget: drops at once
        {60, 999, {100, 100}},
        {-5000, 999, {100, 100}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Link_Quality::Decay_For(c.t, c.d), c.want) << c.t << " " << c.d;
}

TEST(Link_Quality_Test, DecayIsTheSmallestStepAndIntervalThatFitTheBudget)
{
    for (int t : {700, 1000, 2000, 5000, 10000, 60000}) {
        for (int d = 1; d <= 999; d += 7) {
            const auto decay = Link_Quality::Decay_For(t, d);
            ASSERT_GE(decay.Step, 1);
            ASSERT_LE(decay.Step, 100);
            ASSERT_GE(decay.Interval, decay.Step);
            const qint64 s = decay.Step, v = decay.Interval;
            const qint64 budget = t - d - 600 / s;
            if (s > 1) {
                EXPECT_FALSE(Holds(t, d, s - 1)) << t << " " << d;
            }
            if (s < 100) {
                EXPECT_TRUE(Holds(t, d, s)) << t << " " << d;
            }
            if (budget > 0) {
                EXPECT_GE(v * 100 / s, budget) << t << " " << d;
                if (v > s) {
                    EXPECT_LT((v - 1) * 100 / s, budget) << t << " " << d;
                }
            }
        }
    }
    // Extreme loss time-outs neither overflow nor loop.
    const auto huge = Link_Quality::Decay_For(std::numeric_limits<int>::max(), 1);
    EXPECT_EQ(huge.Step, 1);
    EXPECT_GT(huge.Interval, 20000000);
}

TEST(Link_Quality_Test, AnswerShowsFullAndSilenceFallsToZeroBeforeTheLossTimeout)
{
    Quality_Rig rig;
    rig.quality->Link_Quality_Answer();
    EXPECT_EQ(rig.quality->Quality(), 100);
    EXPECT_EQ(rig.Main(), (Panel_State{"100%", Panel_Colours::Lime, Panel_Colours::Blue, true}));
    EXPECT_TRUE(rig.context->Timer_Connect_Stabil.Enabled());
    EXPECT_EQ(rig.context->Timer_Connect_Stabil.Interval(), 80);
    EXPECT_GE(rig.panel_updates, 1);

    // First tick at 80 ms only sets the decay; then 2 % every 93 ms.
    rig.clock.Advance(80);
    EXPECT_EQ(rig.quality->Quality(), 100);
    EXPECT_EQ(rig.quality->Step(), 2);
    EXPECT_EQ(rig.context->Timer_Connect_Stabil.Interval(), 93);
    rig.clock.Advance(93);
    EXPECT_EQ(rig.quality->Quality(), 98);
    EXPECT_EQ(rig.Main().caption, "98%");

    int last = 98;
    while (rig.clock.Now_Ms() < 4729) {
        rig.clock.Advance(1);
        ASSERT_LE(rig.quality->Quality(), last);
        last = rig.quality->Quality();
    }
    EXPECT_EQ(rig.quality->Quality(), 2);
    rig.clock.Advance(1);   // 80 + 50 * 93 = 4730 ms
    EXPECT_EQ(rig.quality->Quality(), 0);
    EXPECT_EQ(rig.Main(), (Panel_State{"0%", Panel_Colours::Red, Panel_Colours::White, true}));
    rig.clock.Advance(1000);
    EXPECT_EQ(rig.quality->Quality(), 0) << "never below 0";
}

TEST(Link_Quality_Test, EveryAnswerRestoresFullAndRestartsTheCount)
{
    Quality_Rig rig(200);
    rig.quality->Link_Quality_Answer();
    rig.clock.Advance(2000);
    ASSERT_LT(rig.quality->Quality(), 100);
    rig.quality->Link_Quality_Answer();
    EXPECT_EQ(rig.Main().caption, "100%");
    EXPECT_EQ(rig.context->Timer_Connect_Stabil.Interval(), 220);
    rig.clock.Advance(219);
    EXPECT_EQ(rig.context->Timer_Connect_Stabil.Interval(), 220) << "the count started afresh";
    rig.clock.Advance(1);
    const auto decay = Link_Quality::Decay_For(5000, 200);
    EXPECT_EQ(rig.context->Timer_Connect_Stabil.Interval(), decay.Interval);
    rig.clock.Advance(decay.Interval);
    EXPECT_EQ(rig.quality->Quality(), 100 - decay.Step);
}

TEST(Link_Quality_Test, AnswerIntervalEqualToTheDecayIntervalStillDecays)
{
    // Reply_Delay 73 gives an answer interval of 93, and the same decay
    // interval with the 5000 ms loss time-out.
    Quality_Rig rig(73);
    const auto decay = Link_Quality::Decay_For(5000, 73);
    ASSERT_EQ(decay.Interval, 93);
    rig.quality->Link_Quality_Answer();
    rig.clock.Advance(93 * 3);
    EXPECT_EQ(rig.quality->Quality(), 100 - 2 * decay.Step);
}

TEST(Link_Quality_Test, ColourBandEdges)
{
    const QColor b9(0xB9, 0xFF, 0x00), de(0xDE, 0xFE, 0x01), c6(0xFF, 0xC6, 0x00), ac(0xFF, 0xAC, 0x00),
        orange(0xFF, 0x80, 0x00);
    const QColor& blue = Panel_Colours::Blue;
    const QColor& white = Panel_Colours::White;
    struct Case { int q; QColor bg, text; };
    const Case cases[] = {
        {100, Panel_Colours::Lime, blue}, {91, Panel_Colours::Lime, blue}, {90, b9, blue}, {81, b9, blue},
        {80, de, blue}, {71, de, blue}, {70, c6, blue}, {61, c6, blue}, {60, ac, blue}, {51, ac, blue},
        {50, orange, white}, {31, orange, white}, {30, Panel_Colours::Red, white}, {0, Panel_Colours::Red, white},
    };
    for (const Case& c : cases) {
        const Panel_State p = Link_Quality::Percent_Panel(c.q);
        EXPECT_EQ(p.background, c.bg) << c.q;
        EXPECT_EQ(p.text, c.text) << c.q;
        EXPECT_EQ(p.caption, QString::number(c.q) + "%");
    }
}

TEST(Link_Quality_Test, LoaderModeShowsTheLoaderPanelAndKeepsTheMainPanelAtZero)
{
    Quality_Rig rig;
    rig.context->Loader_Mode = true;
    rig.quality->Link_Quality_Answer();
    EXPECT_EQ(rig.quality->Panel_Connect_Loader_PerCent,
              (Panel_State{"100%", Panel_Colours::Lime, Panel_Colours::Blue, true}));
    EXPECT_EQ(rig.Main(), (Panel_State{"0%", Panel_Colours::Red, Panel_Colours::White, true}));
    rig.clock.Advance(80 + 93 * 5);
    EXPECT_EQ(rig.quality->Panel_Connect_Loader_PerCent.caption, "90%");
    EXPECT_EQ(rig.quality->Panel_Connect_Loader_PerCent.background, QColor(0xB9, 0xFF, 0x00));
    EXPECT_EQ(rig.Main().caption, "0%");
}

} // namespace
