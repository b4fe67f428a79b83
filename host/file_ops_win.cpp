#include "host/file_ops.h"

#include "host/block_run.h"
#include "host/handles.h"
#include "host/tree_walk.h"

#include <windows.h>

namespace korvanta {
namespace {

class Win32Tree final : public TreePlatform {
public:
    uint32_t Attributes(const std::string &path) override {
        return GetFileAttributesA(path.c_str());
    }

    std::vector<FoundEntry> List(const std::string &pattern) override {
        std::vector<FoundEntry> entries;
        WIN32_FIND_DATAA found;
        FindHandle find(FindFirstFileA(pattern.c_str(), &found));
        if (!find.valid())
            return entries;
        do {
            entries.push_back({found.cFileName, found.dwFileAttributes});
        } while (FindNextFileA(find.get(), &found));
        find.Close();
        return entries;
    }

    std::string Location(const std::string &path) override {
        // No access asked for, every sharing allowed: this open never conflicts with a
        // holder of the file. Backup semantics let directories open too.
        FileHandle file(CreateFileA(path.c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!file.valid())
            return {};
        std::string location(MAX_PATH, '\0');
        for (;;) {
            DWORD n = GetFinalPathNameByHandleA(file.get(), location.data(),
                                                static_cast<DWORD>(location.size()), 0);
            if (n == 0)
                return {};
            if (n < location.size()) {
                location.resize(n);
                return location;
            }
            location.resize(n + 1); // n is the size needed, terminator included
        }
    }

    bool RemoveFile(const std::string &path) override { return DeleteFileA(path.c_str()); }

    bool RemoveEmptyDirectory(const std::string &path) override {
        return RemoveDirectoryA(path.c_str());
    }
};

class FileSink final : public BlockSink {
public:
    explicit FileSink(HANDLE file) : file_(file) {}

    bool Write(const unsigned char *bytes, uint32_t count, uint32_t &written) override {
        DWORD done = 0;
        BOOL ok = WriteFile(file_, bytes, count, &done, nullptr);
        written = done;
        return ok != FALSE;
    }

private:
    HANDLE file_;
};

} // namespace

bool DeleteTree(const char *path) {
    Win32Tree platform;
    return DeleteTreeOn(platform, path);
}

bool WriteBlocks(const char *path, std::initializer_list<const ByteBlock *> blocks) {
    if (!path || !*path)
        return false;
    // Inheritable, with the default security descriptor: fixed by the operation's contract.
    SECURITY_ATTRIBUTES security{sizeof(security), nullptr, TRUE};
    FileHandle file(CreateFileA(path, GENERIC_WRITE, 0, &security, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return false;
    FileSink sink(file.get());
    if (!WriteBlockRun(blocks, sink))
        return false; // the owner closes the file and keeps the write's error
    return file.Close();
}

} // namespace korvanta
