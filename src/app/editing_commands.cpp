#include "app/editing_commands.h"

#include "dialogs/help_request.h"
#include "files/modcod_file.h"
#include "model/entry_text.h"

#include <string>

namespace orvane {

namespace {

const char* const adjustViewQuestion =
    "  Carrier is outside View Frequencies.  \n\n  Adjust View Frequencies?  \n";
const char* const clearAllQuestion =
    "  Clear ALL Carriers and Reinitialise.\n \n  Are You Sure?  \n";
const char* const messageCaption = "Orvane";

constexpr CommandOutcome refreshAndRepaint{true, true};
constexpr CommandOutcome nothingToRefresh{false, false};

CommandOutcome addCarrierOfMode(PlanDocument& document, UserInteraction& interaction, int calcMode)
{
    Carrier carrier;
    carrier.calcMode = calcMode;
    if (interaction.editCarrier(carrier)) {
        document.carriers.append(carrier);
        checkViewRange(document, interaction, carrier);
    }
    return refreshAndRepaint;
}

// Reads a catalogue into entries, telling the user what went wrong; true when it has entries.
bool readCatalogue(CarrierList& entries, const std::string& path, UserInteraction& interaction)
{
    const FileReadResult result = loadModcodFile(entries, path);
    if (result.error)
        interaction.showMessage(fileErrorText(*result.error), messageCaption, MessageIcon::warning);
    const std::string skipped = skippedLinesText(result.skipped);
    if (!skipped.empty())
        interaction.showMessage(skipped, messageCaption, MessageIcon::warning);
    return result.loaded && !entries.empty();
}

} // namespace

void checkViewRange(PlanDocument& document, UserInteraction& interaction, const Carrier& carrier)
{
    DisplaySettings& view = document.displaySettings;
    const double lowerMhz = carrier.lowerEdgeMhz();
    const double upperMhz = carrier.upperEdgeMhz();
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

    const std::optional<CarrierPosition> chosen =
        interaction.selectCarrier(entries, "MODCOD File : " + entries.title, "SELECT");
    if (!chosen || !entries.indexOf(*chosen))
        return refreshAndRepaint;
    Carrier carrier = entries.at(*chosen);
    if (interaction.editCarrier(carrier)) {
        document.carriers.append(carrier);
        checkViewRange(document, interaction, carrier);
    }
    return refreshAndRepaint;
}

CommandOutcome modifyCarrier(PlanDocument& document, UserInteraction& interaction)
{
    CarrierList& carriers = document.carriers;
    if (carriers.empty())
        return refreshAndRepaint;
    carriers.sortByFrequency();
    const std::optional<CarrierPosition> chosen =
        interaction.selectCarrier(carriers, "Modify Carrier :", "MODIFY");
    if (chosen && carriers.indexOf(*chosen)) {
        Carrier carrier = carriers.at(*chosen);
        if (interaction.editCarrier(carrier)) {
            carriers.replaceAt(*chosen, carrier);
            checkViewRange(document, interaction, carrier);
        }
    }
    return refreshAndRepaint;
}

CommandOutcome deleteCarrier(PlanDocument& document, UserInteraction& interaction)
{
    CarrierList& carriers = document.carriers;
    if (carriers.empty())
        return refreshAndRepaint;
    carriers.sortByFrequency();
    const std::optional<CarrierPosition> chosen =
        interaction.selectCarrier(carriers, "Delete Carrier :", "DELETE");
    if (chosen && carriers.indexOf(*chosen))
        carriers.removeAt(*chosen);
    // The plan no longer matches its file; only a plan emptied by the delete keeps the path.
    if (!carriers.empty())
        document.carrierFilePath.clear();
    return refreshAndRepaint;
}

CommandOutcome clearAll(PlanDocument& document, UserInteraction& interaction)
{
    if (!interaction.askOkCancel(clearAllQuestion))
        return nothingToRefresh;
    document.carriers.removeAll();
    document.applyPlanDefaults();
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
    return refreshAndRepaint;
}

CommandOutcome scrunchCarriers(PlanDocument& document, UserInteraction& interaction)
{
    if (document.carriers.empty())
        return nothingToRefresh;
    if (const std::optional<double> startMhz = interaction.askFrequency(
            "Enter Start Frequency for Scrunch : ", document.displaySettings.viewStartMhz))
        document.carriers.scrunch(*startMhz);
    return refreshAndRepaint;
}

CommandOutcome shiftCarriers(PlanDocument& document, UserInteraction& interaction)
{
    if (document.carriers.empty())
        return nothingToRefresh;
    const std::optional<double> stepMhz =
        interaction.askFrequency("Enter Frequency Step for Carrier Shift : ", 0.0);
    if (!stepMhz)
        return refreshAndRepaint;
    // A centre that a saved plan could not keep is refused before any carrier moves.
    for (const Carrier& carrier : document.carriers)
        if (!fitsInFile(carrier.centreFrequency() + *stepMhz)) {
            interaction.showMessage(outsideFileRangeText("shifted centre frequency", "MHz"),
                                    messageCaption, MessageIcon::warning);
            return refreshAndRepaint;
        }
    document.carriers.shift(*stepMhz);
    return refreshAndRepaint;
}

} // namespace orvane
