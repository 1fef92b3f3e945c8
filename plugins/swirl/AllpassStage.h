// One first-order allpass section, y[n] = −c·x[n] + x[n−1] + c·y[n−1], held
// in transposed form so that one float of memory suffices.
#pragma once

struct AllpassStage {
    /// The coefficient the stage used last.
    float coef = 0.0f;
    /// The one-sample memory.
    float state = 0.0f;

    /// Runs one sample through the stage with coefficient c.
    float process(float x, float c) {
        coef = c;
        const float y = state - c * x;
        state = x + c * y;
        return y;
    }
};
