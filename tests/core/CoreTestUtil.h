#pragma once

#include "Section.h"
#include "SectionModel.h"
#include "Watch.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace zelmox::test {

// A watch with the fields a grid row shows; the rest keeps its default.
inline TWatchObject MakeWatch(const std::string& address, const std::string& description = "d",
                              std::int32_t scanType = ScanEntireFile) {
    TWatchObject object;
    object.Watch.Address = address;
    object.Watch.Description = description;
    object.Watch.ScanType = scanType;
    object.Watch.AddressMD5 = ComputeAddressMD5(object.Watch);
    object.Watch.Added = "2007/02/01 18:30.05";
    object.Watch.LastScan = "n/a";
    object.Watch.LastChange = "n/a";
    object.Watch.BeforeChange = "n/a";
    return object;
}

// Lines joined the way a data file holds them: each one ended by CR LF.
inline std::string CrLf(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (const std::string_view line : lines) {
        text.append(line);
        text.append("\r\n");
    }
    return text;
}

inline const TWatch& WatchOf(const SectionModel& model, int tab, int row) {
    return model.Tab(tab).Row(row).Object.Watch;
}

} // namespace zelmox::test
