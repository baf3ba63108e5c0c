#include "capture/progress.h"

#include <cstdio>

std::string ProgressLine(int done, int total, double elapsed) {
    const int width = 30;
    int filled = total > 0 ? done * width / total : width;
    std::string bar(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(width - filled), '.');
    char text[160];
    if (done > 0 && done < total) {
        double left = elapsed / done * (total - done);
        std::snprintf(text, sizeof(text), "[%s] %5d/%d frames  %.1f s elapsed, about %.1f s left", bar.c_str(),
                      done, total, elapsed, left);
    } else {
        std::snprintf(text, sizeof(text), "[%s] %5d/%d frames  %.1f s elapsed", bar.c_str(), done, total,
                      elapsed);
    }
    return text;
}
