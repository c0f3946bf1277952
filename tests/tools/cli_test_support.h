#pragma once

#include "support/test_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace orvane::test {

// Runs orvane-cli as a user would, in a folder of the test's own holding the example plan and
// a plan without carriers; keeps stdout and stderr.
class CliTest : public ::testing::Test {
protected:
    CliTest()
    {
        put("plan.txt", dataFile("reading/example.carriers.txt"));
        put("empty.txt", "Only a title\r\n");
    }

    std::string pathOf(const std::string& name) const { return scratch.file(name); }

    // The text with every "@" standing for the folder.
    std::string inFolder(std::string text) const
    {
        for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@'))
            text.replace(at, 1, scratch.path());
        return text;
    }

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
        for (const std::string& arg : args)
            command += " " + quoted(inFolder(arg));
        command += (redirect.empty() ? " >" + quoted(pathOf("stdout.txt")) : redirect) + " 2>" +
                   quoted(pathOf("stderr.txt"));
        const int status = std::system(command.c_str());
        output = contentOf(pathOf("stdout.txt"));
        errors = contentOf(pathOf("stderr.txt"));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Runs every line "status | part of the standard error | arguments" of a tests/data table:
    // each ends with that status and message, prints nothing and leaves no file behind.
    void expectFailures(const std::string& table)
    {
        std::vector<std::string> names = scratch.names();
        std::istringstream lines(dataFile(table));
        for (std::string line; std::getline(lines, line);) {
            const std::size_t bar = line.find(" | ");
            const std::size_t secondBar = line.find(" |", bar + 3);
            std::istringstream words(line.substr(secondBar + 2));
            std::vector<std::string> args;
            for (std::string word; words >> word;)
                args.push_back(word);
            EXPECT_EQ(run(args), std::stoi(line.substr(0, bar))) << line << "\n" << errors;
            const std::string message = inFolder(line.substr(bar + 3, secondBar - bar - 3));
            EXPECT_NE(errors.find(message), std::string::npos) << line << "\n" << errors;
            EXPECT_EQ(output, "") << line;
        }
        names.insert(names.end(), {"stderr.txt", "stdout.txt"});
        std::sort(names.begin(), names.end());
        EXPECT_EQ(scratch.names(), names);
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
