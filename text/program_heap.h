#pragma once
// The program's private heap. Texts, the temporary text area, the layers' tables and the
// list records all take their memory from it, and it is released as a whole when the
// program ends. It does not try to be fast for large blocks or safe across threads: the
// program has one thread and small blocks.

#include <cstddef>
#include <memory_resource>

namespace quentara {

class ProgramHeap final : public std::pmr::memory_resource {
 public:
  /// Makes the heap ready (start-up does this first). Using the heap creates it too.
  void Create();
  /// Releases every block at once. Blocks given back afterwards are ignored, so that
  /// objects destroyed while the process exits cannot touch released memory; blocks asked
  /// for afterwards come from the general allocator and are never released.
  void Destroy();
  bool IsDestroyed() const { return destroyed_; }
  /// Bytes handed out and not yet given back (for tests and benchmarks).
  std::size_t BytesInUse() const { return bytesInUse_; }

 private:
  void* do_allocate(std::size_t bytes, std::size_t alignment) override;
  void do_deallocate(void* block, std::size_t bytes, std::size_t alignment) override;
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override;

  // Blocks of up to 256 bytes (nearly every text) are kept in a list per size of 16, 32,
  // ... 256 bytes once given back, and handed out again from there: taking or giving back
  // a small block is then a pointer swap, with no search of the pool's chunks.
  static constexpr std::size_t smallBlockStep = 16;
  static constexpr std::size_t smallBlockSizes = 16;
  void* freeSmallBlocks_[smallBlockSizes] = {};

  std::pmr::unsynchronized_pool_resource* pool_ = nullptr;
  bool destroyed_ = false;
  std::size_t bytesInUse_ = 0;
};

/// The one heap of the program.
extern ProgramHeap& programHeap;

}  // namespace quentara
