// The art folder as it lies on disk: its listing and its files, for ReadArtFolder to judge.

#include "art_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace korvanta::payload {

namespace {

// Closes the descriptor it owns.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0)
            close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

FileRead Problem(std::string why) {
    return {{}, std::move(why)};
}

FileRead Unreadable() {
    return Problem(std::string("cannot be read (") + std::strerror(errno) + ")");
}

FileRead TooLarge(uint64_t size, uint64_t max_bytes) {
    return Problem(std::to_string(size) + " bytes, more than such a file can be (at most " +
                   std::to_string(max_bytes) + " bytes)");
}

// What stands under a name that is no plain file.
std::string KindOf(mode_t mode) {
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a named pipe (FIFO)";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "something else";
}

// A plain file, or a link to one, read whole. Anything else is named and never read: a pipe
// would wait for a writer, a device may never end.
FileRead ReadPlainFile(const std::filesystem::path &path, uint64_t max_bytes) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0)
        return Unreadable();
    std::string link;
    if (S_ISLNK(st.st_mode)) {
        std::error_code ec;
        link = "a link to " + std::filesystem::read_symlink(path, ec).string();
        if (stat(path.c_str(), &st) != 0)
            return Problem(link + (errno == ENOENT ? ", which leads nowhere"
                                                   : std::string(", which cannot be followed (") +
                                                         std::strerror(errno) + ")"));
        link += ", ";
    }
    if (!S_ISREG(st.st_mode))
        return Problem(link + KindOf(st.st_mode) + ", not a file");
    if (uint64_t(st.st_size) > max_bytes)
        return TooLarge(uint64_t(st.st_size), max_bytes);
    // Should the name have become something else since, the open does not wait (a pipe) and
    // what was opened is checked again.
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0)
        return Unreadable();
    if (fstat(file.get(), &st) != 0)
        return Unreadable();
    if (!S_ISREG(st.st_mode))
        return Problem(KindOf(st.st_mode) + " by the time it was opened, not a file");
    FileRead read_file;
    read_file.bytes.reserve(size_t(std::min<uint64_t>(uint64_t(st.st_size), max_bytes)));
    uint8_t buffer[1 << 16];
    for (;;) {
        const ssize_t got = read(file.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Unreadable();
        if (got == 0)
            return read_file;
        if (read_file.bytes.size() + size_t(got) > max_bytes) // it grew while being read
            return TooLarge(read_file.bytes.size() + size_t(got), max_bytes);
        read_file.bytes.insert(read_file.bytes.end(), buffer, buffer + got);
    }
}

} // namespace

ArtFolder LoadArtFolder(IconSet set, const std::filesystem::path &folder) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        ArtFolder art;
        art.problems.push_back(folder.string() + ": not a folder");
        return art;
    }
    // A link is listed as a file, whatever it leads to: only a link to a plain file is read.
    FolderListing listing;
    for (const auto &item : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = item.path().filename().string();
        std::error_code type_ec;
        const bool subfolder =
            item.symlink_status(type_ec).type() == std::filesystem::file_type::directory;
        (subfolder ? listing.folders : listing.files).push_back(name);
    }
    if (ec) {
        ArtFolder art;
        art.problems.push_back(folder.string() + ": cannot be listed (" + ec.message() + ")");
        return art;
    }
    return ReadArtFolder(set, folder.string(), listing,
                         [&](const std::string &name, uint64_t max_bytes) {
                             return ReadPlainFile(folder / name, max_bytes);
                         });
}

} // namespace korvanta::payload
