// The desktop program's file commands when the disk fails them: the user sees the writer's
// message in a warning box, the earlier file stays, and a report that failed is never opened.
// Each disk failure once; the writers' own tests show every failure in every writer.
#include "sample_plan.h"
#include "support/temp_folder.h"

#include "app/file_commands.h"
#include "app/scripted_interaction.h"
#include "files/file_error.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>

namespace orvane::test {
namespace {

using orvane::testing::ScriptedInteraction;

struct FailingCommand {
    const char* name;
    std::function<void(PlanDocument&, UserInteraction&)> run;
    // Prepares the failure in the folder; the path the user chooses.
    std::function<std::string(const TempFolder&)> make;
    FileErrorCause cause;
};

class FileCommandFailure : public ::testing::TestWithParam<FailingCommand> {};

TEST_P(FileCommandFailure, ShowsTheWritersMessageAndOpensNothing)
{
    const TempFolder scratch;
    const std::string path = GetParam().make(scratch);
    const std::vector<std::string> before = scratch.names();
    PlanDocument document;
    document.carriers = samplePlan(12);
    ScriptedInteraction user;
    user.chosenPaths.push_back(path);
    GetParam().run(document, user);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, fileErrorText(GetParam().cause, path));
    EXPECT_EQ(user.messages[0].icon, MessageIcon::warning);
    EXPECT_TRUE(user.openedPaths.empty());
    EXPECT_EQ(user.busyDepth, 0);
    EXPECT_EQ(scratch.names(), before);
}

INSTANTIATE_TEST_SUITE_P(
    HostileDisks, FileCommandFailure,
    ::testing::Values(FailingCommand{"SaveCarriersToAFullDevice", saveCarriers,
                                     [](const TempFolder& scratch) {
                                         ::symlink("/dev/full", scratch.file("plan.txt").c_str());
                                         return scratch.file("plan.txt");
                                     },
                                     FileErrorCause::diskFull},
                      FailingCommand{"SaveCsvReportIntoAMissingFolder", saveReport,
                                     [](const TempFolder& scratch) {
                                         return scratch.file("missing/report.csv");
                                     },
                                     FileErrorCause::badPath},
                      FailingCommand{"LoadADeviceThatNeverEnds",
                                     [](PlanDocument& document, UserInteraction& user) {
                                         loadCarriersFrom(document, user, "/dev/zero");
                                     },
                                     [](const TempFolder&) { return std::string("/dev/zero"); },
                                     FileErrorCause::fileTooLarge}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace orvane::test
