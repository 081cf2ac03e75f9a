// Start-up cost of the game's property files, and the cost of the lookups
// the tuning table exists to avoid.
#include <benchmark/benchmark.h>

#include <string>

#include "framework/core/BasicProperties.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/PropertyValue.h"
#include "framework/core/SetupStore.h"
#include "framework/resources/FileModes.h"
#include "framework/resources/MemoryBuffer.h"
#include "game/data/TuningTable.h"

namespace {

std::string sourcePath(const char* relative)
{
    return std::string(TORTELUNE_SOURCE_DIR) + "/" + relative;
}

// All five start-up files read, merged, resolved and the tuning table filled.
void BM_SetupStoreLoad(benchmark::State& state)
{
    for (auto _ : state) {
        BasicProperties::createInstance();
        SetupStore::createInstance();
        SetupStore::instance->setLoadListener(new TuningLoader());
        for (const char* file : kGamePropertyFiles)
            SetupStore::instance->addFileName(sourcePath(file));
        benchmark::DoNotOptimize(SetupStore::instance->load());
        SetupStore::destroyInstance();
        BasicProperties::destroyInstance();
    }
}
BENCHMARK(BM_SetupStoreLoad)->Unit(benchmark::kMillisecond);

// Parsing the largest start-up file from memory.
void BM_ParseDialogs(benchmark::State& state)
{
    MemoryBuffer buffer;
    loadFileToBuffer(FILE_MODE_FILE, sourcePath("media/properties/dialogs.xml"), buffer);
    for (auto _ : state) {
        RefPointer<PropertyStore> store(new PropertyStore());
        benchmark::DoNotOptimize(store->loadFromBuffer(buffer.getData(), buffer.getByteCount()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * buffer.getSize());
}
BENCHMARK(BM_ParseDialogs)->Unit(benchmark::kMicrosecond);

// A saved file of up to 100,000 entries under one node, the way a damaged
// or hostile one could be: reading stays linear in its size (compare the
// time per entry of the two sizes).
void BM_ReadManyEntries(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    std::string xml = "<root><Node id=\"big\">";
    for (int i = 0; i < count; ++i)
        xml += "<Integer id=\"k" + std::to_string(i) + "\" value=\"" + std::to_string(i) + "\"/>";
    xml += "</Node></root>";
    for (auto _ : state) {
        RefPointer<PropertyStore> store(new PropertyStore());
        benchmark::DoNotOptimize(store->loadFromBuffer(xml.data(), xml.size()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(xml.size()));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * count);
}
BENCHMARK(BM_ReadManyEntries)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A typed child read by name, converted from text on every call.
void BM_NodeGetInt(benchmark::State& state)
{
    RefPointer<PropertyNode> node(new PropertyNode("n", "Node"));
    for (int i = 0; i < 64; ++i)
        node->setInt("KEY_" + std::to_string(i), i * 7, true);
    const std::string key = "KEY_42";
    for (auto _ : state)
        benchmark::DoNotOptimize(node->getInt(key));
}
BENCHMARK(BM_NodeGetInt);

// The tuning table's field against a BasicProperties lookup by name.
void BM_TuningField(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(tuning().SWAP_DURATION);
}
BENCHMARK(BM_TuningField);

void BM_BasicPropertiesLookup(benchmark::State& state)
{
    BasicProperties::createInstance();
    BasicProperties::instance->setInt("SWAP_DURATION", 250);
    const std::string key = "SWAP_DURATION";
    for (auto _ : state)
        benchmark::DoNotOptimize(BasicProperties::instance->getInt(key));
    BasicProperties::destroyInstance();
}
BENCHMARK(BM_BasicPropertiesLookup);

} // namespace
