// One MP3 file decoded a piece at a time into 16-bit stereo at the file's own rate. Memory stays the
// same whatever the file's length: nothing but libmpg123's own frame buffers and seek index.
#ifndef GLIMMERSET_PLATFORM_AUDIO_MP3_DECODER_H
#define GLIMMERSET_PLATFORM_AUDIO_MP3_DECODER_H

#include <cstddef>
#include <cstdint>

struct mpg123_handle_struct;

namespace bassimpl {

class Mp3Decoder {
public:
    Mp3Decoder() = default;
    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    // Opens the file and reads up to its first audio frame. exactSeek scans every frame header
    // first, so the length is exact and seeks land on the very sample. False when the file is
    // missing, unreadable or holds no MPEG audio; the decoder is then closed.
    bool Open(const char* path, bool exactSeek);

    int Rate() const { return rate_; }
    // Frames in the file (exact after a scan, else the file's own claim or a guess); -1 unknown.
    std::int64_t Length() const { return length_; }
    // The frame the next Read starts at.
    std::int64_t Position() const { return position_; }
    // True once the last frame was delivered, or decoding failed part-way (the rest is silence).
    bool Ended() const { return ended_; }
    // True when decoding stopped on damaged data rather than at the file's end.
    bool Failed() const { return failed_; }

    // Decodes up to `frames` frames of interleaved stereo into out. Returns the number written; it
    // is less than asked only when the stream ends.
    std::size_t Read(std::int16_t* out, std::size_t frames);

    // Moves to the given frame. A frame past the known length is refused (false, nothing changes);
    // a failure inside the decoder leaves the stream ended.
    bool Seek(std::int64_t frame);

private:
    void Close();

    mpg123_handle_struct* handle_ = nullptr;
    int rate_ = 0;
    std::int64_t length_ = -1;
    std::int64_t position_ = 0;
    bool ended_ = true;
    bool failed_ = false;
};

}  // namespace bassimpl

#endif
