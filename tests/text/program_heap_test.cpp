// The program heap hands out blocks that hold what they were asked for, and gives small
// blocks back out again once they are returned.

#include "text/program_heap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace quentara {
namespace {

struct Block {
  unsigned char* at;
  std::size_t size;
  unsigned char fill;
};

TEST(ProgramHeap, BlocksHoldTheirBytesAndSmallOnesAreHandedOutAgain) {
  const struct {
    std::size_t size;
    bool reused;  // the block given back is the next one of its size
  } rows[] = {{1, true},   {15, true},  {16, true},   {17, true},    {100, true},
              {255, true}, {256, true}, {257, false}, {4000, false}, {5000, false}};
  std::vector<Block> blocks;
  unsigned char fill = 0;
  for (const auto& row : rows) {
    for (int i = 0; i < 3; ++i) {
      auto* at = static_cast<unsigned char*>(programHeap.allocate(row.size, 1));
      std::memset(at, ++fill, row.size);
      blocks.push_back({at, row.size, fill});
    }
    // Give the middle one back and ask for the same size again.
    Block& middle = blocks[blocks.size() - 2];
    programHeap.deallocate(middle.at, middle.size, 1);
    auto* again = static_cast<unsigned char*>(programHeap.allocate(row.size, 1));
    if (row.reused) {
      EXPECT_EQ(again, middle.at) << row.size;
    }
    std::memset(again, ++fill, row.size);
    middle = {again, row.size, fill};
  }
  for (const Block& block : blocks) {
    for (std::size_t i = 0; i < block.size; ++i) {
      ASSERT_EQ(block.at[i], block.fill) << block.size << " at " << i;
    }
  }
  for (const Block& block : blocks) programHeap.deallocate(block.at, block.size, 1);
}

}  // namespace
}  // namespace quentara
