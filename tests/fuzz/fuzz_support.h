// What every fuzz target shares: a log sink that drops the parsers' complaints (a fuzzer feeds
// them nothing else), and the check that stops the run when a parser breaks a promise.
#pragma once

#include "platform/log.h"

#include <cstdio>
#include <cstdlib>

namespace kel {

class SilentLogSink : public LogSink {
  public:
    void Write(const char*) override {}
};

// Installs the silent sink once per process.
inline void SilenceLog() {
    static SilentLogSink silent;
    static bool ready = [] {
        SetLogSink(&silent);
        return true;
    }();
    (void)ready;
}

[[noreturn]] inline void FuzzPromiseBroken(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: promise broken: %s\n", file, line, what);
    std::abort();
}

} // namespace kel

// Aborts (a crash to libFuzzer, which keeps the input) when `condition` does not hold.
#define FUZZ_REQUIRE(condition) \
    ((condition) ? static_cast<void>(0) : ::kel::FuzzPromiseBroken(#condition, __FILE__, __LINE__))
