#pragma once

#include <map>
#include <string>

class AbstractProperty;

// Every ingredient name with its id and flags (matching, unripe, sound,
// fruit, chocolate, pastry, cream), read once at start-up.
class IngredientBook {
public:
    struct Entry {
        std::string id;
        bool matching = true;
        bool canBeUnripe = false;
        bool hasSound = false;
        bool isFruit = false;
        bool isChocolate = false;
        bool isPastry = false;
        bool isCream = false;
    };

    void load(const std::string& fileName);
    // Adds the root's "ingredients" entries; the first entry of a name wins.
    void parse(AbstractProperty* root);
    // Null when the book does not list the name.
    const Entry* find(const std::string& name) const;
    size_t size() const { return entries.size(); }

private:
    std::map<std::string, Entry> entries;
};
