// Frames per second of the two processors and of the whole effect, and the
// cost of a long silent tail after loud input, when the feedback paths decay
// through denormal numbers.
#include "StepFlanger.h"
#include "StepPhaser.h"
#include "SwirlEffect.h"
#include "TestSignals.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>
#include <xmmintrin.h>

namespace {

// Arguments: block size, then 0 for the default parameters or 1 for all at 1.0.
float parameterValue(const benchmark::State& state) { return state.range(1) == 0 ? 0.03f : 1.0f; }

void blockArguments(benchmark::internal::Benchmark* b) {
    for (std::int64_t block : {64, 512})
        for (std::int64_t allOne : {0, 1}) b->Args({block, allOne});
}

void bmStepFlanger(benchmark::State& state) {
    const auto frames = static_cast<std::int32_t>(state.range(0));
    const float v = parameterValue(state);
    const std::vector<float> input = noise(static_cast<std::size_t>(frames), 1);
    std::vector<float> left(input.size()), right(input.size());
    StepRandom random{StepRandom::seed};
    StepFlanger flanger{random};
    for (auto _ : state) {
        std::copy(input.begin(), input.end(), left.begin());
        std::copy(input.begin(), input.end(), right.begin());
        flanger.process(frames, left.data(), right.data(), v, v, v, v, v, 5512, 0);
        benchmark::DoNotOptimize(left.data());
    }
    state.SetItemsProcessed(state.iterations() * frames);
}
BENCHMARK(bmStepFlanger)->Apply(blockArguments);

void bmStepPhaser(benchmark::State& state) {
    const auto frames = static_cast<std::int32_t>(state.range(0));
    const float v = parameterValue(state);
    const std::vector<float> input = noise(static_cast<std::size_t>(frames), 2);
    std::vector<float> left(input.size()), right(input.size());
    StepRandom random{StepRandom::seed};
    StepPhaser phaser{random};
    for (auto _ : state) {
        std::copy(input.begin(), input.end(), left.begin());
        std::copy(input.begin(), input.end(), right.begin());
        phaser.process(frames, left.data(), right.data(), v, v, v, 5512, 0, 0.8f);
        benchmark::DoNotOptimize(left.data());
    }
    state.SetItemsProcessed(state.iterations() * frames);
}
BENCHMARK(bmStepPhaser)->Apply(blockArguments);

// A host at 120 beats per minute with its transport running.
VstTimeInfo playingAt120{};

std::intptr_t VT_CALLBACK benchmarkHost(AEffect*, std::int32_t opcode, std::int32_t, std::intptr_t, void*, float) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterGetTime) return reinterpret_cast<std::intptr_t>(&playingAt120);
    return 0;
}

void setAll(SwirlEffect& effect, float value) {
    for (std::int32_t index = 0; index < 8; ++index) effect.setParameter(index, value);
}

void bmProcessReplacing(benchmark::State& state) {
    playingAt120.tempo = 120.0;
    playingAt120.flags = kVstTransportPlaying;
    const auto frames = static_cast<std::int32_t>(state.range(0));
    SwirlEffect effect{benchmarkHost};
    setAll(effect, parameterValue(state));
    std::vector<float> inLeft = noise(static_cast<std::size_t>(frames), 3), inRight = noise(inLeft.size(), 4);
    std::vector<float> outLeft(inLeft.size()), outRight(inLeft.size());
    float* inputs[] = {inLeft.data(), inRight.data()};
    float* outputs[] = {outLeft.data(), outRight.data()};
    for (auto _ : state) {
        effect.processReplacing(inputs, outputs, frames);
        playingAt120.samplePos += frames;
        benchmark::DoNotOptimize(outLeft.data());
    }
    state.SetItemsProcessed(state.iterations() * frames);
}
BENCHMARK(bmProcessReplacing)->Apply(blockArguments);

// One second of loud noise, then ten seconds of silence in blocks of 512 with
// every parameter at 1.0; only the silence is timed. Argument: 1 flushes
// denormal numbers to zero for comparison, 0 leaves the processor as a host would.
void bmSilentTailAfterLoudInput(benchmark::State& state) {
    constexpr std::int32_t block = 512;
    constexpr int loudBlocks = 44100 / block;
    constexpr int silentBlocks = 441000 / block;
    const unsigned int savedControl = _mm_getcsr();
    if (state.range(0) == 1) _mm_setcsr(savedControl | 0x8040);  // flush-to-zero and denormals-are-zero
    playingAt120.tempo = 120.0;
    playingAt120.flags = kVstTransportPlaying;
    const std::vector<float> loud = noise(block, 5);
    const std::vector<float> silence(block, 0.0f);
    std::vector<float> outLeft(block), outRight(block);
    float* outputs[] = {outLeft.data(), outRight.data()};
    for (auto _ : state) {
        state.PauseTiming();
        SwirlEffect effect{benchmarkHost};
        setAll(effect, 1.0f);
        float* loudInputs[] = {const_cast<float*>(loud.data()), const_cast<float*>(loud.data())};
        for (int n = 0; n < loudBlocks; ++n) effect.processReplacing(loudInputs, outputs, block);
        state.ResumeTiming();
        float* silentInputs[] = {const_cast<float*>(silence.data()), const_cast<float*>(silence.data())};
        for (int n = 0; n < silentBlocks; ++n) {
            effect.processReplacing(silentInputs, outputs, block);
            benchmark::DoNotOptimize(outLeft.data());
        }
    }
    _mm_setcsr(savedControl);
    state.SetItemsProcessed(state.iterations() * silentBlocks * block);
}
BENCHMARK(bmSilentTailAfterLoudInput)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
