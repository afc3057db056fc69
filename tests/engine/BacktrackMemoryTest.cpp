// The matcher's backtracking memory is kept from one match to the next, as
// far as the next one's budget reaches, and handed out last in, first out,
// to one match at a time.

#include "BacktrackMemory.h"
#include "EngineTestSupport.h"
#include "WorkBudget.h"

#include <thread>

using namespace tamarin;
using namespace tamarin::test;

namespace {

constexpr std::size_t MiB = std::size_t{1} << 20;

RunnerResult Search(const std::string& pattern, const std::string& input)
{
    Window<> w;
    w.state.AlgorithmIndex = AlgorithmSearch;
    w.Enter(pattern, input);
    return DispatchRunner(w.ctx, input, 0);
}

TEST(BacktrackMemory, StaysForTheNextMatchAsFarAsItsBudgetReaches)
{
    if (!backtrack_memory::HasRegion)
        GTEST_SKIP() << "no kept region on this system";
    // About 70 bytes per character: some 20 MiB of blocks.
    const std::string large(300'000, 'a');
    ASSERT_EQ(Search("(a|b)*", large), ResultMatched);
    const std::size_t kept = backtrack_memory::KeptBytes();
    EXPECT_GE(kept, 16 * MiB);
    EXPECT_LE(kept, BacktrackMemoryBudget(static_cast<std::ptrdiff_t>(large.size())));

    // The same again reuses it: the same answer, nothing more kept.
    ASSERT_EQ(Search("(a|b)*", large), ResultMatched);
    EXPECT_EQ(backtrack_memory::KeptBytes(), kept);

    // A match over a short input may use its 8 MiB and no more: the rest
    // goes back to the system when it starts.
    ASSERT_EQ(Search("(a|b)*", "abba"), ResultMatched);
    EXPECT_LE(backtrack_memory::KeptBytes(), BacktrackMemoryBudget(4) + 2 * MiB);
    EXPECT_LT(backtrack_memory::KeptBytes(), kept);
}

TEST(BacktrackMemory, HandsOutBlocksLastInFirstOutToOneThreadAtATime)
{
    if (!backtrack_memory::HasRegion)
        GTEST_SKIP() << "no kept region on this system";
    backtrack_memory::KeepAtMost(0);
    std::vector<void*> blocks;
    while (void* block = backtrack_memory::TakeBlock()) {
        if (!blocks.empty()) {
            ASSERT_EQ(static_cast<char*>(block), static_cast<char*>(blocks.back()) + backtrack_memory::BlockBytes);
        }
        blocks.push_back(block);
    }
    // No more than a match may use, so a runaway match cannot pass its ceiling.
    ASSERT_EQ(blocks.size(), MaxBacktrackMemory / backtrack_memory::BlockBytes);

    // While this thread holds blocks, another is given none and must use its own.
    void* other = &other;
    std::thread([&] { other = backtrack_memory::TakeBlock(); }).join();
    EXPECT_EQ(other, nullptr);
    // Nor is memory given back under a match that uses it.
    backtrack_memory::KeepAtMost(0);
    EXPECT_EQ(backtrack_memory::KeptBytes(), MaxBacktrackMemory);

    int foreign = 0;
    EXPECT_FALSE(backtrack_memory::GiveBack(&foreign));
    for (auto block = blocks.rbegin(); block != blocks.rend(); ++block)
        ASSERT_TRUE(backtrack_memory::GiveBack(*block));
    std::thread([&] {
        other = backtrack_memory::TakeBlock();
        backtrack_memory::GiveBack(other);
    }).join();
    EXPECT_EQ(other, blocks.front());
    backtrack_memory::KeepAtMost(0);
    EXPECT_EQ(backtrack_memory::KeptBytes(), 0u);
}

} // namespace
