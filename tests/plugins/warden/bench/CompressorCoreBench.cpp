// Frames per second of the compressor's block processing on three kinds of
// input, at two host block sizes.
#include "CompressorCore.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

enum class Input { Quiet, Loud, Silence };

// Quiet stays below the default -8 dB threshold (0.398); loud is limited hard
// and, lifted by the makeup, lands mostly in the clipper's tanh branch.
float amplitudeOf(Input input) {
    switch (input) {
        case Input::Quiet:
            return 0.2f;
        case Input::Loud:
            return 4.0f;
        case Input::Silence:
            break;
    }
    return 0.0f;
}

// The input is refilled only every kBlocksPerFill blocks, so the pause that
// refilling needs costs little against the time measured.
constexpr std::size_t kBlocksPerFill = 256;

void processBlocks(benchmark::State& state, Input input) {
    const auto block = static_cast<std::size_t>(state.range(0));
    const float amplitude = amplitudeOf(input);
    std::vector<float> sourceLeft(block * kBlocksPerFill), sourceRight(sourceLeft.size());
    for (std::size_t i = 0; i < sourceLeft.size(); ++i) {
        sourceLeft[i] = amplitude * std::sin(0.0627f * static_cast<float>(i));
        sourceRight[i] = amplitude * std::sin(0.0411f * static_cast<float>(i) + 1.0f);
    }
    CompressorCore core;
    core.setSampleRate(48000.0f);
    core.setThreshold(0.6f);
    core.setAttack(0.15f);
    core.setRelease(0.5f);
    std::vector<float> left = sourceLeft, right = sourceRight;
    // Let the gain settle first, so the loop measures the steady state.
    for (int pass = 0; pass < 4; ++pass) {
        left = sourceLeft;
        right = sourceRight;
        core.process(static_cast<std::int32_t>(left.size()), left.data(), right.data());
    }
    left = sourceLeft;
    right = sourceRight;
    std::size_t next = 0;
    for (auto _ : state) {
        if (next == kBlocksPerFill) {
            state.PauseTiming();
            left = sourceLeft;
            right = sourceRight;
            next = 0;
            state.ResumeTiming();
        }
        const std::size_t offset = next++ * block;
        benchmark::DoNotOptimize(
            core.process(static_cast<std::int32_t>(block), left.data() + offset, right.data() + offset));
        benchmark::ClobberMemory();
    }
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations() * block),
                                                    benchmark::Counter::kIsRate);
}

void quiet(benchmark::State& state) { processBlocks(state, Input::Quiet); }
void loud(benchmark::State& state) { processBlocks(state, Input::Loud); }
void silence(benchmark::State& state) { processBlocks(state, Input::Silence); }

BENCHMARK(quiet)->Arg(64)->Arg(512);
BENCHMARK(loud)->Arg(64)->Arg(512);
BENCHMARK(silence)->Arg(64)->Arg(512);

}  // namespace

BENCHMARK_MAIN();
