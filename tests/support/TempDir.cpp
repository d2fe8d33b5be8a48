#include "support/TempDir.h"

#include <cstdio>
#include <random>
#include <stdexcept>

// A random name that create_directory makes only when nobody has it yet (mkdtemp is POSIX only).
TempDir::TempDir() {
    std::random_device random;
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "voidrift-test-%08x", static_cast<unsigned>(random()));
        std::filesystem::path candidate = base / name;
        if (std::filesystem::create_directory(candidate, error)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

ScopedWorkingDir::ScopedWorkingDir(const std::filesystem::path& dir)
    : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
}

ScopedWorkingDir::~ScopedWorkingDir() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
}
