#include "platform/data_root.h"

#include <climits>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace kel {
namespace {

std::string gRoot;

bool IsFolder(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string ExecutableFolder(const char* argv0) {
    char buffer[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    std::string exe = n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string(argv0 ? argv0 : "");
    const size_t slash = exe.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : exe.substr(0, slash);
}

} // namespace

void SetDataRoot(const std::string& folder) { gRoot = folder; }
const std::string& DataRoot() { return gRoot; }

std::string ResolveDataPath(const std::string& path) {
    if (gRoot.empty() || path.empty() || path[0] == '/') return path;
    if (path.compare(0, 4, "art/") == 0 || path.compare(0, 6, "sound/") == 0) return gRoot + "/" + path;
    return path;
}

bool FindDataRoot(const char* argv0) {
    if (IsFolder("art")) {
        SetDataRoot("");
        return true;
    }
    const std::string exeFolder = ExecutableFolder(argv0);
    if (IsFolder(exeFolder + "/art")) {
        SetDataRoot(exeFolder);
        return true;
    }
    char cwd[PATH_MAX] = {};
    if (!getcwd(cwd, sizeof cwd)) cwd[0] = '\0';
    std::fprintf(stderr,
                 "Kelvaro can't find its data: there is no art/ folder in the working folder (%s) "
                 "nor beside the program (%s). Build the game first (see README.md).\n",
                 cwd, exeFolder.c_str());
    return false;
}

} // namespace kel
