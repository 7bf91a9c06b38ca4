// pdxsql -e "STATEMENT"   runs one statement and prints the number of rows it changed
// pdxsql TABLE.db         prints the table's structure and rows
#include "pdx/engine.h"
#include "pdx/error.h"
#include "table_dump.h"
#include "utf8_console.h"

#include <exception>
#include <iostream>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int usage(const std::string& problem) {
    std::cerr << "pdxsql: " << problem << "\n"
              << "Использование:\n"
              << "  pdxsql -e \"ЗАПРОС\"   выполнить запрос SQL и вывести число изменённых записей\n"
              << "  pdxsql ТАБЛИЦА.db     вывести структуру и записи таблицы\n";
    return kExitUsage;
}

int run(const std::vector<std::string>& args) {
    if (args.size() == 3 && args[1] == "-e") {
        std::cout << pdx::execute(args[2]) << '\n';
        return 0;
    }
    if (args.size() == 2 && !args[1].starts_with("-")) {
        dumpTable(args[1], std::cout);
        return 0;
    }
    if (args.size() == 2 && args[1] == "-e") return usage("после -e нужен запрос");
    if (args.size() < 2) return usage("не указана таблица или запрос");
    return usage("неверные аргументы");
}

}  // namespace

int main(int argc, char** argv) {
    useUtf8Console();
    try {
        return run(utf8Arguments(argc, argv));
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return kExitFailed;
    }
}
