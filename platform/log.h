// Diagnostic lines. Every line goes to the active log sink: standard error in the game, a
// capturing sink in tests and in the headless runner.
#pragma once

#include <string>
#include <vector>

namespace kel {

class LogSink {
public:
    virtual ~LogSink() = default;
    virtual void Write(const char* text) = 0;
};

// Formats with printf rules into the 256-byte log buffer (at most 255 characters, the rest is
// cut) and writes the text, then "\n" in a second call.
void LogDebug(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Null restores the standard error sink.
void SetLogSink(LogSink* sink);

// Keeps every complete line written; used by tests and by the runner's analytics report.
class CaptureLogSink : public LogSink {
public:
    void Write(const char* text) override;
    const std::vector<std::string>& Lines() const { return lines; }
    void Clear() { lines.clear(); pending.clear(); }

private:
    std::vector<std::string> lines;
    std::string pending;
};

} // namespace kel
