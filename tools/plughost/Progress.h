// A progress bar on standard error, drawn only when that is a terminal.
#pragma once

#include <cstdint>
#include <cstdio>

class Progress {
public:
    /// A bar for `total` frames; silent unless `enabled` and stderr is a terminal.
    Progress(std::int64_t total, bool enabled);
    ~Progress();

    void update(std::int64_t done);

private:
    std::int64_t total;
    bool drawing;
    int shownPercent = -1;
};
