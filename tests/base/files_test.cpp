// The file layer: plain files, whole-file reads and atomic writes.
#include "platform/data_root.h"
#include "platform/files.h"
#include "platform/log.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kel {
namespace {

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char name[] = "/tmp/kelvaro_files_XXXXXX";
        ASSERT_NE(folder = mkdtemp(name) ? name : "", "");
    }
    void TearDown() override { std::system(("rm -rf '" + folder + "'").c_str()); }

    std::string Path(const char* name) const { return folder + "/" + name; }
    static void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }
    static std::string Read(const std::string& path) {
        size_t size = 0;
        const std::unique_ptr<char, decltype(&std::free)> data(
            static_cast<char*>(ReadWholeFile(path.c_str(), &size)), std::free);
        return data ? std::string(data.get(), size) : "<missing>";
    }

    std::string folder;
};

TEST_F(FilesTest, PlainFileOperationsWithBackslashPathsAndBadArgumentsAreHarmless) {
    Write(Path("a.bin"), "0123456789");
    FileHandle* f = FileOpen((folder + "\\a.bin").c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char buffer[4] = {};
    EXPECT_EQ(FileSeek(f, 3, SEEK_SET), 0);
    EXPECT_EQ(FileRead(buffer, 2, 2, f), 2u);
    EXPECT_EQ(std::string(buffer, 4), "3456");
    EXPECT_EQ(FileTell(f), 7);
    EXPECT_EQ(FileRead(buffer, 2, 2, f), 1u); // three bytes left: one whole element
    EXPECT_EQ(FileClose(f), 0);

    EXPECT_EQ(FileOpen(nullptr, "rb"), nullptr);
    EXPECT_EQ(FileOpen(Path("x").c_str(), nullptr), nullptr);
    EXPECT_EQ(FileOpen(Path("missing").c_str(), "rb"), nullptr);
    EXPECT_EQ(FileRead(buffer, 1, 1, nullptr), 0u);
    EXPECT_EQ(FileSeek(nullptr, 0, SEEK_SET), -1);
    EXPECT_EQ(FileTell(nullptr), -1);
    EXPECT_EQ(FileClose(nullptr), EOF);
}

TEST_F(FilesTest, ReadWholeFileEndsWithATerminatorAndWriteFileAtomicReplacesOrFailsCleanly) {
    Write(Path("t.txt"), "hello");
    Write(Path("empty"), "");
    size_t size = 99;
    for (const auto& [name, text] : {std::pair{"t.txt", "hello"}, {"empty", ""}}) {
        char* data = static_cast<char*>(ReadWholeFile(Path(name).c_str(), &size));
        ASSERT_NE(data, nullptr) << name << ": an empty file is an empty buffer";
        EXPECT_EQ(size, std::strlen(text));
        EXPECT_STREQ(data, text);
        std::free(data);
    }
    // A missing file, and a folder, which opens but is no file.
    for (const std::string& path : {Path("missing"), folder}) {
        size = 99;
        EXPECT_EQ(ReadWholeFile(path.c_str(), &size), nullptr) << path;
        EXPECT_EQ(size, 0u);
    }
    EXPECT_EQ(ReadWholeFile(nullptr), nullptr);
    const std::string path = Path("records.rec");
    ASSERT_TRUE(WriteFileAtomic(path.c_str(), "first", 5));
    EXPECT_EQ(Read(path), "first");
    ASSERT_TRUE(WriteFileAtomic(path.c_str(), "second!", 7));
    EXPECT_EQ(Read(path), "second!");
    EXPECT_FALSE(FileExists((path + ".tmp").c_str()));
    ASSERT_TRUE(WriteFileAtomic(path.c_str(), nullptr, 0));
    EXPECT_EQ(Read(path), "");
    const std::string sub = Path("sub");
    ASSERT_EQ(mkdir(sub.c_str(), 0755), 0);
    Write(sub + "/keep", "k");
    EXPECT_FALSE(WriteFileAtomic(sub.c_str(), "data", 4));
    EXPECT_EQ(Read(sub + "/keep"), "k");
    EXPECT_FALSE(FileExists((sub + ".tmp").c_str()));
    EXPECT_FALSE(WriteFileAtomic(sub.c_str(), nullptr, 4));
    EXPECT_FALSE(WriteFileAtomic(nullptr, "x", 1));
}

// Files may not grow past 8 bytes: the write of the temporary fails part-way, and the game, which
// ignores the file-size signal, is not killed by it. The log is captured meanwhile, since it may
// itself be a file.
TEST_F(FilesTest, AFileSizeLimitFailsTheSaveInsteadOfKillingTheGameAndKeepsTheOldFile) {
    const std::string path = Path("records.rec");
    Write(path, "precious old records");
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small {8, old.rlim_max};
    const std::string big(4096, 'x');
    CaptureLogSink log;
    SetLogSink(&log);
    IgnoreFileSizeSignal();
    const bool limited = setrlimit(RLIMIT_FSIZE, &small) == 0;
    const bool written = WriteFileAtomic(path.c_str(), big.data(), big.size());
    setrlimit(RLIMIT_FSIZE, &old);
    SetLogSink(nullptr);
    ASSERT_TRUE(limited);
    EXPECT_FALSE(written);
    ASSERT_EQ(log.Lines().size(), 1u);
    // The message says why, with a path written with slashes.
    EXPECT_NE(log.Lines()[0].find(std::strerror(EFBIG)), std::string::npos) << log.Lines()[0];
    EXPECT_EQ(log.Lines()[0].find('\\'), std::string::npos);
    EXPECT_EQ(Read(path), "precious old records");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1)
        << "the temporary is removed";
}

TEST_F(FilesTest, TwoGamesSavingInOneFolderKeepEachOthersTemporaries) {
    const std::string path = Path("records.rec");
    const std::string victim = Path("victim");
    Write(victim, "untouched");
    Write(path + ".tmp", "another game's half-written save");
    Write(path + ".tmp.1.0", "and another's");
    ASSERT_EQ(symlink(victim.c_str(), (path + ".tmp." + std::to_string(getpid()) + ".9").c_str()), 0);
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(WriteFileAtomic(path.c_str(), "new", 3)) << i;
    EXPECT_EQ(Read(path), "new");
    EXPECT_EQ(Read(path + ".tmp"), "another game's half-written save");
    EXPECT_EQ(Read(path + ".tmp.1.0"), "and another's");
    EXPECT_EQ(Read(victim), "untouched") << "a link under a temporary's name is never followed";
}

TEST_F(FilesTest, EnsureDirectoryCreatesParentsAndArtIsFoundUnderTheDataRootOnly) {
    EXPECT_TRUE(EnsureDirectory((folder + "\\shots/2026/december").c_str()));
    EXPECT_TRUE(FileExists(Path("shots/2026/december").c_str()));
    Write(Path("plain"), "x");
    EXPECT_FALSE(EnsureDirectory(Path("plain").c_str()));

    ASSERT_TRUE(EnsureDirectory(Path("root/art").c_str()));
    Write(Path("root/art/note.txt"), "ink");
    SetDataRoot(Path("root"));
    EXPECT_EQ(Read("art\\note.txt"), "ink");
    EXPECT_EQ(FileClose(FileOpen("art/note.txt", "rb")), 0);
    EXPECT_EQ(ResolveDataPath("records.rec"), "records.rec");
    EXPECT_EQ(ResolveDataPath("/abs/art/x"), "/abs/art/x");
    EXPECT_EQ(ResolveDataPath("sound/tap1.wav"), Path("root/sound/tap1.wav"));
    SetDataRoot("");
}

} // namespace
} // namespace kel
