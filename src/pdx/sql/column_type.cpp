#include "pdx/sql/column_type.h"

#include "pdx/format/field_layout.h"
#include "pdx/format/mb_format.h"
#include "pdx/sql/text.h"

#include <optional>

namespace pdx::sql {

namespace {

// BLOB(n, subtype): n is the part of the value kept in the record (0..240); the record
// also holds the reference to the blob file, so the field takes n + 10 bytes, as in the
// header (a memo of 240 shows as 250 there).
constexpr long long kMaxBlobInline = kMaxBlobFieldSize - format::mb::kReferenceSize;

struct FixedType {
    std::string_view name;
    FieldType type;
    std::uint8_t size;
};

constexpr FixedType kFixedTypes[] = {
    {"smallint", FieldType::Short, 2},
    {"integer", FieldType::Long, 4},
    {"int", FieldType::Long, 4},
    {"autoinc", FieldType::AutoInc, 4},
    {"float", FieldType::Number, 8},
    {"numeric", FieldType::Number, 8},
    {"money", FieldType::Currency, 8},
    {"boolean", FieldType::Logical, 1},
    {"date", FieldType::Date, 4},
    {"time", FieldType::Time, 4},
    {"timestamp", FieldType::Timestamp, 8},
};

std::optional<FieldType> blobSubtype(long long subtype) {
    switch (subtype) {
    case 1: return FieldType::Memo;
    case 2: return FieldType::Blob;
    case 3: return FieldType::FormattedMemo;
    case 4: return FieldType::Ole;
    case 5: return FieldType::Graphic;
    default: return std::nullopt;
    }
}

std::string outOfRange(std::string_view what, long long low, long long high) {
    return std::string(what) + " должен быть от " + std::to_string(low) + " до " + std::to_string(high);
}

}  // namespace

std::string typeDescription(FieldType type) {
    switch (type) {
    case FieldType::Alpha: return "текст";
    case FieldType::Date: return "дата";
    case FieldType::Short: return "короткое целое";
    case FieldType::Long: return "целое";
    case FieldType::Currency: return "денежная сумма";
    case FieldType::Number: return "число";
    case FieldType::Logical: return "логическое";
    case FieldType::Memo: return "мемо";
    case FieldType::Blob: return "двоичные данные (BLOB)";
    case FieldType::FormattedMemo: return "форматированное мемо";
    case FieldType::Ole: return "OLE";
    case FieldType::Graphic: return "изображение";
    case FieldType::Time: return "время";
    case FieldType::Timestamp: return "дата и время";
    case FieldType::AutoInc: return "автоинкремент";
    case FieldType::Bcd: return "десятичное (BCD)";
    case FieldType::Bytes: return "байты";
    }
    return "неизвестный тип";
}

std::string columnType(std::string_view typeName, const std::vector<long long>& args, FieldDef& field) {
    std::string name = foldCase(typeName);
    std::string upper(typeName);
    auto argumentsExpected = [&](std::size_t low, std::size_t high) -> std::string {
        if (args.size() >= low && args.size() <= high) return {};
        if (high == 0) return "у типа " + upper + " не бывает параметров";
        if (low == high) return "у типа " + upper + " должно быть параметров: " + std::to_string(low);
        return "у типа " + upper + " должно быть от " + std::to_string(low) + " до " + std::to_string(high) +
               " параметров";
    };

    for (const auto& fixed : kFixedTypes) {
        if (name != fixed.name) continue;
        // NUMERIC(p, s) is kept as a floating number: its precision has no place in the header.
        std::string problem = argumentsExpected(0, fixed.name == "numeric" ? 2 : 0);
        if (!problem.empty()) return problem;
        field.type = fixed.type;
        field.size = fixed.size;
        return {};
    }
    if (name == "char" || name == "varchar" || name == "bytes") {
        if (auto problem = argumentsExpected(1, 1); !problem.empty()) return problem;
        const auto limit = static_cast<long long>(name == "bytes" ? kMaxBytesSize : kMaxAlphaSize);
        if (args[0] < 1 || args[0] > limit) return outOfRange("размер поля " + upper, 1, limit);
        field.type = name == "bytes" ? FieldType::Bytes : FieldType::Alpha;
        field.size = static_cast<std::uint8_t>(args[0]);
        return {};
    }
    if (name == "decimal") {
        if (auto problem = argumentsExpected(1, 2); !problem.empty()) return problem;
        long long precision = args[0];
        long long scale = args.size() > 1 ? args[1] : 0;
        if (precision < 1 || precision > kBcdDigits) return outOfRange("число цифр DECIMAL", 1, kBcdDigits);
        if (scale < 0 || scale > precision) return outOfRange("число цифр после точки DECIMAL", 0, precision);
        field.type = FieldType::Bcd;
        field.size = static_cast<std::uint8_t>(scale);
        return {};
    }
    if (name == "blob") {
        if (auto problem = argumentsExpected(2, 2); !problem.empty()) return problem;
        if (args[0] < 0 || args[0] > kMaxBlobInline)
            return outOfRange("размер BLOB в записи", 0, kMaxBlobInline);
        auto type = blobSubtype(args[1]);
        if (!type) return outOfRange("подтип BLOB", 1, 5);
        field.type = *type;
        field.size = static_cast<std::uint8_t>(args[0] + static_cast<long long>(format::mb::kReferenceSize));
        return {};
    }
    return "неизвестный тип поля " + quoted(typeName);
}

}  // namespace pdx::sql
