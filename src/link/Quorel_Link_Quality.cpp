#include "link/Quorel_Link_Quality.h"

#include "app/Quorel_Context.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int Full = 100;
// Time the first ticks and the repeats of the last request take before the
// decay starts; spread over the step.
constexpr int Lead_Time = 600;

int Answer_Interval(int reply_delay) { return reply_delay + 20; }

} // namespace

Link_Quality::Link_Quality(Quorel_Context& context) : context_(context)
{
    context_.Timer_Connect_Stabil.Set_Handler([this]() { Timer_Connect_StabilTimer(); });
}

Link_Quality::Decay Link_Quality::Decay_For(int timer_connect_ms, int reply_delay_ms)
{
    const qint64 t = timer_connect_ms;
    const qint64 d = reply_delay_ms;
    auto budget = [&](qint64 s) { return t - d - Lead_Time / s; };

    // Smallest step that leaves at least 60 ms per tick; a link with no time
    // budget at all drops to 0 at the first tick.
    qint64 s = 1;
    while (s < Full && budget(s) * s / 100 < 60)
        ++s;

    // Smallest interval from s on whose 100 / s ticks fill the budget:
    // v * 100 div s >= budget, i.e. v >= budget * s / 100 rounded up.
    const qint64 b = budget(s);
    qint64 v = s;
    if (b > 0)
        v = std::max(s, (b * s + 99) / 100);
    v = std::min<qint64>(v, std::numeric_limits<int>::max());
    return {int(s), int(v)};
}

Panel_State Link_Quality::Percent_Panel(int quality)
{
    quality = std::clamp(quality, 0, Full);
    QColor background;
    if (quality >= 91)
        background = Panel_Colours::Lime;
    else if (quality >= 81)
        background = QColor(0xB9, 0xFF, 0x00);
    else if (quality >= 71)
        background = QColor(0xDE, 0xFE, 0x01);
    else if (quality >= 61)
        background = QColor(0xFF, 0xC6, 0x00);
    else if (quality >= 51)
        background = QColor(0xFF, 0xAC, 0x00);
    else if (quality >= 31)
        background = QColor(0xFF, 0x80, 0x00);
    else
        background = Panel_Colours::Red;
    const QColor text = quality < 51 ? Panel_Colours::White : Panel_Colours::Blue;
    return {QString::number(quality) + "%", background, text, true};
}

void Link_Quality::Link_Quality_Answer()
{
    Quorel_Timer& timer = context_.Timer_Connect_Stabil;
    timer.Set_Enabled(false);
    timer.Set_Interval(Answer_Interval(context_.App_Settings.Reply_Delay));
    timer.Set_Enabled(true);
    quality_ = Full;
    first_tick_ = true;

    const Panel_State full{"100%", Panel_Colours::Lime, Panel_Colours::Blue, true};
    const bool visible = context_.Panel_ConnectStatus_PerCent.visible;
    if (context_.Loader_Mode) {
        Panel_Connect_Loader_PerCent = {full.caption, full.background, full.text,
                                        Panel_Connect_Loader_PerCent.visible};
        context_.Panel_ConnectStatus_PerCent = {"0%", Panel_Colours::Red, Panel_Colours::White, visible};
    } else {
        context_.Panel_ConnectStatus_PerCent = {full.caption, full.background, full.text, visible};
    }
    context_.Panels_Changed();
}

void Link_Quality::Timer_Connect_StabilTimer()
{
    Quorel_Timer& timer = context_.Timer_Connect_Stabil;
    if (first_tick_) {
        // A flag rather than a look at the interval: a decay interval that
        // happens to equal the answer interval must still decay.
        first_tick_ = false;
        timer.Set_Enabled(false);
        const Decay decay = Decay_For(context_.Timer_Connect.Interval(), context_.App_Settings.Reply_Delay);
        step_ = decay.Step;
        timer.Set_Interval(decay.Interval);
        timer.Set_Enabled(true);
        return;
    }
    quality_ = std::max(0, quality_ - step_);
    Panel_State& panel = context_.Loader_Mode ? Panel_Connect_Loader_PerCent : context_.Panel_ConnectStatus_PerCent;
    const bool visible = panel.visible;
    panel = Percent_Panel(quality_);
    panel.visible = visible;
    context_.Panels_Changed();
}
