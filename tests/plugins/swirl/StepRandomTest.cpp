#include "StepRandom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <latch>
#include <thread>
#include <vector>

namespace {

TEST(StepRandom, FirstDrawsFromTheSeedFollowTheWrappingRecurrence) {
    StepRandom random{StepRandom::seed};
    const std::uint32_t states[] = {1129873917u, 1591421545u, 3781532491u};
    const double values[] = {0.26307, 0.37053, -0.11954};
    std::uint32_t state = StepRandom::seed;
    for (int n = 0; n < 3; ++n) {
        state = StepRandom::advance(state);
        EXPECT_EQ(state, states[n]);
        const double value = random.next();
        EXPECT_EQ(value, static_cast<std::int32_t>(states[n]) / 4294967291.0);
        EXPECT_NEAR(value, values[n], 5e-6);
    }
}

TEST(StepRandom, ConcurrentDrawsNeitherRepeatNorLoseAState) {
    constexpr int threads = 4;
    constexpr int drawsEach = 200000;
    StepRandom shared{StepRandom::seed};
    std::vector<std::vector<double>> drawn(threads);
    std::vector<std::thread> workers;
    // All threads start drawing together, so their draws really overlap.
    std::latch start{threads};
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&shared, &start, &mine = drawn[t]] {
            mine.reserve(drawsEach);
            start.arrive_and_wait();
            for (int n = 0; n < drawsEach; ++n) mine.push_back(shared.next());
        });
    }
    for (std::thread& worker : workers) worker.join();

    std::vector<double> all;
    for (const auto& mine : drawn) all.insert(all.end(), mine.begin(), mine.end());
    StepRandom alone{StepRandom::seed};
    std::vector<double> sequence(all.size());
    for (double& value : sequence) value = alone.next();
    std::sort(all.begin(), all.end());
    std::sort(sequence.begin(), sequence.end());
    // Compared whole: a mismatch means some state was drawn twice and another never.
    EXPECT_TRUE(all == sequence);
}

}  // namespace
