// Version numbers from a program file's version resource.
#pragma once
#include <optional>
#include <string>

namespace platform {

// The four fields of a file version, as in 2.3.0.0.
struct FileVersion {
    unsigned major = 0, minor = 0, build = 0, revision = 0;
};

// The file version of the file at `path`, or nothing when it has no
// version resource or cannot be read.
std::optional<FileVersion> ReadFileVersion(const std::wstring& path);
// The file version of the running program's own file.
std::optional<FileVersion> ReadProgramVersion();

}  // namespace platform
