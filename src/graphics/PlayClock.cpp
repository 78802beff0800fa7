// The real clock and the pacing arithmetic of playback.
#include "graphics/PlayClock.h"

#include <chrono>
#include <cmath>
#include <thread>

namespace {

using Steady = std::chrono::steady_clock;

} // namespace

double SteadyPlayClock::now() {
    return std::chrono::duration<double>(Steady::now().time_since_epoch()).count();
}

void SteadyPlayClock::sleep(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

std::optional<std::int64_t> SteadyPlayClock::counter() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Steady::now().time_since_epoch())
        .count();
}

std::int64_t SteadyPlayClock::counterFrequency() {
    return 1000000000;
}

void Pacer::start() {
    startTime_ = clock_.now();
    startCount_ = clock_.counter().value_or(0);
}

bool Pacer::wait(Extended played, Extended totalSpan, double duration, PlayTimer timer) {
    if (totalSpan == 0)
        return true;
    const double target = std::fabs(static_cast<double>(played / totalSpan) * duration);
    if (timer == PlayTimer::Millisecond) {
        const double wait = target - (clock_.now() - startTime_);
        if (wait > 0)
            clock_.sleep(std::round(wait * 1000) / 1000);
        return true;
    }
    const auto ticks = static_cast<std::int64_t>(
        std::llround(target * static_cast<double>(clock_.counterFrequency())));
    for (;;) {
        const auto count = clock_.counter();
        if (!count)
            return false;
        if (*count - startCount_ >= ticks)
            return true;
    }
}

bool BulletClock::due(Extended totalSpan, bool recording) {
    if (totalSpan == 0 || recording)
        return true;
    const double now = clock_.now();
    if (now - last_ < 0.01)
        return false;
    last_ = now;
    return true;
}
