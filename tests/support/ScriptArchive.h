// Small data archives of text members for script tests: written as "data.ssd" into a
// temporary folder that becomes the working directory while the object lives.
// Header-only, so that the archive writer is linked by the test binaries that use it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "imppack/ArchiveWriter.h"
#include "support/TempDir.h"

using MemberTexts = std::vector<std::pair<std::string, std::string>>;

// Writes the members (stored, in the given order) to `path`; false on failure.
inline bool writeScriptArchive(const std::string& path, const MemberTexts& members) {
    std::vector<PackInput> inputs;
    for (const auto& [name, text] : members) {
        PackInput input;
        input.memberName = name;
        input.bytes.assign(text.begin(), text.end());
        inputs.push_back(std::move(input));
    }
    PackOptions options;
    options.method = Method::Stored;
    return writeArchive(path, inputs, options);
}

class ScriptArchive {
public:
    explicit ScriptArchive(const MemberTexts& members)
        : ok_(writeScriptArchive(dir_.file("data.ssd"), members)), cwd_(dir_.path()) {}
    bool ok() const { return ok_; }
    const TempDir& dir() const { return dir_; }

private:
    TempDir dir_;
    bool ok_;
    ScopedWorkingDir cwd_;
};
