#include "ReductionLed.h"

void ReductionLed::setValue(float gain, bool /*notify*/) { Led::setValue(1.0f - gain, false); }

float ReductionLed::getValue() { return 1.0f - value; }
