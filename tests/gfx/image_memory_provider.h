// A FileProvider serving files held in memory, for the image tests and the fuzzers.
#pragma once

#include "platform/files.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace kel {

class MemoryFileProvider : public FileProvider {
  public:
    void Add(const std::string& path, std::vector<uint8_t> bytes) { files[path] = std::move(bytes); }
    void Add(const std::string& path, const uint8_t* data, size_t size) {
        files[path].assign(data, data + size);
    }

    // Every path asked for, in order, whether it existed or not.
    const std::vector<std::string>& Opened() const { return opened; }
    int OpenHandles() const { return openHandles; }

    void* Open(const char* path, const char* mode) override {
        opened.emplace_back(path);
        if (std::strcmp(mode, "rb") != 0) return nullptr;
        auto it = files.find(path);
        if (it == files.end()) return nullptr;
        ++openHandles;
        return new Handle{&it->second, 0};
    }
    int Close(void* handle) override {
        delete static_cast<Handle*>(handle);
        --openHandles;
        return 0;
    }
    int Seek(void* handle, long offset, int origin) override {
        auto* h = static_cast<Handle*>(handle);
        const long size = static_cast<long>(h->data->size());
        const long base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? h->position : size;
        if (base + offset < 0) return -1;
        h->position = base + offset;
        return 0;
    }
    long Tell(void* handle) override { return static_cast<Handle*>(handle)->position; }
    size_t Read(void* buffer, size_t size, size_t count, void* handle) override {
        auto* h = static_cast<Handle*>(handle);
        const long length = static_cast<long>(h->data->size());
        if (size == 0 || h->position >= length) return 0;
        const size_t available = static_cast<size_t>(length - h->position) / size;
        const size_t n = count < available ? count : available;
        std::memcpy(buffer, h->data->data() + h->position, n * size);
        h->position += static_cast<long>(n * size);
        return n;
    }

  private:
    struct Handle {
        const std::vector<uint8_t>* data;
        long position;
    };
    std::map<std::string, std::vector<uint8_t>> files;
    std::vector<std::string> opened;
    int openHandles = 0;
};

// Registers a provider for the lifetime of a scope.
class ScopedFileProvider {
  public:
    explicit ScopedFileProvider(FileProvider* provider) { RegisterFileProvider(provider); }
    ~ScopedFileProvider() { RegisterFileProvider(nullptr); }
};

} // namespace kel
