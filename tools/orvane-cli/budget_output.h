#pragma once

#include "budget/transponder_budget.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <vector>

namespace orvane::cli {

// The budget's options of analyse: --transponder-mhz, --psat, --obo and --cn0-sat.
bool isBudgetOption(const std::string& arg);
// Reads the budget option at args[i] and its value (i moves past it) into inputs; false, with
// the problem and usage printed, for a value that is not a finite number or a transponder
// bandwidth of 0 or less.
bool readBudgetOption(const std::vector<std::string>& args, std::size_t& i, BudgetInputs& inputs,
                      const char* usage);

// Adds the budget to an analysis document: its plan keys before "carriers" and each carrier's
// keys after the carrier's own (the carriers in the same F-number order).
void addBudget(nlohmann::ordered_json& document, const TransponderBudget& budget);

} // namespace orvane::cli
