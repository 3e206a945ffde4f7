// Error collection for the generator: every problem in the sources is reported with its place
// (file:line) and the run fails at the end, so one build shows all mistakes at once.
#pragma once

#include <string>
#include <vector>

namespace artgen {

class Diagnostics {
  public:
    void Error(const std::string& where, const std::string& message) {
        errors.push_back(where.empty() ? message : where + ": " + message);
    }
    bool Failed() const { return !errors.empty(); }
    const std::vector<std::string>& Errors() const { return errors; }

  private:
    std::vector<std::string> errors;
};

// "file:line" for messages.
inline std::string Where(const std::string& file, int line) {
    return file + ":" + std::to_string(line);
}

} // namespace artgen
