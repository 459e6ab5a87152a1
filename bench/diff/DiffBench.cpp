// The differences view on large pages: two 1 MiB pages with 1% of their words changed, and two
// unrelated 1 MiB pages. Prints the median, best and worst of several runs of each step.

#include "VisibleText.h"
#include "WordDiff.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t PageBytes = 1024 * 1024;
constexpr int Runs = 7;

std::vector<std::string> Vocabulary(std::mt19937& random) {
    std::vector<std::string> words;
    std::uniform_int_distribution<int> length(2, 10);
    std::uniform_int_distribution<int> letter('a', 'z');
    for (int i = 0; i < 5000; ++i) {
        std::string word;
        for (int k = length(random); k > 0; --k) {
            word += static_cast<char>(letter(random));
        }
        words.push_back(word);
    }
    return words;
}

// Paragraphs of 20 to 80 words, with a heading now and then, until the page is 1 MiB.
std::vector<std::string> PageWords(std::mt19937& random, const std::vector<std::string>& words) {
    std::vector<std::string> page;
    std::size_t bytes = 0;
    std::uniform_int_distribution<std::size_t> pick(0, words.size() - 1);
    while (bytes < PageBytes) {
        page.push_back(words[pick(random)]);
        bytes += page.back().size() + 1;
    }
    return page;
}

std::string Html(const std::vector<std::string>& words) {
    std::string html = "<html><head><title>bench</title></head><body>\n";
    std::mt19937 layout(7);
    std::uniform_int_distribution<int> paragraph(20, 80);
    std::size_t i = 0;
    int count = 0;
    while (i < words.size()) {
        const bool heading = ++count % 10 == 0;
        html += heading ? "<h2>" : "<p>";
        for (int k = heading ? 5 : paragraph(layout); k > 0 && i < words.size(); --k) {
            html += words[i++] + ' ';
        }
        html += heading ? "</h2>\n" : "</p>\n";
    }
    return html + "</body></html>\n";
}

double Milliseconds(const std::function<void()>& step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

void Report(const char* name, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("%-44s median %7.1f ms   best %7.1f ms   worst %7.1f ms\n", name,
                times[times.size() / 2], times.front(), times.back());
}

void Measure(const char* name, const std::string& before, const std::string& after) {
    std::vector<double> extraction;
    std::vector<double> difference;
    zelmox::TextDifference result;
    for (int run = 0; run < Runs; ++run) {
        std::vector<std::string> beforeLines;
        std::vector<std::string> afterLines;
        extraction.push_back(Milliseconds([&] {
            beforeLines = zelmox::VisibleLines(before);
            afterLines = zelmox::VisibleLines(after);
        }));
        difference.push_back(
            Milliseconds([&] { result = zelmox::CompareTexts(beforeLines, afterLines); }));
    }
    std::printf("%s: %zu and %zu bytes, %d changes, %d stretches shown whole\n", name,
                before.size(), after.size(), result.Changes, result.WholeStretches);
    Report("  visible text of both pages", extraction);
    Report("  word difference", difference);
}

} // namespace

int main() {
    std::mt19937 random(42);
    const std::vector<std::string> words = Vocabulary(random);
    const std::vector<std::string> page = PageWords(random, words);

    std::vector<std::string> changed = page;
    std::uniform_int_distribution<std::size_t> position(0, page.size() - 1);
    std::uniform_int_distribution<std::size_t> pick(0, words.size() - 1);
    for (std::size_t k = 0; k < page.size() / 100; ++k) {
        changed[position(random)] = words[pick(random)];
    }
    Measure("1% of the words changed", Html(page), Html(changed));
    Measure("unrelated pages", Html(page), Html(PageWords(random, words)));
    return 0;
}
