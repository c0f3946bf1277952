#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvane::test {

// A folder of its own under the system's temporary folder, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// A small tmpfs mounted on a folder for one test; unmounted when it goes. Only root can
// mount: mountAt says why it could not.
class ScratchMount {
public:
    ScratchMount() = default;
    ~ScratchMount();
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    // Mounts a tmpfs of sizeBytes on folder; the reason it could not, or none.
    std::optional<std::string> mountAt(const std::string& folder, unsigned long sizeBytes);
    // Makes the mounted file system read-only; the reason it could not, or none.
    std::optional<std::string> makeReadOnly();

private:
    std::string folder_;
};

bool runningAsRoot();
std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);
bool exists(const std::string& path);
// The names in a folder, sorted, without "." and "..".
std::vector<std::string> namesIn(const std::string& folder);
// Peak resident memory of this process so far, in MB.
long peakResidentMegabytes();

} // namespace orvane::test
