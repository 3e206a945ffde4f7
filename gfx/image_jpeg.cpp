// JPEG decoder through libjpeg, reading through the file layer.
//
// libjpeg reports fatal errors through error_exit, which jumps back to the setjmp in
// DecodeJpeg; everything to clean up is reached through the plain JpegState struct.
#include "gfx/image.h"

#include "platform/files.h"
#include "platform/log.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

namespace kel {

namespace {

constexpr size_t kJpegInputBlock = 4096; // bytes per read from the file
constexpr int kJpegMaxScans = 1000;      // progressive files with endless scans are hostile
constexpr size_t kJpegBytesPerPixel = 8; // libjpeg working memory allowed per image pixel

struct JpegSource {
    jpeg_source_mgr manager{};
    FileHandle* file = nullptr;
    bool startOfFile = true;
    JOCTET buffer[kJpegInputBlock] = {};
};

struct JpegError {
    jpeg_error_mgr manager{};
    jmp_buf jump{};
};

struct JpegState {
    jpeg_decompress_struct info{};
    JpegError error;
    JpegSource source;
    jpeg_progress_mgr progress{};
    JSAMPLE* row = nullptr;
    Image* image = nullptr;
};

void InitSource(j_decompress_ptr info) {
    reinterpret_cast<JpegSource*>(info->src)->startOfFile = true;
}

// Behaves as libjpeg's standard file source: an empty file is fatal, a premature end is a
// warning followed by a fake end-of-image marker.
boolean FillInputBuffer(j_decompress_ptr info) {
    auto* source = reinterpret_cast<JpegSource*>(info->src);
    size_t got = FileRead(source->buffer, 1, kJpegInputBlock, source->file);
    if (got == 0) {
        if (source->startOfFile) ERREXIT(info, JERR_INPUT_EMPTY);
        WARNMS(info, JWRN_JPEG_EOF);
        source->buffer[0] = 0xFF;
        source->buffer[1] = JPEG_EOI;
        got = 2;
    }
    source->manager.next_input_byte = source->buffer;
    source->manager.bytes_in_buffer = got;
    source->startOfFile = false;
    return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count) {
    auto* source = reinterpret_cast<JpegSource*>(info->src);
    if (count <= 0) return;
    while (count > static_cast<long>(source->manager.bytes_in_buffer)) {
        count -= static_cast<long>(source->manager.bytes_in_buffer);
        FillInputBuffer(info);
    }
    source->manager.next_input_byte += count;
    source->manager.bytes_in_buffer -= static_cast<size_t>(count);
}

void TermSource(j_decompress_ptr) {}

[[noreturn]] void ErrorExit(j_common_ptr info) {
    (*info->err->output_message)(info);
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

void OutputMessage(j_common_ptr info) {
    char text[JMSG_LENGTH_MAX];
    info->err->format_message(info, text);
    LogDebug("JPEG: %s", text);
}

void Progress(j_common_ptr info) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kJpegMaxScans) {
        LogDebug("JPEG: more than %d scans", kJpegMaxScans);
        std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
    }
}

// Decodes into state->image; false on any failure (the caller frees what the state holds).
bool DecodeJpeg(JpegState* state) {
    j_decompress_ptr info = &state->info;
    if (setjmp(state->error.jump)) return false;

    // Created after the jump point: a failure inside leaves mem null, which destroy accepts.
    jpeg_create_decompress(info);
    state->info.src = &state->source.manager;
    state->info.progress = &state->progress;
    jpeg_read_header(info, TRUE);
    if (!ImageSizeAllowed(static_cast<long>(info->image_width), static_cast<long>(info->image_height)))
        return false;
    // Progressive files keep every coefficient in memory; bound it by the image size.
    info->mem->max_memory_to_use = static_cast<long>(ImagePixelLimit() * kJpegBytesPerPixel);
    jpeg_start_decompress(info);
    const int components = info->output_components;
    const int width = static_cast<int>(info->output_width);
    const int height = static_cast<int>(info->output_height);
    if ((components != 1 && components < 3) || !ImageSizeAllowed(width, height)) return false;

    state->row = static_cast<JSAMPLE*>((*info->mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE, static_cast<size_t>(width) * components));
    state->image = new Image;
    if (!state->image->Allocate(width, height)) return false;
    while (info->output_scanline < info->output_height) {
        const int y = static_cast<int>(info->output_scanline);
        JSAMPROW rows[1] = {state->row};
        if (jpeg_read_scanlines(info, rows, 1) != 1) return false;
        auto* out = reinterpret_cast<uint8_t*>(state->image->pixels + static_cast<size_t>(y) * width);
        const JSAMPLE* in = state->row;
        for (int x = 0; x < width; ++x, in += components, out += 4) {
            const uint8_t r = in[0];
            const uint8_t g = components == 1 ? in[0] : in[1];
            const uint8_t b = components == 1 ? in[0] : in[2];
            out[0] = b;
            out[1] = g;
            out[2] = r;
            out[3] = 0xFF;
        }
    }
    jpeg_finish_decompress(info);
    return true;
}

} // namespace

Image* LoadJpeg(const char* path) {
    FileHandle* file = FileOpen(path, "rb");
    if (!file) return nullptr;
    auto* state = new JpegState;
    state->info.err = jpeg_std_error(&state->error.manager);
    state->error.manager.error_exit = ErrorExit;
    state->error.manager.output_message = OutputMessage;
    state->source.file = file;
    state->source.manager.init_source = InitSource;
    state->source.manager.fill_input_buffer = FillInputBuffer;
    state->source.manager.skip_input_data = SkipInputData;
    state->source.manager.resync_to_restart = jpeg_resync_to_restart;
    state->source.manager.term_source = TermSource;
    state->progress.progress_monitor = Progress;
    const bool ok = DecodeJpeg(state);
    jpeg_destroy_decompress(&state->info);
    FileClose(file);
    Image* image = ok ? state->image : nullptr;
    if (!ok) delete state->image;
    delete state;
    return image;
}

} // namespace kel
