#include "core/store/field.h"

#include "core/error.h"
#include "core/store/table.h"
#include "core/text/cp1251.h"
#include "core/text/printable.h"

#include <charconv>
#include <limits>

namespace gamarium::store {
namespace {

std::string inQuotes(std::string_view cp1251) {
    return "'" + text::printable(text::toUtf8(text::StoredText::fromCp1251(cp1251))) + "'";
}

// Whole numbers as the field layer accepts them: leading blanks, a sign,
// decimal digits. `text` keeps the number as written (sign and digits), for
// the range message of a number too large even for 64 bits.
struct WholeNumber {
    bool valid = false;
    bool fits = false; // within 64 bits
    std::int64_t value = 0;
    std::string text;
};

WholeNumber parseWholeNumber(std::string_view s) {
    WholeNumber number;
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    const bool negative = !s.empty() && s.front() == '-';
    if (!s.empty() && (s.front() == '+' || negative)) s.remove_prefix(1);
    if (s.empty() || s.find_first_not_of("0123456789") != std::string_view::npos) return number;
    number.valid = true;
    number.text = (negative ? "-" : "") + std::string(s);
    const auto [end, ec] = std::from_chars(number.text.data(), number.text.data() + number.text.size(), number.value);
    number.fits = ec == std::errc() && end == number.text.data() + number.text.size();
    return number;
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

text::StoredText Field::asString() const {
    const FieldValue& v = value();
    if (v.null) return {};
    return isInteger() ? text::StoredText::fromCp1251(std::to_string(v.integer)) : v.text;
}

namespace {

// The number a text field's text reads as.
std::int64_t integerOfText(const std::string& text) {
    const WholeNumber number = parseWholeNumber(text);
    if (!number.valid || !number.fits || number.value < minimumOf(FieldType::Integer) ||
        number.value > maximumOf(FieldType::Integer))
        throw Error(inQuotes(text) + " is not a valid integer value");
    return number.value;
}

} // namespace

std::int64_t Field::asInteger() const {
    const FieldValue& v = value();
    if (v.null) return 0;
    if (isInteger()) return v.integer;
    return integerOfText(v.text.bytes());
}

std::int64_t Field::asInteger(std::string_view stored) const {
    if (stored.empty()) return 0;
    if (!isInteger()) return integerOfText(text::fromUtf8(stored).bytes());
    std::int64_t value = 0;
    std::from_chars(stored.data(), stored.data() + stored.size(), value); // the decimal of a stored integer
    return value;
}

void Field::setAsString(const text::StoredText& value) {
    std::string_view text = value.bytes();
    if (isInteger()) {
        if (text.empty()) {
            clear();
            return;
        }
        const WholeNumber number = parseWholeNumber(text);
        if (!number.valid)
            throw Error(inQuotes(text) + " is not a valid integer value for field " + inQuotes(def_.name));
        if (!number.fits) throw rangeError(number.text);
        setAsInteger(number.value);
        return;
    }
    FieldValue& v = changeableValue();
    v.null = text.empty();
    if (def_.type == FieldType::Text && text.size() > static_cast<std::size_t>(def_.size))
        v.text = text::StoredText::fromCp1251(text.substr(0, static_cast<std::size_t>(def_.size)));
    else
        v.text = value; // into the memory the field's last text had
    table_.notifyWritten(*this);
}

void Field::setAsInteger(std::int64_t number) {
    if (!isInteger()) {
        setAsString(text::StoredText::fromCp1251(std::to_string(number)));
        return;
    }
    if (number < minimumOf(def_.type) || number > maximumOf(def_.type)) throw rangeError(std::to_string(number));
    FieldValue& v = changeableValue();
    v.null = false;
    v.integer = number;
    table_.notifyWritten(*this);
}

Error Field::rangeError(const std::string& number) const {
    return Error(number + " is not a valid value for field " + inQuotes(def_.name) + ". The allowed range is " +
                 std::to_string(minimumOf(def_.type)) + " to " + std::to_string(maximumOf(def_.type)));
}

void Field::clear() {
    FieldValue& v = changeableValue();
    v = FieldValue{};
    table_.notifyWritten(*this);
}

} // namespace gamarium::store
