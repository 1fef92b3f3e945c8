// An LED of the reduction meter. The effect keeps the compressor's gain as
// its meter parameter and hands that to the meter on every path (reload,
// host change, meter update); this LED turns it into the reduction 1 - gain
// before comparing with its threshold, so the bar lights from its end as the
// gain falls and stays dark while nothing is reduced.
#pragma once

#include "Led.h"

#include <cstdint>

class ReductionLed : public Led {
public:
    using Led::Led;

    /// Takes the gain and shows its reduction. A meter never tells the effect
    /// anything, so notify is ignored.
    void setValue(float gain, bool notify) override;
    /// The gain shown, so that the panel compares gains with gains.
    float getValue() override;
};
