#include "budget_output.h"

#include "cli_support.h"

namespace orvane::cli {

namespace {

using Json = nlohmann::ordered_json;

template <typename Value> Json optionalValue(const std::optional<Value>& value)
{
    return value ? Json(*value) : Json(nullptr);
}

} // namespace

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

void addBudget(Json& document, const TransponderBudget& budget)
{
    Json carriers = std::move(document["carriers"]);
    document.erase("carriers");
    document["transponderMhz"] = optionalValue(budget.transponderBandwidthMhz);
    document["psatDbw"] = optionalValue(budget.saturatedPowerDbw);
    document["cn0SatDbHz"] = optionalValue(budget.saturatedCn0DbHz);
    document["oboDb"] = optionalValue(budget.outputBackoffDb);
    document["overDriven"] = optionalValue(budget.overDriven);
    document["powerUsedPct"] = optionalValue(budget.powerUsedPct);
    document["bandwidthUsedPct"] = optionalValue(budget.bandwidthUsedPct);
    document["limitedBy"] =
        budget.limitedBy ? Json(*budget.limitedBy == BudgetLimit::power ? "power" : "bandwidth")
                         : Json(nullptr);
    document["minMarginDb"] = optionalValue(budget.minMarginDb);
    document["worstMarginCarrier"] = optionalValue(budget.worstMarginCarrier);
    for (std::size_t i = 0; i < carriers.size() && i < budget.carriers.size(); ++i) {
        const CarrierBudget& row = budget.carriers[i];
        Json& entry = carriers[i];
        entry["powerSharePct"] = optionalValue(row.powerSharePct);
        entry["bandwidthSharePct"] = optionalValue(row.bandwidthSharePct);
        entry["pebMhz"] = optionalValue(row.pebMhz);
        entry["powerLimited"] = optionalValue(row.powerLimited);
        entry["esN0Db"] = optionalValue(row.esN0Db);
        entry["cnimDb"] = optionalValue(row.cnimDb);
        entry["requiredEsN0Db"] = optionalValue(row.requiredEsN0Db);
        entry["marginDb"] = optionalValue(row.marginDb);
    }
    document["carriers"] = std::move(carriers);
}

} // namespace orvane::cli
