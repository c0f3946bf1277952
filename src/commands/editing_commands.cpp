#include "commands/editing_commands.h"

#include "commands/help_request.h"
#include "commands/history_commands.h"
#include "files/modcod_file.h"
#include "model/entry_text.h"
#include "model/program_identity.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace orvane {

namespace {

const char* const adjustViewQuestion =
    "  Carrier is outside View Frequencies.  \n\n  Adjust View Frequencies?  \n";
const char* const clearAllQuestion =
    "  Clear ALL Carriers and Reinitialise.\n \n  Are You Sure?  \n";

const char* const addStep = "Add Carrier";
const char* const modifyStep = "Modify Carrier";
const char* const deleteStep = "Delete Carrier";

constexpr CommandOutcome refreshAndRepaint{true, true};
constexpr CommandOutcome nothingToRefresh{false, false};

CommandOutcome addCarrierOfMode(PlanDocument& document, UserInteraction& interaction, int calcMode)
{
    Carrier carrier;
    carrier.calcMode = calcMode;
    if (interaction.editCarrier(carrier)) {
        document.carriers.append(carrier);
        checkViewRange(document, interaction, carrier);
        recordPlanChange(document, addStep);
    }
    return refreshAndRepaint;
}

// Sorts the plan so the selection dialog lists it by frequency; the plan keeps that order,
// which is no change of its own to undo.
void sortForSelection(PlanDocument& document)
{
    document.carriers.sortByFrequency();
    document.history.takeNewOrder(document.carriers);
}

// Edits the carrier at a place with its dialog; true when it was changed.
bool editCarrierAt(PlanDocument& document, UserInteraction& interaction, CarrierPosition position)
{
    Carrier carrier = document.carriers.at(position);
    if (!interaction.editCarrier(carrier))
        return false;
    document.carriers.replaceAt(position, carrier);
    checkViewRange(document, interaction, carrier);
    recordPlanChange(document, modifyStep);
    return true;
}

// The Delete command after the plan was sorted: the selection dialog, with preselected marked.
CommandOutcome deleteChosenCarrier(PlanDocument& document, UserInteraction& interaction,
                                   std::optional<CarrierPosition> preselected)
{
    CarrierList& carriers = document.carriers;
    const std::optional<CarrierPosition> chosen =
        interaction.selectCarrier(carriers, "Delete Carrier :", "DELETE", preselected);
    if (chosen && carriers.indexOf(*chosen)) {
        carriers.removeAt(*chosen);
        recordPlanChange(document, deleteStep);
    }
    // The plan no longer matches its file; only a plan emptied by the delete keeps the path.
    if (!carriers.empty())
        document.carrierFilePath.clear();
    return refreshAndRepaint;
}

// Reads a catalogue into entries, telling the user what went wrong; true when it has entries.
bool readCatalogue(CarrierList& entries, const std::string& path, UserInteraction& interaction)
{
    const FileReadResult result = loadModcodFile(entries, path);
    if (result.error)
        interaction.showMessage(fileErrorText(*result.error), programCaption, MessageIcon::warning);
    const std::string skipped = skippedLinesText(result.skipped);
    if (!skipped.empty())
        interaction.showMessage(skipped, programCaption, MessageIcon::warning);
    return result.loaded && !entries.empty();
}

// True when a saved plan keeps every centre of carriers; otherwise says which it could not.
bool centresFitInFile(const CarrierList& carriers, const char* quantity,
                      UserInteraction& interaction)
{
    for (const Carrier& carrier : carriers)
        if (!fitsInFile(carrier.centreFrequencyMhz)) {
            interaction.showMessage(outsideFileRangeText(quantity, "MHz"), programCaption,
                                    MessageIcon::warning);
            return false;
        }
    return true;
}

// The carriers moved on a copy take the plan's place, unless a centre lies where a saved plan
// could not keep it: then the plan stays as it was.
CommandOutcome takeMovedCarriers(PlanDocument& document, UserInteraction& interaction,
                                 CarrierList moved, const char* centreName, const char* stepName)
{
    if (centresFitInFile(moved, centreName, interaction)) {
        document.carriers = std::move(moved);
        recordPlanChange(document, stepName);
    }
    return refreshAndRepaint;
}

} // namespace

void checkViewRange(PlanDocument& document, UserInteraction& interaction, const Carrier& carrier)
{
    checkViewRange(document, interaction, carrier.lowerEdgeMhz(), carrier.upperEdgeMhz());
}

void checkViewRange(PlanDocument& document, UserInteraction& interaction, double lowerMhz,
                    double upperMhz)
{
    DisplaySettings& view = document.displaySettings;
    if (lowerMhz >= view.viewStartMhz && upperMhz <= view.viewStopMhz)
        return;
    if (!interaction.askYesNo(adjustViewQuestion, helpKey::adjustView))
        return;
    // The view only ever widens, on whichever side the carrier sticks out.
    if (lowerMhz < view.viewStartMhz)
        view.viewStartMhz = lowerMhz;
    if (upperMhz > view.viewStopMhz)
        view.viewStopMhz = upperMhz;
}

CommandOutcome addFixedCarrier(PlanDocument& document, UserInteraction& interaction)
{
    return addCarrierOfMode(document, interaction, calcModeFixed);
}

CommandOutcome addFecCarrier(PlanDocument& document, UserInteraction& interaction)
{
    return addCarrierOfMode(document, interaction, calcModeFec);
}

CommandOutcome addSpectralCarrier(PlanDocument& document, UserInteraction& interaction)
{
    return addCarrierOfMode(document, interaction, calcModeSpectral);
}

CommandOutcome addModcodCarrier(PlanDocument& document, UserInteraction& interaction)
{
    // The chooser opens in the program's folder every time; the folder it hands back is
    // dropped with this copy.
    std::string folder = document.programDirectory;
    CarrierList entries;
    const std::optional<ChosenFile> file = interaction.chooseModcodFile(folder);
    if (!file || !readCatalogue(entries, file->path, interaction))
        return refreshAndRepaint;

    const std::optional<CarrierPosition> chosen = interaction.selectCarrier(
        entries, "MODCOD File : " + entries.title, "SELECT", std::nullopt);
    if (!chosen || !entries.indexOf(*chosen))
        return refreshAndRepaint;
    Carrier carrier = entries.at(*chosen);
    if (interaction.editCarrier(carrier)) {
        document.carriers.append(carrier);
        checkViewRange(document, interaction, carrier);
        recordPlanChange(document, addStep);
    }
    return refreshAndRepaint;
}

CommandOutcome modifyCarrier(PlanDocument& document, UserInteraction& interaction)
{
    CarrierList& carriers = document.carriers;
    if (carriers.empty())
        return refreshAndRepaint;
    sortForSelection(document);
    const std::optional<CarrierPosition> chosen =
        interaction.selectCarrier(carriers, "Modify Carrier :", "MODIFY", std::nullopt);
    if (chosen && carriers.indexOf(*chosen))
        editCarrierAt(document, interaction, *chosen);
    return refreshAndRepaint;
}

CommandOutcome modifyCarrierAt(PlanDocument& document, UserInteraction& interaction, int index)
{
    const std::optional<CarrierPosition> position = document.carriers.findIndex(index);
    if (!position || !editCarrierAt(document, interaction, *position))
        return nothingToRefresh;
    return refreshAndRepaint;
}

CommandOutcome modifyCarrierNumber(PlanDocument& document, UserInteraction& interaction,
                                   int fNumber)
{
    if (fNumber < 1 || fNumber > document.carriers.count())
        return nothingToRefresh;
    sortForSelection(document);
    return modifyCarrierAt(document, interaction, fNumber - 1);
    return refreshAndRepaint;
}

CommandOutcome deleteCarrier(PlanDocument& document, UserInteraction& interaction)
{
    if (document.carriers.empty())
        return refreshAndRepaint;
    sortForSelection(document);
    return deleteChosenCarrier(document, interaction, std::nullopt);
}

CommandOutcome deleteCarrierAt(PlanDocument& document, UserInteraction& interaction, int index)
{
    CarrierList& carriers = document.carriers;
    if (index < 0 || index >= carriers.count())
        return nothingToRefresh;
    const Carrier marked = carriers[index];
    sortForSelection(document);
    // After the sort the marked carrier is wherever its frequency put it; a carrier the
    // selection dialog shows the same way (frequency, power, label) is the same to the user.
    const auto found = std::find_if(carriers.begin(), carriers.end(), [&](const Carrier& sorted) {
        return sorted.centreFrequencyMhz == marked.centreFrequencyMhz &&
               sorted.powerDbw == marked.powerDbw && sorted.label == marked.label;
    });
    return deleteChosenCarrier(
        document, interaction,
        carriers.findIndex(static_cast<int>(std::distance(carriers.begin(), found))));
}

CommandOutcome clearAll(PlanDocument& document, UserInteraction& interaction)
{
    if (!interaction.askOkCancel(clearAllQuestion))
        return nothingToRefresh;
    document.carriers.removeAll();
    document.applyPlanDefaults();
    recordPlanChange(document, "Clear All");
    // A cleared plan is a fresh start: nothing in it to lose.
    document.history.markUnchanged();
    return refreshAndRepaint;
}

CommandOutcome fitCarriers(PlanDocument& document)
{
    const CarrierList& carriers = document.carriers;
    if (carriers.empty())
        return nothingToRefresh;
    const double lowMhz = carriers.lowestEdgeMhz();
    const double highMhz = carriers.highestEdgeMhz();
    if (!(highMhz > 0.0 && lowMhz >= 0.0 && highMhz > lowMhz))
        return nothingToRefresh;
    document.displaySettings.viewStartMhz = lowMhz;
    document.displaySettings.viewStopMhz = highMhz;
    recordPlanChange(document, "Fit Carriers");
    return refreshAndRepaint;
}

CommandOutcome scrunchCarriers(PlanDocument& document, UserInteraction& interaction)
{
    if (document.carriers.empty())
        return nothingToRefresh;
    const std::optional<double> startMhz = interaction.askFrequency(
        "Enter Start Frequency for Scrunch : ", document.displaySettings.viewStartMhz);
    if (!startMhz)
        return refreshAndRepaint;
    CarrierList packed = document.carriers;
    packed.scrunch(*startMhz);
    return takeMovedCarriers(document, interaction, std::move(packed), "scrunched centre frequency",
                             "Scrunch Carriers");
}

CommandOutcome shiftCarriers(PlanDocument& document, UserInteraction& interaction)
{
    if (document.carriers.empty())
        return nothingToRefresh;
    const std::optional<double> stepMhz =
        interaction.askFrequency("Enter Frequency Step for Carrier Shift : ", 0.0);
    if (!stepMhz)
        return refreshAndRepaint;
    CarrierList shifted = document.carriers;
    shifted.shift(*stepMhz);
    return takeMovedCarriers(document, interaction, std::move(shifted), "shifted centre frequency",
                             "Shift Carriers");
}

} // namespace orvane
