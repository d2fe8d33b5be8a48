#include "support/TempDir.h"

#include <cstdlib>
#include <stdexcept>

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "voidrift-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
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
