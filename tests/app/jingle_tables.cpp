#include "jingle_tables.h"

#include "pdx/engine.h"
#include "pdx/table.h"

namespace {

std::string memo(const std::string& title) {
    return "Примечание к записи «" + title + "»: громкость выровнена, фейд 200 мс.";
}

JingleRow row(int id, std::optional<int> key, const std::string& title) {
    return {id, key, "jingle" + std::to_string(id) + ".wav", title, 1000 + 250 * id, memo(title)};
}

std::string literal(const std::string& text) { return "'" + text + "'"; }

// A table's path as an SQL name: in double quotes, a double quote written twice.
std::string sqlName(const std::string& path) {
    std::string name = "\"";
    for (char c : path) name += c == '"' ? std::string("\"\"") : std::string(1, c);
    return name + "\"";
}

std::vector<pdx::Value> values(const JingleRow& r) {
    return {std::int64_t{r.id},
            r.key ? pdx::Value(std::int64_t{*r.key}) : pdx::Value(),
            r.file,
            r.title,
            std::int64_t{r.milliseconds},
            r.notes};
}

}  // namespace

const std::vector<JingleRow> AdvBeatsRows = {
    row(1, 0, "Начало рекламы"),
    row(2, 1, "Конец рекламы"),
    row(3, 2, "Свободная"),
    row(4, 8, "Добавка"),
    row(5, 3, "Ничья"),
    row(6, 0, "Начало блока"),
    row(7, std::nullopt, "Без категории"),
    row(8, 8, "Ещё добавка"),
};

const std::vector<JingleRow> BeatsRows = {
    row(1, 5, "Джингл"),
    row(2, 4, "Инфо"),
    row(3, 6, "Эффект"),
    row(4, 7, "Подложка"),
    row(5, 0, "Ничья"),
    row(6, 5, "Второй джингл"),
    row(7, std::nullopt, "Без категории"),
};

void createJingleTable(const std::string& path, const std::vector<JingleRow>& rows) {
    pdx::execute("CREATE TABLE " + sqlName(path) +
                 " (Id INTEGER, FKey INTEGER, FileName CHAR(80), Title CHAR(60), "
                 "Duration INTEGER, Notes BLOB(10, 1), PRIMARY KEY (Id))");
    std::string insert = "INSERT INTO " + sqlName(path) + " VALUES ";
    for (const JingleRow& r : rows) {
        insert += (&r == &rows.front() ? "(" : ", (") + std::to_string(r.id) + ", " +
                  (r.key ? std::to_string(*r.key) : "NULL") + ", " + literal(r.file) + ", " +
                  literal(r.title) + ", " + std::to_string(r.milliseconds) + ", " + literal(r.notes) + ")";
    }
    pdx::execute(insert);
}

std::vector<std::vector<pdx::Value>> readTable(const std::string& path) { return pdx::Table(path).readAll(); }

std::vector<std::vector<pdx::Value>> rowsKept(const std::vector<JingleRow>& rows, int key) {
    std::vector<std::vector<pdx::Value>> kept;
    for (const JingleRow& r : rows)
        if (!r.key || *r.key == key) kept.push_back(values(r));
    return kept;
}
