#include "commands/file_commands.h"

#include "commands/history_commands.h"
#include "commands/work_failure.h"
#include "files/carrier_file.h"
#include "files/safe_file_writer.h"
#include "report/intermod_report.h"
#include "report/path_names.h"

#include <filesystem>
#include <iterator>
#include <system_error>

namespace orvane {

namespace {

const char* const unsavedChangesQuestion =
    "The plan has changes that have not been saved. Save them first?";

constexpr CommandOutcome refreshAndRepaint{true, true};

void copyViewIntoList(PlanDocument& document)
{
    document.carriers.viewStartMhz = document.displaySettings.viewStartMhz;
    document.carriers.viewStopMhz = document.displaySettings.viewStopMhz;
    document.carriers.title = document.displaySettings.titleText;
}

} // namespace

bool settleUnsavedChanges(PlanDocument& document, UserInteraction& interaction)
{
    // An empty plan cannot be saved, so there is nothing to offer for it.
    if (!document.history.changed() || document.carriers.empty())
        return true;
    switch (interaction.askToSaveChanges(unsavedChangesQuestion)) {
    case UnsavedChangesAnswer::save:
        saveCarriers(document, interaction);
        return !document.history.changed();
    case UnsavedChangesAnswer::discard:
        return true;
    case UnsavedChangesAnswer::cancel:
        break;
    }
    return false;
}

std::string planStatusText(const PlanDocument& document)
{
    const std::string name = document.carrierFilePath.empty()
                                 ? std::string("New plan")
                                 : fileNameOf(document.carrierFilePath);
    const bool modified = document.history.changed() && !document.carriers.empty();
    return modified ? name + " (modified)" : name;
}

CommandOutcome loadCarriers(PlanDocument& document, UserInteraction& interaction)
{
    if (!settleUnsavedChanges(document, interaction))
        return refreshAndRepaint;
    const auto chosen = interaction.chooseCarrierFileToOpen(document.lastPath);
    if (!chosen)
        return refreshAndRepaint;
    return loadCarriersFrom(document, interaction, chosen->path);
}

CommandOutcome loadCarriersFrom(PlanDocument& document, UserInteraction& interaction,
                                const std::string& path)
{
    interaction.beginBusy();
    document.carriers.removeAll();
    copyViewIntoList(document);
    document.carrierFilePath.clear();
    const FileReadResult result = loadCarrierFile(document.carriers, path);
    if (result.loaded) {
        document.displaySettings.viewStartMhz = document.carriers.viewStartMhz;
        document.displaySettings.viewStopMhz = document.carriers.viewStopMhz;
        document.displaySettings.titleText = document.carriers.title;
        document.carrierFilePath = path;
        recordPlanChange(document, "Load Carriers");
        document.history.markUnchanged();
        document.recentPlans.add(path);
    } else {
        // The plan the failed load emptied starts afresh: there is nothing to undo into it.
        document.history.restart(document.carriers, document.displaySettings);
    }
    interaction.endBusy();

    if (result.error)
        interaction.showMessage(fileErrorText(*result.error), programCaption, MessageIcon::warning);
    const std::string skipped = skippedLinesText(result.skipped);
    if (!skipped.empty())
        interaction.showMessage(skipped, programCaption, MessageIcon::information);
    return refreshAndRepaint;
}

CommandOutcome saveCarriers(PlanDocument& document, UserInteraction& interaction)
{
    if (document.carriers.empty())
        return {};
    const auto chosen = interaction.chooseCarrierFileToSave(document.lastPath);
    if (!chosen)
        return {};

    copyViewIntoList(document);
    interaction.beginBusy();
    const FileWriteResult result = saveCarrierFile(document.carriers, chosen->path);
    interaction.endBusy();
    const std::string text = writeResultText(result);
    if (!text.empty()) {
        interaction.showMessage(text, programCaption,
                                result.nothingToSave ? MessageIcon::information
                                                     : MessageIcon::warning);
    }
    if (result.written) {
        document.history.markUnchanged();
        document.recentPlans.add(chosen->path);
    }
    // The path is kept even after a failed write, so the next Save Image suggests its name.
    document.carrierFilePath = chosen->path;
    return {};
}

CommandOutcome openCarrierFile(PlanDocument& document, UserInteraction& interaction,
                               const std::string& path)
{
    if (!settleUnsavedChanges(document, interaction))
        return {};
    return loadCarriersFrom(document, interaction, path);
}

CommandOutcome openRecentPlan(PlanDocument& document, UserInteraction& interaction,
                              const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        document.recentPlans.remove(path);
        interaction.showMessage(fileErrorText(FileErrorCause::fileNotFound, path) +
                                    "\nIt has been removed from the recent plans.",
                                programCaption, MessageIcon::warning);
        return {};
    }
    return openCarrierFile(document, interaction, path);
}

std::string suggestedImageName(const std::string& carrierFilePath)
{
    if (carrierFilePath.empty())
        return {};
    return fileNameOf(carrierFilePath) + ".bmp";
}

ImageFormat imageFormatFor(const ChosenFile& chosen)
{
    constexpr ImageFormat chooserFormats[] = {ImageFormat::bmp, ImageFormat::png, ImageFormat::svg};
    if (const std::optional<ImageFormat> named = imageFormatOfPath(chosen.path))
        return *named;
    if (chosen.filterIndex > 0 && chosen.filterIndex < static_cast<int>(std::size(chooserFormats)))
        return chooserFormats[chosen.filterIndex];
    return ImageFormat::bmp;
}

CommandOutcome saveImage(PlanDocument& document, UserInteraction& interaction,
                         const PlanImageWriter& writeImage)
{
    const auto chosen = interaction.chooseImageFile(document.lastPath,
                                                    suggestedImageName(document.carrierFilePath));
    if (!chosen || chosen->path.empty())
        return {};

    interaction.beginBusy();
    const std::string failure = writeImage(chosen->path, imageFormatFor(*chosen));
    interaction.endBusy();
    document.lastPath = directoryOf(chosen->path);
    if (!failure.empty())
        interaction.showMessage(failure, "Error", MessageIcon::information);
    return {};
}

CommandOutcome saveReport(PlanDocument& document, UserInteraction& interaction)
{
    const auto chosen = interaction.chooseReportFile(document.lastPath);
    if (!chosen || chosen->path.empty())
        return refreshAndRepaint;

    // The work sorts and reads a copy of its own while the window goes on drawing the plan;
    // the plan then takes the order the report numbers the carriers in.
    CarrierList plan = document.carriers;
    ReportResult result;
    const std::exception_ptr failure = interaction.runWithProgress(
        "Writing the intermodulation report...", [&plan, &chosen, &result](WorkProgress& progress) {
            result = saveIntermodReport(plan, chosen->path, &progress);
        });
    if (failure) {
        interaction.showMessage(workFailureText("The intermodulation report", failure),
                                programCaption, MessageIcon::warning);
        return refreshAndRepaint;
    }
    document.carriers = std::move(plan);
    document.history.takeNewOrder(document.carriers);
    if (result.cancelled)
        return refreshAndRepaint;
    if (!result.written) {
        interaction.showMessage(reportResultText(result), programCaption, MessageIcon::warning);
        return refreshAndRepaint;
    }

    const int openCode = interaction.openWithDesktop(chosen->path);
    if (openCode != 0)
        interaction.showSavedButNotOpened(reportNotShownText(chosen->path, openCode), chosen->path);
    document.lastPath = directoryOf(chosen->path);
    return refreshAndRepaint;
}

std::string reportNotShownText(const std::string& path, int openCode)
{
    std::string reason;
    if (openCode == 31) {
        const std::string name = fileNameOf(path);
        const auto dot = name.rfind('.');
        reason = "No application is associated with " +
                 (dot == std::string::npos ? std::string("files without an extension")
                                           : "\"" + name.substr(dot) + "\" files") +
                 " to show it.";
    } else {
        reason = "It could not be shown: " + openErrorReason(openCode);
    }
    return "The intermodulation report was saved as\n" + path + "\n\n" + reason;
}

std::optional<ChosenAmplifierTable> chooseAmplifierTable(PlanDocument& document,
                                                         UserInteraction& interaction)
{
    const auto chosen = interaction.chooseAmplifierTableFile(document.lastPath);
    if (!chosen || chosen->path.empty())
        return std::nullopt;
    interaction.beginBusy();
    ChosenAmplifierTable table{chosen->path, loadAmplifierTable(chosen->path)};
    interaction.endBusy();
    if (!table.read.table)
        interaction.showMessage("The amplifier curve cannot be used:\n" + table.read.problem,
                                programCaption, MessageIcon::warning);
    return table;
}

CommandOutcome saveAnalysisTable(PlanDocument& document, UserInteraction& interaction,
                                 const IntermodPanelModel& panel, const std::string& dateText)
{
    const std::string table = panel.csv(document.displaySettings.titleText, dateText);
    if (table.empty())
        return {};
    const auto chosen = interaction.chooseAnalysisTableFile(document.lastPath);
    if (!chosen || chosen->path.empty())
        return {};
    std::string path = chosen->path;
    if (fileNameOf(path).find('.') == std::string::npos)
        path += ".csv";
    interaction.beginBusy();
    const std::optional<FileError> error = writeFileSafely(path, table);
    interaction.endBusy();
    if (error)
        interaction.showMessage(fileErrorText(*error), programCaption, MessageIcon::warning);
    return {};
}

} // namespace orvane
