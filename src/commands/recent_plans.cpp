#include "commands/recent_plans.h"

#include <algorithm>

namespace orvane {

void RecentPlans::assign(const std::vector<std::string>& paths)
{
    paths_.clear();
    for (auto path = paths.rbegin(); path != paths.rend(); ++path)
        add(*path);
}

void RecentPlans::add(const std::string& path)
{
    if (path.empty())
        return;
    remove(path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > capacity)
        paths_.resize(capacity);
}

void RecentPlans::remove(const std::string& path)
{
    paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
}

} // namespace orvane
