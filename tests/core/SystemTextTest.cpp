#include "SystemText.h"

#include <gtest/gtest.h>
#include <vector>

namespace zelmox {
namespace {

TEST(SystemTextTest, NamesServicePackAndBuild) {
    EXPECT_EQ(SystemText({"Debian GNU/Linux 12 (bookworm)", "6.1.0-18-amd64", 393472}),
              "Debian GNU/Linux 12 (bookworm) 6.1.0-18-amd64 (Build 393472)");
    EXPECT_EQ(SystemText({"", "", 0}), "  (Build 0)");
}

TEST(SystemTextTest, ReadsThePrettyNameAsAShellWould) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nID=debian\n",
         "Debian GNU/Linux 12 (bookworm)"},
        {"PRETTY_NAME='Single \\quoted'\r\n", "Single \\quoted"},
        {"  PRETTY_NAME=Bare  \n", "Bare"},
        {"PRETTY_NAME=\"Say \\\"hi\\\" \\\\ \\$x\"", "Say \"hi\" \\ $x"},
        {"# PRETTY_NAME=\"commented\"\nNAME=x\n", ""},
        {"PRETTY_NAME=\"unterminated", "unterminated"},
        {"", ""},
    };
    for (const auto& [text, name] : cases) {
        EXPECT_EQ(PrettyNameOf(text), name) << text;
    }
}

TEST(SystemTextTest, NumbersKernelReleasesAsTheKernelDoes) {
    const std::vector<std::pair<std::string, long long>> cases = {
        {"6.1.0-18-amd64", 6 * 65536 + 1 * 256 + 0},
        {"5.15.153.1-microsoft-standard-WSL2", 5 * 65536 + 15 * 256 + 153},
        {"4.9.337", 4 * 65536 + 9 * 256 + 255},
        {"6.8", 6 * 65536 + 8 * 256},
        {"6.8-rc1", 6 * 65536 + 8 * 256},
        {"unknown", 0},
        {"", 0},
    };
    for (const auto& [release, code] : cases) {
        EXPECT_EQ(KernelVersionCode(release), code) << release;
    }
}

} // namespace
} // namespace zelmox
