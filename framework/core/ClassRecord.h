#pragma once

// One static record per registered class: its name and its parents' records.
// Records are constant-initialised, so they exist before any static
// initialiser runs and can be compared by address from anywhere.
struct ClassRecord {
    const char* name;
    // Null-terminated list of the parents' records, in declaration order.
    const ClassRecord* const* parents;

    // True when this record is `other` or one of its parents (depth first) is.
    bool isKindOf(const ClassRecord* other) const;
};

// Declares the class record of a registered class and its getClassName override.
#define TT_CLASS_RECORD(ClassName)                                            \
public:                                                                       \
    static const ClassRecord classRecord;                                     \
    const ClassRecord* getClassName() const override { return &classRecord; } \
                                                                              \
private:

// Defines the class record with its parent records (at least one).
#define TT_DEFINE_RECORD(ClassName, ...)                                              \
    static const ClassRecord* const ClassName##_recordParents[] = {__VA_ARGS__, nullptr}; \
    const ClassRecord ClassName::classRecord { #ClassName, ClassName##_recordParents }

// Defines the record of a class without registered parents.
#define TT_DEFINE_ROOT_RECORD(ClassName)                                   \
    static const ClassRecord* const ClassName##_recordParents[] = {nullptr}; \
    const ClassRecord ClassName::classRecord { #ClassName, ClassName##_recordParents }
