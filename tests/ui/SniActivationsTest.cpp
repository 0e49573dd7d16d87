// Pairing D-Bus activations into clicks and double clicks by the moment each arrived.
#include <gtest/gtest.h>

#include "platform/qt/SniActivations.h"

namespace surftally {
namespace {

using namespace std::chrono_literals;
using Gesture = SniActivations::Gesture;
using Gestures = std::vector<Gesture>;

constexpr auto kInterval = 400ms;
const SniActivations::Clock::time_point t0{};

TEST(SniActivationsTest, ALoneActivationIsAClickOnceItsIntervalIsOver) {
    SniActivations pairing;
    EXPECT_EQ(pairing.arrived(t0, kInterval), Gestures{});
    ASSERT_TRUE(pairing.deadline().has_value());
    EXPECT_GT(*pairing.deadline(), t0 + kInterval);
    EXPECT_EQ(pairing.due(t0 + kInterval), Gestures{});
    EXPECT_EQ(pairing.due(t0 + kInterval + 1ms), Gestures{Gesture::Click});
    EXPECT_FALSE(pairing.deadline().has_value());
    EXPECT_EQ(pairing.due(t0 + 10s), Gestures{});
}

TEST(SniActivationsTest, ABurstIsOneDoubleClickHoweverLateItIsTaken) {
    // Taken 5 s late, all at once: the moments they arrived decide.
    SniActivations pairing;
    EXPECT_EQ(pairing.arrived(t0, kInterval), Gestures{});
    EXPECT_EQ(pairing.arrived(t0 + 150ms, kInterval), Gestures{Gesture::DoubleClick});
    EXPECT_FALSE(pairing.deadline().has_value());
    // A third right after belongs to it; the next after that starts anew.
    EXPECT_EQ(pairing.arrived(t0 + 300ms, kInterval), Gestures{});
    EXPECT_EQ(pairing.due(t0 + 5s), Gestures{});
    EXPECT_EQ(pairing.arrived(t0 + 5s, kInterval), Gestures{});
    EXPECT_EQ(pairing.due(t0 + 5s + kInterval + 1ms), Gestures{Gesture::Click});
}

TEST(SniActivationsTest, ActivationsFurtherApartThanTheIntervalAreClicks) {
    SniActivations pairing;
    EXPECT_EQ(pairing.arrived(t0, kInterval), Gestures{});
    // Taken together with the first, though it came later than the interval.
    EXPECT_EQ(pairing.arrived(t0 + kInterval + 1ms, kInterval), Gestures{Gesture::Click});
    EXPECT_EQ(pairing.due(t0 + 2 * kInterval + 2ms), Gestures{Gesture::Click});
    // After a double click, one further than the interval from its second is a new one.
    EXPECT_EQ(pairing.arrived(t0 + 10s, kInterval), Gestures{});
    EXPECT_EQ(pairing.arrived(t0 + 10s + 100ms, kInterval), Gestures{Gesture::DoubleClick});
    EXPECT_EQ(pairing.arrived(t0 + 10s + 600ms, kInterval), Gestures{});
    EXPECT_EQ(pairing.arrived(t0 + 10s + 700ms, kInterval), Gestures{Gesture::DoubleClick});
}

}  // namespace
}  // namespace surftally
