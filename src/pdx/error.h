// The engine's one error type. Its message is Russian text in UTF-8 that names the table
// and the cause.
//
// Code inside the engine knows the cause but not the name the user gave the table: it
// throws an Error of the cause's kind, and the engine's entry points attach the table's
// name (about()) before the error leaves the engine.
#pragma once

#include <exception>
#include <string>

namespace pdx {

class Error : public std::exception {
public:
    enum class Kind {
        Syntax,     // the statement's text is wrong: the cause is the whole message
        Refused,    // the table cannot be used this way
        Corrupt,    // the table's bytes contradict themselves
        Statement,  // the statement asks the table for something it has not
        Field,      // a value of one field
        NotFound,   // a file operation failed, for the reason the system gave
        Busy,
        AccessDenied,
        NoSpace,
        Io,
        Copy,  // copying one table file over another failed
    };

    Error(Kind kind, std::string cause);
    // Field: the field's name. File kinds: the file's path. Copy: not used.
    Error(Kind kind, std::string subject, std::string cause);
    static Error refused(std::string cause) { return {Kind::Refused, std::move(cause)}; }
    static Error corrupt(std::string cause) { return {Kind::Corrupt, std::move(cause)}; }
    static Error statement(std::string cause) { return {Kind::Statement, std::move(cause)}; }
    static Error field(std::string name, std::string cause) {
        return {Kind::Field, std::move(name), std::move(cause)};
    }
    // A copy of `source` over `target` that failed for `reason`.
    static Error copyFailed(const std::string& source, const std::string& target, const std::string& reason);

    Kind kind() const { return kind_; }
    const std::string& cause() const { return cause_; }

    // The error as reported for `table`; an error that names its table already stays as it is.
    Error about(const std::string& table) const;

    const char* what() const noexcept override { return message_.c_str(); }

private:
    void compose();

    Kind kind_;
    std::string subject_;
    std::string cause_;
    std::string table_;
    std::string message_;
};

}  // namespace pdx
