#include "scratch_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <ftw.h>
#include <sstream>
#include <stdexcept>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane::test {

namespace {

int removeEntry(const char* path, const struct stat*, int, struct FTW*)
{
    // A folder made read-only by a test must become writable again to be emptied.
    ::chmod(path, 0700);
    return ::remove(path);
}

} // namespace

ScratchFolder::ScratchFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/orvane-hardening-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!::mkdtemp(name.data()))
        throw std::runtime_error("cannot make a scratch folder: " + std::string(strerror(errno)));
    path_ = name.data();
}

ScratchFolder::~ScratchFolder()
{
    ::nftw(path_.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

ScratchMount::~ScratchMount()
{
    if (!folder_.empty())
        ::umount2(folder_.c_str(), MNT_DETACH);
}

std::optional<std::string> ScratchMount::mountAt(const std::string& folder, unsigned long sizeBytes)
{
    if (!runningAsRoot())
        return std::string("mounting a small file system needs root");
    const std::string options = "size=" + std::to_string(sizeBytes) + ",mode=0755";
    if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0)
        return "mount refused a tmpfs here: " + std::string(strerror(errno));
    folder_ = folder;
    return std::nullopt;
}

std::optional<std::string> ScratchMount::makeReadOnly()
{
    if (::mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
        return "cannot remount read-only: " + std::string(strerror(errno));
    return std::nullopt;
}

bool runningAsRoot()
{
    return ::geteuid() == 0;
}

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

bool exists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* directory = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(directory)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(directory);
    }
    std::sort(names.begin(), names.end());
    return names;
}

long peakResidentMegabytes()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace orvane::test
