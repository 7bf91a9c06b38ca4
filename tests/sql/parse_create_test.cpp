#include "pdx/sql/parser.h"
#include "sql_test_support.h"

using namespace pdx;
using namespace pdx::sql;

namespace {

CreateTable parseCreate(const std::string& columns) {
    return std::get<CreateTable>(parse("CREATE TABLE \"t.db\" (" + columns + ")"));
}

struct TypeCase {
    std::string written;
    FieldType type;
    int size;  // as in the header
};

void PrintTo(const TypeCase& c, std::ostream* os) { *os << c.written; }

class CreateType : public testing::TestWithParam<TypeCase> {};

TEST_P(CreateType, MapsToParadoxField) {
    CreateTable table = parseCreate("F " + GetParam().written);
    ASSERT_EQ(table.fields.size(), 1u);
    EXPECT_EQ(table.fields[0].name, "F");
    EXPECT_EQ(table.fields[0].type, GetParam().type);
    EXPECT_EQ(table.fields[0].size, GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CreateType,
    testing::Values(
        TypeCase{"CHAR(1)", FieldType::Alpha, 1}, TypeCase{"char(255)", FieldType::Alpha, 255},
        TypeCase{"VARCHAR(40)", FieldType::Alpha, 40}, TypeCase{"SMALLINT", FieldType::Short, 2},
        TypeCase{"INTEGER", FieldType::Long, 4}, TypeCase{"INT", FieldType::Long, 4},
        TypeCase{"AUTOINC", FieldType::AutoInc, 4}, TypeCase{"FLOAT", FieldType::Number, 8},
        TypeCase{"NUMERIC", FieldType::Number, 8}, TypeCase{"NUMERIC(10,2)", FieldType::Number, 8},
        TypeCase{"MONEY", FieldType::Currency, 8},
        // BCD keeps its scale in the header's size byte (fields/bcd.db has scales 2, 0 and 32).
        TypeCase{"DECIMAL(10,2)", FieldType::Bcd, 2}, TypeCase{"DECIMAL(5)", FieldType::Bcd, 0},
        TypeCase{"DECIMAL(32,32)", FieldType::Bcd, 32}, TypeCase{"BOOLEAN", FieldType::Logical, 1},
        TypeCase{"DATE", FieldType::Date, 4}, TypeCase{"TIME", FieldType::Time, 4},
        TypeCase{"TIMESTAMP", FieldType::Timestamp, 8},
        // Blobs take the in-record part plus a 10-byte reference (fields/memo.db: 240 → 250).
        TypeCase{"BLOB(240,1)", FieldType::Memo, 250}, TypeCase{"BLOB(1, 1)", FieldType::Memo, 11},
        TypeCase{"BLOB(0,2)", FieldType::Blob, 10}, TypeCase{"BLOB(0,3)", FieldType::FormattedMemo, 10},
        TypeCase{"BLOB(0,4)", FieldType::Ole, 10}, TypeCase{"BLOB(240,5)", FieldType::Graphic, 250},
        TypeCase{"BYTES(1)", FieldType::Bytes, 1}, TypeCase{"bytes(255)", FieldType::Bytes, 255}));

TEST(CreateTable, KeepsFieldsInOrderWithLeadingKey) {
    auto statement = parse(
        "create table JINGLES (\r\n"
        "  \"Id\" AUTOINC,\r\n"
        "  FKey INTEGER,\r\n"
        "  \"Имя файла\" CHAR(120),\r\n"
        "  PRIMARY KEY (id, fkey)\r\n"
        ");");
    const auto& table = std::get<CreateTable>(statement);
    EXPECT_EQ(table.table, "JINGLES.db");
    ASSERT_EQ(table.fields.size(), 3u);
    EXPECT_EQ(table.fields[0].name, "Id");
    EXPECT_EQ(table.fields[1].name, "FKey");
    EXPECT_EQ(table.fields[2].name, "Имя файла");
    EXPECT_EQ(table.keyFieldCount, 2u);
}

TEST(CreateTable, HasNoKeyUnlessGiven) { EXPECT_EQ(parseCreate("A INTEGER, B CHAR(3)").keyFieldCount, 0u); }

TEST(CreateTable, AllowsNamesOfTwentyFiveCharacters) {
    std::string name = "Длинное имя поля ровно 25";
    ASSERT_EQ(name.size(), 44u);  // 19 Cyrillic letters and 6 others: 25 characters
    EXPECT_EQ(parseCreate("\"" + name + "\" INTEGER").fields[0].name, name);
}

struct CreateErrorCase {
    std::string columns;
    std::string message;
};

void PrintTo(const CreateErrorCase& c, std::ostream* os) { *os << c.columns; }

class CreateError : public testing::TestWithParam<CreateErrorCase> {};

TEST_P(CreateError, IsRefused) {
    expectError([&] { parseCreate(GetParam().columns); }, {GetParam().message});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CreateError,
    testing::Values(
        CreateErrorCase{"A WIDGET", "неизвестный тип поля «WIDGET»"},
        CreateErrorCase{"A CHAR", "должно быть параметров: 1"}, CreateErrorCase{"A CHAR(0)", "от 1 до 255"},
        CreateErrorCase{"A CHAR(256)", "от 1 до 255"}, CreateErrorCase{"A BYTES(256)", "от 1 до 255"},
        CreateErrorCase{"A INTEGER(4)", "не бывает параметров"},
        CreateErrorCase{"A DECIMAL(33,2)", "от 1 до 32"}, CreateErrorCase{"A DECIMAL(5,6)", "от 0 до 5"},
        CreateErrorCase{"A BLOB(241,1)", "от 0 до 240"}, CreateErrorCase{"A BLOB(10,6)", "подтип BLOB"},
        CreateErrorCase{"A BLOB(10)", "должно быть параметров: 2"},
        CreateErrorCase{"A CHAR(x)", "ожидалось целое число"},
        CreateErrorCase{"A CHAR(99999999999999999999)", "ожидалось целое число"},
        CreateErrorCase{"A INTEGER, a CHAR(2)", "поле «a» указано дважды"},
        CreateErrorCase{"\"Имя\" INTEGER, \"иМЯ\" CHAR(2)", "указано дважды"},
        CreateErrorCase{"\"Это имя поля длиннее 25 симв\" INTEGER", "длиннее 25 символов"},
        CreateErrorCase{"A INTEGER, B INTEGER, PRIMARY KEY (B)", "первых полей таблицы по порядку"},
        CreateErrorCase{"A INTEGER, B INTEGER, PRIMARY KEY (B, A)", "первых полей таблицы по порядку"},
        CreateErrorCase{"A INTEGER, PRIMARY KEY (A, B)", "первых полей таблицы по порядку"},
        CreateErrorCase{"A INTEGER, PRIMARY KEY (A), PRIMARY KEY (A)", "первичный ключ указан дважды"},
        CreateErrorCase{"A INTEGER, PRIMARY KEY (A, A)", "указано дважды"},
        CreateErrorCase{"M BLOB(10,1), PRIMARY KEY (M)", "не может входить в ключ"},
        CreateErrorCase{"PRIMARY KEY (A)", "хотя бы одно поле"}, CreateErrorCase{"", "ожидалось имя поля"},
        CreateErrorCase{"A INTEGER,", "ожидалось имя поля"}, CreateErrorCase{"A", "ожидался тип поля «A»"}));

TEST(CreateTable, NeedsTableKeyword) {
    expectError([] { parse("CREATE t (A INTEGER)"); }, {"ожидалось TABLE"});
}

}  // namespace
