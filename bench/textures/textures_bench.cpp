// What start-up spends on the show's thirteen images: the whole load as the show does it, against
// libjpeg-turbo decoding the same files alone, and the steps in between (resampling to power-of-two
// sides, GLU's mip-map chain, the level-0 upload).
//
// Needs an X display with OpenGL (run it under scripts/with-xvfb.sh); the images are read from
// GLIMMERSET_ASSET_DIR, or the build's show folder.
#include <GL/gl.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assets/jpeg.h"
#include "assets/power_of_two.h"
#include "assets/texture.h"
#include "shell/glwindow.h"
#include "tools/images/show_images.h"

namespace {

std::string AssetDir() {
    const char* dir = std::getenv("GLIMMERSET_ASSET_DIR");
    return dir ? dir : GLIMMERSET_DEFAULT_ASSET_DIR;
}

std::string PathOf(const show_images::ShowImage& image) { return AssetDir() + "/" + image.fileName; }

struct Decoded {
    ImageData* image;
    int texelWidth;
    int texelHeight;
    std::vector<unsigned char> texels;  // at power-of-two sides
};

std::vector<Decoded>& DecodedImages() {
    static std::vector<Decoded> images = [] {
        std::vector<Decoded> out;
        GLint maxSize = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
        for (const auto& entry : show_images::kShowImages) {
            ImageData* image = LoadJpegFile(PathOf(entry).c_str());
            int w = PowerOfTwoSide(image->width, maxSize), h = PowerOfTwoSide(image->height, maxSize);
            unsigned char* scaled = ResampleImage(image->pixels, image->width, image->height, 3, w, h);
            out.push_back({image, w, h, std::vector<unsigned char>(scaled, scaled + static_cast<size_t>(w) * h * 3)});
            delete[] scaled;
        }
        return out;
    }();
    return images;
}

void DeleteTextures(std::vector<GLuint>& names) {
    glDeleteTextures(static_cast<GLsizei>(names.size()), names.data());
    names.clear();
}

// The thirteen Texture constructions of start-up, in the show's order.
void BM_ShowTextureLoad(benchmark::State& state) {
    std::vector<GLuint> names;
    for (auto _ : state) {
        for (const auto& entry : show_images::kShowImages) names.push_back(Texture(PathOf(entry).c_str()).textureName);
        glFinish();
        state.PauseTiming();
        DeleteTextures(names);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ShowTextureLoad)->Unit(benchmark::kMillisecond);

// libjpeg-turbo alone on the same files: open, decode to RGB rows, release.
void BM_JpegDecodeOnly(benchmark::State& state) {
    for (auto _ : state) {
        for (const auto& entry : show_images::kShowImages) FreeImageData(LoadJpegFile(PathOf(entry).c_str()));
    }
}
BENCHMARK(BM_JpegDecodeOnly)->Unit(benchmark::kMillisecond);

// The same decoding from bytes already in memory: the library's own share without file reads.
void BM_JpegDecodeFromMemory(benchmark::State& state) {
    std::vector<std::string> files;
    for (const auto& entry : show_images::kShowImages) {
        std::ifstream in(PathOf(entry), std::ios::binary);
        files.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    for (auto _ : state) {
        for (const std::string& bytes : files) {
            jpeg_error_mgr errors;
            jpeg_decompress_struct record;
            record.err = jpeg_std_error(&errors);
            jpeg_CreateDecompress(&record, 62, sizeof(jpeg_decompress_struct));
            jpeg_mem_src(&record, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
            ImageData image{};
            DecodeJpeg(&record, &image);
            jpeg_destroy_decompress(&record);
            delete[] image.pixels;
        }
    }
}
BENCHMARK(BM_JpegDecodeFromMemory)->Unit(benchmark::kMillisecond);

// Bringing the decoded images to power-of-two sides.
void BM_ResampleToPowerOfTwo(benchmark::State& state) {
    std::vector<Decoded>& images = DecodedImages();
    for (auto _ : state) {
        for (const Decoded& d : images) {
            delete[] ResampleImage(d.image->pixels, d.image->width, d.image->height, 3, d.texelWidth, d.texelHeight);
        }
    }
}
BENCHMARK(BM_ResampleToPowerOfTwo)->Unit(benchmark::kMillisecond);

// GLU's full mip-map chain from the power-of-two images, uploads included.
void BM_BuildMipmaps(benchmark::State& state) {
    std::vector<Decoded>& images = DecodedImages();
    std::vector<GLuint> names;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (auto _ : state) {
        for (const Decoded& d : images) {
            GLuint name = 0;
            glGenTextures(1, &name);
            glBindTexture(GL_TEXTURE_2D, name);
            gluBuild2DMipmaps(GL_TEXTURE_2D, 3, d.texelWidth, d.texelHeight, GL_RGB, GL_UNSIGNED_BYTE, d.texels.data());
            names.push_back(name);
        }
        glFinish();
        state.PauseTiming();
        DeleteTextures(names);
        state.ResumeTiming();
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}
BENCHMARK(BM_BuildMipmaps)->Unit(benchmark::kMillisecond);

// For comparison: GLU scaling the decoded images itself on the way (what the load avoids, as GLU
// blanks a row of some images).
void BM_GluScalesAndBuildsMipmaps(benchmark::State& state) {
    std::vector<Decoded>& images = DecodedImages();
    std::vector<GLuint> names;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (auto _ : state) {
        for (const Decoded& d : images) {
            GLuint name = 0;
            glGenTextures(1, &name);
            glBindTexture(GL_TEXTURE_2D, name);
            gluBuild2DMipmaps(GL_TEXTURE_2D, 3, d.image->width, d.image->height, GL_RGB, GL_UNSIGNED_BYTE,
                              d.image->pixels);
            names.push_back(name);
        }
        glFinish();
        state.PauseTiming();
        DeleteTextures(names);
        state.ResumeTiming();
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}
BENCHMARK(BM_GluScalesAndBuildsMipmaps)->Unit(benchmark::kMillisecond);

// Level 0 alone, as a PNG load would upload it: the rest of BuildMipmaps is GLU's halving.
void BM_UploadLevelZero(benchmark::State& state) {
    std::vector<Decoded>& images = DecodedImages();
    std::vector<GLuint> names;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (auto _ : state) {
        for (const Decoded& d : images) {
            GLuint name = 0;
            glGenTextures(1, &name);
            glBindTexture(GL_TEXTURE_2D, name);
            glTexImage2D(GL_TEXTURE_2D, 0, 3, d.texelWidth, d.texelHeight, 0, GL_RGB, GL_UNSIGNED_BYTE, d.texels.data());
            names.push_back(name);
        }
        glFinish();
        state.PauseTiming();
        DeleteTextures(names);
        state.ResumeTiming();
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}
BENCHMARK(BM_UploadLevelZero)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("DISPLAY") == nullptr) {
        std::fprintf(stderr, "textures_bench needs an X display with OpenGL: run it under scripts/with-xvfb.sh\n");
        return 1;
    }
    for (const auto& entry : show_images::kShowImages) {
        if (std::FILE* f = std::fopen(PathOf(entry).c_str(), "rb")) {
            std::fclose(f);
        } else {
            std::fprintf(stderr, "%s is missing: build the show_images target first\n", PathOf(entry).c_str());
            return 1;
        }
    }
    GLWindow window(800, 600, 32, false, "textures bench");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (Decoded& d : DecodedImages()) FreeImageData(d.image);
    return 0;
}
