#include "json_output.h"

#include "model/number_text.h"

#include <cmath>

namespace orvane::cli {

namespace {

void appendIndent(std::string& out, int depth)
{
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
}

void appendValue(std::string& out, const nlohmann::ordered_json& value, int depth)
{
    switch (value.type()) {
    case nlohmann::ordered_json::value_t::object: {
        if (value.empty()) {
            out += "{}";
            return;
        }
        out += "{\n";
        bool first = true;
        for (auto item = value.begin(); item != value.end(); ++item) {
            if (!first)
                out += ",\n";
            first = false;
            appendIndent(out, depth + 1);
            out += nlohmann::ordered_json(item.key()).dump();
            out += ": ";
            appendValue(out, item.value(), depth + 1);
        }
        out += '\n';
        appendIndent(out, depth);
        out += '}';
        return;
    }
    case nlohmann::ordered_json::value_t::array: {
        if (value.empty()) {
            out += "[]";
            return;
        }
        out += "[\n";
        bool first = true;
        for (const auto& element : value) {
            if (!first)
                out += ",\n";
            first = false;
            appendIndent(out, depth + 1);
            appendValue(out, element, depth + 1);
        }
        out += '\n';
        appendIndent(out, depth);
        out += ']';
        return;
    }
    case nlohmann::ordered_json::value_t::number_float: {
        const double number = value.get<double>();
        out += std::isfinite(number) ? formatShortest(number) : std::string("null");
        return;
    }
    case nlohmann::ordered_json::value_t::string:
        // Invalid UTF-8 would make the library throw; the readers give only valid UTF-8, and
        // anything else is replaced rather than ending the program.
        out += value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
        return;
    default:
        out += value.dump();
        return;
    }
}

} // namespace

std::string jsonText(const nlohmann::ordered_json& document)
{
    std::string out;
    appendValue(out, document, 0);
    out += '\n';
    return out;
}

} // namespace orvane::cli
