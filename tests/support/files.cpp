#include "support/files.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace kobrant::test {
namespace {

std::filesystem::path Native(const std::string& name) { return std::filesystem::path(name); }

std::string UniqueName() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    return "kobrant-test-" + std::to_string(stamp) + "-" + std::to_string(++counter);
}

}  // namespace

TestDirectory::TestDirectory() {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / UniqueName();
    std::filesystem::create_directories(folder);
    path_ = folder.string();
}

TestDirectory::~TestDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(Native(path_), ignored);
}

std::string ReadBytes(const std::string& name) {
    std::ifstream in(Native(name), std::ios::binary);
    if (!in) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteBytes(const std::string& name, std::string_view bytes) {
    std::ofstream out(Native(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::uintmax_t FileSize(const std::string& name) {
    std::error_code error;
    return std::filesystem::file_size(Native(name), error);
}

void MakeDirectory(const std::string& name) { std::filesystem::create_directory(Native(name)); }

std::size_t TemporaryFilesIn(const std::string& folder) {
    std::size_t count = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(Native(folder), error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 5 && name[0] == '.' && name.compare(name.size() - 4, 4, ".tmp") == 0) ++count;
    }
    return count;
}

}  // namespace kobrant::test
