#include "fuzz/FuzzTargets.h"

#include <string>
#include <unordered_set>

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/PropertyValue.h"
#include "framework/resources/FileArchive.h"
#include "framework/resources/MemoryBuffer.h"

namespace {

void quietLog()
{
    static const bool done = [] {
        setLogEcho(false);
        setLogLevel(LogLevel::Error);
        return true;
    }();
    (void)done;
}

// Reads every entry below `entry` once through the typed lookups (trees
// share entries after template inheritance, so a visited set bounds the walk).
void readAll(const AbstractProperty* entry, std::unordered_set<const AbstractProperty*>& visited)
{
    if (!visited.insert(entry).second)
        return;
    if (entry->isValue()) {
        volatile int intSink = entry->getInt();
        volatile float floatSink = entry->getFloat();
        volatile bool boolSink = entry->getBool();
        (void)intSink;
        (void)floatSink;
        (void)boolSink;
        return;
    }
    if (entry->isNode()) {
        const PropertyNode* node = entry->asNode();
        for (AbstractProperty* child : node->getNamedChildren()) {
            if (node->getChild(child->getName()) != child)
                __builtin_trap();
            readAll(child, visited);
        }
    }
    for (const RefPointer<AbstractProperty>& element : *static_cast<const PropertyVector*>(entry))
        readAll(element.get(), visited);
}

void readAll(const AbstractProperty* root)
{
    std::unordered_set<const AbstractProperty*> visited;
    readAll(root, visited);
}

} // namespace

int fuzzPropertyXml(const uint8_t* data, size_t size)
{
    quietLog();
    RefPointer<PropertyStore> store(new PropertyStore());
    if (!store->loadFromBuffer(reinterpret_cast<const char*>(data), size, "fuzz"))
        return 0;
    readAll(store.get());

    // What the writer makes of a readable tree must read back.
    const std::string written = store->toXmlText();
    RefPointer<PropertyStore> again(new PropertyStore());
    if (!again->loadFromBuffer(written.data(), written.size(), "rewritten"))
        __builtin_trap();

    // Templates may refer to themselves or to each other in any way.
    BasicProperties::createInstance();
    BasicProperties::instance->mergeChildren(store.get());
    if (AbstractProperty* setups = store->getChild("setups"))
        BasicProperties::instance->mergeChildren(setups->asNode());
    store->resolveTemplates();
    readAll(store.get());
    BasicProperties::destroyInstance();
    return 0;
}

int fuzzArchive(const uint8_t* data, size_t size)
{
    quietLog();
    RefPointer<FileArchive> archive(new FileArchive("fuzz.dat"));
    archive->setArchiveBytes(data, size);
    MemoryBuffer buffer;
    int entries = 0;
    for (bool more = archive->firstEntry(); more && entries < 64; more = archive->nextEntry()) {
        ++entries;
        const std::string name = archive->getEntryInfo().name;
        if (archive->openEntry()) {
            if (archive->readEntry(buffer) && buffer.getData()[buffer.getSize()] != '\0')
                __builtin_trap();
            archive->closeEntry();
        }
        if (!archive->isOpen())
            break;
    }
    // Lookups by name reopen a closed archive.
    archive->readFile("media/properties/default.xml", buffer);
    archive->readFile("A.TXT", buffer);
    return 0;
}
