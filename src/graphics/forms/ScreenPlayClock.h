// The real clock of the graph window, which shows the picture while Play waits between points.
#pragma once

#include "graphics/PlayClock.h"

#include <functional>
#include <utility>

class ScreenPlayClock : public SteadyPlayClock {
  public:
    explicit ScreenPlayClock(std::function<void()> showFrame) : showFrame_(std::move(showFrame)) {}

    // The frame is shown out of the pause, which keeps its length.
    void sleep(double seconds) override {
        const double until = now() + seconds;
        showFrame_();
        if (const double left = until - now(); left > 0)
            SteadyPlayClock::sleep(left);
    }
    // The microsecond timer waits by reading the counter over and over.
    std::optional<std::int64_t> counter() override {
        showFrame_();
        return SteadyPlayClock::counter();
    }

  private:
    std::function<void()> showFrame_;
};
