#include "platform/kernel_handles.h"
#include "timing/frame_pacer.h"
#include "timing/pace_clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// A clock that reads and wakes as Windows' tick does when nothing asks for finer: its time
// moves in steps of `step` microseconds (15,625 on Windows), and a wait wakes on the first
// step at or after its deadline. The true time moves on only as the test works or waits.
class SteppedClock : public PaceClock {
  public:
    explicit SteppedClock(std::uint64_t step) : step_(step) {}
    std::uint64_t nowMicroseconds() override { return trueTime / step_ * step_; }
    bool waitUntil(std::uint64_t deadline, HANDLE) override {
        if (nowMicroseconds() < deadline)
            trueTime = (deadline + step_ - 1) / step_ * step_;
        return true;
    }
    std::uint64_t trueTime = 3'600'000'123; // an hour and a bit after start-up

  private:
    std::uint64_t step_;
};

} // namespace

TEST(FramePacer, FramesKeepTheirMeanPeriodOnACoarseClockAndStartAfreshAfterAStall) {
    struct Case {
        const char* name;
        std::uint64_t stepUs;
        int stallFrame; // the frame whose work takes 300 ms; -1: none
    } cases[] = {
        {"Windows' tick", 15625, -1},
        {"a 1 ms clock", 1000, -1},
        {"Windows' tick, a stall at frame 100", 15625, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SteppedClock clock(c.stepUs);
        FramePacer pacer(nullptr, &clock);
        std::vector<std::uint64_t> starts;
        pacer.startSchedule();
        std::uint32_t seed = 12345;
        for (int frame = 0; frame < 200; ++frame) {
            starts.push_back(clock.trueTime);
            seed = seed * 1103515245 + 12345;
            // Drawing takes up to 30 ms, differently every frame.
            clock.trueTime += frame == c.stallFrame ? 300000 : (seed >> 16) % 30000;
            ASSERT_TRUE(pacer.waitForNextFrame(80));
        }
        std::uint64_t sum = 0;
        int counted = 0;
        for (std::size_t i = 1; i < starts.size(); ++i) {
            const std::uint64_t interval = starts[i] - starts[i - 1];
            if (static_cast<int>(i) - 1 == c.stallFrame) {
                EXPECT_LT(interval, 300000u + c.stepUs) << "the frame after a stall comes at once";
                continue;
            }
            EXPECT_LE(interval, 96000u) << "frame " << i;
            EXPECT_GE(interval, 64000u) << "frame " << i << ": a burst";
            sum += interval;
            ++counted;
        }
        EXPECT_NEAR(static_cast<double>(sum) / counted / 1000.0, 80.0, 0.5) << "mean interval";
    }
}

TEST(FramePacer, APeriodFromStartIsWaitedInFull) {
    SteppedClock clock(15625);
    FramePacer pacer(nullptr, &clock);
    pacer.start();
    const std::uint64_t started = clock.nowMicroseconds();
    clock.trueTime += 20000;
    ASSERT_TRUE(pacer.waitUntil(150));
    EXPECT_GE(clock.nowMicroseconds() - started, 150000u);
    EXPECT_LT(clock.nowMicroseconds() - started, 150000u + 15625u);
}

// Both ways the system's clock can wait: its deadlines hold, and the stop event ends a
// wait at once.
TEST(SystemPaceClock, WaitsReachTheirDeadlineAndEndOnTheStopEvent) {
    for (auto timer : {SystemPaceClock::Timer::PreciseIfAvailable, SystemPaceClock::Timer::None}) {
        SCOPED_TRACE(timer == SystemPaceClock::Timer::None ? "event waits" : "precise timer");
        SystemPaceClock clock(timer);
        KernelHandle stop(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        ASSERT_TRUE(stop);
        const std::uint64_t deadline = clock.nowMicroseconds() + 30000;
        EXPECT_TRUE(clock.waitUntil(deadline, stop.get()));
        EXPECT_GE(clock.nowMicroseconds(), deadline);

        SetEvent(stop.get());
        EXPECT_FALSE(clock.waitUntil(clock.nowMicroseconds() + 3600000000ull, stop.get()))
            << "a wait of an hour did not end on the stop event";
    }
}

namespace {

// The system's timer services as Windows may give them: a high-resolution timer that the
// system makes but refuses to set, or none at all; the finer period counted, not taken.
class RecordingTimerServices : public TimerServices {
  public:
    enum class Timer { Works, Refuses, Missing };
    explicit RecordingTimerServices(Timer timer) : timer_(timer) {}
    HANDLE createHighResolutionTimer() override {
        return timer_ == Timer::Missing ? nullptr : CreateWaitableTimerA(nullptr, FALSE, nullptr);
    }
    bool setTimer(HANDLE timer, std::uint64_t due100ns) override {
        if (timer_ == Timer::Refuses) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
        return TimerServices::setTimer(timer, due100ns);
    }
    bool beginFinePeriod() override {
        ++held;
        return true;
    }
    void endFinePeriod() override { --held; }
    int held = 0;

  private:
    Timer timer_;
};

} // namespace

// Waits keep their deadline whichever timer the system gives; the finer period is taken
// only where the timer cannot serve, and only from a wait to the next pause.
TEST(SystemPaceClock, HoldsTheFinerPeriodOnlyWhileWaitsNeedItAndNeverWhilePaused) {
    using Timer = RecordingTimerServices::Timer;
    struct Case {
        const char* what;
        Timer timer;
        bool precise;
    } cases[] = {
        {"a timer that can be set", Timer::Works, true},
        {"a timer that refuses to be set", Timer::Refuses, false},
        {"no high-resolution timer", Timer::Missing, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingTimerServices services(c.timer);
        {
            SystemPaceClock clock(SystemPaceClock::Timer::PreciseIfAvailable, &services);
            EXPECT_EQ(clock.precise(), c.precise);
            KernelHandle stop(CreateEventA(nullptr, TRUE, FALSE, nullptr));
            FramePacer pacer(stop.get(), &clock);
            EXPECT_EQ(services.held, 0) << "nothing held before the first wait";
            pacer.startSchedule();
            for (int frame = 0; frame < 3; ++frame) {
                const std::uint64_t before = clock.nowMicroseconds();
                ASSERT_TRUE(pacer.waitForNextFrame(20));
                EXPECT_GE(clock.nowMicroseconds() - before, 1000u) << "frame " << frame;
                EXPECT_EQ(services.held, c.precise ? 0 : 1) << "frame " << frame;
            }
            EXPECT_TRUE(pacer.sleep(5)); // a paused poll
            EXPECT_EQ(services.held, 0) << "a pause holds no period";
            ASSERT_TRUE(pacer.waitForNextFrame(20));
            EXPECT_EQ(services.held, c.precise ? 0 : 1) << "taken again on resume";
        }
        EXPECT_EQ(services.held, 0) << "released with the clock";
    }
}
