#include "png_out.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace artgen {

bool WritePngFile(const std::string& path, const Canvas& canvas, std::string& error) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        error = "libpng could not start for " + path;
        return false;
    }
    std::vector<png_bytep> rows(size_t(canvas.height));
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        error = "libpng failed writing " + path;
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, 6);
    png_set_IHDR(png, info, png_uint_32(canvas.width), png_uint_32(canvas.height), 8, PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    static_assert(sizeof(Rgba) == 4, "canvas pixels are packed R, G, B, A bytes");
    for (int y = 0; y < canvas.height; ++y)
        rows[size_t(y)] =
            reinterpret_cast<png_bytep>(const_cast<Rgba*>(&canvas.pixels[size_t(y) * canvas.width]));
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    const bool closed = std::fclose(file) == 0;
    if (!closed) error = "cannot finish " + path;
    return closed;
}

} // namespace artgen
