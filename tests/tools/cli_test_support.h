#pragma once

#include "support/test_data.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace orvane::test {

// Runs orvane-cli as a user would, in a folder of the test's own; keeps stdout and stderr.
class CliTest : public ::testing::Test {
protected:
    std::string pathOf(const std::string& name) const { return scratch.file(name); }

    static std::string quoted(const std::string& text)
    {
        std::string result = "'";
        for (const char c : text)
            result += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return result + "'";
    }

    // The exit status of orvane-cli with these arguments; "@" in one stands for the folder.
    int run(const std::vector<std::string>& args, const std::string& redirect = "")
    {
        std::string command = quoted(ORVANE_CLI_PATH);
        for (std::string arg : args) {
            for (std::size_t at = arg.find('@'); at != std::string::npos; at = arg.find('@'))
                arg.replace(at, 1, scratch.path());
            command += " " + quoted(arg);
        }
        command += (redirect.empty() ? " >" + quoted(pathOf("stdout.txt")) : redirect) + " 2>" +
                   quoted(pathOf("stderr.txt"));
        const int status = std::system(command.c_str());
        output = contentOf(pathOf("stdout.txt"));
        errors = contentOf(pathOf("stderr.txt"));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    void put(const std::string& name, const std::string& bytes) const
    {
        test::put(pathOf(name), bytes);
    }

    TempFolder scratch;
    std::string output;
    std::string errors;
};

} // namespace orvane::test
