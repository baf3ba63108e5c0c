#ifndef GLIMMERSET_CAPTURE_OPTIONS_H
#define GLIMMERSET_CAPTURE_OPTIONS_H

#include <string>

struct CaptureOptions {
    std::string output = "glimmerset.mp4";
    std::string assets = ".";
    double fps = 60.0;
    int width = 1280;
    int height = 720;
    double start = 0.0;
    double duration = 71.0;
    bool progress = true;
    bool help = false;
};

// Fills `options` from the command line; false with a message in `error` when it cannot.
bool ParseCaptureOptions(int argc, char** argv, CaptureOptions* options, std::string* error);

extern const char kCaptureUsage[];

// The size of the show's 4:3 picture scaled to fit the video, even-sided for the encoder.
void FitPicture(int videoWidth, int videoHeight, int* width, int* height);

#endif
