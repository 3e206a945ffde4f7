// Where the art tests find the build tree's generated files and the repository's art sources
// (compile definitions set by tests/CMakeLists.txt).
#pragma once

#include <string>

namespace arttest {
inline std::string ArtDir() { return std::string(KELVARO_BUILD_DIR) + "/art"; }
inline std::string ArtSourceDir() { return KELVARO_ART_SOURCE_DIR; }
} // namespace arttest
