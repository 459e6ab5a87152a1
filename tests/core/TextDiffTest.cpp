#include "HtmlNesting.h"
#include "LineDiff.h"
#include "VisibleText.h"
#include "WordDiff.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zelmox {
namespace {

using Lines = std::vector<std::string>;

TEST(VisibleTextTest, ShowsWhatAReaderSeesLineByLine) {
    const struct {
        const char* page;
        Lines lines;
    } cases[] = {
        {"<html><head><title>T</title><style>p{}</style><script>var x=1;</script></head>"
         "<body><p>One <b>two</b></p><!-- hidden --><p>three</p></body></html>",
         {"One two", "three"}},
        {"<div>a<br>b</div><ul><li>c</li><li>d</li></ul><h1>e</h1>f",
         {"a", "b", "c", "d", "e", "f"}},
        {"<p>  spread \n\t over   lines </p><noscript>no</noscript><template>t</template>",
         {"spread over lines"}},
        {"<p>caf&eacute; &amp; &lt;tea&gt; &#8364;</p>", {"caf\xC3\xA9 & <tea> \xE2\x82\xAC"}},
        {"<table><tr><td>1</td><td>2</td></tr><tr><td>3</td></tr></table>", {"1 2", "3"}},
        {"<pre>x  y\nz</pre>", {"x y", "z"}},
        // Not valid UTF-8: read as Windows-1252.
        {"<p>caf\xE9 \x80 \x93</p>", {"caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9C"}},
        // Declared Latin-1 wins over bytes that happen to be valid UTF-8.
        {"<meta charset=\"iso-8859-1\"><p>\xC3\xA9</p>", {"\xC3\x83\xC2\xA9"}},
        {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"><p>\xC3\xA9</p>",
         {"\xC3\xA9"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VisibleLines(c.page), c.lines) << c.page;
    }
}

TEST(VisibleTextTest, NestingPastTheBoundIsLeftOutAndItsTextKept) {
    const struct {
        const char* page;
        int maxDepth;
        const char* bounded;
    } cases[] = {
        {"<div><DIV><div>x</div></DIV></div>", 2, "<div><DIV>x</DIV></div>"},
        {"<b><i>x</i></b> 1 < 2", 1, "<b>x</b> 1 < 2"},
        {"<div><br><p>a<img src=x/><li>b<span/></div>", 1,
         "<div><br><p>a<img src=x/><li>b<span/></div>"},
        {"<div><script>if (a<b) s='<div>';</script><!-- <div> --><style>a<b{}</style></div>", 1,
         "<div><script>if (a<b) s='<div>';</script><!-- <div> --><style>a<b{}</style></div>"},
        {"<div><div", 1, "<div>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithNestingBounded(c.page, c.maxDepth), c.bounded) << c.page;
    }
    std::string deep;
    for (int level = 0; level < 100000; ++level) {
        deep += "<div>";
    }
    EXPECT_EQ(VisibleLines(deep + "deep"), Lines{"deep"});
}

// The shown lines as text: deleted words in [-..-], inserted ones in {+..+}.
std::string Marked(const TextDifference& difference) {
    std::string out;
    for (const DiffLine& line : difference.Lines) {
        for (const Segment& segment : line.Segments) {
            const char* open = segment.Kind == Edit::Deleted    ? "[-"
                               : segment.Kind == Edit::Inserted ? "{+"
                                                                : "";
            const char* close = segment.Kind == Edit::Deleted    ? "-]"
                                : segment.Kind == Edit::Inserted ? "+}"
                                                                 : "";
            out += open + segment.Text + close;
        }
        out += '\n';
    }
    return out;
}

TEST(WordDiffTest, MarksChangedWordsAndCountsEachRunOnce) {
    const struct {
        Lines before;
        Lines after;
        std::string marked;
        int changes;
    } cases[] = {
        {{"a b c"}, {"a b c"}, "a b c\n", 0},
        {{"the quick fox", "same"},
         {"the slow fox", "same"},
         "the [-quick-] {+slow+} fox\nsame\n",
         1},
        {{"one two three four"}, {"one three four five"}, "one [-two-] three four {+five+}\n", 2},
        {{"keep", "gone line"},
         {"keep", "new", "lines"},
         "keep\n[-gone line-] {+new+}\n{+lines+}\n",
         1},
        {{"x", "y"}, {"x", "added", "y"}, "x\n{+added+}\ny\n", 1},
        // A line split in two follows the later text's lines.
        {{"first half second half"}, {"first half", "second half"}, "first half\nsecond half\n", 0},
        {{}, {"new"}, "{+new+}\n", 1},
    };
    for (const auto& c : cases) {
        const TextDifference difference = CompareTexts(c.before, c.after);
        EXPECT_EQ(Marked(difference), c.marked);
        EXPECT_EQ(difference.Changes, c.changes) << c.marked;
        EXPECT_EQ(difference.WholeStretches, 0) << c.marked;
    }
}

TEST(WordDiffTest, NumbersChangesInReadingOrderForNavigation) {
    const TextDifference difference = CompareTexts({"a b c", "d", "e f"}, {"a x c", "d", "e f g"});
    std::vector<std::pair<std::string, int>> changed;
    for (const DiffLine& line : difference.Lines) {
        for (const Segment& segment : line.Segments) {
            if (segment.Change >= 0) {
                changed.emplace_back(segment.Text, segment.Change);
            }
        }
    }
    const std::vector<std::pair<std::string, int>> expected = {{"b", 0}, {"x", 0}, {"g", 1}};
    EXPECT_EQ(changed, expected);
}

TEST(WordDiffTest, StretchesOverTheBudgetAreShownAsWholeLines) {
    const Lines before = {"alpha beta gamma delta", "epsilon zeta"};
    const Lines after = {"one two three four", "five six"};
    const TextDifference tight = CompareTexts(before, after, WorkBudget(10, 10));
    EXPECT_GT(tight.WholeStretches, 0);
    EXPECT_EQ(Marked(tight), "[-alpha beta gamma delta-]\n[-epsilon zeta-]\n"
                             "{+one two three four+}\n{+five six+}\n");
    EXPECT_EQ(tight.Changes, 1);
    EXPECT_EQ(CompareTexts(before, after).WholeStretches, 0);
}

TEST(UnifiedDifferenceTest, GroupsChangesIntoHunksWithContext) {
    Lines before;
    for (int i = 1; i <= 20; ++i) {
        before.push_back("line " + std::to_string(i));
    }
    Lines after = before;
    after[1] = "changed 2";
    after.erase(after.begin() + 17);
    int whole = 0;
    WorkBudget budget;
    const std::vector<LineEdit> edits = CompareLines(before, after, budget, whole);
    EXPECT_EQ(UnifiedDifference(before, after, edits, 1),
              "@@ -1,3 +1,3 @@\n line 1\n-line 2\n+changed 2\n line 3\n"
              "@@ -17,3 +17,2 @@\n line 17\n-line 18\n line 19\n");
    EXPECT_EQ(UnifiedDifference(before, before, CompareLines(before, before, budget, whole)), "");
    EXPECT_EQ(UnifiedDifference({}, {"new"}, CompareLines({}, {"new"}, budget, whole)),
              "@@ -0,0 +1,1 @@\n+new\n");
}

} // namespace
} // namespace zelmox
