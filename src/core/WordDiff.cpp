#include "WordDiff.h"

#include <string_view>
#include <unordered_map>

namespace zelmox {

namespace {

// What stands between two lines in the word sequence of a stretch.
constexpr std::string_view LineBreak = "\n";

// Builds the shown lines: words joined by single unmarked spaces, runs of one kind merged, and
// every unbroken run of deleted and inserted words numbered as one change.
class DifferenceBuilder {
public:
    void Word(Edit kind, std::string_view word) {
        if (kind == Edit::Same) {
            inChange_ = false;
        } else if (!inChange_) {
            inChange_ = true;
            ++result_.Changes;
        }
        const int change = kind == Edit::Same ? -1 : result_.Changes - 1;
        if (!line_.Segments.empty()) {
            // The space between two words of one kind belongs to them; any other is unmarked.
            const Segment& last = line_.Segments.back();
            const bool joins = last.Kind == kind && last.Change == change;
            Append(joins ? kind : Edit::Same, " ", joins ? change : -1);
        }
        Append(kind, word, change);
    }

    void Line(Edit kind, const std::string& text) {
        Word(kind, text);
        EndLine();
    }

    void EndLine() {
        if (!line_.Segments.empty()) {
            result_.Lines.push_back(std::move(line_));
            line_ = {};
        }
    }

    TextDifference Take(int wholeStretches) {
        EndLine();
        result_.WholeStretches = wholeStretches;
        return std::move(result_);
    }

private:
    void Append(Edit kind, std::string_view text, int change) {
        if (!line_.Segments.empty() && line_.Segments.back().Kind == kind &&
            line_.Segments.back().Change == change) {
            line_.Segments.back().Text += text;
        } else {
            line_.Segments.push_back({kind, std::string(text), change});
        }
    }

    TextDifference result_;
    DiffLine line_;
    bool inChange_ = false;
};

// The words of some lines, a line break between lines.
std::vector<std::string_view> Words(const std::vector<std::string>& lines, std::size_t from,
                                    std::size_t to) {
    std::vector<std::string_view> words;
    for (std::size_t i = from; i < to; ++i) {
        if (i > from) {
            words.push_back(LineBreak);
        }
        const std::string_view line = lines[i];
        std::size_t start = 0;
        while (start <= line.size()) {
            const std::size_t space = std::min(line.find(' ', start), line.size());
            if (space > start) {
                words.push_back(line.substr(start, space - start));
            }
            start = space + 1;
        }
    }
    return words;
}

class TextComparer {
public:
    TextComparer(const std::vector<std::string>& before, const std::vector<std::string>& after,
                 WorkBudget& budget)
        : before_(before), after_(after), budget_(budget) {}

    TextDifference Run() {
        const std::vector<LineEdit> edits = CompareLines(before_, after_, budget_, wholeStretches_);
        std::size_t i = 0;
        while (i < edits.size()) {
            if (edits[i].Kind == Edit::Same) {
                builder_.Line(Edit::Same, before_[edits[i++].Before]);
                continue;
            }
            // A changed stretch: its deleted lines are consecutive in the earlier text, its
            // inserted ones in the later.
            std::size_t b0 = before_.size(), b1 = 0, a0 = after_.size(), a1 = 0;
            for (; i < edits.size() && edits[i].Kind != Edit::Same; ++i) {
                if (edits[i].Kind == Edit::Deleted) {
                    b0 = std::min(b0, edits[i].Before);
                    b1 = std::max(b1, edits[i].Before + 1);
                } else {
                    a0 = std::min(a0, edits[i].After);
                    a1 = std::max(a1, edits[i].After + 1);
                }
            }
            Stretch(b0, std::max(b0, b1), a0, std::max(a0, a1));
        }
        return builder_.Take(wholeStretches_);
    }

private:
    void Stretch(std::size_t b0, std::size_t b1, std::size_t a0, std::size_t a1) {
        const std::vector<std::string_view> beforeWords = Words(before_, b0, b1);
        const std::vector<std::string_view> afterWords = Words(after_, a0, a1);
        std::unordered_map<std::string_view, int> numbers;
        const auto number = [&numbers](const std::vector<std::string_view>& words) {
            std::vector<int> result;
            result.reserve(words.size());
            for (const std::string_view word : words) {
                result.push_back(
                    numbers.emplace(word, static_cast<int>(numbers.size())).first->second);
            }
            return result;
        };
        const std::vector<int> beforeNumbers = number(beforeWords);
        const std::vector<int> afterNumbers = number(afterWords);
        int whole = 0;
        const std::vector<LineEdit> edits =
            b0 < b1 && a0 < a1 ? AlignItems(beforeNumbers, afterNumbers, budget_, whole)
                               : std::vector<LineEdit>{};
        if (edits.empty() || whole > 0) {
            // Pure insertions and deletions, and stretches too different for words: whole lines.
            wholeStretches_ += whole;
            for (std::size_t k = b0; k < b1; ++k) {
                builder_.Line(Edit::Deleted, before_[k]);
            }
            for (std::size_t k = a0; k < a1; ++k) {
                builder_.Line(Edit::Inserted, after_[k]);
            }
            return;
        }
        for (const LineEdit& edit : edits) {
            const bool fromBefore = edit.Kind == Edit::Deleted;
            const std::string_view word = fromBefore || edit.Kind == Edit::Same
                                              ? beforeWords[edit.Before]
                                              : afterWords[edit.After];
            if (word != LineBreak) {
                builder_.Word(edit.Kind, word);
            } else if (edit.Kind != Edit::Deleted) {
                // The later text's line breaks shape the lines; a deleted one joins two lines.
                builder_.EndLine();
            }
        }
        builder_.EndLine();
    }

    const std::vector<std::string>& before_;
    const std::vector<std::string>& after_;
    WorkBudget& budget_;
    DifferenceBuilder builder_;
    int wholeStretches_ = 0;
};

} // namespace

bool DiffLine::HasChange() const {
    for (const Segment& segment : Segments) {
        if (segment.Kind != Edit::Same) {
            return true;
        }
    }
    return false;
}

TextDifference CompareTexts(const std::vector<std::string>& before,
                            const std::vector<std::string>& after, WorkBudget budget) {
    return TextComparer(before, after, budget).Run();
}

} // namespace zelmox
