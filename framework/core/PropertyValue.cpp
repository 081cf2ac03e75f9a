#include "framework/core/PropertyValue.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

TT_DEFINE_RECORD(PropertyValue, &AbstractProperty::classRecord);

namespace {

const char* const kInteger = "Integer";
const char* const kFloat = "Float";
const char* const kString = "String";
const char* const kText = "Text";
const char* const kBoolean = "Boolean";

std::string typeOrEmpty(const char* typeName, bool untyped)
{
    return untyped ? std::string() : std::string(typeName);
}

WString decimalText(int value)
{
    return intToWString(value);
}

// Hexadecimal digits as the C library's "%x" reads them (optional blanks,
// sign and "0x" prefix), truncated to 32 bits; 0 when no digit follows.
int scanHex(const std::string& text, size_t start)
{
    const char* begin = text.c_str() + start;
    char* end = nullptr;
    errno = 0;
    const unsigned long long parsed = std::strtoull(begin, &end, 16);
    if (end == begin)
        return 0;
    return static_cast<int32_t>(static_cast<uint32_t>(parsed));
}

} // namespace

PropertyValue::PropertyValue(const std::string& name, int value, bool untyped)
    : AbstractProperty(KIND_VALUE, name, typeOrEmpty(kInteger, untyped)), value(decimalText(value))
{
}

PropertyValue::PropertyValue(const std::string& name, float value, bool untyped)
    : AbstractProperty(KIND_VALUE, name, typeOrEmpty(kFloat, untyped)), value(toWideString(formatFloat(value)))
{
}

PropertyValue::PropertyValue(const std::string& name, const std::string& text, bool untyped)
    : AbstractProperty(KIND_VALUE, name, typeOrEmpty(kString, untyped)), value(toWideString(text))
{
}

PropertyValue::PropertyValue(const std::string& name, const WString& text, bool untyped)
    : AbstractProperty(KIND_VALUE, name, typeOrEmpty(kText, untyped)), value(text)
{
}

PropertyValue::PropertyValue(NullTag) : AbstractProperty(KIND_VALUE, "DUMMY_VALUE", std::string())
{
    markNullObject();
}

PropertyValue* PropertyValue::makeTyped(const std::string& name, const std::string& typeName, const WString& text)
{
    PropertyValue* entry = new PropertyValue(name, text, true);
    entry->setTypeName(typeName);
    return entry;
}

PropertyValue* PropertyValue::makeTyped(const std::string& name, const std::string& typeName,
                                        const std::string& text)
{
    return makeTyped(name, typeName, toWideString(text));
}

PropertyValue* PropertyValue::makeTyped(const std::string& name, const std::string& typeName, int value)
{
    return makeTyped(name, typeName, decimalText(value));
}

PropertyValue* PropertyValue::makeBoolean(const std::string& name, bool value, bool untyped)
{
    return makeTyped(name, typeOrEmpty(kBoolean, untyped), toWide(value ? "true" : "false"));
}

PropertyValue* PropertyValue::nullObject()
{
    // Never destroyed: lookups may run from static destructors.
    static PropertyValue* instance = [] {
        PropertyValue* made = new PropertyValue(NullTag {});
        made->addRef();
        return made;
    }();
    return instance;
}

void PropertyValue::setValue(const WString& text)
{
    if (!isNullObject())
        value = text;
}

void PropertyValue::toString(std::string& out) const
{
    out = toNarrowString(value);
}

int PropertyValue::parseInt(const WString& wide)
{
    if (wide.empty())
        return 0;
    const std::string text = toNarrowString(wide);
    if (text[0] == '#')
        return scanHex(text, 1);
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return scanHex(text, 2);
    // Decimal like atoi: blanks, a sign, digits; out-of-range values saturate.
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(begin, &end, 10);
    if (end == begin)
        return 0;
    if (parsed > INT_MAX)
        return INT_MAX;
    if (parsed < INT_MIN)
        return INT_MIN;
    return static_cast<int>(parsed);
}

float PropertyValue::parseFloat(const WString& wide)
{
    const std::string text = toNarrowString(wide);
    float parsed = 0.0f;
    if (std::sscanf(text.c_str(), "%f", &parsed) != 1)
        return 0.0f;
    return parsed;
}

double PropertyValue::parseDouble(const WString& wide)
{
    const std::string text = toNarrowString(wide);
    double parsed = 0.0;
    if (std::sscanf(text.c_str(), "%lf", &parsed) != 1)
        return 0.0;
    return parsed;
}

bool PropertyValue::parseBool(const WString& text)
{
    static const WString falseText = toWide("false");
    return !text.empty() && text != falseText;
}

std::string PropertyValue::formatFloat(float value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%f", static_cast<double>(value));
    std::string text = buffer;
    // From the last character back to the second: zeros go, a "." goes and ends it.
    while (text.size() > 1) {
        const char last = text.back();
        if (last == '0') {
            text.pop_back();
            continue;
        }
        if (last == '.')
            text.pop_back();
        break;
    }
    return text;
}
