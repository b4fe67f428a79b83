#include "tests/support/files.h"

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace korvanta::test {
namespace fs = std::filesystem;

TestFolder::TestFolder() {
    static std::atomic<int> serial{0};
    path_ = (fs::temp_directory_path() /
             ("kvt-" + std::to_string(getpid()) + "-" + std::to_string(serial++)))
                .string();
    RemoveTree(path_);
    fs::create_directories(path_);
    previous_ = fs::current_path().string();
    fs::current_path(path_);
}

TestFolder::~TestFolder() {
    std::error_code ec;
    fs::current_path(previous_, ec);
    RemoveTree(path_);
}

std::string TestFolder::operator/(std::string_view relative) const {
    return path_ + "/" + std::string(relative);
}

std::string ReadAll(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WriteAll(const std::string &path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

void RemoveTree(const std::string &path) {
    std::error_code ec;
    fs::remove_all(path, ec); // removes links, never follows them
}

} // namespace korvanta::test
