#include "pdx/error.h"

namespace pdx {
namespace {

std::string plainQuoted(const std::string& text) { return "\"" + text + "\""; }
std::string quoted(const std::string& text) { return "«" + text + "»"; }

}  // namespace

Error::Error(Kind kind, std::string cause) : Error(kind, {}, std::move(cause)) {}

Error::Error(Kind kind, std::string subject, std::string cause)
    : kind_(kind), subject_(std::move(subject)), cause_(std::move(cause)) {
    compose();
}

Error Error::copyFailed(const std::string& source, const std::string& target, const std::string& reason) {
    Error error(Kind::Copy, source, reason);
    error.table_ = target;
    error.compose();
    return error;
}

Error Error::about(const std::string& table) const {
    if (!table_.empty() || kind_ == Kind::Syntax) return *this;
    Error named = *this;
    named.table_ = table;
    named.compose();
    return named;
}

void Error::compose() {
    const std::string table = plainQuoted(table_);
    // A file other than the table itself, and the system's reason, in parentheses.
    const std::string file = subject_.empty() || subject_ == table_ ? "" : ", файл " + plainQuoted(subject_);
    const std::string reason = cause_.empty() ? "" : " (" + cause_ + ")";
    switch (kind_) {
    case Kind::Syntax: message_ = cause_; return;
    case Kind::Refused: message_ = "Таблица " + table + ": " + cause_; return;
    case Kind::Corrupt: message_ = "Таблица " + table + " повреждена: " + cause_; return;
    case Kind::Statement: message_ = "Таблица " + quoted(table_) + ": " + cause_; return;
    case Kind::Field:
        message_ = "Таблица " + quoted(table_) + ", поле " + quoted(subject_) + ": " + cause_;
        return;
    case Kind::NotFound: message_ = "Таблица " + table + " не найдена" + file + reason; return;
    case Kind::Busy: message_ = "Таблица " + table + " занята другой программой" + file + reason; return;
    case Kind::AccessDenied: message_ = "Нет доступа к таблице " + table + file + reason; return;
    case Kind::NoSpace: message_ = "Недостаточно места на диске для таблицы " + table + file + reason; return;
    case Kind::Io: message_ = "Ошибка ввода-вывода с таблицей " + table + file + reason; return;
    case Kind::Copy:
        message_ = "Не удалось скопировать " + plainQuoted(subject_) + " в " + table + ": " + cause_;
        return;
    }
}

}  // namespace pdx
