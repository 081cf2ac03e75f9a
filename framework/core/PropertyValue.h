#pragma once

#include <string>

#include "framework/core/AbstractProperty.h"

// A leaf of the property tree: wide text with an optional type name
// ("Integer", "Double", "Float", "Boolean", "String", "Text"). Numbers and
// booleans stay text and are converted on every read.
class PropertyValue : public AbstractProperty {
    TT_CLASS_RECORD(PropertyValue)
public:
    // "Integer" (empty type name when untyped), text "%d".
    PropertyValue(const std::string& name, int value, bool untyped = false);
    // "Float", text "%f" with trailing zeros removed.
    PropertyValue(const std::string& name, float value, bool untyped = false);
    PropertyValue(const std::string& name, double value, bool untyped = false)
        : PropertyValue(name, static_cast<float>(value), untyped)
    {
    }
    // "String": narrow (UTF-8) text.
    PropertyValue(const std::string& name, const std::string& text, bool untyped = false);
    PropertyValue(const std::string& name, const char* text, bool untyped = false)
        : PropertyValue(name, std::string(text ? text : ""), untyped)
    {
    }
    // "Text": wide text as given.
    PropertyValue(const std::string& name, const WString& text, bool untyped = false);
    PropertyValue(const std::string& name, const char16_t* text, bool untyped = false)
        : PropertyValue(name, WString(text ? text : u""), untyped)
    {
    }
    // Booleans are made by makeBoolean, never by the int constructor.
    PropertyValue(const std::string& name, bool value, bool untyped = false) = delete;

    // Any type name with wide text (the XML reader's constructor), narrow text or "%d".
    static PropertyValue* makeTyped(const std::string& name, const std::string& typeName, const WString& text);
    static PropertyValue* makeTyped(const std::string& name, const std::string& typeName, const std::string& text);
    static PropertyValue* makeTyped(const std::string& name, const std::string& typeName, int value);
    // "Boolean" (empty type name when untyped) with the text "true" or "false".
    static PropertyValue* makeBoolean(const std::string& name, bool value, bool untyped = false);

    const WString& getValue() const { return value; }
    void setValue(const WString& text);

    int toInt() const { return parseInt(value); }
    float toFloat() const { return parseFloat(value); }
    double toDouble() const { return parseDouble(value); }
    bool toBool() const { return parseBool(value); }

    // The value as narrow text (not BaseObject's address text).
    void toString(std::string& out) const override;

    // Empty -> 0; "#" hex; "0x"/"0X" hex; else decimal like atoi. Hexadecimal
    // reads into 32 bits, so "#FFFFFFFF" is -1; no digits give 0.
    static int parseInt(const WString& text);
    // "%f"; 0 when nothing can be read.
    static float parseFloat(const WString& text);
    // "%lf"; 0 when nothing can be read.
    static double parseDouble(const WString& text);
    // False only for the empty text and exactly "false".
    static bool parseBool(const WString& text);
    // "%f" with trailing zeros (and a bare ".") removed: 0.5, 3, 100, -0.25.
    static std::string formatFloat(float value);

    static PropertyValue* nullObject();

private:
    struct NullTag {};
    explicit PropertyValue(NullTag);

    WString value;
};

// The untyped, empty value that typed lookups give for a missing entry.
#define DUMMY_VALUE (PropertyValue::nullObject())
