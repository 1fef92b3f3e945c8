// A Warden effect made by the library's createEffect and driven, as a host
// drives it, through its record.
#pragma once

#include "FakeHost.h"
#include "PluginEntry.h"
#include "WardenEffect.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class WardenEffectFixture : public ::testing::Test {
protected:
    WardenEffectFixture()
        : effect(static_cast<WardenEffect*>(createEffect(FakeHost::callback()))), record(effect->getEffectRecord()) {}
    ~WardenEffectFixture() override { dispatch(effClose); }

    std::intptr_t dispatch(std::int32_t opcode, std::int32_t index = 0, std::intptr_t value = 0, void* ptr = nullptr,
                           float opt = 0.0f) {
        return record->dispatcher(record, opcode, index, value, ptr, opt);
    }

    /// The text an opcode writes into a host buffer that starts out full of 'x'.
    std::string textOf(std::int32_t opcode, std::int32_t index = 0, std::intptr_t* answer = nullptr) {
        char buffer[128];
        std::memset(buffer, 'x', sizeof buffer);
        buffer[sizeof buffer - 1] = 0;
        const std::intptr_t result = dispatch(opcode, index, 0, buffer);
        if (answer != nullptr) *answer = result;
        return buffer;
    }

    void setParameter(std::int32_t index, float value) { record->setParameter(record, index, value); }
    float getParameter(std::int32_t index) { return record->getParameter(record, index); }

    /// Renders stereo blocks through the record's processReplacing, output
    /// buffers apart from the input ones.
    void render(std::vector<float>& left, std::vector<float>& right, std::size_t block) {
        std::vector<float> outLeft(left.size()), outRight(right.size());
        for (std::size_t start = 0; start < left.size(); start += block) {
            const std::size_t n = std::min(block, left.size() - start);
            float* inputs[2] = {left.data() + start, right.data() + start};
            float* outputs[2] = {outLeft.data() + start, outRight.data() + start};
            record->processReplacing(record, inputs, outputs, static_cast<std::int32_t>(n));
        }
        left.swap(outLeft);
        right.swap(outRight);
    }

    FakeHost host;
    WardenEffect* effect;
    AEffect* record;
};
