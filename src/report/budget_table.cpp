#include "report/budget_table.h"

#include "model/number_text.h"
#include "report/intermod_table.h"
#include "report/report_text.h"

namespace orvane {

namespace {

constexpr std::size_t powerLimitedColumn = 3;

std::string cell(const std::optional<double>& value)
{
    return value ? formatFixed(*value, 0, 4) : std::string();
}

// One CSV line: the quoted cells that hold text in double quotes, empty cells bare.
std::string csvLine(const std::vector<std::string>& cells, const std::vector<bool>& quoted)
{
    std::string line;
    for (std::size_t column = 0; column < cells.size(); ++column) {
        if (column > 0)
            line += ',';
        const std::string& text = cells[column];
        line += quoted[column] && !text.empty() ? '"' + escapeCsvQuoted(text) + '"' : text;
    }
    return line + '\n';
}

} // namespace

std::vector<std::string> budgetTableHeader()
{
    return {"Power share (%)", "Bandwidth share (%)", "PEB (MHz)",           "Power-limited",
            "Es/N0 (dB)",      "C/(N+IM) (dB)",       "Required Es/N0 (dB)", "Margin (dB)"};
}

std::vector<std::string> budgetTableRow(const CarrierBudget& carrier)
{
    std::string powerLimited;
    if (carrier.powerLimited)
        powerLimited = *carrier.powerLimited ? "yes" : "no";
    return {cell(carrier.powerSharePct),  cell(carrier.bandwidthSharePct),
            cell(carrier.pebMhz),         powerLimited,
            cell(carrier.esN0Db),         cell(carrier.cnimDb),
            cell(carrier.requiredEsN0Db), cell(carrier.marginDb)};
}

std::string intermodBudgetCsv(const IntermodAnalysis& analysis, const TransponderBudget& budget,
                              const std::vector<std::string>& moreHeadings,
                              const std::vector<std::vector<std::string>>& moreCells)
{
    std::vector<std::string> header = intermodTableHeader();
    const std::size_t budgetFrom = header.size();
    for (std::string& title : budgetTableHeader())
        header.push_back(std::move(title));
    const std::size_t moreFrom = header.size();
    header.insert(header.end(), moreHeadings.begin(), moreHeadings.end());
    std::vector<bool> quoted(header.size());
    for (std::size_t column = 0; column < header.size(); ++column)
        quoted[column] = column < budgetFrom ? intermodTableColumnIsText(column)
                                             : column - budgetFrom == powerLimitedColumn;

    std::string text = csvLine(header, std::vector<bool>(header.size(), true));
    for (std::size_t row = 0; row < analysis.carriers.size(); ++row) {
        std::vector<std::string> cells = intermodTableRow(analysis.carriers[row]);
        if (row < budget.carriers.size()) {
            for (std::string& cell : budgetTableRow(budget.carriers[row]))
                cells.push_back(std::move(cell));
        }
        cells.resize(moreFrom);
        if (row < moreCells.size())
            cells.insert(cells.end(), moreCells[row].begin(), moreCells[row].end());
        cells.resize(header.size());
        text += csvLine(cells, quoted);
    }
    return text + intermodPlanSummaryCsv(analysis);
}

} // namespace orvane
