#include "bench/folder_copy.h"

#include <windows.h>

namespace korvanta::bench {

bool CopyFiles(const std::string &from, const std::string &to,
               const std::vector<std::string> &names) {
    for (const std::string &name : names) {
        if (!CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE))
            return false;
    }
    return true;
}

bool DeleteFiles(const std::string &folder, const std::vector<std::string> &names) {
    for (const std::string &name : names) {
        if (!DeleteFileA((folder + "\\" + name).c_str()))
            return false;
    }
    return true;
}

} // namespace korvanta::bench
