#include "Progress.h"

#if defined(_WIN32)
#include <io.h>
#define VT_ISATTY _isatty
#define VT_FILENO _fileno
#else
#include <unistd.h>
#define VT_ISATTY isatty
#define VT_FILENO fileno
#endif

namespace {

constexpr int kBarWidth = 40;

bool stderrIsTerminal() { return VT_ISATTY(VT_FILENO(stderr)) != 0; }

}  // namespace

Progress::Progress(std::int64_t frames, bool enabled) : total(frames), drawing(enabled && frames > 0 && stderrIsTerminal()) {}

Progress::~Progress() {
    if (drawing && shownPercent >= 0) std::fputc('\n', stderr);
}

void Progress::update(std::int64_t done) {
    if (!drawing) return;
    const int percent = static_cast<int>(done * 100 / total);
    if (percent == shownPercent) return;
    shownPercent = percent;
    char bar[kBarWidth + 1];
    const int filled = percent * kBarWidth / 100;
    for (int i = 0; i < kBarWidth; ++i) bar[i] = i < filled ? '#' : '.';
    bar[kBarWidth] = 0;
    std::fprintf(stderr, "\rrendering [%s] %3d%%", bar, percent);
    std::fflush(stderr);
}
