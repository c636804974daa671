#include "store/field.h"

#include "error.h"
#include "store/table.h"
#include "text/cp1251.h"

#include <charconv>
#include <limits>

namespace gamarium::store {
namespace {

std::string inQuotes(std::string_view cp1251) {
    return "'" + text::toUtf8(cp1251) + "'";
}

// Whole numbers as the field layer accepts them: leading blanks, a sign,
// decimal digits, within 32 bits.
bool parseWholeNumber(std::string_view s, std::int64_t& out) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return false;
    out = value;
    return true;
}

} // namespace

std::int64_t minimumOf(FieldType type) {
    return type == FieldType::SmallInt ? std::numeric_limits<std::int16_t>::min()
                                       : std::numeric_limits<std::int32_t>::min();
}

std::int64_t maximumOf(FieldType type) {
    return type == FieldType::SmallInt ? std::numeric_limits<std::int16_t>::max()
                                       : std::numeric_limits<std::int32_t>::max();
}

Field::Field(Table& table, int index, FieldDef def) : table_(table), index_(index), def_(std::move(def)) {}

const FieldValue& Field::value() const {
    return table_.bufferValue(index_);
}

FieldValue& Field::changeableValue() {
    return table_.changeBufferValue(index_);
}

bool Field::isNull() const {
    return value().null;
}

std::string Field::asString() const {
    const FieldValue& v = value();
    if (v.null) return {};
    return isInteger() ? std::to_string(v.integer) : v.text;
}

std::int64_t Field::asInteger() const {
    const FieldValue& v = value();
    if (v.null) return 0;
    if (isInteger()) return v.integer;
    std::int64_t number = 0;
    if (!parseWholeNumber(v.text, number)) throw Error(inQuotes(v.text) + " is not a valid integer value");
    return number;
}

void Field::setAsString(std::string_view text) {
    if (isInteger()) {
        if (text.empty()) {
            clear();
            return;
        }
        std::int64_t number = 0;
        if (!parseWholeNumber(text, number))
            throw Error(inQuotes(text) + " is not a valid integer value for field " + inQuotes(def_.name));
        setAsInteger(number);
        return;
    }
    if (def_.type == FieldType::Text && text.size() > static_cast<std::size_t>(def_.size))
        text = text.substr(0, static_cast<std::size_t>(def_.size));
    FieldValue& v = changeableValue();
    v.null = text.empty();
    v.text.assign(text);
}

void Field::setAsInteger(std::int64_t number) {
    if (!isInteger()) {
        setAsString(std::to_string(number));
        return;
    }
    if (number < minimumOf(def_.type) || number > maximumOf(def_.type))
        throw Error(std::to_string(number) + " is not a valid value for field " + inQuotes(def_.name) +
                    ". The allowed range is " + std::to_string(minimumOf(def_.type)) + " to " +
                    std::to_string(maximumOf(def_.type)));
    FieldValue& v = changeableValue();
    v.null = false;
    v.integer = number;
}

void Field::clear() {
    FieldValue& v = changeableValue();
    v = FieldValue{};
}

} // namespace gamarium::store
