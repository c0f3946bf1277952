#pragma once

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <utility>
#include <vector>

namespace orvane::test {

// Runs orvane-cli as a user would, in a folder of the test's own; keeps stdout and stderr.
class CliTest : public ::testing::Test {
protected:
    explicit CliTest(std::string subcommand = {}) : subcommand_(std::move(subcommand)) {}

    std::string pathOf(const std::string& name) const { return scratch.file(name); }

    static std::string quoted(const std::string& text)
    {
        std::string result = "'";
        for (const char c : text)
            result += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return result + "'";
    }

    // The exit status of orvane-cli [subcommand] args.
    int run(const std::vector<std::string>& args)
    {
        std::string command = quoted(ORVANE_CLI_PATH);
        if (!subcommand_.empty())
            command += " " + subcommand_;
        for (const std::string& arg : args)
            command += " " + quoted(arg);
        command += " >" + quoted(pathOf("stdout.txt")) + " 2>" + quoted(pathOf("stderr.txt"));
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
    const std::string& folder = scratch.path();
    std::string output;
    std::string errors;

private:
    std::string subcommand_;
};

} // namespace orvane::test
