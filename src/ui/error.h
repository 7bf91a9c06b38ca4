// The toolkit layer's one error type: a form description that cannot be read or bound,
// a missing resource, a glyph that cannot be decoded.
#pragma once

#include <stdexcept>

namespace ui {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace ui
