#pragma once
// The global arrays of key labels and numbered-notation labels, indexed from 1; GUI thread.

#include "platform/ui/FormTypes.h"

#include <vector>

namespace keyboard {

// A 1-based array of component references. Every index is checked: one outside the bounds, or any
// use before allocate() or after release(), is a run-time error that ends the program.
class ComponentArray {
public:
    explicit ComponentArray(int size) : m_size(size) {}

    void allocate() { m_slots.assign(static_cast<size_t>(m_size), ui::ComponentRef{}); }
    void release() { std::vector<ui::ComponentRef>().swap(m_slots); }
    bool allocated() const { return !m_slots.empty(); }
    int size() const { return m_size; }

    ui::ComponentRef& operator[](int index);

private:
    int m_size;
    std::vector<ui::ComponentRef> m_slots;
};

// Slots 1-21 the white keys from left to right, 22-36 the black keys from left to right.
extern ComponentArray keyWidgets;
// Slot k: the numbered-notation label under white key k.
extern ComponentArray degreeLabels;

} // namespace keyboard
