#include "bench/folder_copy.h"

#include "host/handles.h"

#include <windows.h>

namespace korvanta::bench {

bool CopyFiles(const std::string &from, const std::string &to,
               const std::vector<std::string> &names, Calls calls) {
    for (const std::string &name : names) {
        const std::string target = to + "\\" + name;
        if (calls == Calls::Program)
            SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!CopyFileA((from + "\\" + name).c_str(), target.c_str(), FALSE))
            return false;
        if (calls == Calls::Program)
            SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    return true;
}

namespace {

// The question the program asks of a file before deleting it: where it really leads.
bool LearnLocation(const std::string &path) {
    FileHandle file(CreateFileA(path.c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    char location[MAX_PATH];
    return file.valid() && GetFinalPathNameByHandleA(file.get(), location, MAX_PATH, 0) != 0;
}

} // namespace

bool DeleteFiles(const std::string &folder, const std::vector<std::string> &names, Calls calls) {
    for (const std::string &name : names) {
        const std::string path = folder + "\\" + name;
        if (calls == Calls::Program && !LearnLocation(path))
            return false;
        if (!DeleteFileA(path.c_str()))
            return false;
    }
    return true;
}

} // namespace korvanta::bench
