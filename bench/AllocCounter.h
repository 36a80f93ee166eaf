// Heap allocations of the whole process: the benchmark binary replaces malloc and its
// relatives (operator new ends in malloc), so the runtime's, the elements' and cairo's
// allocations are all counted.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace bench {

uint64_t AllocationCount();  // allocations made so far (frees are not subtracted)

// Allocations made while it lives.
class AllocationWindow {
public:
    AllocationWindow() : m_start(AllocationCount()) {}
    uint64_t Count() const { return AllocationCount() - m_start; }

private:
    uint64_t m_start;
};

// Where allocations come from: while recording, each allocation's call stack is kept
// (up to a fixed number); Sites() names each by the first frames outside the C and C++
// libraries, e.g. "CElementButton::OnPaint <- ...", with how many allocations it made.
void StartRecordingSites();
void StopRecordingSites();
std::map<std::string, int> RecordedSites();

}  // namespace bench
