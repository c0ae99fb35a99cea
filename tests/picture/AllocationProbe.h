#pragma once
// Records the largest single operator new request made while armed; the test's own thread arms it.

#include <cstddef>

namespace picture::test {

class AllocationProbe {
public:
    AllocationProbe();  // arms the probe and forgets earlier requests
    ~AllocationProbe(); // disarms it
    AllocationProbe(const AllocationProbe&) = delete;
    AllocationProbe& operator=(const AllocationProbe&) = delete;

    [[nodiscard]] size_t largest() const;
};

} // namespace picture::test
