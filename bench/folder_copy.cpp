#include "bench/folder_copy.h"

#include "host/handles.h"

#include <windows.h>

namespace korvanta::bench {

std::vector<std::string> FileNamesIn(const std::string &folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    FindHandle find(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!find.valid())
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(found.cFileName);
    } while (FindNextFileA(find.get(), &found));
    return names;
}

bool CopyFiles(const std::string &from, const std::string &to,
               const std::vector<std::string> &names) {
    for (const std::string &name : names) {
        if (!CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE))
            return false;
    }
    return true;
}

} // namespace korvanta::bench
