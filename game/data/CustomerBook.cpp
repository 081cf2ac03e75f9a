#include "game/data/CustomerBook.h"

#include "framework/core/Log.h"
#include "framework/core/PropertyStore.h"
#include "framework/players/PropertyAccess.h"
#include "game/data/TuningTable.h"

namespace {

bool readPoint(PropertyNode* entry, const std::string& key, Customer::Point& point)
{
    PropertyNode* group = childNode(entry, key);
    if (!hasChildNamed(group, "x") || !hasChildNamed(group, "y"))
        return false;
    point = {childInt(group, "x"), childInt(group, "y")};
    return true;
}

} // namespace

void CustomerBook::load(const std::string& fileName)
{
    parse(PropertyStore::loadedFrom(fileName).get());
}

void CustomerBook::parse(AbstractProperty* root)
{
    customers.clear();
    PropertyVector* list = childVector(root, "customers");
    for (int i = 0; i < elementCount(list); ++i) {
        PropertyNode* entry = nodeOrDummy(elementAt(list, i));
        const std::string name = entry->getName();
        Customer::Point casual, happy, ecstatic;
        Customer::Point hint{tuning().CUSTOMER_HINT_X, tuning().CUSTOMER_HINT_Y};
        if (!hasChildNamed(entry, "happy") || !hasChildNamed(entry, "ecstatic") ||
            !readPoint(entry, "casualEyes", casual) || !readPoint(entry, "happyEyes", happy) ||
            !readPoint(entry, "ecstaticEyes", ecstatic)) {
            LOG_WARNING("Customer book: entry \"" + name + "\" lacks a required key; skipped");
            continue;
        }
        if (hasChildNamed(entry, "hint"))
            hint = {childInt(childNode(entry, "hint"), "x"), childInt(childNode(entry, "hint"), "y")};
        if (customers.count(name))
            continue;
        customers[name] = new Customer(name, childInt(entry, "happy"), childInt(entry, "ecstatic"), casual,
                                       happy, ecstatic, hint);
    }
}

Customer* CustomerBook::find(const std::string& name) const
{
    auto found = customers.find(name);
    return found == customers.end() ? nullptr : found->second.get();
}
