#include "budget_output.h"

#include "cli_support.h"
#include "json_output.h"

namespace orvane::cli {

bool isBudgetOption(const std::string& arg)
{
    return arg == "--transponder-mhz" || arg == "--psat" || arg == "--obo" || arg == "--cn0-sat";
}

bool readBudgetOption(const std::vector<std::string>& args, std::size_t& i, BudgetInputs& inputs,
                      const char* usage)
{
    const std::string& option = args[i];
    double value = 0.0;
    if (!readFiniteNumber(args, i, value, "analyse", usage))
        return false;
    if (option == "--transponder-mhz") {
        if (!(value > 0.0)) {
            usageError("analyse: --transponder-mhz must be above 0", usage);
            return false;
        }
        inputs.transponderBandwidthMhz = value;
    } else if (option == "--psat") {
        inputs.saturatedPowerDbw = value;
    } else if (option == "--obo") {
        inputs.outputBackoffDb = value;
    } else {
        inputs.saturatedCn0DbHz = value;
    }
    return true;
}

void addBudget(nlohmann::ordered_json& document, const TransponderBudget& budget)
{
    nlohmann::ordered_json carriers = std::move(document["carriers"]);
    document.erase("carriers");
    document["transponderMhz"] = optionalJson(budget.transponderBandwidthMhz);
    document["psatDbw"] = optionalJson(budget.saturatedPowerDbw);
    document["cn0SatDbHz"] = optionalJson(budget.saturatedCn0DbHz);
    document["oboDb"] = optionalJson(budget.outputBackoffDb);
    document["overDriven"] = optionalJson(budget.overDriven);
    document["powerUsedPct"] = optionalJson(budget.powerUsedPct);
    document["bandwidthUsedPct"] = optionalJson(budget.bandwidthUsedPct);
    document["limitedBy"] =
        budget.limitedBy ? nlohmann::ordered_json(
                               *budget.limitedBy == BudgetLimit::power ? "power" : "bandwidth")
                         : nlohmann::ordered_json(nullptr);
    document["minMarginDb"] = optionalJson(budget.minMarginDb);
    document["worstMarginCarrier"] = optionalJson(budget.worstMarginCarrier);
    for (std::size_t i = 0; i < carriers.size() && i < budget.carriers.size(); ++i) {
        const CarrierBudget& row = budget.carriers[i];
        nlohmann::ordered_json& entry = carriers[i];
        entry["powerSharePct"] = optionalJson(row.powerSharePct);
        entry["bandwidthSharePct"] = optionalJson(row.bandwidthSharePct);
        entry["pebMhz"] = optionalJson(row.pebMhz);
        entry["powerLimited"] = optionalJson(row.powerLimited);
        entry["esN0Db"] = optionalJson(row.esN0Db);
        entry["cnimDb"] = optionalJson(row.cnimDb);
        entry["requiredEsN0Db"] = optionalJson(row.requiredEsN0Db);
        entry["marginDb"] = optionalJson(row.marginDb);
    }
    document["carriers"] = std::move(carriers);
}

} // namespace orvane::cli
