#include "Renderer.h"

#include <algorithm>

Renderer::Renderer(Effect& e, Transport& t, std::int32_t size) : effect(e), transport(t), blockSize(size) {}

StereoSignal Renderer::render(const StereoSignal& input, const std::vector<ScheduledChange>& changes,
                              Progress& progress) {
    const auto inputCount = static_cast<std::size_t>(effect.record().numInputs);
    const auto outputCount = static_cast<std::size_t>(effect.record().numOutputs);
    const auto block = static_cast<std::size_t>(blockSize);
    std::vector<std::vector<float>> inputBuffers(inputCount, std::vector<float>(block));
    std::vector<std::vector<float>> outputBuffers(outputCount, std::vector<float>(block));
    std::vector<float*> inputs, outputs;
    for (auto& buffer : inputBuffers) inputs.push_back(buffer.data());
    for (auto& buffer : outputBuffers) outputs.push_back(buffer.data());

    StereoSignal output;
    output.sampleRate = input.sampleRate;
    output.resize(input.frames());

    auto nextChange = changes.begin();
    for (std::size_t at = 0; at < input.frames(); at += block) {
        const std::size_t frames = std::min(block, input.frames() - at);
        for (; nextChange != changes.end() && nextChange->frame < static_cast<std::int64_t>(at + frames); ++nextChange)
            effect.setParameter(nextChange->index, nextChange->value);
        transport.beginBlock(static_cast<std::int64_t>(at));

        // Every block starts from fresh buffers: a plug-in may have written
        // into its inputs, and one that leaves an output alone leaves silence.
        std::copy_n(input.left.begin() + at, frames, inputBuffers[0].begin());
        std::copy_n(input.right.begin() + at, frames, inputBuffers[1].begin());
        for (std::size_t channel = 2; channel < inputCount; ++channel)
            std::fill_n(inputBuffers[channel].begin(), frames, 0.0f);
        for (auto& buffer : outputBuffers) std::fill_n(buffer.begin(), frames, 0.0f);

        effect.processReplacing(inputs.data(), outputs.data(), static_cast<std::int32_t>(frames));

        std::copy_n(outputBuffers[0].begin(), frames, output.left.begin() + at);
        std::copy_n(outputBuffers[1].begin(), frames, output.right.begin() + at);
        progress.update(static_cast<std::int64_t>(at + frames));
    }
    return output;
}
