#include "text/program_heap.h"

#include <new>

namespace quentara {

namespace {
// Constant-initialised, so it exists before any other global is built and is destroyed
// after all of them: objects with static storage may give blocks back while the process
// exits.
constinit ProgramHeap theHeap;
}  // namespace

ProgramHeap& programHeap = theHeap;

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
  destroyed_ = true;
  bytesInUse_ = 0;
}

void* ProgramHeap::do_allocate(std::size_t bytes, std::size_t alignment) {
  if (destroyed_) return ::operator new(bytes, std::align_val_t(alignment));
  Create();
  void* block = pool_->allocate(bytes, alignment);
  bytesInUse_ += bytes;
  return block;
}

void ProgramHeap::do_deallocate(void* block, std::size_t bytes, std::size_t alignment) {
  if (destroyed_ || pool_ == nullptr) return;
  pool_->deallocate(block, bytes, alignment);
  bytesInUse_ -= bytes;
}

bool ProgramHeap::do_is_equal(const std::pmr::memory_resource& other) const noexcept {
  return this == &other;
}

}  // namespace quentara
