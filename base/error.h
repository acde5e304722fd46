#pragma once
// The error type of Vantrel's rules: a failure meant for the user, carrying
// the text the general error report shows.

#include <stdexcept>

namespace vantrel {

class VantrelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace vantrel
