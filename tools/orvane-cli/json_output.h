#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace orvane::cli {

// The document as indented JSON text with a final line end. Unlike nlohmann's own dump, every
// double is written in its shortest form that reads back as the same value ("5850", "1e-07");
// a value that is not finite becomes null. Strings must be UTF-8.
std::string jsonText(const nlohmann::ordered_json& document);

} // namespace orvane::cli
