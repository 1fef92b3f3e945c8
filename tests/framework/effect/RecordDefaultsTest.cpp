#include "ExtendedEffect.h"
#include "FakeHost.h"

#include <gtest/gtest.h>

namespace {

class PlainEffect : public ExtendedEffect {
public:
    explicit PlainEffect(HostCallback callback) : ExtendedEffect(callback, 3, 5) {}
    void processReplacing(float**, float**, std::int32_t) override {}
};

TEST(EffectRecord, ConstructionFillsThePublishedDefaults) {
    FakeHost host;
    auto* effect = new PlainEffect(FakeHost::callback());
    AEffect* record = effect->getEffectRecord();
    EXPECT_EQ(record->magic, 0x56737450);
    EXPECT_EQ(record->numPrograms, 3);
    EXPECT_EQ(record->numParams, 5);
    EXPECT_EQ(record->numInputs, 1);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->flags, 16);
    EXPECT_EQ(record->ioRatio, 1.0f);
    EXPECT_EQ(record->version, 1);
    EXPECT_EQ(record->uniqueID, 0x4E6F4566);
    EXPECT_EQ(record->initialDelay, 0);
    EXPECT_EQ(record->object, effect);
    EXPECT_EQ(effect->getSampleRate(), 44100.0f);
    EXPECT_EQ(effect->getBlockSize(), 1024);
    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
}

}  // namespace
