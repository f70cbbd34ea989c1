// The program heap: one growable store from which every text, table and list record comes,
// released as a whole when the program ends.

#include "text/program_heap.h"

#include <algorithm>
#include <new>

namespace quentara {

namespace {
// Constant-initialised, so it exists before any other global is built and is destroyed
// after all of them: objects with static storage may give blocks back while the process
// exits.
constinit ProgramHeap theHeap;
}  // namespace

ProgramHeap& programHeap = theHeap;

namespace {
// The list of a small block's size (0 for 1 to 16 bytes), or -1 for a block of another kind.
int SmallBlockList(std::size_t bytes, std::size_t alignment, std::size_t step, std::size_t lists) {
  if (alignment > step || bytes > step * lists) return -1;
  return bytes == 0 ? 0 : static_cast<int>((bytes - 1) / step);
}
}  // namespace

void ProgramHeap::Create() {
  if (pool_ != nullptr || destroyed_) return;
  // The first chunk is about 4000 bytes; the pool grows as the program needs more. Chunks
  // grow up to 4096 blocks: a schedule takes and gives back thousands of small texts, and
  // giving one back first finds its chunk, which is quicker among fewer, larger chunks.
  std::pmr::pool_options options;
  options.max_blocks_per_chunk = 4096;
  options.largest_required_pool_block = 4000;
  pool_ = new std::pmr::unsynchronized_pool_resource(options);
}

void ProgramHeap::Destroy() {
  if (destroyed_) return;
  delete pool_;  // releases every chunk it took
  pool_ = nullptr;
  std::fill(std::begin(freeSmallBlocks_), std::end(freeSmallBlocks_), nullptr);
  destroyed_ = true;
  bytesInUse_ = 0;
}

void* ProgramHeap::do_allocate(std::size_t bytes, std::size_t alignment) {
  if (destroyed_) return ::operator new(bytes, std::align_val_t(alignment));
  Create();
  bytesInUse_ += bytes;
  const int list = SmallBlockList(bytes, alignment, smallBlockStep, smallBlockSizes);
  if (list < 0) return pool_->allocate(bytes, alignment);
  if (void* block = freeSmallBlocks_[list]) {
    freeSmallBlocks_[list] = *static_cast<void**>(block);
    return block;
  }
  return pool_->allocate((static_cast<std::size_t>(list) + 1) * smallBlockStep, smallBlockStep);
}

void ProgramHeap::do_deallocate(void* block, std::size_t bytes, std::size_t alignment) {
  if (destroyed_ || pool_ == nullptr) return;
  bytesInUse_ -= bytes;
  const int list = SmallBlockList(bytes, alignment, smallBlockStep, smallBlockSizes);
  if (list < 0) {
    pool_->deallocate(block, bytes, alignment);
    return;
  }
  // A small block stays the program's: it goes on the list of its size.
  *static_cast<void**>(block) = freeSmallBlocks_[list];
  freeSmallBlocks_[list] = block;
}

bool ProgramHeap::do_is_equal(const std::pmr::memory_resource& other) const noexcept {
  return this == &other;
}

}  // namespace quentara
