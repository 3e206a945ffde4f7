// The art generator run: reads every source under assets/art, draws the pictures made in code,
// packs and writes the sheets, the font description, the atlas table and the list of what is
// still missing. Used by the kelvaro-artgen tool and by the tests.
#pragma once

#include <string>
#include <vector>

namespace artgen {

struct GeneratorOptions {
    std::string assetsDir;    // the repository's assets/art
    std::string outDir;       // the build tree: art/ and generated/ are written below it
    bool review = false;      // also write art/contact_sheet.png and art/flag_sheet.png
    bool drawnSprites = true; // include the pictures drawn in code (off to test the sources alone)
};

// Everything written, or the problems found. On problems nothing is written.
struct GeneratorResult {
    bool ok = false;
    std::vector<std::string> errors;
    std::vector<std::string> missing; // placeholders used: "sprite 12", "flag 7 ARUBA", "glyph 0x41"
    std::vector<std::string> written; // paths of the files written
};

GeneratorResult RunGenerator(const GeneratorOptions& options);

} // namespace artgen
