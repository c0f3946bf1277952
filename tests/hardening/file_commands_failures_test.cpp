// The desktop program's file commands when the disk fails them: the user sees the writer's
// message in a warning box, the earlier file stays, and a report that failed is never opened.
#include "plan_samples.h"
#include "scratch_files.h"

#include "app/file_commands.h"
#include "app/scripted_interaction.h"
#include "files/file_error.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane::test {
namespace {

using orvane::testing::ScriptedInteraction;

struct Command {
    const char* name;
    const char* fileName;
    std::function<void(PlanDocument&, UserInteraction&)> run;
};

void PrintTo(const Command& command, std::ostream* out)
{
    *out << command.name;
}

struct Target {
    const char* name;
    // Prepares the target in scratch; its path.
    std::function<std::string(const ScratchFolder& scratch, const std::string& fileName)> make;
    FileErrorCause cause;
};

void PrintTo(const Target& target, std::ostream* out)
{
    *out << target.name;
}

const Command commands[] = {
    {"SaveCarriers", "plan.txt",
     [](PlanDocument& document, UserInteraction& user) { saveCarriers(document, user); }},
    {"SaveHtmlReport", "report.htm",
     [](PlanDocument& document, UserInteraction& user) { saveReport(document, user); }},
    {"SaveCsvReport", "report.csv",
     [](PlanDocument& document, UserInteraction& user) { saveReport(document, user); }},
};

const Target targets[] = {
    {"FullDevice",
     [](const ScratchFolder& scratch, const std::string& fileName) {
         const std::string path = scratch.file(fileName);
         EXPECT_EQ(::symlink("/dev/full", path.c_str()), 0);
         return path;
     },
     FileErrorCause::diskFull},
    {"TargetIsFolder",
     [](const ScratchFolder& scratch, const std::string& fileName) {
         const std::string path = scratch.file(fileName);
         EXPECT_EQ(::mkdir(path.c_str(), 0755), 0);
         return path;
     },
     FileErrorCause::accessDenied},
    {"MissingFolder",
     [](const ScratchFolder& scratch, const std::string& fileName) {
         return scratch.file("missing/" + fileName);
     },
     FileErrorCause::badPath},
};

class FailingFileCommand : public ::testing::TestWithParam<std::tuple<Command, Target>> {};

TEST_P(FailingFileCommand, ShowsTheWritersMessageAndOpensNothing)
{
    const Command& command = std::get<0>(GetParam());
    const Target& target = std::get<1>(GetParam());
    const ScratchFolder scratch;
    const std::string path = target.make(scratch, command.fileName);
    const std::vector<std::string> before = namesIn(scratch.path());

    PlanDocument document;
    document.carriers = samplePlan(12);
    ScriptedInteraction user;
    user.chosenPaths.push_back(path);
    command.run(document, user);

    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, fileErrorText(target.cause, path));
    EXPECT_EQ(user.messages[0].caption, programCaption);
    EXPECT_EQ(user.messages[0].icon, MessageIcon::warning);
    EXPECT_TRUE(user.openedPaths.empty());
    EXPECT_EQ(user.busyDepth, 0);
    EXPECT_EQ(namesIn(scratch.path()), before);
}

INSTANTIATE_TEST_SUITE_P(HostileDisks, FailingFileCommand,
                         ::testing::Combine(::testing::ValuesIn(commands),
                                            ::testing::ValuesIn(targets)),
                         [](const ::testing::TestParamInfo<std::tuple<Command, Target>>& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

TEST(FailingFileCommand, LoadingADeviceThatNeverEndsShowsWhy)
{
    PlanDocument document;
    document.carriers = samplePlan(3);
    ScriptedInteraction user;
    loadCarriersFrom(document, user, "/dev/zero");
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, fileErrorText(FileErrorCause::fileTooLarge, "/dev/zero"));
    EXPECT_EQ(user.busyDepth, 0);
}

} // namespace
} // namespace orvane::test
