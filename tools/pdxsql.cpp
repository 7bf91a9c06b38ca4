// pdxsql -e "SELECT ..."          prints the rows (tab-separated, UTF-8), or the count
// pdxsql --csv -e "SELECT ..."    prints the rows as CSV
// pdxsql -e "STATEMENT"           runs a statement that changes a table, prints how many rows
// pdxsql TABLE.db                 prints the table's structure and rows
// pdxsql --help                   prints the usage
#include "pdx/engine.h"
#include "pdx/error.h"
#include "pdx/query.h"
#include "query_output.h"
#include "table_dump.h"
#include "utf8_console.h"

#include <exception>
#include <iostream>
#include <optional>

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "Использование:\n"
    "  pdxsql -e \"ЗАПРОС\"          выполнить запрос SQL: для SELECT вывести строки\n"
    "                              (через табуляцию, первой строкой имена полей) или число\n"
    "                              для COUNT(*), для остальных запросов число изменённых записей\n"
    "  pdxsql --csv -e \"SELECT …\"  вывести строки в формате CSV (RFC 4180)\n"
    "  pdxsql ТАБЛИЦА.db           вывести структуру и записи таблицы\n"
    "  pdxsql --help               вывести эту справку\n";

int usage(const std::string& problem) {
    std::cerr << "pdxsql: " << problem << "\n" << kUsage;
    return kExitUsage;
}

struct Command {
    bool csv = false;
    std::optional<std::string> statement;  // -e
    std::optional<std::string> table;      // to print whole
};

// The command the arguments give, or the problem with them.
std::optional<Command> parseArguments(const std::vector<std::string>& args, std::string& problem) {
    Command command;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--csv" && !command.csv) {
            command.csv = true;
        } else if (arg == "-e" && !command.statement) {
            if (++i == args.size()) {
                problem = "после -e нужен запрос";
                return std::nullopt;
            }
            command.statement = args[i];
        } else if (!arg.starts_with("-") && !command.table) {
            command.table = arg;
        } else {
            problem = "неверные аргументы";
            return std::nullopt;
        }
    }
    if (command.statement.has_value() == command.table.has_value()) {
        problem = command.statement ? "неверные аргументы" : "не указана таблица или запрос";
        return std::nullopt;
    }
    if (command.csv && !command.statement) {
        problem = "--csv выводит только результат запроса -e";
        return std::nullopt;
    }
    return command;
}

void run(const Command& command) {
    if (command.table) {
        dumpTable(*command.table, std::cout);
        return;
    }
    const std::string& statement = *command.statement;
    if (!pdx::isQuery(statement)) {
        std::cout << pdx::execute(statement) << '\n';
        return;
    }
    pdx::Query query(statement);
    if (command.csv) {
        useBinaryOutput();
        printCsv(query, std::cout);
    } else {
        printTabSeparated(query, std::cout);
    }
}

}  // namespace

int main(int argc, char** argv) {
    useUtf8Console();
    const std::vector<std::string> args = utf8Arguments(argc, argv);
    if (args.size() == 2 && args[1] == "--help") {
        std::cout << kUsage;
        return kExitDone;
    }
    std::string problem;
    const auto command = parseArguments(args, problem);
    if (!command) return usage(problem);
    try {
        run(*command);
        std::cout.flush();
        return kExitDone;
    } catch (const std::exception& error) {
        std::cout.flush();
        std::cerr << error.what() << '\n';
        return kExitFailed;
    }
}
