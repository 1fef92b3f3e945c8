// The speaker-arrangement helpers: blocks of any channel count, speakers
// copied field by field, and arrangements matched to a source.
#include "ExtendedEffect.h"
#include "ProbeEffect.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

VstSpeakerProperties* speaker(VstSpeakerArrangement* arrangement, std::int32_t i) {
    return reinterpret_cast<VstSpeakerProperties*>(reinterpret_cast<char*>(arrangement) + 8) + i;
}

bool allZero(const void* block, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(block);
    for (std::size_t i = 0; i < size; ++i)
        if (bytes[i] != 0) return false;
    return true;
}

// A speaker whose every field holds something recognisable, floats included
// whose bits an arithmetic copy could change.
VstSpeakerProperties distinctSpeaker(std::int32_t seed) {
    VstSpeakerProperties s;
    std::memset(&s, 0x5A, sizeof s);
    s.azimuth = -0.0f;
    // A signalling NaN, stored without passing through a float register.
    const std::uint32_t signalling = 0x7FA00001u + static_cast<std::uint32_t>(seed);
    std::memcpy(&s.elevation, &signalling, sizeof signalling);
    s.radius = std::numeric_limits<float>::denorm_min();
    s.reserved = 1.5f + static_cast<float>(seed);
    std::snprintf(s.name, sizeof s.name, "speaker %d", seed);
    s.type = 100 + seed;
    for (std::size_t i = 0; i < sizeof s.future; ++i) s.future[i] = static_cast<char>(seed + static_cast<int>(i));
    return s;
}

void expectSameSpeaker(const VstSpeakerProperties& to, const VstSpeakerProperties& from) {
    EXPECT_EQ(std::bit_cast<std::uint32_t>(to.azimuth), std::bit_cast<std::uint32_t>(from.azimuth));
    EXPECT_EQ(std::bit_cast<std::uint32_t>(to.elevation), std::bit_cast<std::uint32_t>(from.elevation));
    EXPECT_EQ(std::bit_cast<std::uint32_t>(to.radius), std::bit_cast<std::uint32_t>(from.radius));
    EXPECT_EQ(std::bit_cast<std::uint32_t>(to.reserved), std::bit_cast<std::uint32_t>(from.reserved));
    EXPECT_STREQ(to.name, from.name);
    EXPECT_EQ(to.type, from.type);
    EXPECT_EQ(std::memcmp(to.future, from.future, sizeof to.future), 0);
}

TEST(SpeakerArrangement, AllocationGivesAZeroedBlockForEachChannelCount) {
    probe::PlainEffect effect{nullptr};
    for (const std::int32_t channels : {0, 1, 2, 9}) {
        SCOPED_TRACE(std::to_string(channels) + " channels");
        VstSpeakerArrangement* arrangement = nullptr;
        ASSERT_TRUE(effect.allocateArrangement(&arrangement, channels));
        ASSERT_NE(arrangement, nullptr);
        EXPECT_EQ(arrangement->type, 0);
        EXPECT_EQ(arrangement->numChannels, channels);
        EXPECT_TRUE(allZero(speaker(arrangement, 0), 112 * static_cast<std::size_t>(channels)));
        // A second allocation replaces the first rather than adding to it.
        ASSERT_TRUE(effect.allocateArrangement(&arrangement, channels + 1));
        EXPECT_EQ(arrangement->numChannels, channels + 1);
        EXPECT_TRUE(effect.deallocateArrangement(&arrangement));
        EXPECT_EQ(arrangement, nullptr);
    }
}

TEST(SpeakerArrangement, ImpossibleAllocationsAnswerFalseAndLeaveTheVariableNull) {
    probe::PlainEffect effect{nullptr};
    VstSpeakerArrangement* arrangement = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&arrangement, 2));
    EXPECT_FALSE(effect.allocateArrangement(&arrangement, -1));
    EXPECT_EQ(arrangement, nullptr);
    EXPECT_FALSE(effect.allocateArrangement(nullptr, 2));
}

TEST(SpeakerArrangement, DeallocationAlwaysAnswersTrue) {
    probe::PlainEffect effect{nullptr};
    VstSpeakerArrangement* arrangement = nullptr;
    EXPECT_TRUE(effect.deallocateArrangement(&arrangement));
    EXPECT_TRUE(effect.deallocateArrangement(nullptr));
    EXPECT_EQ(arrangement, nullptr);
}

TEST(SpeakerArrangement, CopySpeakerCopiesEveryFieldBitForBit) {
    probe::PlainEffect effect{nullptr};
    const VstSpeakerProperties from = distinctSpeaker(3);
    VstSpeakerProperties to;
    std::memset(&to, 0x33, sizeof to);
    VstSpeakerProperties source = from;
    ASSERT_TRUE(effect.copySpeaker(&to, &source));
    expectSameSpeaker(to, from);
    // The rest of the name is zero, not what the target held.
    EXPECT_TRUE(allZero(to.name + std::strlen(from.name), sizeof to.name - std::strlen(from.name)));
}

TEST(SpeakerArrangement, CopySpeakerCutsANameThatRunsPastItsField) {
    probe::PlainEffect effect{nullptr};
    // 70 characters written from the name onward spill into type and future,
    // which the record's layout allows a careless host to do.
    const std::string seventy(70, 'n');
    VstSpeakerProperties from;
    std::memset(&from, 0, sizeof from);
    std::memcpy(reinterpret_cast<char*>(&from) + 16, seventy.c_str(), seventy.size() + 1);
    VstSpeakerProperties to;
    std::memset(&to, 0x33, sizeof to);
    ASSERT_TRUE(effect.copySpeaker(&to, &from));
    EXPECT_EQ(std::string(to.name), std::string(63, 'n'));
    EXPECT_EQ(to.name[63], 0);
}

TEST(SpeakerArrangement, CopySpeakerRefusesANullSpeakerAndChangesNothing) {
    probe::PlainEffect effect{nullptr};
    VstSpeakerProperties speakerRecord = distinctSpeaker(1);
    const VstSpeakerProperties before = speakerRecord;
    EXPECT_FALSE(effect.copySpeaker(&speakerRecord, nullptr));
    EXPECT_FALSE(effect.copySpeaker(nullptr, &speakerRecord));
    EXPECT_EQ(std::memcmp(&speakerRecord, &before, sizeof before), 0);
}

// A source arrangement built as a host would: one block, speakers after the header.
struct Source {
    explicit Source(std::int32_t channels) : bytes(8 + 112 * static_cast<std::size_t>(channels)) {
        arrangement()->type = 7 + channels;
        arrangement()->numChannels = channels;
        for (std::int32_t i = 0; i < channels; ++i) {
            const VstSpeakerProperties s = distinctSpeaker(i);
            std::memcpy(speaker(arrangement(), i), &s, sizeof s);
        }
    }
    VstSpeakerArrangement* arrangement() { return reinterpret_cast<VstSpeakerArrangement*>(bytes.data()); }
    std::vector<unsigned char> bytes;
};

TEST(SpeakerArrangement, MatchingCopiesTypeAndEverySpeaker) {
    probe::PlainEffect effect{nullptr};
    for (const std::int32_t channels : {0, 1, 3}) {
        SCOPED_TRACE(std::to_string(channels) + " channels");
        Source source{channels};
        VstSpeakerArrangement* target = nullptr;
        ASSERT_TRUE(effect.allocateArrangement(&target, 5));  // replaced by the match
        ASSERT_TRUE(effect.matchArrangement(&target, source.arrangement()));
        ASSERT_NE(target, nullptr);
        EXPECT_EQ(target->type, 7 + channels);
        EXPECT_EQ(target->numChannels, channels);
        for (std::int32_t i = 0; i < channels; ++i) {
            SCOPED_TRACE("speaker " + std::to_string(i));
            expectSameSpeaker(*speaker(target, i), *speaker(source.arrangement(), i));
        }
        effect.deallocateArrangement(&target);
    }
}

TEST(SpeakerArrangement, MatchingANullSourceAnswersFalseAndKeepsTheTarget) {
    probe::PlainEffect effect{nullptr};
    VstSpeakerArrangement* target = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&target, 2));
    VstSpeakerArrangement* const before = target;
    EXPECT_FALSE(effect.matchArrangement(&target, nullptr));
    EXPECT_EQ(target, before);
    effect.deallocateArrangement(&target);
}

TEST(SpeakerArrangement, MatchingAnArrangementToItselfKeepsIt) {
    probe::PlainEffect effect{nullptr};
    VstSpeakerArrangement* arrangement = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&arrangement, 2));
    arrangement->type = 5;
    std::strcpy(speaker(arrangement, 1)->name, "right");
    VstSpeakerArrangement* const same = arrangement;
    EXPECT_TRUE(effect.matchArrangement(&arrangement, same));
    ASSERT_NE(arrangement, nullptr);
    EXPECT_EQ(arrangement->type, 5);
    EXPECT_EQ(arrangement->numChannels, 2);
    EXPECT_STREQ(speaker(arrangement, 1)->name, "right");
    effect.deallocateArrangement(&arrangement);
}

// Matching goes through the effect's own helpers, so a class that refuses to
// copy a speaker makes the whole match fail.
class RefusingCopyEffect : public probe::PlainEffect {
public:
    RefusingCopyEffect() : PlainEffect(nullptr) {}
    bool copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from) override {
        ++copies;
        return copies < 2 && PlainEffect::copySpeaker(to, from);
    }
    int copies = 0;
};

class RefusingAllocationEffect : public probe::PlainEffect {
public:
    RefusingAllocationEffect() : PlainEffect(nullptr) {}
    bool allocateArrangement(VstSpeakerArrangement** arrangement, std::int32_t) override {
        *arrangement = nullptr;
        return false;
    }
};

TEST(SpeakerArrangement, MatchingStopsAtTheFirstHelperThatFails) {
    Source source{3};
    {
        RefusingCopyEffect effect;
        VstSpeakerArrangement* target = nullptr;
        EXPECT_FALSE(effect.matchArrangement(&target, source.arrangement()));
        EXPECT_EQ(effect.copies, 2);
        effect.deallocateArrangement(&target);
    }
    {
        RefusingAllocationEffect effect;
        VstSpeakerArrangement* target = nullptr;
        EXPECT_FALSE(effect.matchArrangement(&target, source.arrangement()));
        EXPECT_EQ(target, nullptr);
    }
}

}  // namespace
