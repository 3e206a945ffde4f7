// kelvaro-artgen: builds the game's art from the sources in assets/art.
// Usage: kelvaro-artgen <assets/art dir> <build dir> [--review]
#include "generator.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4 || (argc == 4 && std::strcmp(argv[3], "--review") != 0)) {
        std::fprintf(stderr, "usage: %s <assets/art dir> <build dir> [--review]\n", argv[0]);
        return 2;
    }
    artgen::GeneratorOptions options;
    options.assetsDir = argv[1];
    options.outDir = argv[2];
    options.review = argc == 4;
    const artgen::GeneratorResult result = artgen::RunGenerator(options);
    for (const std::string& e : result.errors)
        std::fprintf(stderr, "kelvaro-artgen: error: %s\n", e.c_str());
    if (!result.ok) return 1;
    if (!result.missing.empty())
        std::printf("kelvaro-artgen: %zu pieces still missing (placeholders, see art/missing.txt)\n",
                    result.missing.size());
    return 0;
}
