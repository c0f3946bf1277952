#pragma once

#include "analysis/intermod_products.h"
#include "model/work_progress.h"
#include "report/html_writer.h"

#include <vector>

namespace orvane {

enum class ReportLayout { html, csv };

// The product rows of a report layout on carrierCount carriers, exactly as
// HtmlWriter::writeRow (HTML) or the CSV layout's lines would give them, formatted in blocks
// on two threads and written in order.
// Each written block advances the current part of progress; a cancel asked for there stops
// the writing. False when not every row was written (a cancel or a failed write).
bool writeProductRows(HtmlWriter& writer, ReportLayout layout, int carrierCount,
                      const CompactIntermodProducts& products, WorkProgress* progress);

} // namespace orvane
