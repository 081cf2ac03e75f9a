#pragma once

#include <map>
#include <string>

#include "framework/core/RefPointer.h"
#include "game/production/Customer.h"

class AbstractProperty;

// Every customer that can appear in a level, by key ("CUSTOMER_HENRI").
class CustomerBook {
public:
    CustomerBook() = default;
    CustomerBook(const CustomerBook&) = delete;
    CustomerBook& operator=(const CustomerBook&) = delete;

    void load(const std::string& fileName);
    // Empties the book and reads the root's "customers" vector. The first
    // entry of a name wins; an entry missing a required key is skipped.
    void parse(AbstractProperty* root);
    // Null when the book has no customer of that name.
    Customer* find(const std::string& name) const;
    bool contains(const std::string& name) const { return customers.count(name) != 0; }
    size_t size() const { return customers.size(); }

private:
    std::map<std::string, RefPointer<Customer>> customers;
};
