// The editor opcodes with and without an editor, the key records they build,
// and effClose taking the effect and its editor down.
#include "ExtendedEffect.h"
#include "ProbeEffect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

using probe::call;

std::intptr_t send(AEffect* record, std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                   float opt) {
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

TEST(EditorOpcodes, EachReachesTheEditorAndAnswersExactlyOneOrZero) {
    ERect* rectVariable = nullptr;
    int parentWindow = 0;
    const struct {
        std::int32_t opcode;
        void* ptr;
        std::string reaches;
        bool answersTheEditorsBool;
        std::int32_t index;
        std::intptr_t value;
        float opt;
    } routes[] = {
        {effEditGetRect, &rectVariable, call("editor.getRect", &rectVariable), true, 0, 0, 0.0f},
        {effEditOpen, &parentWindow, call("editor.open", &parentWindow), true, 0, 0, 0.0f},
        {effEditClose, nullptr, "editor.close()", false, 0, 0, 0.0f},
        {effEditIdle, nullptr, "editor.idle()", false, 0, 0, 0.0f},
        {effEditKeyDown, nullptr, call("editor.onKeyDown", 65, 13, 3), true, 65, 0x10D, 3.9f},
        {effEditKeyUp, nullptr, call("editor.onKeyUp", 66, 14, 2), true, 66, 0x20E, 2.5f},
        {effSetEditKnobMode, nullptr, call("editor.setKnobMode", 2), true, 0, 2, 0.0f},
    };
    for (const bool yes : {true, false}) {
        for (const auto& route : routes) {
            SCOPED_TRACE(route.reaches + (yes ? " answering true" : " answering false"));
            std::vector<std::string> log;
            probe::ProbeEffect effect{nullptr, log};
            probe::ProbeEditor* editor = effect.attachEditor();
            editor->yes = yes;
            const std::intptr_t answer = send(effect.record(), route.opcode, route.index, route.value, route.ptr,
                                              route.opt);
            EXPECT_EQ(log, std::vector<std::string>{route.reaches});
            EXPECT_EQ(answer, route.answersTheEditorsBool && yes ? 1 : 0);
        }
    }
}

TEST(EditorOpcodes, GetRectHandsTheHostTheEditorsOwnRectangle) {
    std::vector<std::string> log;
    probe::ProbeEffect effect{nullptr, log};
    probe::ProbeEditor* editor = effect.attachEditor();
    ERect* rect = nullptr;
    EXPECT_EQ(send(effect.record(), effEditGetRect, 0, 0, &rect, 0.0f), 1);
    ASSERT_EQ(rect, &editor->rect);
    EXPECT_EQ(rect->bottom, 83);
    EXPECT_EQ(rect->right, 417);
}

TEST(EditorOpcodes, WithoutAnEditorEveryEditorOpcodeAnswersZeroAndTouchesNothing) {
    const std::int32_t opcodes[] = {effEditGetRect, effEditOpen,  effEditClose,      effEditIdle,
                                    effEditKeyDown, effEditKeyUp, effSetEditKnobMode};
    for (const std::int32_t opcode : opcodes) {
        SCOPED_TRACE("opcode " + std::to_string(opcode));
        std::vector<std::string> log;
        probe::ProbeEffect effect{nullptr, log};
        effect.answer = -7;
        effect.yes = true;
        ERect sentinel{};
        ERect* rectVariable = &sentinel;
        EXPECT_EQ(send(effect.record(), opcode, 65, 0x10D, &rectVariable, 3.9f), 0);
        EXPECT_EQ(rectVariable, &sentinel);
        EXPECT_TRUE(log.empty());
    }
}

TEST(EditorOpcodes, KeyRecordsCarryIndexValueAndTheTruncatedOption) {
    struct Row {
        std::int32_t index;
        std::intptr_t value;
        float opt;
        int character;
        int virt;
        int modifier;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Row rows[] = {
        {65, 0x10D, 3.9f, 65, 13, 3},
        {0, 0, 0.0f, 0, 0, 0},
        {-3, -1, -1.5f, -3, 255, 255},   // truncation toward zero: -1, low byte 0xFF
        {7, 0x1FF, -0.9f, 7, 255, 0},    // -0.9 truncates to 0, not -1
        {9, 300, 256.7f, 9, 44, 0},      // 256 keeps only its low byte
        {1, 5, 1.0e20f, 1, 5, 0},        // beyond any integer: no modifier
        {2, 6, nan, 2, 6, 0},
        {3, 7, -2147483648.0f, 3, 7, 0},  // the most negative integer, low byte 0
    };
    for (const std::int32_t opcode : {effEditKeyDown, effEditKeyUp}) {
        const char* name = opcode == effEditKeyDown ? "editor.onKeyDown" : "editor.onKeyUp";
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(name) + " opt " + std::to_string(row.opt));
            std::vector<std::string> log;
            probe::ProbeEffect effect{nullptr, log};
            effect.attachEditor();
            send(effect.record(), opcode, row.index, row.value, nullptr, row.opt);
            EXPECT_EQ(log, std::vector<std::string>{call(name, row.character, row.virt, row.modifier)});
        }
    }
}

TEST(EditorOpcodes, TheEditorDefaultsHaveNoRectangleAndTrackTheParentWindow) {
    probe::PlainEffect effect{nullptr};
    auto* editor = new EditorBase(&effect);
    effect.setEditor(editor);
    AEffect* record = effect.getEffectRecord();
    EXPECT_EQ(editor->getEffect(), &effect);
    EXPECT_FALSE(editor->isOpen());

    ERect sentinel{};
    ERect* rect = &sentinel;
    EXPECT_EQ(send(record, effEditGetRect, 0, 0, &rect, 0.0f), 0);
    EXPECT_EQ(rect, nullptr);

    int parent = 0;
    EXPECT_EQ(send(record, effEditOpen, 0, 0, &parent, 0.0f), 0);
    EXPECT_TRUE(editor->isOpen());
    EXPECT_EQ(send(record, effEditKeyDown, 65, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(send(record, effEditKeyUp, 65, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(send(record, effSetEditKnobMode, 0, 1, nullptr, 0.0f), 0);
    EXPECT_EQ(send(record, effEditClose, 0, 0, nullptr, 0.0f), 0);
    EXPECT_FALSE(editor->isOpen());
}

TEST(EffectClose, ClosesThenDestroysTheEffectBeforeItsEditorAndAnswersOne) {
    for (const bool withEditor : {true, false}) {
        SCOPED_TRACE(withEditor ? "with an editor" : "without an editor");
        std::vector<std::string> log;
        auto* effect = new probe::ProbeEffect(nullptr, log);
        if (withEditor) effect->attachEditor();
        // The answer the host gets does not depend on what close-time dispatch answers.
        effect->answer = 0;
        AEffect* record = effect->record();
        EXPECT_EQ(send(record, effClose, 0, 0, nullptr, 0.0f), 1);
        const std::vector<std::string> expected =
            withEditor ? std::vector<std::string>{"close()", "~effect", "~editor"}
                       : std::vector<std::string>{"close()", "~effect"};
        EXPECT_EQ(log, expected);
    }
}

}  // namespace
