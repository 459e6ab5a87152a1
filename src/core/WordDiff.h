#pragma once

#include "LineDiff.h"

#include <string>
#include <vector>

namespace zelmox {

// A run of text of one kind within a shown line. Change is the number (from 0) of the change the
// run belongs to; -1 for unchanged text.
struct Segment {
    Edit Kind = Edit::Same;
    std::string Text;
    int Change = -1;

    bool operator==(const Segment&) const = default;
};

struct DiffLine {
    std::vector<Segment> Segments;

    bool HasChange() const;
};

// Two texts merged in reading order, the later one's line breaks kept, with every deleted and
// inserted word marked. Neighbouring deleted and inserted words make one change.
struct TextDifference {
    std::vector<DiffLine> Lines;
    int Changes = 0;
    // Stretches that were too large or too different to compare word by word (or line by line),
    // shown as whole deleted and inserted lines instead.
    int WholeStretches = 0;
};

// The word difference of two texts given line by line. Lines are aligned first; the words of each
// changed stretch of lines are then aligned within the budget.
TextDifference CompareTexts(const std::vector<std::string>& before,
                            const std::vector<std::string>& after,
                            WorkBudget budget = WorkBudget());

} // namespace zelmox
