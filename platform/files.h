// File access. Paths may use either separator ("art\c64.fnt"); backslashes become "/" here.
//
// FileOpen/FileClose/FileSeek/FileTell/FileRead go through a registered FileProvider when one is
// registered (an archive reader, an in-memory store in tests), else through plain stdio.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kel {

// A file-access object another module of the process may register. Operations behave as fopen,
// fclose, fseek, ftell and fread on the provider's own handles.
class FileProvider {
public:
    virtual ~FileProvider() = default;
    virtual void* Open(const char* path, const char* mode) = 0;
    virtual int Close(void* handle) = 0;
    virtual int Seek(void* handle, long offset, int origin) = 0;
    virtual long Tell(void* handle) = 0;
    virtual size_t Read(void* buffer, size_t size, size_t count, void* handle) = 0;
};

// Read again on every operation, so a provider may appear or go away at any time. Null removes it.
void RegisterFileProvider(FileProvider* provider);
FileProvider* RegisteredFileProvider();

struct FileHandle;

FileHandle* FileOpen(const char* path, const char* mode);
int FileClose(FileHandle* handle);
int FileSeek(FileHandle* handle, long offset, int origin);
long FileTell(FileHandle* handle);
size_t FileRead(void* buffer, size_t size, size_t count, FileHandle* handle);

// "art\c64.fnt" -> "art/c64.fnt".
std::string NormalisePath(const char* path);

// Reads a whole file into a buffer from malloc (the caller frees it); null on any failure, with
// nothing left open or allocated. *size receives the byte count when size is given.
void* ReadWholeFile(const char* path, size_t* size = nullptr);

// The same for at most maxBytes from the file's start, whatever the file's size.
void* ReadFileStart(const char* path, size_t maxBytes, size_t* size = nullptr);

// Writes data to path through a temporary file beside it (named for this process, so two games
// saving in one folder never remove each other's) that is renamed over the old one; the folder is
// synced after the rename. A failed write never loses the previous file: it returns false, old
// file untouched, and logs the reason.
bool WriteFileAtomic(const char* path, const void* data, size_t size);

// A file-size limit (ulimit -f) sends SIGXFSZ, which would kill the game in the middle of saving;
// ignored, the write fails with EFBIG instead and is logged. Called once at start-up.
void IgnoreFileSizeSignal();

// Creates a folder (and its parents) if missing; true when it exists afterwards.
bool EnsureDirectory(const char* path);

bool FileExists(const char* path);

} // namespace kel
