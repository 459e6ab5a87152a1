// zelmox-cli run as a separate process against the local test server.
#include "DataFile.h"
#include "DataFileLock.h"
#include "EngineTestSupport.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>
#include <memory>

namespace zelmox::test {
namespace {

struct CliResult {
    bool Finished = false;
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Started());
        for (const char* sub : {"home", "config", "share", "data"}) {
            std::filesystem::create_directory(root.File(sub));
        }
    }

    // Starts the tool with its own home, settings and data folders, never the user's.
    std::unique_ptr<QProcess> Start(const std::vector<std::string>& arguments) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", Q(root.File("home")));
        environment.insert("XDG_CONFIG_HOME", Q(root.File("config")));
        environment.insert("XDG_DATA_HOME", Q(root.File("share")));
        for (const char* proxy : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY",
                                  "all_proxy", "ALL_PROXY", "no_proxy", "NO_PROXY"}) {
            environment.remove(proxy);
        }
        QStringList list;
        for (const std::string& argument : arguments) {
            list << Q(argument);
        }
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment);
        process->start(ZELMOX_CLI_PATH, list);
        return process;
    }

    static CliResult Finish(QProcess& process) {
        CliResult result;
        result.Finished = process.waitForStarted(10000) && process.waitForFinished(60000);
        if (!result.Finished) {
            process.kill();
            process.waitForFinished(5000);
        }
        result.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.Out = process.readAllStandardOutput().toStdString();
        result.Err = process.readAllStandardError().toStdString();
        return result;
    }

    CliResult Run(const std::vector<std::string>& arguments) { return Finish(*Start(arguments)); }

    // A data file of these sections, each a name and its watches; the snapshots of every watch
    // are written to the data folder as adding writes them.
    void WriteList(const std::string& path,
                   const std::vector<std::pair<std::string, std::vector<TWatchObject>>>& sections) {
        SectionModel model;
        for (std::size_t i = 0; i < sections.size(); ++i) {
            Section& section = i == 0 ? model.Tab(0) : *model.AddSection(sections[i].first);
            section.Name = sections[i].first;
            for (const TWatchObject& object : sections[i].second) {
                WriteInitialSnapshots(dataDir, object.Watch, "as added");
                AddRow(section, object);
            }
        }
        ASSERT_TRUE(SaveData(model, path).Ok);
    }

    TWatchObject Page(const std::string& path, const std::string& added) {
        return AddedWatch(server.Url(path), ScanEntireFile, added);
    }

    PageServer server;
    TempDir root;
    std::string dataDir = root.Folder() + "data/";
    std::string file = root.File("list.zelmox");
};

TEST_F(CliTest, ScanPrintsTheLogAndTheCountsAndSavesTheFile) {
    WriteList(file, {{"Default",
                      {Page("/changed", "old"), Page("/same", "same"), Page("/missing", "old")}},
                     {"More", {Page("/more", "old")}}});
    server.SetBody("/changed", "new");
    server.SetBody("/same", "same");
    server.SetBody("/more", "more");

    const CliResult result = Run({"scan", file, "--data-dir", dataDir, "--jobs", "1"});

    ASSERT_TRUE(result.Finished);
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out, "Change: " + server.Url("/changed") + "\nChange: " + server.Url("/more") +
                              "\n\n__end of log.\n");
    EXPECT_EQ(result.Err, "4 watches, 2 changed, 1 failed\n");
    SectionModel saved;
    ASSERT_TRUE(LoadData(saved, file).Ok);
    EXPECT_EQ(saved.Tab(0).Row(1).Object.Changed, 1);
    EXPECT_EQ(saved.Tab(0).Row(2).Object.Changed, 0);
    EXPECT_NE(saved.Tab(0).Row(2).Object.Watch.LastScan, AddedStamp);
    EXPECT_EQ(saved.Tab(0).Row(3).Object.Changed, 999);
    EXPECT_EQ(saved.Tab(1).Row(1).Object.Watch.MD5, Md5Hex("more"));
    EXPECT_EQ(ReadFile(dataDir + Md5Hex(server.Url("/changed") + "0") + "_a.html"), "new");
}

TEST_F(CliTest, ScanDiffPrintsTheVisibleTextChangesOfEachChangedWatch) {
    WriteList(file, {{"Default", {Page("/changed", "old"), Page("/same", "same")}},
                     {"More", {Page("/image.png", "old")}}});
    server.SetBody("/changed", "<p>as added</p><script>x()</script><p>now <b>changed</b></p>");
    server.SetBody("/same", "same");
    server.SetBody("/image.png", "PNG");

    const CliResult result = Run({"scan", file, "--diff", "--data-dir", dataDir});

    ASSERT_TRUE(result.Finished);
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    const std::string page = server.Url("/changed");
    const std::string image = server.Url("/image.png");
    EXPECT_EQ(result.Out, "Change: " + page + "\nChange: " + image + "\n\n__end of log.\n" +
                              "--- " + page + " (previous)\n+++ " + page + " (current)\n" +
                              "@@ -1,1 +1,2 @@\n as added\n+now changed\n" + "--- " + image +
                              " (previous)\n+++ " + image + " (current)\n" +
                              "Not a web page: no text to compare.\n");
}

TEST_F(CliTest, ScanWithoutSavingLeavesTheFileAsItWas) {
    WriteList(file, {{"Default", {Page("/changed", "old")}}});
    server.SetBody("/changed", "new");
    const std::string before = ReadFile(file);

    const CliResult result = Run({"scan", file, "--no-save", "--data-dir", dataDir});

    ASSERT_TRUE(result.Finished);
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Err, "1 watches, 1 changed, 0 failed\n");
    EXPECT_EQ(ReadFile(file), before);
}

TEST_F(CliTest, JobsAndPerHostSetHowManyPagesAreFetchedAtOnce) {
    std::vector<TWatchObject> watches;
    for (int i = 0; i < 10; ++i) {
        const std::string path = "/slow" + std::to_string(i);
        server.SetBody(path, "page", 60);
        watches.push_back(Page(path, "page"));
    }
    WriteList(file, {{"Default", watches}});
    const std::pair<std::vector<std::string>, int> cases[] = {
        {{"--jobs", "1"}, 1}, {{"--jobs", "3"}, 3}, {{}, 4}, {{"--per-host", "6"}, 6}};

    for (const auto& [jobs, most] : cases) {
        std::vector<std::string> arguments = {"scan", file, "--no-save", "--data-dir", dataDir};
        arguments.insert(arguments.end(), jobs.begin(), jobs.end());
        server.ResetCounters();
        const CliResult result = Run(arguments);
        ASSERT_TRUE(result.Finished);
        EXPECT_EQ(result.Err, "10 watches, 0 changed, 0 failed\n");
        EXPECT_EQ(server.MostAtOnce(), most) << testing::PrintToString(jobs);
    }
}

TEST_F(CliTest, UnreadableFileStopsBeforeAnyFetch) {
    server.SetBody("/page", "new");
    const std::string malformed = CrLfLines(
        {"$Default", "{", "Address=" + server.Url("/page"), "ScanType=0", "Changed=x1", "}"});
    WriteFile(file, malformed);
    const std::string missing = root.File("missing.zelmox");
    const std::string picture = root.File("picture.zelmox");
    const std::string pictureBytes("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    WriteFile(picture, pictureBytes);

    const CliResult bad = Run({"scan", file, "--data-dir", dataDir});
    const CliResult absent = Run({"scan", missing, "--data-dir", dataDir});
    const CliResult noList = Run({"scan", picture, "--data-dir", dataDir});

    ASSERT_TRUE(bad.Finished && absent.Finished && noList.Finished);
    EXPECT_EQ(noList.ExitCode, 1);
    EXPECT_EQ(noList.Err, "\"" + picture + "\" is not a Zelmox watch list.\n");
    EXPECT_EQ(ReadFile(picture), pictureBytes);
    EXPECT_EQ(bad.ExitCode, 1);
    EXPECT_NE(bad.Err.find("'x1' is not a valid integer value"), std::string::npos) << bad.Err;
    EXPECT_EQ(ReadFile(file), malformed);
    EXPECT_EQ(absent.ExitCode, 1);
    EXPECT_FALSE(absent.Err.empty());
    EXPECT_FALSE(FileExists(missing));
    EXPECT_EQ(server.Hits("/page"), 0);
}

TEST_F(CliTest, RunsOnOneFileTakeTurnsAndAFileKeptInUseFailsTheWait) {
    server.SetBody("/a", "a", 300);
    server.SetBody("/b", "b", 300);
    const std::string listA = root.File("a.txt");
    const std::string listB = root.File("b.txt");
    WriteFile(listA, server.Url("/a") + "\n");
    WriteFile(listB, server.Url("/b") + "\n");

    const auto first = Start({"import", file, listA, "--data-dir", dataDir});
    const auto second = Start({"import", file, listB, "--data-dir", dataDir});
    for (QProcess* process : {first.get(), second.get()}) {
        const CliResult result = Finish(*process);
        ASSERT_TRUE(result.Finished);
        EXPECT_EQ(result.ExitCode, 0) << result.Err;
    }
    SectionModel saved;
    ASSERT_TRUE(LoadData(saved, file).Ok);
    EXPECT_EQ(saved.WatchCount(), 2) << "both runs' additions are kept";

    const std::string before = ReadFile(file);
    DataFileLock held;
    ASSERT_TRUE(held.Acquire(file, std::chrono::milliseconds(0)));
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"scan", file, "--lock-wait", "1", "--data-dir", dataDir},
             {"import", file, listA, "--lock-wait", "0", "--data-dir", dataDir}}) {
        const CliResult result = Run(arguments);
        ASSERT_TRUE(result.Finished);
        EXPECT_EQ(result.ExitCode, 1) << arguments[0];
        EXPECT_NE(result.Err.find("\"" + file + "\" is in use"), std::string::npos) << result.Err;
    }
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(server.Hits("/a"), 1);
}

TEST_F(CliTest, SnapshotFilesThatCannotBeWrittenFailTheRunYetTheListIsSaved) {
    WriteList(file, {{"Default", {Page("/changed", "old")}}});
    server.SetBody("/changed", "new");
    const std::string missing = root.Folder() + "missing/";

    const CliResult scan = Run({"scan", file, "--data-dir", missing});
    ASSERT_TRUE(scan.Finished);
    EXPECT_EQ(scan.ExitCode, 1);
    EXPECT_NE(scan.Err.find("Snapshot files of 1 watches could not be written in \"" + missing),
              std::string::npos)
        << scan.Err;
    SectionModel saved;
    ASSERT_TRUE(LoadData(saved, file).Ok);
    EXPECT_EQ(saved.Tab(0).Row(1).Object.Changed, 1);

    // Import makes a missing snapshot folder, and fails when it cannot.
    const std::string list = root.File("import.txt");
    WriteFile(list, server.Url("/changed") + "\n");
    const std::string made = root.Folder() + "made/here/";
    const CliResult created = Run({"import", root.File("new.zelmox"), list, "--data-dir", made});
    EXPECT_EQ(created.ExitCode, 0) << created.Err;
    EXPECT_EQ(FolderContents(made).size(), 3u);
    const CliResult impossible =
        Run({"import", root.File("other.zelmox"), list, "--data-dir", file + "/sub/"});
    EXPECT_EQ(impossible.ExitCode, 1);
    EXPECT_NE(impossible.Err.find("Cannot create the snapshot folder"), std::string::npos)
        << impossible.Err;
}

TEST_F(CliTest, WrongCommandLinesExitWithTwo) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"frobnicate", file},
        {"scan"},
        {"scan", file, "--bogus"},
        {"scan", file, "--jobs", "0"},
        {"scan", file, "--jobs"},
        {"scan", file, "--per-host", "0"},
        {"import", file, file, "--lock-wait", "-1"},
        {"import", file, file, "--scan-type", "3"},
        {"list", file, "--append"},
    };
    for (const auto& arguments : wrong) {
        const CliResult result = Run(arguments);
        ASSERT_TRUE(result.Finished);
        EXPECT_EQ(result.ExitCode, 2) << testing::PrintToString(arguments);
        EXPECT_NE(result.Err.find("Usage:"), std::string::npos);
    }
    const CliResult help = Run({"--help"});
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_NE(help.Out.find("zelmox-cli scan FILE"), std::string::npos);
}

TEST_F(CliTest, ImportCreatesTheFileAndUsesTheDefaultDataFolder) {
    server.SetBody("/one", "<title>One</title>first");
    server.SetBody("/two", "<title>Two</title>second");
    const std::string list = root.File("import.txt");
    WriteFile(list, server.Url("/one") + "\r\n\r\n" + server.Url("/two") + "\r\n");

    const CliResult result = Run({"import", file, list});

    ASSERT_TRUE(result.Finished);
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Err, "2 watches imported\n");
    EXPECT_EQ(ReadFile(file).rfind("$Default\r\n", 0), 0u) << ReadFile(file);
    SectionModel saved;
    ASSERT_TRUE(LoadData(saved, file).Ok);
    ASSERT_EQ(saved.WatchCount(), 2);
    EXPECT_EQ(saved.Tab(0).Row(1).Object.Watch.Description, "One");
    EXPECT_EQ(saved.Tab(0).Row(2).Object.Watch.Address, server.Url("/two"));
    const std::string defaultData = root.File("share") + "/zelmox/data/";
    EXPECT_EQ(ReadFile(defaultData + Md5Hex(server.Url("/one") + "0") + "_x.html"),
              "<title>One</title>first\r\n");
    EXPECT_FALSE(FileExists(root.File("config") + "/zelmox/zelmox.ini"))
        << "settings are only read";
}

TEST_F(CliTest, SettingsFileGivesDataFolderAndDescriptionAndIsNeverWritten) {
    const std::string custom = root.Folder() + "custom/";
    std::filesystem::create_directory(custom);
    std::filesystem::create_directories(root.File("config") + "/zelmox");
    const std::string ini = root.File("config") + "/zelmox/zelmox.ini";
    const std::string settings =
        "[General]\nAutoDescriptionType=2\n\n[CCF]\nUseCCF=1\nCCF=" + custom + "\n";
    WriteFile(ini, settings);
    server.SetBody("/meta", "<title>T</title><META NAME=\"description\" CONTENT=\"About it\">");
    const std::string list = root.File("import.txt");
    WriteFile(list, server.Url("/meta") + "\n");

    const CliResult result = Run({"import", file, list});

    ASSERT_TRUE(result.Finished);
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    SectionModel saved;
    ASSERT_TRUE(LoadData(saved, file).Ok);
    EXPECT_EQ(saved.Tab(0).Row(1).Object.Watch.Description, "About it");
    EXPECT_EQ(FolderContents(custom).size(), 3u);
    EXPECT_FALSE(FileExists(root.File("share") + "/zelmox/data"));
    EXPECT_EQ(ReadFile(ini), settings);
}

TEST_F(CliTest, ImportAddsToTheLastSectionWithTheChosenScanType) {
    WriteList(file, {{"Default", {Page("/old", "old")}}, {"Last", {}}});
    server.SetBody("/new", "<p>new</p>");
    const std::string list = root.File("import.txt");
    WriteFile(list, server.Url("/new") + "\n");

    const CliResult result = Run({"import", file, list, "--scan-type", "1", "--data-dir", dataDir});

    ASSERT_TRUE(result.Finished);
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    SectionModel saved;
    ASSERT_TRUE(LoadData(saved, file).Ok);
    ASSERT_EQ(saved.TabCount(), 2);
    EXPECT_EQ(saved.Tab(0).WatchCount(), 1);
    ASSERT_EQ(saved.Tab(1).WatchCount(), 1);
    EXPECT_EQ(saved.Tab(1).Row(1).Object.Watch.ScanType, 1);
    EXPECT_EQ(saved.Tab(1).Row(1).Object.Watch.MD5, Md5Hex("new"));
}

TEST_F(CliTest, ExportWritesOneLinePerRow) {
    TWatchObject local = AddedWatch("/home/u/notes.txt", ScanEntireFile, "n");
    WriteList(file, {{"Default", {}}, {"Two", {Page("/dir/a.html", "a"), local}}});
    const std::string out = root.File("out.txt");

    const CliResult full = Run({"export", file, out});
    ASSERT_TRUE(full.Finished);
    EXPECT_EQ(full.ExitCode, 0) << full.Err;
    const std::string fullText = "\r\n" + server.Url("/dir/a.html") + "\r\n/home/u/notes.txt\r\n";
    EXPECT_EQ(ReadFile(out), fullText);

    const CliResult names = Run({"export", file, out, "--names-only", "--append"});
    ASSERT_TRUE(names.Finished);
    EXPECT_EQ(names.ExitCode, 0) << names.Err;
    EXPECT_EQ(ReadFile(out), fullText + "\r\na.html\r\nnotes.txt\r\n");

    const CliResult replaced = Run({"export", file, out, "--names-only"});
    EXPECT_EQ(replaced.ExitCode, 0);
    EXPECT_EQ(ReadFile(out), "\r\na.html\r\nnotes.txt\r\n");
}

TEST_F(CliTest, ListPrintsOneTabSeparatedLinePerWatch) {
    TWatchObject changed = Page("/a", "a");
    changed.Changed = 2;
    changed.Watch.LastScan = "2007/02/03 10:00.00";
    changed.Watch.LastChange = "2007/02/03 09:00.00";
    TWatchObject failed = Page("/b", "b");
    failed.Changed = 999;
    WriteList(file, {{"Default", {changed}}, {"Empty", {}}, {"Other", {failed}}});

    const CliResult result = Run({"list", file});

    ASSERT_TRUE(result.Finished);
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out, "Default\t2\t" + server.Url("/a") + "\twatch of " + server.Url("/a") +
                              "\t2007/02/03 10:00.00\t2007/02/03 09:00.00\n" + "Other\t999\t" +
                              server.Url("/b") + "\twatch of " + server.Url("/b") + "\t" +
                              AddedStamp + "\tn/a\n");
}

} // namespace
} // namespace zelmox::test
