#include "tools/soundtrack/mp3_encode.h"

#include <lame.h>

#include <algorithm>
#include <vector>

namespace mp3encode {

namespace {

constexpr std::size_t kPiece = 8192;

lame_global_flags* NewEncoder(const Settings& s) {
    if (s.channels != 1 && s.channels != 2) return nullptr;
    lame_global_flags* lame = lame_init();
    if (lame == nullptr) return nullptr;
    lame_set_in_samplerate(lame, s.rate);
    lame_set_out_samplerate(lame, s.rate);
    lame_set_num_channels(lame, s.channels);
    lame_set_mode(lame, s.channels == 1 ? MONO : JOINT_STEREO);
    lame_set_VBR(lame, vbr_off);
    lame_set_brate(lame, s.kbps);
    lame_set_quality(lame, s.quality);
    lame_set_bWriteVbrTag(lame, 1);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return nullptr;
    }
    return lame;
}

int EncodePiece(lame_global_flags* lame, int channels, const std::int16_t* pcm, std::size_t frames,
                unsigned char* out, std::size_t outSize) {
    int n = static_cast<int>(frames);
    int size = static_cast<int>(outSize);
    if (channels == 2) {
        return lame_encode_buffer_interleaved(lame, const_cast<short*>(pcm), n, out, size);
    }
    return lame_encode_buffer(lame, pcm, pcm, n, out, size);
}

std::size_t OutputRoom(std::size_t frames) { return frames + frames / 4 + 7200; }

}  // namespace

std::string Encode(const std::int16_t* pcm, std::size_t frames, const Settings& settings) {
    lame_global_flags* lame = NewEncoder(settings);
    if (lame == nullptr) return {};
    std::vector<unsigned char> out(OutputRoom(kPiece));
    std::string mp3;
    bool ok = true;
    for (std::size_t at = 0; at < frames && ok; at += kPiece) {
        std::size_t n = std::min(kPiece, frames - at);
        int got = EncodePiece(lame, settings.channels, pcm + at * settings.channels, n, out.data(), out.size());
        if (got < 0) ok = false;
        else mp3.append(reinterpret_cast<const char*>(out.data()), static_cast<std::size_t>(got));
    }
    int tail = ok ? lame_encode_flush(lame, out.data(), static_cast<int>(out.size())) : -1;
    if (tail < 0) ok = false;
    else mp3.append(reinterpret_cast<const char*>(out.data()), static_cast<std::size_t>(tail));
    if (ok) {
        // The first frame written was a placeholder of the tag's size; the tag goes in its place.
        unsigned char tag[2880];
        std::size_t tagSize = lame_get_lametag_frame(lame, tag, sizeof(tag));
        if (tagSize > 0 && tagSize <= mp3.size()) mp3.replace(0, tagSize, reinterpret_cast<const char*>(tag), tagSize);
    }
    lame_close(lame);
    return ok ? mp3 : std::string();
}

FileWriter::~FileWriter() {
    if (lame_ != nullptr) lame_close(static_cast<lame_global_flags*>(lame_));
    if (file_ != nullptr) std::fclose(file_);
    delete[] out_;
}

bool FileWriter::Open(const std::string& path, const Settings& settings) {
    lame_ = NewEncoder(settings);
    if (lame_ == nullptr) return false;
    file_ = std::fopen(path.c_str(), "wb+");
    if (file_ == nullptr) return false;
    channels_ = settings.channels;
    outSize_ = OutputRoom(kPiece);
    out_ = new unsigned char[outSize_];
    ok_ = true;
    return true;
}

bool FileWriter::Put(const unsigned char* bytes, int count) {
    if (count < 0) ok_ = false;
    else if (count > 0 && std::fwrite(bytes, 1, static_cast<std::size_t>(count), file_) != static_cast<std::size_t>(count)) ok_ = false;
    return ok_;
}

bool FileWriter::Write(const std::int16_t* pcm, std::size_t frames) {
    auto* lame = static_cast<lame_global_flags*>(lame_);
    for (std::size_t at = 0; at < frames && ok_; at += kPiece) {
        std::size_t n = std::min(kPiece, frames - at);
        Put(out_, EncodePiece(lame, channels_, pcm + at * channels_, n, out_, outSize_));
    }
    return ok_;
}

bool FileWriter::Close() {
    auto* lame = static_cast<lame_global_flags*>(lame_);
    if (lame == nullptr || file_ == nullptr) return false;
    if (ok_) Put(out_, lame_encode_flush(lame, out_, static_cast<int>(outSize_)));
    if (ok_) lame_mp3_tags_fid(lame, file_);
    lame_close(lame);
    lame_ = nullptr;
    if (std::fclose(file_) != 0) ok_ = false;
    file_ = nullptr;
    return ok_;
}

}  // namespace mp3encode
