#include "pdx/statements/field_values.h"

#include "pdx/error.h"
#include "pdx/format/field_layout.h"
#include "pdx/sql/column_type.h"
#include "pdx/sql/datetime.h"
#include "pdx/sql/literal.h"
#include "pdx/sql/number.h"
#include "pdx/sql/text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace pdx {

namespace {

using namespace sql;

class Converter {
public:
    Converter(const Literal& literal, const FieldDef& field) : literal_(literal), field_(field) {}

    Value run() const {
        if (std::holds_alternative<Null>(literal_)) return std::monostate{};
        switch (field_.type) {
        case FieldType::Short: return integer(kMaxShort);
        case FieldType::Long:
        case FieldType::AutoInc: return integer(kMaxLong);
        case FieldType::Number:
        case FieldType::Currency: return real();
        case FieldType::Bcd: return decimal();
        case FieldType::Logical:
            if (auto value = std::get_if<bool>(&literal_)) return *value;
            mismatch();
        case FieldType::Date: return dateTime(parseDate(text()), "ГГГГ-ММ-ДД");
        case FieldType::Time: return dateTime(parseTime(text()), "ЧЧ:ММ:СС");
        case FieldType::Timestamp: return dateTime(parseTimestamp(text()), "ГГГГ-ММ-ДД ЧЧ:ММ:СС");
        case FieldType::Alpha: return alpha();
        case FieldType::Memo:
        case FieldType::FormattedMemo: return text();
        case FieldType::Bytes:
        case FieldType::Blob:
        case FieldType::Ole:
        case FieldType::Graphic: return binary();
        }
        mismatch();
    }

private:
    [[noreturn]] void fail(const std::string& problem) const { throw Error::field(field_.name, problem); }
    [[noreturn]] void mismatch() const {
        fail("значение " + literalText(literal_) + " не подходит для поля типа «" +
             typeDescription(field_.type) + "»");
    }

    const std::string& text() const {
        if (auto value = std::get_if<std::string>(&literal_)) return *value;
        mismatch();
    }
    Decimal number() const {
        auto literal = std::get_if<Number>(&literal_);
        if (!literal) mismatch();
        auto value = parseDecimal(literal->text);
        if (!value) fail("неверное число " + literal->text);
        return *value;
    }

    Value integer(std::int64_t limit) const {
        Decimal value = number();
        std::size_t wholeLength = value.digits.size() > static_cast<std::size_t>(value.scale)
                                      ? value.digits.size() - value.scale
                                      : 0;
        if (value.digits.find_first_not_of('0', wholeLength) != std::string::npos)
            fail("ожидалось целое число, а не " + literalText(literal_));
        std::int64_t whole = 0;
        auto [end, error] = std::from_chars(value.digits.data(), value.digits.data() + wholeLength, whole);
        if (error == std::errc::result_out_of_range || whole > limit) outOfRange(limit);
        return value.negative ? -whole : whole;
    }
    [[noreturn]] void outOfRange(std::int64_t limit) const {
        fail("значение " + literalText(literal_) + " вне допустимого диапазона от " + std::to_string(-limit) +
             " до " + std::to_string(limit));
    }

    Value real() const {
        auto literal = std::get_if<Number>(&literal_);
        if (!literal) mismatch();
        std::string_view text = literal->text;
        if (text.starts_with('+')) text.remove_prefix(1);
        double value = 0;
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
            fail("неверное или слишком большое число " + literal->text);
        }
        return value;
    }

    Value decimal() const {
        Decimal value = number();
        int scale = field_.size;
        if (value.scale > scale) {
            std::size_t extra = static_cast<std::size_t>(value.scale - scale);
            std::size_t keep = value.digits.size() > extra ? value.digits.size() - extra : 0;
            if (value.digits.find_first_not_of('0', keep) != std::string::npos) {
                fail("в значении " + literalText(literal_) + " больше " + std::to_string(scale) +
                     " цифр после точки");
            }
            value.digits = keep == 0 ? "0" : value.digits.substr(0, keep);
        } else {
            value.digits.append(static_cast<std::size_t>(scale - value.scale), '0');
        }
        value.scale = scale;
        std::size_t first = value.digits.find_first_not_of('0');
        value.digits = first == std::string::npos ? "0" : value.digits.substr(first);
        if (value.digits == "0") value.negative = false;
        if (static_cast<int>(value.digits.size()) > kBcdDigits)
            fail("в значении " + literalText(literal_) + " больше " + std::to_string(kBcdDigits) + " цифр");
        return value;
    }

    template <typename T>
    Value dateTime(const std::optional<T>& value, std::string_view format) const {
        if (!value) fail("значение " + literalText(literal_) + " не в виде '" + std::string(format) + "'");
        return *value;
    }

    Value alpha() const {
        const std::string& value = text();
        if (characterCount(value) > field_.size)
            fail("строка длиннее " + std::to_string(field_.size) + " символов");
        return value;
    }

    Value binary() const {
        const std::string& value = text();
        if (field_.type == FieldType::Bytes && value.size() > field_.size)
            fail("данные длиннее " + std::to_string(field_.size) + " байт");
        return Binary{{value.begin(), value.end()}};
    }

    const Literal& literal_;
    const FieldDef& field_;
};

}  // namespace

Value toFieldValue(const sql::Literal& literal, const FieldDef& field) {
    return Converter(literal, field).run();
}

}  // namespace pdx
