#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace orvane::test {

// A folder of the test's own under the system's temporary folder, removed with its content.
class TempFolder {
public:
    TempFolder() : path_((std::filesystem::temp_directory_path() / "orvane-test-XXXXXX").string())
    {
        EXPECT_NE(::mkdtemp(path_.data()), nullptr);
    }
    ~TempFolder()
    {
        namespace fs = std::filesystem;
        std::error_code ignored;
        // A folder a test made read-only must become writable again to be emptied.
        for (fs::recursive_directory_iterator at(path_, ignored), end; at != end;
             at.increment(ignored)) {
            if (at->symlink_status(ignored).type() == fs::file_type::directory)
                fs::permissions(at->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
        fs::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

    // The names in the folder (or in one of its folders), sorted.
    std::vector<std::string> names(const std::string& inside = {}) const
    {
        return namesIn(inside.empty() ? path_ : file(inside));
    }

    static std::vector<std::string> namesIn(const std::string& folder)
    {
        std::vector<std::string> found;
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }

private:
    std::string path_;
};

inline std::string contentOf(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline void put(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace orvane::test
