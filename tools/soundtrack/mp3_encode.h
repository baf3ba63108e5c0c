// MP3 encoding with libmp3lame, for the soundtrack generator and for tests and benchmarks that need
// MP3 files of known content. Every file carries its LAME tag (encoder delay and padding), so a
// gapless decoder gives back exactly as many frames as went in, at the same positions.
#ifndef GLIMMERSET_TOOLS_SOUNDTRACK_MP3_ENCODE_H
#define GLIMMERSET_TOOLS_SOUNDTRACK_MP3_ENCODE_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace mp3encode {

struct Settings {
    int rate = 44100;
    int channels = 2;     // 1 or 2
    int kbps = 192;       // constant bit rate
    int quality = 5;      // LAME's 0 (best, slow) .. 9 (fast)
};

// Encodes interleaved 16-bit PCM (frames x channels samples) to a whole MP3 file's bytes; empty
// when the encoder refuses the settings.
std::string Encode(const std::int16_t* pcm, std::size_t frames, const Settings& settings);

// Encodes piece by piece into a file, for inputs too long to hold.
class FileWriter {
public:
    FileWriter() = default;
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    bool Open(const std::string& path, const Settings& settings);
    bool Write(const std::int16_t* pcm, std::size_t frames);
    // Flushes, writes the LAME tag at the file's start and closes it.
    bool Close();

private:
    bool Put(const unsigned char* bytes, int count);

    void* lame_ = nullptr;
    std::FILE* file_ = nullptr;
    int channels_ = 2;
    bool ok_ = false;
    unsigned char* out_ = nullptr;
    std::size_t outSize_ = 0;
};

}  // namespace mp3encode

#endif
