// Time for playback: the clock interface (wall time, sleep, high-resolution counter), the real
// clock, the pacing of a replot against it and the bullet clock.
#pragma once

#include "common/Extended.h"

#include <cstdint>
#include <optional>

class PlayClock {
  public:
    virtual ~PlayClock() = default;
    virtual double now() = 0; // seconds from an arbitrary origin
    virtual void sleep(double seconds) = 0;
    // The high-resolution counter; nothing when it cannot be read.
    virtual std::optional<std::int64_t> counter() = 0;
    virtual std::int64_t counterFrequency() = 0; // ticks per second
};

class SteadyPlayClock : public PlayClock {
  public:
    double now() override;
    void sleep(double seconds) override;
    std::optional<std::int64_t> counter() override;
    std::int64_t counterFrequency() override;
};

enum class PlayTimer { Millisecond, Microsecond };

// Spreads a replot over `duration` seconds: after each sub-step it waits until the wall time
// since start reaches the share of the duration that the span played so far represents.
class Pacer {
  public:
    explicit Pacer(PlayClock& clock) : clock_(clock) {}
    void start();
    // False when the high-resolution counter failed ("Hard timer failed").
    bool wait(Extended played, Extended totalSpan, double duration, PlayTimer timer);
    double elapsed() { return clock_.now() - startTime_; }
    PlayClock& clock() { return clock_; }

  private:
    PlayClock& clock_;
    double startTime_ = 0;
    std::int64_t startCount_ = 0;
};

// Bullets move at most 100 times a second while playing, and at every point while integrating.
class BulletClock {
  public:
    explicit BulletClock(PlayClock& clock) : clock_(clock) {}
    void start() { last_ = clock_.now(); }
    bool due(Extended totalSpan, bool recording);

  private:
    PlayClock& clock_;
    double last_ = 0;
};
