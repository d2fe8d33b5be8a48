// One soundtrack a session: a lock file that the first player holds with flock for the
// rest of its life. The system drops the lock with the process, however it ends.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/Platform.h"

namespace platform {

namespace {

// The session's runtime folder when it is a real one of ours, else the shared /tmp,
// where the lock's name carries the user id.
std::string musicLockPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat folder;
    if (runtime && runtime[0] == '/' && stat(runtime, &folder) == 0 && S_ISDIR(folder.st_mode) &&
        folder.st_uid == getuid()) {
        return std::string(runtime) + "/voidrift-music.lock";
    }
    return "/tmp/voidrift-music-" + std::to_string(getuid()) + ".lock";
}

}  // namespace

bool claimMusic() {
    static int held = -1;
    if (held >= 0) return true;
    // No links: another user could aim one at a file of ours.
    int fd = open(musicLockPath().c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    // A lock that cannot be had at all (a foreign file in /tmp) must not silence the show.
    if (fd < 0) return true;
    struct stat file;
    if (fstat(fd, &file) != 0 || file.st_uid != getuid() || !S_ISREG(file.st_mode)) {
        close(fd);
        return true;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    held = fd;
    return true;
}

}  // namespace platform
