#include "platform/audio/mp3_decoder.h"

#include <mpg123.h>

#include <cstdio>
#include <mutex>

namespace bassimpl {

namespace {

// A run of reads that give nothing and report no end means the decoder is stuck on damaged data.
constexpr int kMaxEmptyReads = 64;
// Frames decoded and dropped before the target of a seek, so the bit reservoir and the overlap of
// the previous frame are filled and the samples after a seek equal those of a continuous decode.
constexpr long kPreFrames = 4;

void InitLibraryOnce() {
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

}  // namespace

Mp3Decoder::~Mp3Decoder() { Close(); }

void Mp3Decoder::Close() {
    if (handle_ != nullptr) {
        mpg123_delete(handle_);
        handle_ = nullptr;
    }
    rate_ = 0;
    length_ = -1;
    position_ = 0;
    ended_ = true;
    failed_ = false;
}

bool Mp3Decoder::Open(const char* path, bool exactSeek) {
    Close();
    if (path == nullptr) return false;
    InitLibraryOnce();
    int error = MPG123_OK;
    handle_ = mpg123_new(nullptr, &error);
    if (handle_ == nullptr) return false;
    // Quiet: damaged files are the caller's business, not the terminal's. Gapless: the stream holds
    // exactly the samples that were encoded, so positions match the source. No resampling: the
    // stream plays at its own rate.
    mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS | MPG123_FORCE_STEREO, 0.0);
    mpg123_param(handle_, MPG123_REMOVE_FLAGS, MPG123_AUTO_RESAMPLE, 0.0);
    mpg123_param(handle_, MPG123_PREFRAMES, kPreFrames, 0.0);
    if (mpg123_open_fixed(handle_, path, MPG123_STEREO, MPG123_ENC_SIGNED_16) != MPG123_OK) {
        Close();
        return false;
    }
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(handle_, &rate, &channels, &encoding) != MPG123_OK || rate < 8000 ||
        rate > 48000 || channels != MPG123_STEREO || encoding != MPG123_ENC_SIGNED_16) {
        Close();
        return false;
    }
    // A scan that fails (damage it cannot parse past) still leaves a playable stream; positions
    // past the damage are then the decoder's best guess.
    if (exactSeek) mpg123_scan(handle_);
    off_t length = mpg123_length(handle_);
    rate_ = static_cast<int>(rate);
    length_ = length >= 0 ? static_cast<std::int64_t>(length) : -1;
    position_ = 0;
    ended_ = false;
    failed_ = false;
    return true;
}

std::size_t Mp3Decoder::Read(std::int16_t* out, std::size_t frames) {
    std::size_t done = 0;
    int emptyReads = 0;
    while (done < frames && !ended_) {
        std::size_t bytes = 0;
        int result = mpg123_read(handle_, out + done * 2, (frames - done) * 4, &bytes);
        std::size_t got = bytes / 4;
        done += got;
        if (result == MPG123_OK || result == MPG123_NEW_FORMAT) {
            if (result == MPG123_NEW_FORMAT) {
                long rate = 0;
                int channels = 0;
                int encoding = 0;
                if (mpg123_getformat(handle_, &rate, &channels, &encoding) != MPG123_OK || rate != rate_ ||
                    channels != MPG123_STEREO || encoding != MPG123_ENC_SIGNED_16) {
                    ended_ = true;
                    failed_ = true;
                }
            }
            if (got == 0 && ++emptyReads > kMaxEmptyReads) {
                ended_ = true;
                failed_ = true;
            } else if (got != 0) {
                emptyReads = 0;
            }
            continue;
        }
        ended_ = true;
        failed_ = result != MPG123_DONE;
    }
    position_ += static_cast<std::int64_t>(done);
    return done;
}

bool Mp3Decoder::Seek(std::int64_t frame) {
    if (handle_ == nullptr || frame < 0) return false;
    if (length_ >= 0 && frame > length_) return false;
    off_t reached = mpg123_seek(handle_, static_cast<off_t>(frame), SEEK_SET);
    if (reached < 0) {
        position_ = frame;
        ended_ = true;
        failed_ = true;
        return false;
    }
    position_ = static_cast<std::int64_t>(reached);
    ended_ = false;
    failed_ = false;
    return true;
}

}  // namespace bassimpl
