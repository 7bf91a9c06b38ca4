// A list of text lines (Delphi's TStrings), e.g. the lines of a query's statement.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace ui {

class TStrings {
public:
    void Add(const std::string& line) { lines_.push_back(line); }
    void Clear() { lines_.clear(); }
    std::size_t Count() const { return lines_.size(); }
    const std::string& Strings(std::size_t index) const { return lines_.at(index); }
    // Every line followed by CR LF.
    std::string Text() const;

private:
    std::vector<std::string> lines_;
};

}  // namespace ui
