#include "pdx/format/messages.h"

namespace pdx {

Error tableError(const std::string& table, const std::string& cause) {
    return Error("Таблица \"" + table + "\": " + cause);
}

Error fileError(const std::string& table, const os::Error& error) {
    const std::string reason = error.reason().empty() ? "" : " (" + error.reason() + ")";
    const std::string file =
        error.path().empty() || error.path() == table ? "" : ", файл \"" + error.path() + "\"";
    switch (error.kind()) {
    case os::ErrorKind::NotFound:
        return Error("Таблица \"" + table + "\" не найдена" + file + reason);
    case os::ErrorKind::Busy:
        return Error("Таблица \"" + table + "\" занята другой программой" + file + reason);
    case os::ErrorKind::AccessDenied:
        return Error("Нет доступа к таблице \"" + table + "\"" + file + reason);
    case os::ErrorKind::NoSpace:
        return Error("Недостаточно места на диске для таблицы \"" + table + "\"" + file + reason);
    case os::ErrorKind::Other:
        break;
    }
    return Error("Ошибка ввода-вывода с таблицей \"" + table + "\"" + file + reason);
}

Error corruptError(const std::string& table, const std::string& cause) {
    return Error("Таблица \"" + table + "\" повреждена: " + cause);
}

}  // namespace pdx
