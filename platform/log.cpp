#include "platform/log.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace kel {
namespace {

class StderrSink : public LogSink {
public:
    void Write(const char* text) override {
        std::fputs(text, stderr);
        std::fflush(stderr);
    }
};

StderrSink gStderrSink;
char gLogBuffer[256] = {}; // one line of at most 255 characters
LogSink* gSink = &gStderrSink;
std::mutex gLogMutex; // start-up decodes images on a second thread, and decoders log

} // namespace

void SetLogSink(LogSink* sink) { gSink = sink ? sink : &gStderrSink; }

void LogDebug(const char* format, ...) {
    const std::lock_guard<std::mutex> lock(gLogMutex);
    char* buffer = gLogBuffer;
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof gLogBuffer, format, args);
    va_end(args);
    if (n < 0) buffer[0] = '\0';
    gSink->Write(buffer);
    gSink->Write("\n");
}

void CaptureLogSink::Write(const char* text) {
    for (const char* p = text; *p; ++p) {
        if (*p == '\n') {
            lines.push_back(pending);
            pending.clear();
        } else {
            pending.push_back(*p);
        }
    }
}

} // namespace kel
