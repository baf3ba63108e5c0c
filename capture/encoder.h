#ifndef GLIMMERSET_CAPTURE_ENCODER_H
#define GLIMMERSET_CAPTURE_ENCODER_H

#include <string>
#include <sys/types.h>

// Hands raw frames to the ffmpeg program through a pipe; it scales them into the video, adds the
// soundtrack and writes H.264 and AAC in MP4.
struct EncoderSettings {
    std::string output;
    int frameWidth = 800, frameHeight = 600;  // the show's picture, rows bottom first (OpenGL order)
    int videoWidth = 1280, videoHeight = 720;
    double fps = 60.0;
    double duration = 71.0;
    std::string soundtrack;  // empty: a silent video
    double soundtrackStart = 0.0;
};

class VideoEncoder {
public:
    VideoEncoder() = default;
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    bool Start(const EncoderSettings& settings, std::string* error);
    // Writes one frame of frameWidth x frameHeight RGB bytes.
    bool WriteFrame(const unsigned char* rgb);
    // Closes the pipe and waits for ffmpeg; true when it wrote the file.
    bool Finish(std::string* error);

private:
    EncoderSettings settings_;
    int pipe_ = -1;
    pid_t pid_ = -1;
};

#endif
