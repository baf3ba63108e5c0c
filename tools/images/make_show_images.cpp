// Makes the show's thirteen images as JPEG files: nine full-screen overlays, each mostly one colour
// of its own, with its text set in DejaVu Sans Bold, and four sphere maps of a bright tinted
// environment. Everything is computed, so the same program always writes the same bytes.
//
//   make_show_images OUTPUT_DIR [FONT_FILE]
#include <ft2build.h>
#include FT_FREETYPE_H

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "tools/images/show_images.h"

namespace {

constexpr const char* kDefaultFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

struct Colour {
    float r, g, b;
};

Colour operator*(Colour c, float f) { return {c.r * f, c.g * f, c.b * f}; }
Colour operator+(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Colour Mix(Colour a, Colour b, float t) { return a * (1.0f - t) + b * t; }
const Colour kWhite{1.0f, 1.0f, 1.0f};

float Clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }
float Smoothstep(float edge0, float edge1, float x) {
    float t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

Colour Dominant(const show_images::ShowImage& image) {
    return {image.r / 255.0f, image.g / 255.0f, image.b / 255.0f};
}

struct Canvas {
    Canvas(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, Colour{0, 0, 0}) {}
    Colour& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    void Blend(int x, int y, Colour c, float alpha) {
        if (x < 0 || y < 0 || x >= width || y >= height || alpha <= 0.0f) return;
        Colour& p = At(x, y);
        p = Mix(p, c, Clamp01(alpha));
    }
    int width;
    int height;
    std::vector<Colour> pixels;
};

// Deterministic pseudo-random numbers for scattered decorations.
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed) {}
    float Next() {  // in [0, 1)
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<float>(state_ >> 8) / 16777216.0f;
    }

private:
    std::uint32_t state_;
};

// ---- Shapes -------------------------------------------------------------------------------------

// Base colour brighter at the top, darker at the bottom and in the corners: the hue never changes.
void FillBackground(Canvas& canvas, Colour base) {
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            float fy = (y + 0.5f) / canvas.height;
            float dx = (x + 0.5f) / canvas.width - 0.5f;
            float dy = fy - 0.5f;
            float light = 1.12f - 0.3f * fy;
            float vignette = 1.0f - 0.55f * (dx * dx + dy * dy);
            canvas.At(x, y) = base * (light * vignette);
        }
    }
}

// Anti-aliased ring between radii inner and outer (inner 0: a disc).
void Ring(Canvas& canvas, float cx, float cy, float inner, float outer, Colour c, float alpha) {
    int x0 = static_cast<int>(std::floor(cx - outer - 1)), x1 = static_cast<int>(std::ceil(cx + outer + 1));
    int y0 = static_cast<int>(std::floor(cy - outer - 1)), y1 = static_cast<int>(std::ceil(cy + outer + 1));
    for (int y = std::max(0, y0); y <= std::min(canvas.height - 1, y1); ++y) {
        for (int x = std::max(0, x0); x <= std::min(canvas.width - 1, x1); ++x) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            float cover = Clamp01(outer - d + 0.5f) * (inner > 0 ? Clamp01(d - inner + 0.5f) : 1.0f);
            canvas.Blend(x, y, c, cover * alpha);
        }
    }
}

void Rect(Canvas& canvas, int x0, int y0, int x1, int y1, Colour c, float alpha) {
    for (int y = std::max(0, y0); y < std::min(canvas.height, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(canvas.width, x1); ++x) canvas.Blend(x, y, c, alpha);
}

// A four-pointed glint with a soft glow.
void Sparkle(Canvas& canvas, float cx, float cy, float size, Colour c) {
    int r = static_cast<int>(std::ceil(size));
    for (int y = static_cast<int>(cy) - r; y <= static_cast<int>(cy) + r; ++y) {
        for (int x = static_cast<int>(cx) - r; x <= static_cast<int>(cx) + r; ++x) {
            float dx = std::fabs(x + 0.5f - cx) / size, dy = std::fabs(y + 0.5f - cy) / size;
            float arms = Clamp01((1 - dx) * (1 - dy * 9)) + Clamp01((1 - dy) * (1 - dx * 9));
            float glow = std::exp(-(dx * dx + dy * dy) * 14.0f);
            canvas.Blend(x, y, c, Clamp01(arms + 0.8f * glow));
        }
    }
}

// ---- Text ---------------------------------------------------------------------------------------

struct Mask {
    int width = 0;
    int height = 0;
    int baseline = 0;  // rows from the mask's top to the baseline
    std::vector<float> cover;
    float At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return 0.0f;
        return cover[static_cast<size_t>(y) * width + x];
    }
};

class Font {
public:
    explicit Font(const char* path) {
        ok_ = FT_Init_FreeType(&library_) == 0 && FT_New_Face(library_, path, 0, &face_) == 0;
    }
    ~Font() {
        if (face_) FT_Done_Face(face_);
        if (library_) FT_Done_FreeType(library_);
    }
    bool ok() const { return ok_; }

    // The text's coverage at `pixelSize`, with `pad` empty pixels all round.
    Mask Render(const std::u32string& text, int pixelSize, int pad) {
        FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixelSize));
        struct Placed {
            int x, y, w, h;
            std::vector<unsigned char> bits;
        };
        std::vector<Placed> glyphs;
        long pen = 0;
        FT_UInt previous = 0;
        int top = 0, bottom = 0, right = 0;
        for (char32_t ch : text) {
            FT_UInt index = FT_Get_Char_Index(face_, ch);
            if (previous != 0 && FT_HAS_KERNING(face_)) {
                FT_Vector kern;
                FT_Get_Kerning(face_, previous, index, FT_KERNING_DEFAULT, &kern);
                pen += kern.x;
            }
            if (FT_Load_Glyph(face_, index, FT_LOAD_RENDER) != 0) continue;
            FT_GlyphSlot slot = face_->glyph;
            Placed g{static_cast<int>(pen >> 6) + slot->bitmap_left, -slot->bitmap_top,
                     static_cast<int>(slot->bitmap.width), static_cast<int>(slot->bitmap.rows), {}};
            g.bits.resize(static_cast<size_t>(g.w) * g.h);
            for (int row = 0; row < g.h; ++row)
                for (int col = 0; col < g.w; ++col)
                    g.bits[static_cast<size_t>(row) * g.w + col] = slot->bitmap.buffer[row * slot->bitmap.pitch + col];
            top = std::min(top, g.y);
            bottom = std::max(bottom, g.y + g.h);
            right = std::max(right, g.x + g.w);
            pen += slot->advance.x;
            previous = index;
            glyphs.push_back(std::move(g));
        }
        Mask mask;
        mask.width = right + 2 * pad;
        mask.height = bottom - top + 2 * pad;
        mask.baseline = pad - top;
        mask.cover.assign(static_cast<size_t>(mask.width) * mask.height, 0.0f);
        for (const Placed& g : glyphs) {
            for (int row = 0; row < g.h; ++row) {
                for (int col = 0; col < g.w; ++col) {
                    int x = pad + g.x + col, y = mask.baseline + g.y + row;
                    if (x < 0 || x >= mask.width) continue;
                    float& c = mask.cover[static_cast<size_t>(y) * mask.width + x];
                    c = std::max(c, g.bits[static_cast<size_t>(row) * g.w + col] / 255.0f);
                }
            }
        }
        return mask;
    }

private:
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    bool ok_ = false;
};

// The mask grown by `radius` pixels in every direction: an outline around the letters.
Mask Grow(const Mask& mask, int radius) {
    Mask grown = mask;
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            float best = 0.0f;
            for (int dy = -radius; dy <= radius && best < 1.0f; ++dy)
                for (int dx = -radius; dx <= radius; ++dx)
                    if (dx * dx + dy * dy <= radius * radius) best = std::max(best, mask.At(x + dx, y + dy));
            grown.cover[static_cast<size_t>(y) * mask.width + x] = best;
        }
    }
    return grown;
}

void Stamp(Canvas& canvas, const Mask& mask, int left, int top, Colour c, float alpha) {
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x) canvas.Blend(left + x, top + y, c, mask.At(x, y) * alpha);
}

struct TextStyle {
    int size;
    Colour fill;
    Colour outline;
    int outlineRadius;
    int shadowOffset;
};

// Sets `text` centred on cx with its baseline at `baseline`: shadow, outline, then the letters.
void Text(Canvas& canvas, Font& font, const std::u32string& text, float cx, int baseline, const TextStyle& style) {
    int pad = style.outlineRadius + 1;
    Mask mask = font.Render(text, style.size, pad);
    Mask outline = style.outlineRadius > 0 ? Grow(mask, style.outlineRadius) : mask;
    int left = static_cast<int>(std::lround(cx - mask.width / 2.0f));
    int top = baseline - mask.baseline;
    if (style.shadowOffset > 0)
        Stamp(canvas, outline, left + style.shadowOffset, top + style.shadowOffset, Colour{0, 0, 0}, 0.45f);
    if (style.outlineRadius > 0) Stamp(canvas, outline, left, top, style.outline, 1.0f);
    Stamp(canvas, mask, left, top, style.fill, 1.0f);
}

// ---- The overlays -------------------------------------------------------------------------------

// "Glimmerset - Ûquandrix" between a glow and a field of glints.
void TitleCard(Canvas& c, Font& font, Colour base) {
    FillBackground(c, base);
    Ring(c, c.width / 2.0f, c.height * 0.47f, 0, 260, Mix(base, kWhite, 0.35f), 0.35f);
    Ring(c, c.width / 2.0f, c.height * 0.47f, 0, 170, Mix(base, kWhite, 0.35f), 0.3f);
    Random random(0x61696d);
    for (int i = 0; i < 70; ++i) {
        float x = random.Next() * c.width, y = random.Next() * c.height, s = 4 + random.Next() * 14;
        Sparkle(c, x, y, s, Mix(base, kWhite, 0.8f));
    }
    Colour deep = base * 0.3f;
    Text(c, font, U"Glimmerset", c.width / 2.0f, 270, {104, kWhite, deep, 5, 7});
    Rect(c, c.width / 2 - 200, 312, c.width / 2 + 200, 318, Mix(base, kWhite, 0.7f), 0.9f);
    Text(c, font, U"\u00DBquandrix", c.width / 2.0f, 410, {76, Mix(base, kWhite, 0.75f), deep, 4, 6});
}

// A shaded ball resting on its shadow, and its name.
void Ball(Canvas& c, Font& font, Colour base) {
    FillBackground(c, base);
    const float cx = c.width / 2.0f, cy = 200, radius = 140;
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            float sx = (x + 0.5f - cx) / (radius * 1.05f), sy = (y + 0.5f - (cy + radius + 8)) / (radius * 0.18f);
            float shadow = Clamp01(1.0f - (sx * sx + sy * sy));
            c.Blend(x, y, base * 0.35f, shadow * 0.7f);
        }
    }
    const float lx = -0.45f, ly = -0.6f, lz = 0.66f;  // light from the upper left
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            float nx = (x + 0.5f - cx) / radius, ny = (y + 0.5f - cy) / radius;
            float d2 = nx * nx + ny * ny;
            float cover = Clamp01((1.0f - std::sqrt(d2)) * radius + 0.5f);
            if (cover <= 0) continue;
            float nz = std::sqrt(std::max(0.0f, 1.0f - d2));
            float diffuse = std::max(0.0f, nx * lx + ny * ly + nz * lz);
            float hz = lz + 1.0f, hl = std::sqrt(lx * lx + ly * ly + hz * hz);
            float highlight = std::pow(std::max(0.0f, (nx * lx + ny * ly + nz * hz) / hl), 60.0f);
            // Gores round a tilted axis, like a beach ball, in a lighter tint of the same colour.
            float tx = nx * 0.94f - ny * 0.34f;
            float stripe = Smoothstep(-0.08f, 0.08f, std::sin(std::atan2(tx, nz) * 6.0f));
            Colour body = Mix(base, Mix(base, kWhite, 0.45f), stripe) * (0.35f + 0.85f * diffuse);
            c.Blend(x, y, body + kWhite * (0.8f * highlight), cover);
        }
    }
    Text(c, font, U"a ball", cx, 430, {64, kWhite, base * 0.3f, 4, 5});
}

// "the end" over rings that spread from the middle, with scan lines.
void TheEnd(Canvas& c, Font& font, Colour base) {
    FillBackground(c, base);
    for (int i = 1; i <= 7; ++i)
        Ring(c, c.width / 2.0f, c.height / 2.0f, 60.0f * i, 60.0f * i + 10, base * 0.7f, 0.6f);
    for (int y = 0; y < c.height; y += 4) Rect(c, 0, y, c.width, y + 1, base * 0.6f, 0.35f);
    Text(c, font, U"the end", c.width / 2.0f, 350, {140, kWhite, base * 0.3f, 6, 8});
}

// "loading" over a progress bar and a ring of dots.
void Loading(Canvas& c, Font& font, Colour base) {
    FillBackground(c, base);
    for (int i = 0; i < 12; ++i) {
        float a = i * 3.14159265f / 6.0f;
        Ring(c, c.width / 2.0f + 70 * std::sin(a), 130 - 70 * std::cos(a), 0, 11, Mix(base, kWhite, 0.7f),
             0.25f + 0.06f * i);
    }
    Text(c, font, U"loading", c.width / 2.0f, 300, {96, kWhite, base * 0.3f, 5, 6});
    const int x0 = 120, x1 = c.width - 120, y0 = 345, y1 = 375;
    Rect(c, x0 - 4, y0 - 4, x1 + 4, y1 + 4, kWhite, 0.9f);
    Rect(c, x0, y0, x1, y1, base * 0.45f, 1.0f);
    Rect(c, x0 + 4, y0 + 4, x0 + 4 + (x1 - x0 - 8) * 62 / 100, y1 - 4, Mix(base, kWhite, 0.4f), 1.0f);
}

// A background: a lattice of discs and rings, slightly brighter and darker than the ground.
void Background(Canvas& c, Colour base) {
    FillBackground(c, base);
    const float step = 80;
    for (int row = -1; row <= c.height / step + 1; ++row) {
        for (int col = -1; col <= c.width / step + 1; ++col) {
            float x = col * step + ((row & 1) ? step / 2 : 0), y = row * step;
            Ring(c, x, y, 0, 26, Mix(base, kWhite, 0.3f), 0.45f);
            Ring(c, x, y, 34, 38, base * 0.6f, 0.6f);
            Ring(c, x + step / 2, y + step / 2 - ((row & 1) ? step / 2 : 0), 0, 6, base * 0.55f, 0.7f);
        }
    }
}

// "jalla" over bands of waves.
void Jalla(Canvas& c, Font& font, Colour base) {
    FillBackground(c, base);
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            float wave = std::sin(y * 0.045f + 2.2f * std::sin(x * 0.012f));
            if (wave > 0.55f) c.Blend(x, y, Mix(base, kWhite, 0.35f), Smoothstep(0.55f, 0.7f, wave) * 0.5f);
            if (wave < -0.8f) c.Blend(x, y, base * 0.6f, Smoothstep(-0.8f, -0.9f, wave) * 0.6f);
        }
    }
    Text(c, font, U"jalla", c.width / 2.0f, 360, {170, kWhite, base * 0.3f, 7, 9});
}

// Who made what.
void Names(Canvas& c, Font& font, Colour base) {
    FillBackground(c, base);
    for (int i = 0; i < 6; ++i) Rect(c, 0, 130 + 80 * i, c.width, 131 + 80 * i, Mix(base, kWhite, 0.4f), 0.5f);
    Text(c, font, U"credits", c.width / 2.0f, 95, {64, kWhite, base * 0.3f, 4, 5});
    struct Credit {
        const char32_t* role;
        const char32_t* name;
    };
    const Credit credits[] = {{U"code", U"Skumring"}, {U"graphics", U"Morild"}, {U"models", U"Nordlys"},
                              {U"music", U"Velloro"}};
    int baseline = 195;
    for (const Credit& credit : credits) {
        Text(c, font, credit.role, c.width * 0.3f, baseline, {30, Mix(base, kWhite, 0.7f), base * 0.3f, 2, 3});
        Text(c, font, credit.name, c.width * 0.62f, baseline + 8, {46, kWhite, base * 0.3f, 3, 4});
        baseline += 100;
    }
}

// "thx" among bubbles.
void Thanks(Canvas& c, Font& font, Colour base) {
    FillBackground(c, base);
    Random random(0x746878);
    for (int i = 0; i < 40; ++i) {
        float x = random.Next() * c.width, y = random.Next() * c.height, r = 8 + random.Next() * 34;
        Ring(c, x, y, r - 3, r, Mix(base, kWhite, 0.5f), 0.5f);
        Ring(c, x - r * 0.35f, y - r * 0.35f, 0, r * 0.2f, Mix(base, kWhite, 0.6f), 0.4f);
    }
    Text(c, font, U"thx", c.width / 2.0f, 270, {180, kWhite, base * 0.3f, 7, 9});
    Text(c, font, U"for watching", c.width / 2.0f, 370, {44, Mix(base, kWhite, 0.75f), base * 0.3f, 3, 4});
}

// "the real end" under a starry sky over a glowing horizon.
void RealEnd(Canvas& c, Font& font, Colour base) {
    FillBackground(c, base);
    for (int y = 0; y < c.height; ++y) {
        float glow = std::exp(-std::fabs(y - c.height * 0.72f) / 40.0f);
        for (int x = 0; x < c.width; ++x) c.Blend(x, y, Mix(base, kWhite, 0.5f), glow * 0.6f);
    }
    Rect(c, 0, static_cast<int>(c.height * 0.72f), c.width, c.height, base * 0.4f, 0.8f);
    Random random(0x656e64);
    for (int i = 0; i < 160; ++i) {
        float x = random.Next() * c.width, y = random.Next() * c.height * 0.65f;
        Ring(c, x, y, 0, 0.8f + random.Next() * 1.8f, kWhite, 0.5f + 0.5f * random.Next());
    }
    Text(c, font, U"the real end", c.width / 2.0f, 330, {96, kWhite, base * 0.3f, 5, 7});
}

// ---- Sphere maps --------------------------------------------------------------------------------

// What a mirror ball sees in the direction r (y up): a tinted sky with streaks of cloud, a sun and a
// window light, and a checkered floor that fades into the haze of the horizon.
Colour Environment(float rx, float ry, float rz, Colour tint) {
    const Colour horizon = Mix(tint, kWhite, 0.75f);
    Colour c;
    if (ry >= 0) {
        Colour zenith = tint * 0.55f;
        c = Mix(horizon, zenith, std::pow(ry, 0.6f));
        float azimuth = std::atan2(rx, rz);
        float cloud = Smoothstep(0.3f, 0.9f, std::sin(azimuth * 7.0f + 3.0f * std::sin(ry * 11.0f))) *
                      std::exp(-ry * 3.0f);
        c = Mix(c, kWhite, 0.45f * cloud);
    } else {
        float distance = 1.0f / std::max(-ry, 1e-3f);
        float px = rx * distance, pz = rz * distance;
        bool light = (static_cast<int>(std::floor(px)) + static_cast<int>(std::floor(pz))) & 1;
        Colour floor = tint * (light ? 0.48f : 0.24f);
        c = Mix(floor, horizon * 0.8f, Clamp01(1.0f - (-ry) * 2.2f));
    }
    c = c + kWhite * (0.5f * std::exp(-std::fabs(ry) * 25.0f));
    const float sx = 0.45f, sy = 0.55f, sz = 0.70f;  // the sun, unit length
    float sun = std::max(0.0f, rx * sx + ry * sy + rz * sz);
    c = c + kWhite * (2.5f * std::pow(sun, 600.0f) + 0.3f * std::pow(sun, 25.0f));
    // A tall window to the left, a little above the horizon.
    float wa = std::atan2(rx, rz), we = std::asin(std::max(-1.0f, std::min(1.0f, ry)));
    float window = Smoothstep(0.22f, 0.18f, std::fabs(wa + 0.9f)) * Smoothstep(0.3f, 0.25f, std::fabs(we - 0.3f));
    return c + kWhite * (0.7f * window);
}

// Image row 0 is texture t = 0, which sphere mapping reaches with reflections pointing down: the
// floor lies at the top of the picture and the sky at the bottom, as OpenGL will look them up.
void SphereMap(Canvas& c, Colour tint) {
    const int samples = 3;
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            Colour sum{0, 0, 0};
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    float u = 2.0f * (x + (sx + 0.5f) / samples) / c.width - 1.0f;
                    float v = 2.0f * (y + (sy + 0.5f) / samples) / c.height - 1.0f;
                    float d = std::hypot(u, v);
                    if (d > 0.999f) {  // outside the disc: continue the rim, which sees straight behind
                        u *= 0.999f / d;
                        v *= 0.999f / d;
                    }
                    float nz = std::sqrt(std::max(0.0f, 1.0f - u * u - v * v));
                    sum = sum + Environment(2 * nz * u, 2 * nz * v, 2 * nz * nz - 1, tint);
                }
            }
            c.At(x, y) = sum * (1.0f / (samples * samples));
        }
    }
}

// ---- Output -------------------------------------------------------------------------------------

bool WriteJpeg(const std::string& path, const Canvas& canvas) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::perror(path.c_str());
        return false;
    }
    jpeg_compress_struct record;
    jpeg_error_mgr errors;
    record.err = jpeg_std_error(&errors);
    jpeg_create_compress(&record);
    jpeg_stdio_dest(&record, file);
    record.image_width = static_cast<JDIMENSION>(canvas.width);
    record.image_height = static_cast<JDIMENSION>(canvas.height);
    record.input_components = 3;
    record.in_color_space = JCS_RGB;
    jpeg_set_defaults(&record);
    jpeg_set_quality(&record, 92, TRUE);
    record.dct_method = JDCT_ISLOW;
    // Full-resolution colour keeps the edges of coloured letters clean.
    for (int i = 0; i < record.num_components; ++i) {
        record.comp_info[i].h_samp_factor = 1;
        record.comp_info[i].v_samp_factor = 1;
    }
    jpeg_start_compress(&record, TRUE);
    std::vector<JSAMPLE> row(static_cast<size_t>(canvas.width) * 3);
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            const Colour& p = canvas.pixels[static_cast<size_t>(y) * canvas.width + x];
            row[x * 3 + 0] = static_cast<JSAMPLE>(std::lround(Clamp01(p.r) * 255.0f));
            row[x * 3 + 1] = static_cast<JSAMPLE>(std::lround(Clamp01(p.g) * 255.0f));
            row[x * 3 + 2] = static_cast<JSAMPLE>(std::lround(Clamp01(p.b) * 255.0f));
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&record, rows, 1);
    }
    jpeg_finish_compress(&record);
    jpeg_destroy_compress(&record);
    bool ok = std::fclose(file) == 0;
    if (!ok) std::perror(path.c_str());
    return ok;
}

void Draw(const show_images::ShowImage& image, Canvas& canvas, Font& font) {
    const std::string name = image.fileName;
    const Colour base = Dominant(image);
    if (image.role == show_images::Role::SphereMap) return SphereMap(canvas, base);
    if (name == "kn\xE6sjbg.jpg") return TitleCard(canvas, font, base);
    if (name == "aball.jpg") return Ball(canvas, font, base);
    if (name == "theend.jpg") return TheEnd(canvas, font, base);
    if (name == "loading.jpg") return Loading(canvas, font, base);
    if (name == "bakgrunn.jpg") return Background(canvas, base);
    if (name == "jalla5.jpg") return Jalla(canvas, font, base);
    if (name == "names.jpg") return Names(canvas, font, base);
    if (name == "thx.jpg") return Thanks(canvas, font, base);
    if (name == "realend.jpg") return RealEnd(canvas, font, base);
    FillBackground(canvas, base);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR [FONT_FILE]\n", argv[0]);
        return 2;
    }
    const std::string outputDir = argv[1];
    const char* fontPath = argc == 3 ? argv[2] : kDefaultFont;
    mkdir(outputDir.c_str(), 0777);

    Font font(fontPath);
    if (!font.ok()) {
        std::fprintf(stderr, "%s: cannot load the font (package fonts-dejavu-core)\n", fontPath);
        return 1;
    }
    for (const show_images::ShowImage& image : show_images::kShowImages) {
        Canvas canvas(image.width, image.height);
        Draw(image, canvas, font);
        if (!WriteJpeg(outputDir + "/" + image.fileName, canvas)) return 1;
    }
    return 0;
}
