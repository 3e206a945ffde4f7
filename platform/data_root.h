// Where the game's read-only data (art/ and sound/) lives. The game looks in its working folder
// first and then beside its executable; records.rec and screenshots always stay in the working
// folder.
#pragma once

#include <string>

namespace kel {

// Folder that holds art/ and sound/ ("" = the working folder).
void SetDataRoot(const std::string& folder);
const std::string& DataRoot();

// The path to open for a normalised path: art/ and sound/ paths are looked up under the data root.
std::string ResolveDataPath(const std::string& normalisedPath);

// Finds the data folder: the working folder when it has art/, else the executable's folder.
// False (and a message on stderr saying where it looked) when neither has it.
bool FindDataRoot(const char* argv0);

} // namespace kel
