// Asks the kernel to back a large buffer with 2 MiB pages: fewer page faults and TLB misses on first touch.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

#include "util/failure.hpp"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace qc::util {

inline constexpr std::size_t kHugePage = std::size_t{1} << 21;
// From this size on a buffer holds at least one whole 2 MiB page wherever it starts.
inline constexpr std::size_t kHugePagesFrom = std::size_t{4} << 20;

// Advises the whole 2 MiB pages inside [data, data + size); a refusal or an older kernel changes nothing.
inline void advise_huge_pages(void* data, std::size_t size) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t last = (begin + size) & ~(kHugePage - 1);
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
  (void)data;
  (void)size;
#endif
}

// Storage for columns of a bar count, which at a million bars would otherwise cost a page fault per 4 kB
// on first touch: a block of kHugePagesFrom bytes or more starts on a 2 MiB boundary and ends on one, and
// is advised whole. Smaller blocks come from the ordinary allocator.
template <class T>
struct HugePageAllocator {
  using value_type = T;

  HugePageAllocator() = default;
  template <class U>
  explicit HugePageAllocator(const HugePageAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    if (n > SIZE_MAX / sizeof(T)) out_of_memory();
    const std::size_t bytes = n * sizeof(T);
    if (bytes < kHugePagesFrom) return std::allocator<T>{}.allocate(n);
    const std::size_t whole = (bytes + kHugePage - 1) & ~(kHugePage - 1);
    void* p = ::operator new(whole, std::align_val_t{kHugePage});
    advise_huge_pages(p, whole);
    return static_cast<T*>(p);
  }
  void deallocate(T* p, std::size_t n) noexcept {
    if (n * sizeof(T) < kHugePagesFrom) return std::allocator<T>{}.deallocate(p, n);
    ::operator delete(p, std::align_val_t{kHugePage});
  }

  template <class U>
  bool operator==(const HugePageAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace qc::util
