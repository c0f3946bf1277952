#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orvane {

// The carrier files last loaded or saved, newest first, each once, at most `capacity` of them.
class RecentPlans {
public:
    static constexpr std::size_t capacity = 8;

    // Takes a stored list as it is, dropping empty and repeated entries and any past capacity.
    void assign(const std::vector<std::string>& paths);
    // Puts a path at the front.
    void add(const std::string& path);
    void remove(const std::string& path);
    const std::vector<std::string>& paths() const { return paths_; }

private:
    std::vector<std::string> paths_;
};

} // namespace orvane
