#include "capture/options.h"

#include <cstdlib>
#include <cstring>

const char kCaptureUsage[] =
    "Usage: glimmerset-capture [options]\n"
    "Plays the show without a display at a fixed frame rate and writes it to a video file\n"
    "(H.264 in MP4, with the soundtrack as AAC). The show's files are read from the asset folder.\n"
    "\n"
    "  -o, --output PATH    video file to write (default: glimmerset.mp4)\n"
    "  -r, --fps N          frames per second (default: 60)\n"
    "  -s, --size WxH       video size; the 4:3 picture is scaled to fit and centred\n"
    "                       (default: 1280x720)\n"
    "      --start SECONDS  demo time of the first frame (default: 0)\n"
    "      --duration SECONDS  length of the video (default: 71, the whole show)\n"
    "      --assets DIR     folder with the show's images, models and music (default: .)\n"
    "      --no-progress    no progress bar on standard error\n"
    "  -h, --help           this text\n";

namespace {

bool ParseNumber(const char* text, double* value) {
    char* end = nullptr;
    *value = std::strtod(text, &end);
    return end != text && *end == '\0';
}

}  // namespace

bool ParseCaptureOptions(int argc, char** argv, CaptureOptions* options, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](const char** out) {
            if (i + 1 >= argc) {
                *error = "missing value after " + arg;
                return false;
            }
            *out = argv[++i];
            return true;
        };
        const char* v = nullptr;
        if (arg == "-h" || arg == "--help") {
            options->help = true;
        } else if (arg == "--no-progress") {
            options->progress = false;
        } else if (arg == "-o" || arg == "--output") {
            if (!value(&v)) return false;
            options->output = v;
        } else if (arg == "--assets") {
            if (!value(&v)) return false;
            options->assets = v;
        } else if (arg == "-r" || arg == "--fps") {
            if (!value(&v)) return false;
            if (!ParseNumber(v, &options->fps) || options->fps < 1 || options->fps > 240) {
                *error = "the frame rate must be a number from 1 to 240";
                return false;
            }
        } else if (arg == "-s" || arg == "--size") {
            if (!value(&v)) return false;
            int w = 0, h = 0;
            char x = 0, rest = 0;
            if (std::sscanf(v, "%d%c%d%c", &w, &x, &h, &rest) != 3 || (x != 'x' && x != 'X') || w < 16 ||
                h < 16 || w > 7680 || h > 4320) {
                *error = "the size must look like 1280x720 (16x16 to 7680x4320)";
                return false;
            }
            options->width = w;
            options->height = h;
        } else if (arg == "--start") {
            if (!value(&v)) return false;
            if (!ParseNumber(v, &options->start) || options->start < 0 || options->start > 71) {
                *error = "the start must be a demo time from 0 to 71 seconds";
                return false;
            }
        } else if (arg == "--duration") {
            if (!value(&v)) return false;
            if (!ParseNumber(v, &options->duration) || options->duration <= 0 || options->duration > 71) {
                *error = "the duration must be more than 0 and at most 71 seconds";
                return false;
            }
        } else {
            *error = "unknown option " + arg;
            return false;
        }
    }
    return true;
}

void FitPicture(int videoWidth, int videoHeight, int* width, int* height) {
    // 4:3, as large as fits, rounded down to even sides (the encoder's colour planes are halved).
    int w = videoWidth, h = videoWidth * 3 / 4;
    if (h > videoHeight) {
        h = videoHeight;
        w = videoHeight * 4 / 3;
    }
    *width = w & ~1;
    *height = h & ~1;
}
