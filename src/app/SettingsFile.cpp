#include "app/SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

std::string fileName(const std::string& path) { return "the settings file " + path; }

std::string becauseOf(int error) { return std::string(" (") + std::strerror(error) + ")"; }

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, so that a late write error is seen; false when it reports one.
    bool closeNow() {
        int fd = fd_;
        fd_ = -1;
        return close(fd) == 0;
    }

private:
    int fd_;
};

bool readAll(int fd, std::string& contents) {
    char buffer[4096];
    for (;;) {
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        contents.append(buffer, static_cast<std::size_t>(got));
    }
}

bool writeAll(int fd, const std::string& contents) {
    const char* data = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        ssize_t written = write(fd, data, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

// The file a chain of symbolic links ends at (it need not exist yet); the path itself when
// it is no link. A loop stops at a link, which the read has already refused.
std::string linkTarget(const std::string& path) {
    std::filesystem::path current(path);
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, error))) break;
        std::filesystem::path next = std::filesystem::read_symlink(current, error);
        if (error) break;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current.string();
}

// A fresh file beside `target`, created with the usual mode under the umask.
int createTemporary(const std::string& target, std::string& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(attempt);
        int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

SettingsFileRead readSettingsFile(const std::string& path, std::string& contents, std::string& problem) {
    contents.clear();
    FileDescriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) {
        if (errno == ENOENT) return SettingsFileRead::missing;
        problem = fileName(path) + " cannot be read" + becauseOf(errno);
        return SettingsFileRead::refused;
    }
    struct stat status {};
    if (fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        problem = fileName(path) + " is not a regular file";
        return SettingsFileRead::refused;
    }
    if (!readAll(file.get(), contents)) {
        problem = fileName(path) + " cannot be read" + becauseOf(errno);
        return SettingsFileRead::refused;
    }
    return SettingsFileRead::read;
}

bool writeSettingsFile(const std::string& path, const std::string& contents, std::string& problem) {
    std::string target = linkTarget(path);
    std::filesystem::path folder = std::filesystem::path(target).parent_path();
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
    struct stat existing {};
    bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        problem = fileName(target) + " is not a regular file; it is left alone";
        return false;
    }
    std::string temporary;
    FileDescriptor file(createTemporary(target, temporary));
    if (file.get() < 0) {
        problem = "cannot write " + fileName(target) + becauseOf(errno);
        return false;
    }
    if (exists) fchmod(file.get(), existing.st_mode & 07777);
    int error = 0;
    if (!writeAll(file.get(), contents) || fsync(file.get()) != 0) error = errno;
    if (!file.closeNow() && error == 0) error = errno;
    if (error == 0 && std::rename(temporary.c_str(), target.c_str()) == 0) return true;
    if (error == 0) error = errno;
    unlink(temporary.c_str());
    problem = "cannot write " + fileName(target) + becauseOf(error);
    return false;
}
