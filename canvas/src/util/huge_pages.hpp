// Asks the kernel to back a large buffer with 2 MiB pages: fewer page faults and TLB misses on first touch.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

#include "util/failure.hpp"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace qc::util {

inline constexpr std::size_t kHugePage = std::size_t{1} << 21;
// From this size on a buffer holds at least one whole 2 MiB page wherever it starts.
inline constexpr std::size_t kHugePagesFrom = std::size_t{4} << 20;
// WebAssembly has neither pages to advise nor threads to keep blocks for.
#if defined(__wasm__)
inline constexpr bool kHugeBlocks = false;
#else
inline constexpr bool kHugeBlocks = true;
#endif

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

// Whole 2 MiB blocks a thread gave back, kept for its next blocks of the same size: a study's working
// columns at a million bars then come without page faults (nor the kernel zeroing them) from one call to
// the next. At most kKeptBlocks blocks of at most kKeptBlockMost bytes each, kKeptBytes in all, are kept
// (enough for the lines and working columns of a few studies at a million bars); the rest go back at once.
class HugeBlockCache {
 public:
  static constexpr std::size_t kKeptBlocks = 16;
  static constexpr std::size_t kKeptBlockMost = std::size_t{16} << 20;
  static constexpr std::size_t kKeptBytes = std::size_t{128} << 20;

  HugeBlockCache() = default;
  HugeBlockCache(const HugeBlockCache&) = delete;
  HugeBlockCache& operator=(const HugeBlockCache&) = delete;
  ~HugeBlockCache() {
    for (std::size_t i = 0; i < count_; ++i) ::operator delete(blocks_[i].data, std::align_val_t{kHugePage});
    gone() = true;
  }

  // A kept block of exactly `bytes`, or null.
  void* take(std::size_t bytes) {
    for (std::size_t i = count_; i-- > 0;) {
      if (blocks_[i].bytes != bytes) continue;
      void* data = blocks_[i].data;
      kept_bytes_ -= bytes;
      blocks_[i] = blocks_[--count_];
      return data;
    }
    return nullptr;
  }
  // Keeps the block; false when the cache is full (the caller then frees it).
  bool keep(void* data, std::size_t bytes) {
    if (count_ == kKeptBlocks || bytes > kKeptBlockMost || kept_bytes_ + bytes > kKeptBytes) return false;
    kept_bytes_ += bytes;
    blocks_[count_++] = {data, bytes};
    return true;
  }

  // The calling thread's cache; null once the thread has destroyed it (a block given back by another
  // thread-local object's destructor then goes straight back).
  static HugeBlockCache* of_thread() {
    if (gone()) return nullptr;
    thread_local HugeBlockCache cache;
    return &cache;
  }

 private:
  struct Block {
    void* data;
    std::size_t bytes;
  };
  // Trivially destructible, so that it can be read after the cache is destroyed.
  static bool& gone() {
    thread_local bool destroyed = false;
    return destroyed;
  }

  std::array<Block, kKeptBlocks> blocks_{};
  std::size_t count_ = 0;
  std::size_t kept_bytes_ = 0;
};

// Storage for columns of a bar count, which at a million bars would otherwise cost a page fault per 4 kB
// on first touch: a block of kHugePagesFrom bytes or more starts on a 2 MiB boundary and ends on one, is
// advised whole, and is kept by the thread's HugeBlockCache when given back. Smaller blocks come from the
// ordinary allocator.
template <class T>
struct HugePageAllocator {
  using value_type = T;

  HugePageAllocator() = default;
  template <class U>
  explicit HugePageAllocator(const HugePageAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    if (n > SIZE_MAX / sizeof(T)) out_of_memory();
    if constexpr (kHugeBlocks) {
      if (n * sizeof(T) >= kHugePagesFrom) return static_cast<T*>(allocate_huge(whole_pages(n * sizeof(T))));
    }
    return std::allocator<T>{}.allocate(n);
  }
  void deallocate(T* p, std::size_t n) noexcept {
    if constexpr (kHugeBlocks) {
      if (n * sizeof(T) >= kHugePagesFrom) return deallocate_huge(p, whole_pages(n * sizeof(T)));
    }
    std::allocator<T>{}.deallocate(p, n);
  }

  template <class U>
  bool operator==(const HugePageAllocator<U>&) const noexcept {
    return true;
  }

 private:
  static std::size_t whole_pages(std::size_t bytes) { return (bytes + kHugePage - 1) & ~(kHugePage - 1); }
  static void* allocate_huge(std::size_t whole) {
    if (HugeBlockCache* cache = HugeBlockCache::of_thread()) {
      if (void* kept = cache->take(whole)) return kept;
    }
    void* p = ::operator new(whole, std::align_val_t{kHugePage});
    advise_huge_pages(p, whole);
    return p;
  }
  static void deallocate_huge(void* p, std::size_t whole) noexcept {
    HugeBlockCache* cache = HugeBlockCache::of_thread();
    if (cache != nullptr && cache->keep(p, whole)) return;
    ::operator delete(p, std::align_val_t{kHugePage});
  }
};

// The same storage, sized without writing: making room for n doubles leaves them as the block held them. For
// columns whose every writer writes each value it makes room for, which then costs one pass rather than two.
template <class T>
struct UnwrittenHugePageAllocator : HugePageAllocator<T> {
  UnwrittenHugePageAllocator() = default;
  template <class U>
  explicit UnwrittenHugePageAllocator(const UnwrittenHugePageAllocator<U>&) noexcept {}

  template <class U>
  void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

}  // namespace qc::util
