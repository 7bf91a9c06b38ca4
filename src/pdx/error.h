// The engine's one error type. Its message is Russian text in UTF-8 that names the table
// and the cause.
#pragma once

#include <stdexcept>
#include <string>

namespace pdx {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace pdx
