// A play clock whose sleeps pass at once: a paced replay then runs as fast as it draws while the
// bullets and frames keep the pace of the stated duration (movie frames without a window).
#pragma once

#include "graphics/PlayClock.h"

class VirtualPlayClock : public PlayClock {
  public:
    double now() override { return time_; }
    void sleep(double seconds) override { time_ += seconds; }
    std::optional<std::int64_t> counter() override { return std::nullopt; }
    std::int64_t counterFrequency() override { return 1; }

  private:
    double time_ = 0;
};
