#include "framework/core/PropertyStore.h"

#include <tinyxml.h>

#include <unordered_set>
#include <vector>

#include "framework/core/Log.h"
#include "framework/core/PropertyValue.h"
#include "framework/resources/FileCipher.h"
#include "framework/resources/FileModes.h"
#include "framework/resources/MemoryBuffer.h"
#include "host/AtomicFile.h"
#include "host/XmlParseLock.h"
#include "host/XmlShape.h"

TT_DEFINE_RECORD(PropertyStore, &PropertyNode::classRecord);

namespace {

bool isValueTag(const std::string& tag)
{
    return tag == "Integer" || tag == "Double" || tag == "Float" || tag == "Boolean" || tag == "String" ||
           tag == "Text";
}

const char* attributeOrEmpty(const TiXmlElement& element, const char* name)
{
    const char* value = element.Attribute(name);
    return value ? value : "";
}

// The first text (or CDATA) child of an element, or null.
const char* firstText(const TiXmlElement& element)
{
    for (const TiXmlNode* child = element.FirstChild(); child; child = child->NextSibling()) {
        if (const TiXmlText* text = child->ToText())
            return text->Value();
    }
    return nullptr;
}

// Names are kept byte for byte as read; written out they must be valid
// UTF-8, or the parser's multi-byte reading swallows the closing quote.
std::string validUtf8(const std::string& text)
{
    return toNarrowString(toWideString(text));
}

bool isXmlName(const std::string& name)
{
    if (name.empty() || validUtf8(name) != name)
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
        const bool other = (c >= '0' && c <= '9') || c == '-' || c == '.';
        if (!letter && (i == 0 || !other))
            return false;
    }
    return true;
}

// Adds the entries read from one element's content. A later entry of a name
// replaces an earlier one and takes its place at the end; the earlier ones are
// dropped here, so that the node never has to search its list for them.
void addKeepingLastOfEachName(PropertyNode& node, std::vector<RefPointer<AbstractProperty>>& entries)
{
    std::unordered_set<std::string> later;
    std::vector<bool> kept(entries.size(), false);
    for (size_t i = entries.size(); i-- > 0;)
        kept[i] = later.insert(entries[i]->getName()).second;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (kept[i])
            node.addChild(entries[i].get());
    }
}

} // namespace

PropertyStore::PropertyStore(const std::string& fileName) : PropertyNode(std::string(), "root")
{
    if (!fileName.empty())
        fileNames.push_back(fileName);
}

std::mutex& PropertyStore::xmlParseMutex()
{
    return ::xmlParseMutex();
}

RefPointer<PropertyStore> PropertyStore::loadedFrom(const std::string& fileName)
{
    RefPointer<PropertyStore> store(new PropertyStore(fileName));
    store->load();
    return store;
}

bool PropertyStore::load()
{
    bool all = true;
    for (const std::string& path : fileNames) {
        if (!loadFile(path))
            all = false;
    }
    return all;
}

bool PropertyStore::loadFile(const std::string& path)
{
    MemoryBuffer buffer;
    FileReadResult result = FileReadResult::Missing;
    const bool loaded = loadFileToBuffer(fileMode, path, buffer, maxFileSize, &result);
    lastReadTooLarge = result == FileReadResult::TooLarge;
    if (!loaded) {
        lastError = lastReadTooLarge ? "\"" + path + "\" is larger than " + std::to_string(maxFileSize) + " bytes"
                                     : "\"" + path + "\" is missing, empty or unreadable";
        return false;
    }
    return loadFromBuffer(buffer.getData(), buffer.getByteCount(), path);
}

bool PropertyStore::loadFromBuffer(const char* data, size_t size, const std::string& sourceName)
{
    TiXmlDocument document;
    if (!parse(data, size, sourceName, document)) {
        LOG_ERROR("property file " + lastError);
        return false;
    }
    return readDocument(document);
}

bool PropertyStore::isReadable(const std::string& path)
{
    MemoryBuffer buffer;
    FileReadResult result = FileReadResult::Missing;
    const bool loaded = loadFileToBuffer(fileMode, path, buffer, maxFileSize, &result);
    lastReadTooLarge = result == FileReadResult::TooLarge;
    if (!loaded)
        return false;
    TiXmlDocument document;
    return parse(buffer.getData(), buffer.getByteCount(), path, document);
}

bool PropertyStore::parse(const char* data, size_t size, const std::string& sourceName, TiXmlDocument& document)
{
    if (!data) {
        lastError = "\"" + sourceName + "\": no data";
        return false;
    }
    // TinyXML reads up to a zero byte; the copy guarantees one. Its UTF-8
    // reader trusts lead bytes and would read past the end of a truncated
    // sequence, so malformed sequences become U+FFFD before it sees them
    // (and a few more zero bytes follow, should it step on all the same).
    std::string text = validUtf8(std::string(data, size));
    const XmlShape shape = measureXmlShape(text.data(), text.size());
    if (shape.deepestNesting > kMaxDepth) {
        lastError = "\"" + sourceName + "\": elements nested too deeply";
        return false;
    }
    if (shape.mostAttributes > kMaxAttributes) {
        lastError = "\"" + sourceName + "\": an element has more than " + std::to_string(kMaxAttributes) +
                    " attributes (" + std::to_string(shape.mostAttributes) + ")";
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(xmlParseMutex());
        TiXmlBase::SetCondenseWhiteSpace(condenseWhiteSpace);
        text.append(8, '\0');
        document.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
    }
    if (document.Error()) {
        lastError = "\"" + sourceName + "\": line " + std::to_string(document.ErrorRow()) + ": " +
                    (document.ErrorDesc() ? document.ErrorDesc() : "XML error");
        return false;
    }
    if (!document.RootElement()) {
        lastError = "\"" + sourceName + "\": no element";
        return false;
    }
    return true;
}

bool PropertyStore::readDocument(const TiXmlDocument& document)
{
    if (document.Error())
        return false;
    std::vector<RefPointer<AbstractProperty>> entries;
    for (const TiXmlElement* top = document.FirstChildElement(); top; top = top->NextSiblingElement()) {
        for (const TiXmlElement* child = top->FirstChildElement(); child; child = child->NextSiblingElement())
            entries.emplace_back(readElement(*child, 1));
    }
    addKeepingLastOfEachName(*this, entries);
    return true;
}

AbstractProperty* PropertyStore::readElement(const TiXmlElement& element, int depth) const
{
    const std::string tag = element.Value();
    const std::string id = attributeOrEmpty(element, "id");
    const bool tooDeep = depth >= kMaxDepth;

    if (tag == "Vector") {
        auto* vector = new PropertyVector(id);
        if (!tooDeep) {
            for (const TiXmlElement* child = element.FirstChildElement(); child; child = child->NextSiblingElement())
                vector->add(readElement(*child, depth + 1));
        }
        return vector;
    }
    if (isValueTag(tag)) {
        const char* text = firstText(element);
        const std::string value = text ? text : attributeOrEmpty(element, "value");
        return PropertyValue::makeTyped(id, tag, toWideString(value));
    }
    if (!valuesAsAttributes) {
        const TiXmlNode* first = element.FirstChild();
        if (!first || first->ToText()) {
            const char* text = element.GetText();
            return new PropertyValue(tag, toWideString(text ? text : ""), true);
        }
    }
    auto* node = new PropertyNode(id, tag);
    std::vector<RefPointer<AbstractProperty>> entries;
    if (valuesAsAttributes) {
        for (const TiXmlAttribute* attribute = element.FirstAttribute(); attribute; attribute = attribute->Next()) {
            const std::string name = attribute->Name();
            if (name != "id")
                entries.emplace_back(new PropertyValue(name, toWideString(attribute->Value()), true));
        }
        if (const char* text = firstText(element))
            entries.emplace_back(new PropertyValue("value", toWideString(text), true));
    }
    if (!tooDeep) {
        for (const TiXmlElement* child = element.FirstChildElement(); child; child = child->NextSiblingElement())
            entries.emplace_back(readElement(*child, depth + 1));
    }
    addKeepingLastOfEachName(*node, entries);
    return node;
}

void PropertyStore::writeXml(const AbstractProperty& entry, TiXmlNode& parent, bool insideNode) const
{
    const std::string text = entry.getString();
    if (insideNode && entry.isUntypedValue()) {
        if (isXmlName(entry.getName())) {
            TiXmlElement* element = parent.ToElement();
            if (valuesAsAttributes && element) {
                element->SetAttribute(entry.getName(), text);
            } else {
                TiXmlNode* child = parent.LinkEndChild(new TiXmlElement(entry.getName()));
                child->LinkEndChild(new TiXmlText(text));
            }
            return;
        }
        // A name that XML cannot carry as an attribute or tag would make the
        // whole file unreadable; keep the value as a named "Text" element.
        auto* child = new TiXmlElement("Text");
        child->SetAttribute("id", validUtf8(entry.getName()));
        child->SetAttribute("value", text);
        parent.LinkEndChild(child);
        return;
    }
    if (!valuesAsAttributes && entry.isValue()) {
        parent.LinkEndChild(new TiXmlText(text));
        return;
    }
    // A node made in code without a tag still needs one to be read back.
    const std::string tag = isXmlName(entry.getTypeName()) ? entry.getTypeName() : std::string("Node");
    auto* element = new TiXmlElement(tag);
    parent.LinkEndChild(element);
    if (!entry.getName().empty())
        element->SetAttribute("id", validUtf8(entry.getName()));
    if (entry.isValue()) {
        element->SetAttribute("value", text);
    } else if (entry.isNode()) {
        for (AbstractProperty* child : static_cast<const PropertyNode&>(entry).getNamedChildren())
            writeXml(*child, *element, true);
    } else {
        for (const RefPointer<AbstractProperty>& child : static_cast<const PropertyVector&>(entry))
            writeXml(*child, *element, false);
    }
}

std::string PropertyStore::toXmlText() const
{
    TiXmlDocument document;
    writeXml(*this, document, false);
    TiXmlPrinter printer;
    printer.SetIndent("    ");
    document.Accept(&printer);
    return printer.Str();
}

bool PropertyStore::save()
{
    if (savePath.empty()) {
        lastError = "no save path set";
        LOG_ERROR("property store: " + lastError);
        return false;
    }
    std::string text = toXmlText();
    const int mode = effectiveFileMode(fileMode);
    if (mode == FILE_MODE_ENCRYPT_FILE || mode == FILE_MODE_ENCRYPT_ZIP)
        applyFileCipher(&text[0], text.size());
    const std::string target = storedFileName(savePath, mode);
    std::string error;
    if (!writeFileAtomically(target, text.data(), text.size(), &error)) {
        lastError = error;
        LOG_ERROR("saving \"" + target + "\" failed: " + error);
        return false;
    }
    return true;
}
