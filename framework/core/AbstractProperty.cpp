#include "framework/core/AbstractProperty.h"

#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyValue.h"
#include "framework/core/PropertyVector.h"

TT_DEFINE_ROOT_RECORD(AbstractProperty);

AbstractProperty::AbstractProperty(int kind, const std::string& name, const std::string& typeName)
    : kind(kind), typeName(typeName), name(name)
{
}

void AbstractProperty::setName(const std::string& newName)
{
    if (!nullObject)
        name = newName;
}

void AbstractProperty::setTypeName(const std::string& newTypeName)
{
    if (!nullObject)
        typeName = newTypeName;
}

PropertyValue* AbstractProperty::asValue()
{
    return kind == KIND_VALUE ? static_cast<PropertyValue*>(this) : DUMMY_VALUE;
}

const PropertyValue* AbstractProperty::asValue() const
{
    return kind == KIND_VALUE ? static_cast<const PropertyValue*>(this) : DUMMY_VALUE;
}

PropertyNode* AbstractProperty::asNode()
{
    return kind == KIND_NODE ? static_cast<PropertyNode*>(this) : DUMMY_NODE;
}

const PropertyNode* AbstractProperty::asNode() const
{
    return kind == KIND_NODE ? static_cast<const PropertyNode*>(this) : DUMMY_NODE;
}

PropertyVector* AbstractProperty::asVector()
{
    return kind == KIND_VECTOR ? static_cast<PropertyVector*>(this) : DUMMY_VECTOR;
}

const PropertyVector* AbstractProperty::asVector() const
{
    return kind == KIND_VECTOR ? static_cast<const PropertyVector*>(this) : DUMMY_VECTOR;
}

int AbstractProperty::getInt() const
{
    return asValue()->toInt();
}

float AbstractProperty::getFloat() const
{
    return asValue()->toFloat();
}

double AbstractProperty::getDouble() const
{
    return asValue()->toDouble();
}

bool AbstractProperty::getBool() const
{
    return asValue()->toBool();
}

std::string AbstractProperty::getString() const
{
    std::string text;
    asValue()->toString(text);
    return text;
}

const WString& AbstractProperty::getWString() const
{
    return asValue()->getValue();
}

void AbstractProperty::resolveTemplates()
{
    TemplateWalk walk;
    resolveTemplates(walk);
}

void AbstractProperty::resolveTemplates(TemplateWalk&)
{
}
