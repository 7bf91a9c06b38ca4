#include "table_dump.h"

#include "pdx/table.h"
#include "query_output.h"

#include <iomanip>

namespace {

void printStructure(const pdx::Table& table, std::ostream& out) {
    const pdx::TableInfo& info = table.info();
    out << "Таблица: " << table.path() << '\n'
        << "Уровень: 0x" << std::hex << std::setw(2) << std::setfill('0') << int(info.level) << std::dec
        << '\n'
        << "Тип: "
        << (info.keyed() ? "с ключом (полей в ключе: " + std::to_string(info.keyFieldCount) + ")"
                         : "без ключа")
        << '\n'
        << "Размер блока: " << info.blockSize << '\n'
        << "Размер записи: " << info.recordSize << '\n'
        << "Записей: " << info.recordCount << '\n'
        << "Кодовая страница: " << info.codePage << '\n'
        << "Порядок сортировки: " << (info.sortOrderName.empty() ? "-" : info.sortOrderName) << '\n'
        << "Зашифрована: " << (info.encrypted ? "да" : "нет") << '\n'
        << "Поля:\n";
    for (const auto& field : table.fields()) {
        // For BCD the number is its scale, as in the header.
        out << "  " << field.name << " " << pdx::fieldTypeLetter(field.type) << int(field.size) << '\n';
    }
}

void printRows(const pdx::Table& table, std::ostream& out) {
    const auto& fields = table.fields();
    out << "Записи:\n";
    for (std::size_t i = 0; i < fields.size(); ++i) out << (i ? "\t" : "") << tabEscaped(fields[i].name);
    out << '\n';
    auto cursor = table.records();
    while (cursor.next()) {
        const auto& values = cursor.values();
        for (std::size_t i = 0; i < values.size(); ++i) {
            out << (i ? "\t" : "") << tabEscaped(pdx::formatValue(values[i], fields[i]));
        }
        out << '\n';
    }
}

}  // namespace

void dumpTable(const std::string& path, std::ostream& out) {
    pdx::Table table(path);
    printStructure(table, out);
    printRows(table, out);
}
