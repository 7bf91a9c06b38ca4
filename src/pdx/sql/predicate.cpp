#include "pdx/sql/predicate.h"

#include "pdx/error.h"
#include "pdx/sql/column_type.h"
#include "pdx/sql/datetime.h"
#include "pdx/sql/literal.h"
#include "pdx/sql/number.h"
#include "pdx/sql/text.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace pdx::sql {

namespace {

enum class Truth { False, Unknown, True };

Truth operator!(Truth t) {
    return t == Truth::True ? Truth::False : t == Truth::False ? Truth::True : Truth::Unknown;
}

// A numeric literal ready to meet integers, floating numbers and BCD decimals exactly.
struct NumericKey {
    Decimal exact;
    IntegerBound integer;
    double real;
};

using Comparand = std::variant<bool, std::string, NumericKey, Date, Time, Timestamp>;

template <typename T>
int order(const T& a, const T& b) {
    return a < b ? -1 : b < a ? 1 : 0;
}

bool holds(CompareOp op, int order) {
    switch (op) {
    case CompareOp::Equal: return order == 0;
    case CompareOp::NotEqual: return order != 0;
    case CompareOp::Less: return order < 0;
    case CompareOp::LessOrEqual: return order <= 0;
    case CompareOp::Greater: return order > 0;
    case CompareOp::GreaterOrEqual: return order >= 0;
    }
    return false;
}

// Orders a stored value against the literal; the value is never blank here.
struct ValueOrder {
    const Comparand& key;
    const std::string& field;  // its name, for messages

    int operator()(std::int64_t v) const { return numeric().integer.compare(v); }
    int operator()(double v) const { return order(v, numeric().real); }
    int operator()(const Decimal& v) const { return compareDecimals(v, numeric().exact); }
    int operator()(const std::string& v) const { return order(v, as<std::string>()); }
    int operator()(bool v) const { return order(v, as<bool>()); }
    int operator()(Date v) const { return order(v.days, as<Date>().days); }
    int operator()(Time v) const { return order(v.milliseconds, as<Time>().milliseconds); }
    int operator()(Timestamp v) const { return order(v.milliseconds, as<Timestamp>().milliseconds); }
    template <typename Other>
    int operator()(const Other&) const {
        unexpected();
    }

    const NumericKey& numeric() const { return as<NumericKey>(); }
    template <typename T>
    const T& as() const {
        if (auto value = std::get_if<T>(&key)) return *value;
        unexpected();
    }
    [[noreturn]] void unexpected() const { throw Error::field(field, "значение не соответствует типу поля"); }
};

struct Node {
    Expr::Kind kind;
    std::unique_ptr<Node> left;
    std::unique_ptr<Node> right;
    std::size_t field = 0;
    CompareOp op = CompareOp::Equal;
    Comparand key;
    std::string fieldName;  // for messages
};

class Binder {
public:
    explicit Binder(const std::vector<FieldDef>& fields) : fields_(fields) {}

    std::unique_ptr<Node> bind(const Expr& expr) {
        auto node = std::make_unique<Node>();
        node->kind = expr.kind;
        switch (expr.kind) {
        case Expr::Kind::And:
        case Expr::Kind::Or:
            node->left = bind(*expr.left);
            node->right = bind(*expr.right);
            break;
        case Expr::Kind::Not: node->left = bind(*expr.left); break;
        case Expr::Kind::IsNull:
        case Expr::Kind::IsNotNull: node->field = fieldIndex(expr.field); break;
        case Expr::Kind::Compare:
            node->field = fieldIndex(expr.field);
            node->op = expr.op;
            node->key = comparand(fields_[node->field], expr.literal);
            node->fieldName = fields_[node->field].name;
            break;
        }
        return node;
    }

    std::vector<std::size_t> used;

private:
    std::size_t fieldIndex(const std::string& name) {
        const std::size_t i = sql::fieldIndex(fields_, name);
        if (std::find(used.begin(), used.end(), i) == used.end()) used.push_back(i);
        return i;
    }

    Comparand comparand(const FieldDef& field, const Literal& literal) const {
        auto mismatch = [&]() -> Error {
            return Error::field(field.name, "нельзя сравнивать поле типа «" + typeDescription(field.type) +
                                                "» со значением " + literalText(literal));
        };
        auto text = [&]() -> const std::string& {
            if (auto value = std::get_if<std::string>(&literal)) return *value;
            throw mismatch();
        };
        auto badFormat = [&](std::string_view format) {
            return Error::field(
                field.name, "значение " + literalText(literal) + " не в виде '" + std::string(format) + "'");
        };
        switch (field.type) {
        case FieldType::Short:
        case FieldType::Long:
        case FieldType::AutoInc:
        case FieldType::Number:
        case FieldType::Currency:
        case FieldType::Bcd: {
            auto number = std::get_if<Number>(&literal);
            if (!number) throw mismatch();
            return numericKey(number->text);
        }
        case FieldType::Alpha: return text();
        case FieldType::Logical:
            if (auto value = std::get_if<bool>(&literal)) return *value;
            throw mismatch();
        case FieldType::Date:
            if (auto value = parseDate(text())) return *value;
            throw badFormat("ГГГГ-ММ-ДД");
        case FieldType::Time:
            if (auto value = parseTime(text())) return *value;
            throw badFormat("ЧЧ:ММ:СС");
        case FieldType::Timestamp:
            if (auto value = parseTimestamp(text())) return *value;
            throw badFormat("ГГГГ-ММ-ДД ЧЧ:ММ:СС");
        default:
            throw Error::field(field.name, "поле типа «" + typeDescription(field.type) +
                                               "» нельзя сравнивать, только проверять IS NULL");
        }
    }

    NumericKey numericKey(const std::string& text) const {
        auto exact = parseDecimal(text);
        if (!exact) throw Error::statement("неверное число " + text);
        std::string_view digits = text;
        if (digits.starts_with('+')) digits.remove_prefix(1);
        double real = 0;
        auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), real);
        if (error == std::errc::result_out_of_range) {
            real = exact->negative ? -std::numeric_limits<double>::infinity()
                                   : std::numeric_limits<double>::infinity();
        }
        return NumericKey{*exact, IntegerBound(*exact), real};
    }

    const std::vector<FieldDef>& fields_;
};

Truth evaluate(const Node& node, const std::function<Value(std::size_t)>& valueOf) {
    switch (node.kind) {
    case Expr::Kind::And: {
        Truth left = evaluate(*node.left, valueOf);
        if (left == Truth::False) return Truth::False;
        return std::min(left, evaluate(*node.right, valueOf));
    }
    case Expr::Kind::Or: {
        Truth left = evaluate(*node.left, valueOf);
        if (left == Truth::True) return Truth::True;
        return std::max(left, evaluate(*node.right, valueOf));
    }
    case Expr::Kind::Not: return !evaluate(*node.left, valueOf);
    case Expr::Kind::IsNull:
    case Expr::Kind::IsNotNull: {
        bool blank = std::holds_alternative<std::monostate>(valueOf(node.field));
        return blank == (node.kind == Expr::Kind::IsNull) ? Truth::True : Truth::False;
    }
    case Expr::Kind::Compare: {
        Value value = valueOf(node.field);
        if (std::holds_alternative<std::monostate>(value)) return Truth::Unknown;
        auto orderOf = [&](const auto& v) -> int {
            if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::monostate>)
                return 0;
            else
                return ValueOrder{node.key, node.fieldName}(v);
        };
        return holds(node.op, std::visit(orderOf, value)) ? Truth::True : Truth::False;
    }
    }
    return Truth::Unknown;
}

}  // namespace

std::size_t fieldIndex(const std::vector<FieldDef>& fields, const std::string& name) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (sameName(fields[i].name, name)) return i;
    }
    throw Error::statement("нет поля " + quoted(name));
}

struct Predicate::Impl {
    std::unique_ptr<Node> root;
    std::vector<std::size_t> used;
};

Predicate::Predicate(const Expr* where, const std::vector<FieldDef>& fields)
    : impl_(std::make_unique<Impl>()) {
    if (!where) return;
    Binder binder(fields);
    impl_->root = binder.bind(*where);
    impl_->used = std::move(binder.used);
    std::sort(impl_->used.begin(), impl_->used.end());
}

Predicate::~Predicate() = default;
Predicate::Predicate(Predicate&&) noexcept = default;
Predicate& Predicate::operator=(Predicate&&) noexcept = default;

const std::vector<std::size_t>& Predicate::fieldsUsed() const { return impl_->used; }

bool Predicate::matches(const std::function<Value(std::size_t)>& valueOf) const {
    return !impl_->root || evaluate(*impl_->root, valueOf) == Truth::True;
}

}  // namespace pdx::sql
