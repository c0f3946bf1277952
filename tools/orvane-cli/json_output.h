#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace orvane::cli {

// The document as indented JSON text with a final line end. Unlike nlohmann's own dump, every
// double is written in its shortest form that reads back as the same value ("5850", "1e-07");
// a value that is not finite becomes null. Strings must be UTF-8.
std::string jsonText(const nlohmann::ordered_json& document);

// The value, or null when there is none.
template <typename Value> nlohmann::ordered_json optionalJson(const std::optional<Value>& value)
{
    return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

} // namespace orvane::cli
