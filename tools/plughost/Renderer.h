// The render loop: the signal goes through processReplacing block by block,
// the transport advancing and scheduled parameter changes arriving at the
// block that contains them. Plug-ins with more than two inputs get silence on
// the others; outputs beyond the first two are dropped.
#pragma once

#include "Effect.h"
#include "ParameterChanges.h"
#include "Progress.h"
#include "StereoSignal.h"
#include "Transport.h"

#include <vector>

class Renderer {
public:
    Renderer(Effect& effect, Transport& transport, std::int32_t blockSize);

    StereoSignal render(const StereoSignal& input, const std::vector<ScheduledChange>& changes, Progress& progress);

private:
    Effect& effect;
    Transport& transport;
    std::int32_t blockSize;
};
