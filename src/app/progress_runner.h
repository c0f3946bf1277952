#pragma once

#include "model/work_progress.h"

#include <exception>
#include <functional>

class QString;
class QWidget;

namespace orvane {

// Runs work on a thread of its own while the window goes on drawing. For the first delayMs
// the busy cursor shows and user input waits; after that a modal progress dialog with text
// and Cancel takes over (Cancel asks the work to stop through its progress). Returns when the
// work has returned: null, or the exception the work ended in, caught at the thread's edge.
std::exception_ptr runWithProgressDialog(QWidget* parent, const QString& text,
                                         const std::function<void(WorkProgress&)>& work,
                                         int delayMs);

} // namespace orvane
