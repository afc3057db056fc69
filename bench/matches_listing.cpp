// What the matches window's engine costs: listing every match with its groups,
// and replacing every match, beside the library alone (built with the
// engine's own limits) doing the same work in the same run.
//
// Listing: `\w+` and `(\w+)@(\w+)\.com` over text of words in lines with an
// address now and then, `a` over a run of `a` (one match per character) and
// `a*` over the same run (one more, empty, at the end). The bare loop is the
// library's regex_iterator that only counts the matches. The listing's time
// is RunListing from the first search to the end (the compile included, as
// the bare loop's is; not the freeing of its list); its memory is what it adds to the resident set at its
// peak (the kernel's high-water mark, reset before each listing).
//
// Replacing: `(\w+)@(\w+)` by `$2 at $1` over the same text, beside the
// library's regex_replace into a string.
//
// Each figure is the median of --runs runs (3 by default), the two sides
// taking turns. The goals: listing at most 1.25 times the bare loop,
// replacing at most 1.5 times regex_replace; the program exits 1 when one
// misses.
//
//   matches_listing [--runs N] [--megabytes M]
#include "MatchListing.h"
#include "Replacement.h"

#include "RegexConfig.h"

#include "ProcessMemory.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(const std::function<void()>& work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Lines of about 70 characters of words; every 40th word an address.
std::string WordText(std::size_t size)
{
    static const char* const words[] = {"alpha", "bravo", "charlie", "delta", "echo", "foxtrot", "golf",
                                        "hotel", "india", "juliet", "kilo", "lima", "mike", "november"};
    std::minstd_rand random(42);
    std::string text;
    text.reserve(size + 64);
    std::size_t lineLength = 0;
    while (text.size() < size) {
        const unsigned pick = random();
        if (pick % 40 == 0) {
            text += words[pick / 40 % std::size(words)];
            text += '@';
            text += words[pick / 7 % std::size(words)];
            text += ".com";
        } else {
            text += words[pick % std::size(words)];
        }
        lineLength += 8;
        if (lineLength > 70) {
            text += '\n';
            lineLength = 0;
        } else {
            text += ' ';
        }
    }
    text.resize(size);
    return text;
}

std::int64_t BareCount(const std::string& pattern, const std::string& text)
{
    const boost::regex expression = tamarin::CompilePattern(pattern, tamarin::Syntax::Perl, true);
    std::int64_t count = 0;
    const char* first = text.data();
    for (boost::cregex_iterator i(first, first + text.size(), expression), end; i != end; ++i)
        ++count;
    return count;
}

struct Listed {
    double seconds = 0;  // RunListing alone
    std::int64_t counted = 0;
    std::int64_t listed = 0;
    long long peakKiB = -1;
    tamarin::ListingEnd end = tamarin::ListingEnd::Running;
};

Listed ListAll(const std::string& pattern, const tamarin::SharedText& text)
{
    const long long before = process_memory::StatusKiB("VmRSS");
    const bool reset = process_memory::ResetPeakResident();
    Listed listed;
    {
        tamarin::MatchList list;
        const std::atomic<bool> cancel{false};
        listed.seconds = Seconds([&] { tamarin::RunListing({pattern, text, 0, true, 1}, list, cancel); });
        listed.counted = list.Counted();
        listed.listed = list.Listed();
        listed.end = list.Outcome().end;
        if (reset)
            listed.peakKiB = process_memory::StatusKiB("VmHWM") - before;
    }
    return listed;
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 3;
    std::size_t megabytes = 100;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--megabytes") == 0)
            megabytes = static_cast<std::size_t>(std::max(1, std::atoi(argv[i + 1])));
    }
    const std::size_t size = megabytes << 20;
    const tamarin::SharedText words(WordText(size));
    const tamarin::SharedText run(std::string(size, 'a'));
    bool allWithin = true;

    std::printf("Listing every match over %zu MB, medians of %d runs\n", megabytes, runs);
    std::printf("%-22s %-7s %12s %12s %9s %9s %7s %10s  %s\n", "pattern", "input", "matches", "listed",
                "bare s", "list s", "ratio", "peak +MiB", "goal 1.25");
    struct Row {
        const char* pattern;
        const char* input;
        const tamarin::SharedText& text;
    };
    const Row rows[] = {{"\\w+", "words", words},
                        {"(\\w+)@(\\w+)\\.com", "words", words},
                        {"a", "a run", run},
                        {"a*", "a run", run}};
    for (const Row& row : rows) {
        const std::string text(row.text.View());  // the bare loop's own copy, as the library takes it
        std::vector<double> bare, listing;
        std::int64_t bareCount = 0;
        Listed listed;
        long long peak = 0;
        for (int r = 0; r < runs; ++r) {
            bare.push_back(Seconds([&] { bareCount = BareCount(row.pattern, text); }));
            listed = ListAll(row.pattern, row.text);
            listing.push_back(listed.seconds);
            peak = std::max(peak, listed.peakKiB);
        }
        const double ratio = Median(listing) / Median(bare);
        const bool same = bareCount == listed.counted && listed.end == tamarin::ListingEnd::Finished;
        const bool within = ratio <= 1.25 && same;
        allWithin = allWithin && within;
        std::printf("%-22s %-7s %12lld %12lld %9.3f %9.3f %7.2f %10lld  %s%s\n", row.pattern, row.input,
                    static_cast<long long>(listed.counted), static_cast<long long>(listed.listed), Median(bare),
                    Median(listing), ratio, peak / 1024, within ? "within" : "MISSED",
                    same ? "" : " (counts DIFFER)");
    }

    // What the window waits for before its first rows: the first row of a
    // listing on a worker, and the line index of the input.
    {
        std::vector<double> firstRow, lineIndex;
        for (int r = 0; r < runs; ++r) {
            tamarin::MatchList list;
            std::atomic<bool> cancel{false};
            const auto start = Clock::now();
            std::thread worker([&] { tamarin::RunListing({"(\\w+)@(\\w+)\\.com", words, 0, true, 1}, list, cancel); });
            while (list.Listed() == 0 && !list.Ended())
                std::this_thread::yield();
            firstRow.push_back(std::chrono::duration<double>(Clock::now() - start).count());
            cancel = true;
            worker.join();
            lineIndex.push_back(Seconds([&] { const tamarin::LinePlaces places(words); }));
        }
        std::printf("\nfirst row of (\\w+)@(\\w+)\\.com on a worker: %.1f ms; line index of the words: %.1f ms\n",
                    1000 * Median(firstRow), 1000 * Median(lineIndex));
    }

    std::printf("\nReplacing over %zu MB, medians of %d runs\n", megabytes, runs);
    std::printf("%-22s %-10s %12s %12s %9s %9s %7s  %s\n", "pattern", "format", "replaced", "result MB",
                "library s", "ours s", "ratio", "goal 1.5");
    {
        const std::string pattern = "(\\w+)@(\\w+)";
        const std::string format = "$2 at $1";
        const std::string text(words.View());
        const boost::regex expression = tamarin::CompilePattern(pattern, tamarin::Syntax::Perl, true);
        std::vector<double> library, ours;
        std::string expected;
        tamarin::ReplaceResult result;
        for (int r = 0; r < runs; ++r) {
            library.push_back(Seconds([&] {
                const boost::regex compiled = tamarin::CompilePattern(pattern, tamarin::Syntax::Perl, true);
                expected = boost::regex_replace(text, compiled, format);
            }));
            ours.push_back(Seconds([&] {
                const std::atomic<bool> cancel{false};
                result = tamarin::Replace({pattern, words, 0, true, 1}, {format, tamarin::FormatKind::Perl}, cancel);
            }));
        }
        const double ratio = Median(ours) / Median(library);
        const bool same = result.text == expected && result.end == tamarin::ListingEnd::Finished;
        const bool within = ratio <= 1.5 && same;
        allWithin = allWithin && within;
        std::printf("%-22s %-10s %12lld %12.1f %9.3f %9.3f %7.2f  %s%s\n", pattern.c_str(), format.c_str(),
                    static_cast<long long>(result.replacements), static_cast<double>(result.text.size()) / (1 << 20),
                    Median(library), Median(ours), ratio, within ? "within" : "MISSED",
                    same ? "" : " (results DIFFER)");
    }
    return allWithin ? 0 : 1;
}
