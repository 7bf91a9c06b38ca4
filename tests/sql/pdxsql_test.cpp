#include "pdx/engine.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <filesystem>

namespace {

const std::string samples = PDX_SAMPLES;

struct Outcome {
    int exitCode;
    std::string out;
    std::string err;
};

std::string shellQuoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs pdxsql in the folder, so that tables may be named relative to it.
Outcome runPdxsql(const TempFolder& folder, const std::vector<std::string>& args) {
    std::string command = "cd " + shellQuoted(folder.str()) + " && " + shellQuoted(PDXSQL);
    for (const auto& arg : args) command += " " + shellQuoted(arg);
    command += " >" + shellQuoted(folder.file("stdout")) + " 2>" + shellQuoted(folder.file("stderr"));
    int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(folder.file("stdout")),
            readFile(folder.file("stderr"))};
}

// Copies sample tables (with their companion files) into the folder.
void copySample(const std::string& relative, const TempFolder& folder) {
    std::filesystem::path source = std::filesystem::path(samples) / relative;
    for (const auto& entry : std::filesystem::directory_iterator(source.parent_path())) {
        if (entry.path().stem() == source.stem()) {
            std::filesystem::copy_file(entry.path(), folder.path() / entry.path().filename());
        }
    }
}

TEST(Pdxsql, PrintsStructureAndRows) {
    TempFolder folder("pdxsql");
    copySample("misc/GENERAL.DB", folder);
    Outcome outcome = runPdxsql(folder, {folder.file("GENERAL.DB")});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    for (std::string expected : {"Тип: с ключом (полей в ключе: 1)\n", "Размер блока: 2048\n", "Записей: 3\n",
                                 "  ID I4\n  NAME A25\n  MONEYS $8\n", "ID\tNAME\tMONEYS\n",
                                 "1\tMari\t100.00\n2\tKatty\t150.00\n333333333\tElizabet\t75.00\n"}) {
        EXPECT_NE(outcome.out.find(expected), std::string::npos) << "missing: " << expected << "\nin:\n"
                                                                 << outcome.out;
    }
    EXPECT_EQ(outcome.err, "");
}

TEST(Pdxsql, PrintsAPasswordProtectedTablesRows) {
    TempFolder folder("pdxsql");
    copySample("misc/encrypted.db", folder);
    Outcome outcome = runPdxsql(folder, {folder.file("encrypted.db")});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("Зашифрована: да\n"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("Id\tText\n1\tValue 1\n2\tValue 2\n3\tValue 3\n4\tLast one\n"),
              std::string::npos)
        << outcome.out;
    EXPECT_EQ(outcome.err, "");
}

TEST(Pdxsql, DeletesRowsAndPrintsHowMany) {
    TempFolder folder("pdxsql");
    copySample("joins/joina.db", folder);
    std::string table = folder.file("joina.db");
    Outcome deleted = runPdxsql(folder, {"-e", "DELETE FROM \"" + table + "\"\r\nWHERE ID <> 2\r\n"});
    EXPECT_EQ(deleted.exitCode, 0) << deleted.err;
    EXPECT_EQ(deleted.out, "2\n");
    Outcome dump = runPdxsql(folder, {table});
    EXPECT_NE(dump.out.find("Записей: 1\n"), std::string::npos) << dump.out;
    EXPECT_NE(dump.out.find("ID\n2\n"), std::string::npos) << dump.out;
}

TEST(Pdxsql, ReportsEngineErrorsOnStandardError) {
    TempFolder folder("pdxsql");
    copySample("joins/joina.db", folder);
    std::string before = readFile(folder.file("joina.db"));
    struct Case {
        std::string statement;
        std::string message;
    };
    for (const auto& c :
         {Case{"DELETE FORM x", "Ошибка синтаксиса SQL в позиции 8"},
          Case{"DELETE FROM \"" + folder.file("joina.db") + "\" WHERE Nope = 1", "нет поля «Nope»"},
          Case{"DELETE FROM \"" + folder.file("absent.db") + "\"", "absent.db"}}) {
        Outcome outcome = runPdxsql(folder, {"-e", c.statement});
        EXPECT_EQ(outcome.exitCode, 1) << c.statement;
        EXPECT_EQ(outcome.out, "") << c.statement;
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
    }
    EXPECT_EQ(readFile(folder.file("joina.db")), before);
    Outcome missing = runPdxsql(folder, {folder.file("absent.db")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("absent.db"), std::string::npos) << missing.err;
}

// A jingle table whose text needs escaping: tabs, line breaks, backslashes, commas, quotes.
void makeJingles(const TempFolder& folder) {
    const std::string table = "\"" + folder.file("Jingles.db") + "\"";
    pdx::execute("CREATE TABLE " + table + " (FKey INTEGER, Name CHAR(20), Notes BLOB(10,1))");
    pdx::execute(
        "INSERT INTO " + table +
        " VALUES (5, 'Утро, \"ясно\"', 'tab\there'), (4, 'a\\b', 'two\r\nlines'), (NULL, 'plain', NULL)");
}

TEST(Pdxsql, SelectPrintsRowsTabSeparated) {
    TempFolder folder("pdxsql-select");
    makeJingles(folder);
    Outcome all = runPdxsql(folder, {"-e", "SELECT * FROM Jingles"});
    EXPECT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(all.out,
              "FKey\tName\tNotes\n"
              "5\tУтро, \"ясно\"\ttab\\there\n"
              "4\ta\\\\b\ttwo\\r\\nlines\n"
              "\tplain\t\n");
    EXPECT_EQ(all.err, "");
    Outcome some =
        runPdxsql(folder, {"-e", "SELECT name, fkey FROM \"Jingles.db\" WHERE FKey < 5 OR FKey IS NULL"});
    EXPECT_EQ(some.exitCode, 0) << some.err;
    EXPECT_EQ(some.out, "Name\tFKey\na\\\\b\t4\nplain\t\n");
}

TEST(Pdxsql, CsvQuotesWhatNeedsQuoting) {
    TempFolder folder("pdxsql-csv");
    makeJingles(folder);
    Outcome csv = runPdxsql(folder, {"--csv", "-e", "SELECT * FROM Jingles"});
    EXPECT_EQ(csv.exitCode, 0) << csv.err;
    EXPECT_EQ(csv.out,
              "FKey,Name,Notes\r\n"
              "5,\"Утро, \"\"ясно\"\"\",tab\there\r\n"
              "4,a\\b,\"two\r\nlines\"\r\n"
              ",plain,\r\n");
    Outcome after = runPdxsql(folder, {"-e", "SELECT Name FROM Jingles WHERE FKey = 4", "--csv"});
    EXPECT_EQ(after.out, "Name\r\na\\b\r\n");
}

// How a user checks a conversion: after the DELETE no row of another category is left.
TEST(Pdxsql, CountChecksAConversion) {
    TempFolder folder("pdxsql-count");
    makeJingles(folder);
    const std::string count = "SELECT COUNT(*) FROM \"Jingles.db\" WHERE FKey<>5";
    EXPECT_EQ(runPdxsql(folder, {"-e", count}).out, "1\n");
    EXPECT_EQ(runPdxsql(folder, {"-e", "DELETE FROM \"Jingles.db\" WHERE FKey<>5"}).out, "1\n");
    Outcome outcome = runPdxsql(folder, {"-e", count});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "0\n");
    EXPECT_EQ(runPdxsql(folder, {"--csv", "-e", "select count(*) from Jingles"}).out, "2\r\n");
}

TEST(Pdxsql, SelectShowsTextOfAPageWithoutABuiltInTable) {
    TempFolder folder("pdxsql-936");
    copySample("misc/GENERAL.DB", folder);
    EXPECT_EQ(runPdxsql(folder, {"-e", "INSERT INTO GENERAL (ID, NAME) VALUES (4, '中文歌')"}).out, "1\n");
    Outcome outcome = runPdxsql(folder, {"-e", "SELECT NAME, id FROM GENERAL WHERE NAME <> 'Mari'"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "NAME\tID\nKatty\t2\n中文歌\t4\nElizabet\t333333333\n");
}

TEST(Pdxsql, SelectErrorsGoToStandardError) {
    TempFolder folder("pdxsql-select-errors");
    makeJingles(folder);
    struct Case {
        std::string statement;
        std::vector<std::string> parts;
    };
    for (const auto& c :
         {Case{"SELECT FKey, Nope FROM Jingles", {"Jingles.db", "нет поля «Nope»"}},
          Case{"SELECT * FROM Jingles WHERE Name = 5", {"Jingles.db", "Name"}},
          Case{"SELECT * FROM Absent", {"Absent.db", "не найдена"}},
          Case{"SELECT FROM Jingles", {"в позиции 8", "ожидалось *, COUNT(*) или имя поля"}}}) {
        for (bool csv : {false, true}) {
            std::vector<std::string> args = {"-e", c.statement};
            if (csv) args.insert(args.begin(), "--csv");
            Outcome outcome = runPdxsql(folder, args);
            EXPECT_EQ(outcome.exitCode, 1) << c.statement;
            EXPECT_EQ(outcome.out, "") << c.statement;
            for (const auto& part : c.parts) {
                EXPECT_NE(outcome.err.find(part), std::string::npos) << outcome.err;
            }
        }
    }
}

TEST(Pdxsql, HelpGoesToStandardOutput) {
    TempFolder folder("pdxsql");
    Outcome outcome = runPdxsql(folder, {"--help"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_NE(outcome.out.find("Использование"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("--csv"), std::string::npos) << outcome.out;
    EXPECT_EQ(outcome.err, "");
}

TEST(Pdxsql, ExplainsUsage) {
    TempFolder folder("pdxsql");
    for (const auto& args : std::vector<std::vector<std::string>>{{},
                                                                  {"-e"},
                                                                  {"-x"},
                                                                  {"a.db", "b.db"},
                                                                  {"-e", "x", "y"},
                                                                  {"-e", "x", "-e", "y"},
                                                                  {"--csv"},
                                                                  {"--csv", "a.db"},
                                                                  {"--csv", "--csv", "-e", "x"},
                                                                  {"--help", "a.db"}}) {
        Outcome outcome = runPdxsql(folder, args);
        EXPECT_EQ(outcome.exitCode, 2) << (args.empty() ? "" : args[0]);
        EXPECT_NE(outcome.err.find("Использование"), std::string::npos);
        EXPECT_EQ(outcome.out, "");
    }
}

}  // namespace
