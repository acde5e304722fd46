#pragma once
// The general error report: an error that no handler catches is shown to the
// user in a message box, and the program goes on.

#include <stdexcept>
#include <string>

namespace vantrel {

// An error meant for the general error report, with the user-facing text.
class VantrelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The text of the report: the message with a full stop appended unless its
// last character sorts at or before "." (such as ".", "!" or a space).
std::string ErrorReportText(const std::string& message);

}  // namespace vantrel
