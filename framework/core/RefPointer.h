#pragma once

#include <cstddef>
#include <utility>

// Counted pointer to a BaseObject-derived class: copying adds a reference,
// destruction releases it. Every container of objects holds these.
template <class T>
class RefPointer {
public:
    RefPointer() = default;
    RefPointer(std::nullptr_t) {}
    RefPointer(T* object) : pointee(object)
    {
        if (pointee)
            pointee->addRef();
    }
    RefPointer(const RefPointer& other) : RefPointer(other.pointee) {}
    RefPointer(RefPointer&& other) noexcept : pointee(other.pointee) { other.pointee = nullptr; }
    template <class U>
    RefPointer(const RefPointer<U>& other) : RefPointer(other.get())
    {
    }
    ~RefPointer()
    {
        if (pointee)
            pointee->release();
    }

    // The new pointee gains its reference before the old one loses its own, so
    // assigning an object to itself is safe.
    RefPointer& operator=(T* object)
    {
        if (object)
            object->addRef();
        T* old = pointee;
        pointee = object;
        if (old)
            old->release();
        return *this;
    }
    RefPointer& operator=(const RefPointer& other) { return *this = other.pointee; }
    RefPointer& operator=(RefPointer&& other) noexcept
    {
        if (this != &other) {
            T* old = pointee;
            pointee = other.pointee;
            other.pointee = nullptr;
            if (old)
                old->release();
        }
        return *this;
    }

    void reset() { *this = nullptr; }
    T* get() const { return pointee; }
    T* operator->() const { return pointee; }
    T& operator*() const { return *pointee; }
    explicit operator bool() const { return pointee != nullptr; }

    friend bool operator==(const RefPointer& a, const RefPointer& b) { return a.pointee == b.pointee; }
    friend bool operator!=(const RefPointer& a, const RefPointer& b) { return a.pointee != b.pointee; }
    friend bool operator==(const RefPointer& a, const T* b) { return a.pointee == b; }
    friend bool operator!=(const RefPointer& a, const T* b) { return a.pointee != b; }

private:
    T* pointee = nullptr;
};
