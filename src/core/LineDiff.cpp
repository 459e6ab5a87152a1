#include "LineDiff.h"

#include <algorithm>
#include <dtl/dtl.hpp>
#include <string_view>
#include <unordered_map>

namespace zelmox {

namespace {

struct Anchor {
    std::size_t Before;
    std::size_t After;
};

// The longest chain of items that occur once in each list and keep their order in both
// (patience sorting, n log n).
std::vector<Anchor> UniqueCommonChain(const std::vector<int>& before,
                                      const std::vector<int>& after) {
    std::unordered_map<int, std::pair<int, std::size_t>> beforeCount;
    std::unordered_map<int, std::pair<int, std::size_t>> afterCount;
    for (std::size_t i = 0; i < before.size(); ++i) {
        auto& [count, at] = beforeCount[before[i]];
        ++count;
        at = i;
    }
    for (std::size_t i = 0; i < after.size(); ++i) {
        auto& [count, at] = afterCount[after[i]];
        ++count;
        at = i;
    }
    std::vector<Anchor> candidates;
    for (std::size_t i = 0; i < before.size(); ++i) {
        const auto& [count, at] = beforeCount[before[i]];
        const auto found = afterCount.find(before[i]);
        if (count == 1 && found != afterCount.end() && found->second.first == 1) {
            candidates.push_back({at, found->second.second});
        }
    }
    // tails[k]: index in candidates of the smallest end of a chain of length k + 1.
    std::vector<std::size_t> tails;
    std::vector<std::ptrdiff_t> previous(candidates.size(), -1);
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const auto place = std::lower_bound(tails.begin(), tails.end(), candidates[i].After,
                                            [&candidates](std::size_t tail, std::size_t value) {
                                                return candidates[tail].After < value;
                                            });
        if (place != tails.begin()) {
            previous[i] = static_cast<std::ptrdiff_t>(*(place - 1));
        }
        if (place == tails.end()) {
            tails.push_back(i);
        } else {
            *place = i;
        }
    }
    std::vector<Anchor> chain;
    for (auto i = tails.empty() ? -1 : static_cast<std::ptrdiff_t>(tails.back()); i >= 0;
         i = previous[static_cast<std::size_t>(i)]) {
        chain.push_back(candidates[static_cast<std::size_t>(i)]);
    }
    std::reverse(chain.begin(), chain.end());
    return chain;
}

class Aligner {
public:
    Aligner(const std::vector<int>& before, const std::vector<int>& after, WorkBudget& budget)
        : before_(before), after_(after), budget_(budget) {}

    // Aligns before[b0, b1) with after[a0, a1).
    void Stretch(std::size_t b0, std::size_t b1, std::size_t a0, std::size_t a1) {
        while (b0 < b1 && a0 < a1 && before_[b0] == after_[a0]) {
            Edits.push_back({Edit::Same, b0++, a0++});
        }
        std::size_t commonEnd = 0;
        while (b1 - commonEnd > b0 && a1 - commonEnd > a0 &&
               before_[b1 - commonEnd - 1] == after_[a1 - commonEnd - 1]) {
            ++commonEnd;
        }
        b1 -= commonEnd;
        a1 -= commonEnd;
        if (b0 < b1 && a0 < a1 && budget_.Take(b1 - b0, a1 - a0)) {
            Exact(b0, b1, a0, a1);
        } else {
            if (b0 < b1 && a0 < a1) {
                ++WholeStretches;
            }
            for (std::size_t i = b0; i < b1; ++i) {
                Edits.push_back({Edit::Deleted, i, 0});
            }
            for (std::size_t i = a0; i < a1; ++i) {
                Edits.push_back({Edit::Inserted, 0, i});
            }
        }
        for (std::size_t k = 0; k < commonEnd; ++k) {
            Edits.push_back({Edit::Same, b1 + k, a1 + k});
        }
    }

    std::vector<LineEdit> Edits;
    int WholeStretches = 0;

private:
    void Exact(std::size_t b0, std::size_t b1, std::size_t a0, std::size_t a1) {
        const std::vector<int> left(before_.begin() + static_cast<std::ptrdiff_t>(b0),
                                    before_.begin() + static_cast<std::ptrdiff_t>(b1));
        const std::vector<int> right(after_.begin() + static_cast<std::ptrdiff_t>(a0),
                                     after_.begin() + static_cast<std::ptrdiff_t>(a1));
        dtl::Diff<int, std::vector<int>> diff(left, right);
        diff.compose();
        for (const auto& [item, info] : diff.getSes().getSequence()) {
            const auto b = static_cast<std::size_t>(info.beforeIdx - 1) + b0;
            const auto a = static_cast<std::size_t>(info.afterIdx - 1) + a0;
            if (info.type == dtl::SES_COMMON) {
                Edits.push_back({Edit::Same, b, a});
            } else if (info.type == dtl::SES_DELETE) {
                Edits.push_back({Edit::Deleted, b, 0});
            } else {
                Edits.push_back({Edit::Inserted, 0, a});
            }
        }
    }

    const std::vector<int>& before_;
    const std::vector<int>& after_;
    WorkBudget& budget_;
};

} // namespace

bool WorkBudget::Take(std::size_t n, std::size_t m) {
    const auto work = static_cast<std::int64_t>(n + m) * static_cast<std::int64_t>(std::min(n, m));
    if (work > stretchWork_ || work > remaining_) {
        return false;
    }
    remaining_ -= work;
    return true;
}

std::vector<LineEdit> AlignItems(const std::vector<int>& before, const std::vector<int>& after,
                                 WorkBudget& budget, int& wholeStretches) {
    Aligner aligner(before, after, budget);
    std::size_t b = 0;
    std::size_t a = 0;
    for (const Anchor& anchor : UniqueCommonChain(before, after)) {
        aligner.Stretch(b, anchor.Before, a, anchor.After);
        aligner.Edits.push_back({Edit::Same, anchor.Before, anchor.After});
        b = anchor.Before + 1;
        a = anchor.After + 1;
    }
    aligner.Stretch(b, before.size(), a, after.size());
    wholeStretches += aligner.WholeStretches;
    // Within each run of changes the deletions come first, as a reader expects them.
    std::vector<LineEdit>& edits = aligner.Edits;
    for (auto run = edits.begin(); run != edits.end();) {
        const auto end = std::find_if(run, edits.end(),
                                      [](const LineEdit& edit) { return edit.Kind == Edit::Same; });
        std::stable_partition(run, end,
                              [](const LineEdit& edit) { return edit.Kind == Edit::Deleted; });
        run = end == edits.end() ? end : end + 1;
    }
    return std::move(edits);
}

std::vector<LineEdit> CompareLines(const std::vector<std::string>& before,
                                   const std::vector<std::string>& after, WorkBudget& budget,
                                   int& wholeStretches) {
    std::unordered_map<std::string_view, int> numbers;
    const auto number = [&numbers](const std::vector<std::string>& lines) {
        std::vector<int> result;
        result.reserve(lines.size());
        for (const std::string& line : lines) {
            result.push_back(numbers.emplace(line, static_cast<int>(numbers.size())).first->second);
        }
        return result;
    };
    const std::vector<int> beforeNumbers = number(before);
    const std::vector<int> afterNumbers = number(after);
    return AlignItems(beforeNumbers, afterNumbers, budget, wholeStretches);
}

std::string UnifiedDifference(const std::vector<std::string>& before,
                              const std::vector<std::string>& after,
                              const std::vector<LineEdit>& edits, std::size_t context) {
    std::string out;
    std::size_t i = 0;
    // Line numbers reached before edit i, in each text.
    std::vector<std::size_t> beforeLine(edits.size() + 1, 0);
    std::vector<std::size_t> afterLine(edits.size() + 1, 0);
    for (std::size_t k = 0; k < edits.size(); ++k) {
        beforeLine[k + 1] = beforeLine[k] + (edits[k].Kind != Edit::Inserted ? 1 : 0);
        afterLine[k + 1] = afterLine[k] + (edits[k].Kind != Edit::Deleted ? 1 : 0);
    }
    while (i < edits.size()) {
        if (edits[i].Kind == Edit::Same) {
            ++i;
            continue;
        }
        // A hunk runs from `context` lines before this change to `context` lines after the last
        // change that follows within 2 * context unchanged lines.
        const std::size_t start = i > context ? i - context : 0;
        std::size_t end = i;
        std::size_t same = 0;
        for (std::size_t k = i; k < edits.size() && same <= 2 * context; ++k) {
            if (edits[k].Kind == Edit::Same) {
                ++same;
            } else {
                same = 0;
                end = k + 1;
            }
        }
        end = std::min(edits.size(), end + context);
        const std::size_t beforeCount = beforeLine[end] - beforeLine[start];
        const std::size_t afterCount = afterLine[end] - afterLine[start];
        out += "@@ -" + std::to_string(beforeLine[start] + (beforeCount > 0 ? 1 : 0)) + "," +
               std::to_string(beforeCount) + " +" +
               std::to_string(afterLine[start] + (afterCount > 0 ? 1 : 0)) + "," +
               std::to_string(afterCount) + " @@\n";
        for (std::size_t k = start; k < end; ++k) {
            const LineEdit& edit = edits[k];
            if (edit.Kind == Edit::Inserted) {
                out += "+" + after[edit.After] + "\n";
            } else {
                out += (edit.Kind == Edit::Same ? " " : "-") + before[edit.Before] + "\n";
            }
        }
        i = end;
    }
    return out;
}

} // namespace zelmox
