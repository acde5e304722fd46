#pragma once
// The general error report: an error that no handler catches is shown to the
// user in a message box, and the program goes on.

#include "base/error.h"

#include <string>

namespace vantrel {

// The text of the report: the message with a full stop appended unless its
// last character sorts at or before "." (such as ".", "!" or a space).
std::string ErrorReportText(const std::string& message);

}  // namespace vantrel
