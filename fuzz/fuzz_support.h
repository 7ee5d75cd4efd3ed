#pragma once
// Shared by the fuzz targets: the readers under test take a path, so each
// input is written to a scratch file of this process first.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace kelvara::fuzz {

// A folder of this process (in memory when /dev/shm is there: ten times as
// many runs a second), removed when the process ends normally.
inline const std::filesystem::path& scratchFolder() {
    static const std::filesystem::path folder = [] {
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        auto p = base / ("kelvara-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        static std::filesystem::path toRemove;
        toRemove = p;
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(toRemove, ec);
        });
        return p;
    }();
    return folder;
}

inline void writeBytes(const std::filesystem::path& path, const uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) std::abort();
}

} // namespace kelvara::fuzz
