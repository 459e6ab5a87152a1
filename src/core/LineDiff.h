#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zelmox {

enum class Edit { Same, Deleted, Inserted };

// One step of an edit script: a line (or word) of the first text kept or deleted, or one of the
// second text inserted. Before and After are positions in the two texts; the one a step does not
// use is left at 0.
struct LineEdit {
    Edit Kind = Edit::Same;
    std::size_t Before = 0;
    std::size_t After = 0;

    bool operator==(const LineEdit&) const = default;
};

// How much exact alignment one comparison may do. Aligning a stretch of n against m items costs up
// to (n + m) * min(n, m) steps; a stretch over either bound is shown as deleted and inserted whole,
// so that two versions with little in common never take long.
class WorkBudget {
public:
    static constexpr std::int64_t DefaultStretchWork = 8'000'000;
    static constexpr std::int64_t DefaultTotalWork = 60'000'000;

    explicit WorkBudget(std::int64_t stretchWork = DefaultStretchWork,
                        std::int64_t totalWork = DefaultTotalWork)
        : stretchWork_(stretchWork), remaining_(totalWork) {}

    // Takes the work of aligning n against m items; false, taking nothing, when it is too much.
    bool Take(std::size_t n, std::size_t m);

private:
    std::int64_t stretchWork_;
    std::int64_t remaining_;
};

// The edit script between two lists of items (lines or words given as numbers, equal numbers for
// equal items). Items found exactly once in each list anchor the alignment; the stretches between
// anchors are aligned exactly within the budget, or shown whole (wholeStretches counts those).
std::vector<LineEdit> AlignItems(const std::vector<int>& before, const std::vector<int>& after,
                                 WorkBudget& budget, int& wholeStretches);

// The same for lines of text.
std::vector<LineEdit> CompareLines(const std::vector<std::string>& before,
                                   const std::vector<std::string>& after, WorkBudget& budget,
                                   int& wholeStretches);

// The edit script as a unified difference: hunks headed "@@ -a,b +c,d @@" with `context` lines
// of context, lines marked " ", "-" or "+". Empty when nothing changed.
std::string UnifiedDifference(const std::vector<std::string>& before,
                              const std::vector<std::string>& after,
                              const std::vector<LineEdit>& edits, std::size_t context = 3);

} // namespace zelmox
