#include "platform/files.h"

#include "platform/data_root.h"
#include "platform/log.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kel {

// A handle remembers the provider that opened it, so a file opened before a provider was
// registered (or removed) is still closed by whoever opened it.
struct FileHandle {
    FILE* file = nullptr; // plain file, when opened without a provider
    void* providerHandle = nullptr;
    FileProvider* provider = nullptr;
};

namespace {
FileProvider* gProvider = nullptr;
}

void RegisterFileProvider(FileProvider* provider) {
    gProvider = provider;
}
FileProvider* RegisteredFileProvider() {
    return gProvider;
}

std::string NormalisePath(const char* path) {
    std::string out = path ? path : "";
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

FileHandle* FileOpen(const char* path, const char* mode) {
    if (!path || !mode) return nullptr;
    const std::string p = NormalisePath(path);
    if (gProvider) {
        void* h = gProvider->Open(p.c_str(), mode);
        if (!h) return nullptr;
        auto* handle = new FileHandle;
        handle->providerHandle = h;
        handle->provider = gProvider;
        return handle;
    }
    FILE* f = std::fopen(ResolveDataPath(p).c_str(), mode);
    if (!f) return nullptr;
    auto* handle = new FileHandle;
    handle->file = f;
    return handle;
}

int FileClose(FileHandle* handle) {
    if (!handle) return EOF;
    const int r =
        handle->provider ? handle->provider->Close(handle->providerHandle) : std::fclose(handle->file);
    delete handle;
    return r;
}

int FileSeek(FileHandle* handle, long offset, int origin) {
    if (!handle) return -1;
    return handle->provider ? handle->provider->Seek(handle->providerHandle, offset, origin)
                            : std::fseek(handle->file, offset, origin);
}

long FileTell(FileHandle* handle) {
    if (!handle) return -1;
    return handle->provider ? handle->provider->Tell(handle->providerHandle) : std::ftell(handle->file);
}

size_t FileRead(void* buffer, size_t size, size_t count, FileHandle* handle) {
    if (!handle || !buffer || size == 0 || count == 0) return 0;
    return handle->provider ? handle->provider->Read(buffer, size, count, handle->providerHandle)
                            : std::fread(buffer, size, count, handle->file);
}

void* ReadWholeFile(const char* path, size_t* size) {
    return ReadFileStart(path, SIZE_MAX - 1, size);
}

void* ReadFileStart(const char* path, size_t maxBytes, size_t* size) {
    if (size) *size = 0;
    const std::string p = ResolveDataPath(NormalisePath(path));
    FILE* f = std::fopen(p.c_str(), "rb");
    if (!f) {
        LogDebug("Can't load resource: %s", p.c_str());
        return nullptr;
    }
    // Only regular files: a folder or a device opens fine on Linux but has no meaningful size.
    struct stat st {};
    if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0 ||
        static_cast<uintmax_t>(st.st_size) >= SIZE_MAX) {
        std::fclose(f);
        LogDebug("Can't load resource: %s", p.c_str());
        return nullptr;
    }
    const size_t length = static_cast<size_t>(st.st_size) < maxBytes ? static_cast<size_t>(st.st_size) : maxBytes;
    // One spare byte so text readers may terminate the buffer; malloc(0) is avoided too.
    auto* buffer = static_cast<char*>(std::malloc(length + 1));
    if (!buffer) {
        std::fclose(f);
        LogDebug("Can't load resource: %s", p.c_str());
        return nullptr;
    }
    const size_t got = std::fread(buffer, 1, length, f);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (got != length || failed) {
        std::free(buffer);
        LogDebug("Can't load resource: %s", p.c_str());
        return nullptr;
    }
    buffer[length] = '\0';
    if (size) *size = length;
    return buffer;
}

bool WriteFileAtomic(const char* path, const void* data, size_t size) {
    if (!path || (!data && size > 0)) return false;
    const std::string target = NormalisePath(path);
    static std::atomic<unsigned> saves{0};
    // O_EXCL refuses to follow a link planted under the temporary's name; another name is tried.
    constexpr int kNameTries = 8;
    std::string temp;
    int fd = -1;
    for (int i = 0; i < kNameTries && fd < 0; ++i) {
        temp = target + ".tmp." + std::to_string(getpid()) + "." + std::to_string(saves.fetch_add(1));
        fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_TRUNC, 0644);
        if (fd < 0 && errno != EEXIST) break;
    }
    FILE* f = fd >= 0 ? fdopen(fd, "wb") : nullptr;
    if (!f) {
        LogDebug("Can't write %s: %s", temp.c_str(), std::strerror(errno));
        if (fd >= 0) {
            close(fd);
            std::remove(temp.c_str());
        }
        return false;
    }
    // The first error is the one worth telling.
    int error = 0;
    if (size > 0 && std::fwrite(data, 1, size, f) != size) error = errno;
    if (std::fflush(f) != 0 && error == 0) error = errno;
    if (fsync(fileno(f)) != 0 && error == 0) error = errno;
    if (std::fclose(f) != 0 && error == 0) error = errno;
    if (error != 0) {
        LogDebug("Can't write %s: %s", temp.c_str(), std::strerror(error));
        std::remove(temp.c_str());
        return false;
    }
    if (std::rename(temp.c_str(), target.c_str()) != 0) {
        LogDebug("Can't replace %s: %s", target.c_str(), std::strerror(errno));
        std::remove(temp.c_str());
        return false;
    }
    // The rename itself lasts only once the folder holding it is on disk.
    const size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

bool EnsureDirectory(const char* path) {
    std::string p = NormalisePath(path);
    if (p.empty()) return false;
    for (size_t i = 1; i <= p.size(); ++i) {
        if (i == p.size() || p[i] == '/') {
            const std::string part = p.substr(0, i);
            struct stat st {};
            if (stat(part.c_str(), &st) != 0 && mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
                return false;
        }
    }
    struct stat st {};
    return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileExists(const char* path) {
    struct stat st {};
    return stat(NormalisePath(path).c_str(), &st) == 0;
}

void IgnoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace kel
