// PNG reading through libpng (via the file layer) and the PNG writer used for screenshots.
//
// libpng reports errors by longjmp back to the setjmp in each function; everything those
// functions must clean up lives in a plain struct reached through a pointer, so no C++ object
// with a destructor is skipped and no local changed after setjmp is read after the jump.
#include "gfx/image.h"

#include "platform/files.h"
#include "platform/log.h"

#include <csetjmp>
#include <cstdio>
#include <png.h>

namespace kel {

namespace {

// libpng's own ceiling on ancillary chunk allocations (text, ICC profiles).
constexpr png_alloc_size_t kPngChunkLimit = 8u * 1024 * 1024;

void PngRead(png_structp png, png_bytep data, png_size_t length) {
    auto* file = static_cast<FileHandle*>(png_get_io_ptr(png));
    if (FileRead(data, 1, length, file) != length) png_error(png, "Read Error");
}

void PngWarning(png_structp, png_const_charp) {}

void PngError(png_structp png, png_const_charp message) {
    LogDebug("PNG: %s", message);
    png_longjmp(png, 1);
}

struct PngReadState {
    FileHandle* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    Image* image = nullptr;
};

// Decodes into state->image; false on any failure (the caller frees what the state holds).
bool DecodePng(PngReadState* state) {
    png_structp png = state->png;
    png_infop info = state->info;
    if (setjmp(png_jmpbuf(png))) return false;

    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_set_chunk_malloc_max(png, kPngChunkLimit);
    png_set_read_fn(png, state->file, PngRead);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (!ImageSizeAllowed(static_cast<long>(width), static_cast<long>(height))) return false;

    png_set_expand(png);
    png_set_strip_16(png); // 16-bit channels would not fit four bytes per pixel
    png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    // Whatever the file claimed, each row must now be exactly B, G, R, A per pixel.
    if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4) return false;

    state->image = new Image;
    if (!state->image->Allocate(static_cast<int>(width), static_cast<int>(height))) return false;
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png,
                         reinterpret_cast<png_bytep>(state->image->pixels + static_cast<size_t>(y) * width),
                         nullptr);
    png_read_end(png, nullptr);
    return true;
}

struct PngWriteState {
    FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
};

bool EncodePng(PngWriteState* state, const Image* image) {
    png_structp png = state->png;
    png_infop info = state->info;
    if (setjmp(png_jmpbuf(png))) return false;

    png_init_io(png, state->file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image->width), static_cast<png_uint_32>(image->height),
                 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color_8 significant{};
    significant.red = 8;
    significant.green = 8;
    significant.blue = 8;
    significant.alpha = 8;
    png_set_sBIT(png, info, &significant);
    png_write_info(png, info);
    png_set_bgr(png);
    // Bottom row first: OpenGL's bottom-up screen rows come out upright.
    for (int y = image->height - 1; y >= 0; --y)
        png_write_row(
            png, reinterpret_cast<png_const_bytep>(image->pixels + static_cast<size_t>(y) * image->width));
    png_write_end(png, info);
    return true;
}

} // namespace

Image* LoadPng(const char* path) {
    PngReadState state;
    state.file = FileOpen(path, "rb");
    if (!state.file) return nullptr;
    state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (state.png) state.info = png_create_info_struct(state.png);
    const bool ok = state.png && state.info && DecodePng(&state);
    png_destroy_read_struct(state.png ? &state.png : nullptr, state.info ? &state.info : nullptr, nullptr);
    FileClose(state.file);
    if (!ok) {
        delete state.image;
        return nullptr;
    }
    return state.image;
}

bool WritePng(const char* path, const Image& image) {
    if (!path || !image.pixels || image.width <= 0 || image.height <= 0) return false;
    const std::string name = NormalisePath(path);
    PngWriteState state;
    state.file = std::fopen(name.c_str(), "wb");
    if (!state.file) {
        LogDebug("Can't write %s", name.c_str());
        return false;
    }
    // The running library's own version: libpng refuses a version string of another series.
    state.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (state.png) state.info = png_create_info_struct(state.png);
    bool ok = state.png && state.info && EncodePng(&state, &image);
    png_destroy_write_struct(state.png ? &state.png : nullptr, state.info ? &state.info : nullptr);
    ok = std::fclose(state.file) == 0 && ok;
    if (!ok) {
        // A half-written file would pass for a picture; leave nothing behind.
        std::remove(name.c_str());
        LogDebug("Can't write %s", name.c_str());
    }
    return ok;
}

} // namespace kel
