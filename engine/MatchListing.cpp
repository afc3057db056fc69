#include "MatchListing.h"
#include "ListingSearch.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/mman.h>
#define TAMARIN_LIST_MAPPED 1
#endif

namespace tamarin {

namespace {

// Rows per chunk: a chunk is allocated whole when its first row comes, and
// never moves, so a reader on another thread may read any published row.
// A chunk of one slot per row is 2 MiB of 32-bit pairs: one large page.
constexpr std::int64_t ChunkRows = 1 << 18;
// A place in the input as kept in the narrow list; also "did not take part".
constexpr std::uint32_t NotTaken = 0xFFFFFFFFu;

// Memory for one chunk. Where the system has them it is large pages: ten
// million rows then take a page fault per 2 MiB instead of one per 4 KiB,
// which on a virtual machine was most of the cost of listing a match.
class ChunkMemory {
public:
    ChunkMemory() = default;
    explicit ChunkMemory(std::size_t bytes)
    {
#ifdef TAMARIN_LIST_MAPPED
        constexpr std::size_t largePage = std::size_t{2} << 20;
        mappedBytes_ = bytes + largePage;
        void* mapped = mmap(nullptr, mappedBytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped != MAP_FAILED) {
            mapped_ = mapped;
            const auto address = reinterpret_cast<std::uintptr_t>(mapped);
            data_ = reinterpret_cast<void*>((address + largePage - 1) & ~(largePage - 1));
#ifdef MADV_HUGEPAGE
            madvise(data_, bytes, MADV_HUGEPAGE);
#endif
            return;
        }
#endif
        heap_ = std::make_unique_for_overwrite<std::byte[]>(bytes);
        data_ = heap_.get();
    }
    ChunkMemory(ChunkMemory&& other) noexcept { *this = std::move(other); }
    ChunkMemory& operator=(ChunkMemory&& other) noexcept
    {
        std::swap(mapped_, other.mapped_);
        std::swap(mappedBytes_, other.mappedBytes_);
        std::swap(heap_, other.heap_);
        std::swap(data_, other.data_);
        return *this;
    }
    ~ChunkMemory()
    {
#ifdef TAMARIN_LIST_MAPPED
        if (mapped_)
            munmap(mapped_, mappedBytes_);
#endif
    }
    void* Data() const { return data_; }

private:
    void* mapped_ = nullptr;
    std::size_t mappedBytes_ = 0;
    std::unique_ptr<std::byte[]> heap_;
    void* data_ = nullptr;
};

} // namespace

// Every slot (a group of a row, group 0 the whole match) is a position and a
// length: two 32-bit numbers while the input is shorter than 4 GiB, which it
// is for any input an editor holds, else two 64-bit ones.
struct MatchList::Storage {
    PatternFacts facts;
    std::int32_t groups = 0;
    std::int64_t slots = 1;
    std::int64_t capacity = 0;
    bool wide = false;
    std::vector<ChunkMemory> chunks;  // pairs of uint32_t, or of int64_t when wide
    ListingOutcome outcome;
    std::atomic<std::int64_t> listed{0};
    std::atomic<std::int64_t> counted{0};
    std::atomic<bool> factsReady{false};
    std::atomic<bool> ended{false};
};

MatchList::MatchList() : storage_(std::make_unique<Storage>()) {}
MatchList::~MatchList() = default;

const PatternFacts& MatchList::Facts() const { return storage_->facts; }
std::int32_t MatchList::GroupCount() const
{
    return storage_->factsReady.load(std::memory_order_acquire) ? storage_->groups : 0;
}
std::int64_t MatchList::Listed() const { return storage_->listed.load(std::memory_order_acquire); }
std::int64_t MatchList::Counted() const { return storage_->counted.load(std::memory_order_relaxed); }
std::int64_t MatchList::Capacity() const
{
    return storage_->factsReady.load(std::memory_order_acquire) ? storage_->capacity : 0;
}
bool MatchList::Ended() const { return storage_->ended.load(std::memory_order_acquire); }
const ListingOutcome& MatchList::Outcome() const { return storage_->outcome; }

MatchSpan MatchList::Span(std::int64_t row, std::int32_t group) const
{
    const Storage& s = *storage_;
    if (row < 0 || row >= Listed() || group < 0 || group > s.groups)
        return {};
    const std::int64_t slot = (row % ChunkRows) * s.slots + group;
    const auto chunk = static_cast<std::size_t>(row / ChunkRows);
    if (s.wide) {
        const std::int64_t* at = static_cast<const std::int64_t*>(s.chunks[chunk].Data()) + 2 * slot;
        return {at[0], at[1]};
    }
    const std::uint32_t* at = static_cast<const std::uint32_t*>(s.chunks[chunk].Data()) + 2 * slot;
    if (at[0] == NotTaken)
        return {};
    return {at[0], at[1]};
}

// Adds the matches of one listing to its list; the one writer of it.
class ListingRun {
public:
    ListingRun(MatchList& list, const std::function<void()>& progress)
        : s_(*list.storage_), progress_(progress), started_(Clock::now()), lastTold_(started_)
    {
    }

    void SetFacts(PatternFacts facts, const ListingLimits& limits)
    {
        s_.groups = static_cast<std::int32_t>(facts.groups.size());
        s_.facts = std::move(facts);
        s_.slots = s_.groups + 1;
        s_.capacity = std::max<std::int64_t>(0, std::min(limits.maxListed, limits.maxListBytes / (s_.slots * 8)));
        const auto chunks = static_cast<std::size_t>((s_.capacity + ChunkRows - 1) / ChunkRows);
        s_.chunks.resize(chunks);
        s_.factsReady.store(true, std::memory_order_release);
    }

    void SetWide(bool wide) { s_.wide = wide; }

    // One match: listed while there is room, counted always.
    void Add(const char* first, const SearchMatch& match)
    {
        const std::int64_t row = counted_++;
        s_.counted.store(counted_, std::memory_order_relaxed);
        if (row < s_.capacity) {
            const auto chunk = static_cast<std::size_t>(row / ChunkRows);
            const std::int64_t slot = (row % ChunkRows) * s_.slots;
            if (s_.wide)
                WriteWide(chunk, slot, first, match);
            else
                WriteNarrow(chunk, slot, first, match);
            s_.listed.store(row + 1, std::memory_order_release);
        }
        if ((row & 63) == 0)
            MaybeTell();
    }

    void End(ListingOutcome outcome)
    {
        outcome.seconds = std::chrono::duration<double>(Clock::now() - started_).count();
        outcome.listFull = counted_ > s_.capacity;
        s_.outcome = std::move(outcome);
        s_.ended.store(true, std::memory_order_release);
        if (progress_)
            progress_();
    }

private:
    using Clock = std::chrono::steady_clock;

    void WriteNarrow(std::size_t chunk, std::int64_t slot, const char* first, const SearchMatch& match)
    {
        std::uint32_t* at = static_cast<std::uint32_t*>(Chunk(chunk, sizeof(std::uint32_t))) + 2 * slot;
        for (std::int32_t g = 0; g <= s_.groups; ++g, at += 2) {
            const auto& sub = match[g];
            if (sub.matched) {
                at[0] = static_cast<std::uint32_t>(sub.first - first);
                at[1] = static_cast<std::uint32_t>(sub.second - sub.first);
            } else {
                at[0] = NotTaken;
                at[1] = 0;
            }
        }
    }

    void WriteWide(std::size_t chunk, std::int64_t slot, const char* first, const SearchMatch& match)
    {
        std::int64_t* at = static_cast<std::int64_t*>(Chunk(chunk, sizeof(std::int64_t))) + 2 * slot;
        for (std::int32_t g = 0; g <= s_.groups; ++g, at += 2) {
            const auto& sub = match[g];
            at[0] = sub.matched ? sub.first - first : -1;
            at[1] = sub.matched ? sub.second - sub.first : 0;
        }
    }

    // Chunk `chunk`, made when its first row comes.
    void* Chunk(std::size_t chunk, std::size_t numberBytes)
    {
        ChunkMemory& memory = s_.chunks[chunk];
        if (!memory.Data())
            memory = ChunkMemory(static_cast<std::size_t>(2 * ChunkRows * s_.slots) * numberBytes);
        return memory.Data();
    }

    void MaybeTell()
    {
        if (!progress_)
            return;
        const auto now = Clock::now();
        if (counted_ == 1 || now - lastTold_ >= std::chrono::milliseconds(20)) {
            lastTold_ = now;
            progress_();
        }
    }

    MatchList::Storage& s_;
    const std::function<void()>& progress_;
    std::int64_t counted_ = 0;
    Clock::time_point started_;
    Clock::time_point lastTold_;
};

void RunListing(const ListingQuery& query, MatchList& list, const std::atomic<bool>& cancel,
                const std::function<void()>& progress, const ListingLimits& limits)
{
    ListingRun run(list, progress);
    const std::string_view input = query.input;
    run.SetWide(input.size() >= NotTaken);
    CompiledQuery compiled = CompileQuery(query);
    run.SetFacts(compiled.facts, limits);
    ListingOutcome outcome;
    if (!compiled.facts.compiles) {
        outcome.end = ListingEnd::PatternError;
        run.End(std::move(outcome));
        return;
    }
    const char* first = input.empty() ? "" : input.data();
    const SearchEnd end = ForEachMatch(compiled, query.algorithmIndex == 0, {first, input.size()},
                                       boost::match_default, cancel,
                                       [&](const SearchMatch& match) {
                                           run.Add(first, match);
                                           return true;
                                       });
    outcome.end = end.end;
    outcome.gaveUpAt = end.gaveUpAt;
    outcome.reason = end.reason;
    run.End(std::move(outcome));
}

LinePlaces::LinePlaces(SharedText input) : input_(std::move(input))
{
    const std::string_view text = input_;
    constexpr std::size_t block = std::size_t{1} << 16;
    const std::size_t blocks = text.size() / block + 1;
    linesBefore_.reserve(blocks);
    lastBreakBefore_.reserve(blocks);
    std::int64_t lines = 0;
    std::int64_t lastBreak = -1;
    for (std::size_t b = 0; b < blocks; ++b) {
        linesBefore_.push_back(lines);
        lastBreakBefore_.push_back(lastBreak);
        const std::size_t from = b * block;
        const char* const end = text.data() + std::min(text.size(), from + block);
        for (const char* c = text.data() + from; c < end;) {
            const void* found = std::memchr(c, '\n', static_cast<std::size_t>(end - c));
            if (!found)
                break;
            c = static_cast<const char*>(found);
            ++lines;
            lastBreak = c - text.data();
            ++c;
        }
    }
}

LinePlaces::Place LinePlaces::At(std::int64_t position) const
{
    const std::string_view text = input_;
    position = std::clamp<std::int64_t>(position, 0, static_cast<std::int64_t>(text.size()));
    const auto b = static_cast<std::size_t>(position >> 16);
    const std::int64_t from = static_cast<std::int64_t>(b) << 16;
    const char* begin = text.data() + from;
    const char* end = text.data() + position;
    const std::int64_t breaks = std::count(begin, end, '\n');
    std::int64_t lastBreak = lastBreakBefore_[b];
    if (breaks > 0)
        lastBreak = (std::find(std::make_reverse_iterator(end), std::make_reverse_iterator(begin), '\n').base() - 1) -
                    text.data();
    return {linesBefore_[b] + breaks + 1, position - lastBreak};
}

} // namespace tamarin
