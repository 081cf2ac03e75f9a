#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "framework/core/PropertyNode.h"
#include "framework/core/RefPointer.h"

class TiXmlDocument;
class TiXmlElement;
class TiXmlNode;

// The root of a property tree read from XML files and written back to one.
// Typed values and vectors are elements named by their type ("Integer",
// "Double", "Float", "Boolean", "String", "Text", "Vector"); any other tag is
// a node; "id" names an entry; other attributes of a node are its untyped
// values. Failures are values: a file that cannot be read or parsed leaves
// the tree unchanged and is reported by a false result and getLastError().
class PropertyStore : public PropertyNode {
    TT_CLASS_RECORD(PropertyStore)
public:
    // Documents nested deeper than this are refused before parsing.
    static constexpr int kMaxDepth = 200;
    // Elements with more attributes than this are refused before parsing:
    // the parser looks for a duplicate among the earlier ones on each.
    static constexpr int kMaxAttributes = 1024;

    // A non-empty file name becomes the first entry of the file list.
    explicit PropertyStore(const std::string& fileName = std::string());

    std::vector<std::string>& getFileNames() { return fileNames; }
    void addFileName(const std::string& path) { fileNames.push_back(path); }
    const std::string& getSavePath() const { return savePath; }
    void setSavePath(const std::string& path) { savePath = path; }
    // A file mode of FileModes.h; 0 follows the archive's default.
    int getFileMode() const { return fileMode; }
    void setFileMode(int mode) { fileMode = mode; }
    // The largest file loadFile() and isReadable() read from disk; a larger
    // one is refused (and wasTooLarge() tells so).
    void setMaxFileSize(size_t bytes) { maxFileSize = bytes; }
    size_t getMaxFileSize() const { return maxFileSize; }
    // Whether the last file read was refused for being over the cap.
    bool wasTooLarge() const { return lastReadTooLarge; }
    bool getValuesAsAttributes() const { return valuesAsAttributes; }
    void setValuesAsAttributes(bool enabled) { valuesAsAttributes = enabled; }
    bool getCondenseWhiteSpace() const { return condenseWhiteSpace; }
    void setCondenseWhiteSpace(bool enabled) { condenseWhiteSpace = enabled; }

    // Loads every file of the list in order; a failed file does not stop the
    // others. True only when every file loaded.
    bool load();
    // A new store that has loaded `fileName`; empty when the file could not be
    // read or parsed (see getLastError()).
    static RefPointer<PropertyStore> loadedFrom(const std::string& fileName);
    // Reads one file (through the file modes) and adds its entries.
    bool loadFile(const std::string& path);
    // Parses XML bytes held in memory and adds their entries; `sourceName`
    // only names them in error messages.
    bool loadFromBuffer(const char* data, size_t size, const std::string& sourceName = "memory");
    // Whether the file exists and parses as XML under the store's file mode;
    // the tree is not changed.
    bool isReadable(const std::string& path);

    // Serialises the tree (enciphered in the enciphered modes) and writes it
    // atomically to storedFileName(savePath, fileMode). On failure the old
    // file stays whole, the reason is logged and kept in getLastError().
    bool save();
    // The XML text that save() writes, before encipherment.
    std::string toXmlText() const;

    // Adds the entries of every top-level element of a parsed document.
    bool readDocument(const TiXmlDocument& document);
    // The entry an element stands for (recursively); never null.
    AbstractProperty* readElement(const TiXmlElement& element, int depth = 0) const;
    // Writes `entry` below `parent`; inside a node, untyped values become attributes.
    void writeXml(const AbstractProperty& entry, TiXmlNode& parent, bool insideNode) const;

    const std::string& getLastError() const { return lastError; }

    // TinyXML's white-space switch is one global: every parse in the process
    // (this store, the loader thread, anything else) holds this lock.
    static std::mutex& xmlParseMutex();

private:
    bool parse(const char* text, size_t size, const std::string& sourceName, TiXmlDocument& document);

    std::vector<std::string> fileNames;
    std::string savePath;
    int fileMode = 0;
    size_t maxFileSize = size_t(1) << 30;
    bool lastReadTooLarge = false;
    bool valuesAsAttributes = true;
    bool condenseWhiteSpace = true;
    std::string lastError;
};
