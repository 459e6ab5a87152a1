#pragma once

#include "Clock.h"
#include "Digest.h"
#include "FakeClock.h"
#include "HttpClient.h"
#include "PageServer.h"
#include "ScanLog.h"
#include "Scanner.h"
#include "SectionModel.h"
#include "Snapshot.h"
#include "SnapshotStore.h"
#include "TempDir.h"

#include <QCryptographicHash>
#include <QSignalSpy>
#include <QTcpServer>
#include <filesystem>
#include <gtest/gtest.h>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

// Signal arguments in failure messages.
inline void PrintTo(const QVariant& value, std::ostream* out) {
    *out << value.toString().toStdString();
}

namespace zelmox::test {

// An address on 127.0.0.1 where nothing listens.
inline std::string ClosedPortUrl(const std::string& path) {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const int port = probe.serverPort();
    probe.close();
    return "http://127.0.0.1:" + std::to_string(port) + path;
}

// Digest text computed apart from the program's own digest code.
inline std::string Md5Hex(const std::string& bytes) {
    return QCryptographicHash::hash(QByteArray::fromStdString(bytes), QCryptographicHash::Md5)
        .toHex()
        .toStdString();
}

inline constexpr const char* AddedStamp = "2007/02/01 18:30.05";
inline constexpr const char* LoadedStamp = "2007/02/02 08:00.00";

// A watch as adding it with this first content leaves it.
inline TWatchObject AddedWatch(const std::string& address, std::int32_t scanType,
                               const std::string& content, std::vector<std::string> keywords = {}) {
    TWatchObject object;
    TWatch& watch = object.Watch;
    watch.Description = "watch of " + address;
    watch.Address = address;
    watch.ScanType = scanType;
    watch.AddressMD5 = ComputeAddressMD5(watch);
    watch.Added = AddedStamp;
    watch.LastScan = AddedStamp;
    watch.LastChange = "n/a";
    watch.BeforeChange = "n/a";
    if (scanType == ScanEntireFile || scanType == ScanSizeComparison) {
        watch.MD5 = MD5Print(MD5String(content));
    } else if (scanType == ScanTextBetweenTags) {
        watch.MD5 = ProcessNonTaggedContent(content);
    }
    watch.Keyword = std::move(keywords);
    const auto size = static_cast<std::int32_t>(content.size());
    watch.OriginalSize = size;
    watch.BeforeSize = size;
    watch.AfterSize = size;
    return object;
}

// Appends a watch as loading a data file does; returns its row number.
inline int AddRow(Section& section, TWatchObject object) {
    const std::string key = std::to_string(object.Changed);
    section.AddWatchRow(std::move(object), key);
    return section.RowCount() - 1;
}

// The snapshot folder's files, name -> contents.
inline std::map<std::string, std::string> FolderContents(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        files[entry.path().filename().string()] = ReadFile(entry.path().string());
    }
    return files;
}

// Lines as a data file holds them, each ended by CR LF.
inline std::string CrLfLines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Scan times: 10:MM.00 on 3 February 2007, and the stamp the program writes for it.
inline LocalTime At(int minute) {
    return {2007, 2, 3, 10, minute, 0};
}
inline std::string StampAt(int minute) {
    return std::string("2007/02/03 10:") + (minute < 10 ? "0" : "") + std::to_string(minute) +
           ".00";
}

// One scanner with its model, clock, log, client and a snapshot folder of its own. Declare it after
// the PageServer so that its connections close before the server stops.
struct ScanRig {
    TempDir Dir;
    std::string DataFolder;
    SectionModel Model;
    FakeClock Clock{{2007, 2, 3, 9, 5, 7}};
    ScanLog Log;
    HttpClient Client;
    Scanner Engine{Model, Client, Clock, Log, [this] { return DataFolder; }};

    ScanRig() : DataFolder(Dir.Folder() + "data/") {
        std::filesystem::create_directory(DataFolder);
    }

    // Starts a scan and waits for its end; false when it was refused or did not finish in time.
    bool Run(bool allTabs = true) {
        QSignalSpy finished(&Engine, &Scanner::ScanFinished);
        const bool started = allTabs ? Engine.ScanAllTabs() : Engine.ScanCurrent();
        return started && (finished.count() > 0 || finished.wait(30000)) && finished.count() == 1;
    }

    WatchRow& Row(int tab, int row) { return Model.Tab(tab).Row(row); }
    TWatchObject& Object(int tab, int row) { return Row(tab, row).Object; }
    TWatch& Watch(int tab, int row) { return Row(tab, row).Object.Watch; }

    std::string Snapshot(const TWatch& watch, const char* suffix) const {
        return ReadFile(SnapshotFileName(DataFolder, watch, suffix));
    }
};

// A test server and one scanner, with helpers to add watches of the server's pages.
class ScanTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.Started()); }

    // A watch of a server page, added with this content: its three snapshot files are written as
    // adding writes them. Returns the row.
    int AddPage(const std::string& path, std::int32_t scanType, const std::string& added,
                std::vector<std::string> keywords = {}, int tab = 0) {
        TWatchObject object = AddedWatch(server.Url(path), scanType, added, std::move(keywords));
        WriteInitialSnapshots(rig.DataFolder, object.Watch, added);
        return AddRow(rig.Model.Tab(tab), std::move(object));
    }

    // A scan of all tabs at 10:MM.00 that must finish.
    void ScanAt(int minute) {
        rig.Clock.Set(At(minute));
        ASSERT_TRUE(rig.Run());
    }

    std::vector<std::string> LogWith(std::vector<std::string> lines) const {
        lines.push_back("");
        lines.push_back("__end of log.");
        return lines;
    }

    PageServer server;
    ScanRig rig;
};

} // namespace zelmox::test
