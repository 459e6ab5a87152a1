#include "Watch.h"

#include "Digest.h"

#include <algorithm>
#include <cctype>

namespace zelmox {

void ResetWatch(TWatchObject& object) {
    TWatch& w = object.Watch;
    w.Description.clear();
    w.Address.clear();
    w.AddressMD5.clear();
    w.LastScan.clear();
    w.LastChange.clear();
    w.MD5.clear();
    w.ScanType = 0;
    w.Manual = 0;
    w.OriginalSize = 0;
    w.BeforeSize = 0;
    w.AfterSize = 0;
    object.Changed = 0;
    object.Highlighted = false;
}

void AddChangeHistory(TWatchObject& object, const std::string& stamp) {
    if (object.ChangeHistory.size() == MaxChangeHistory) {
        object.ChangeHistory.erase(object.ChangeHistory.begin());
    }
    object.ChangeHistory.push_back(stamp);
}

std::string ComputeAddressMD5(const TWatch& watch) {
    return MD5Print(MD5String(watch.Address + std::to_string(watch.ScanType)));
}

bool IsDigestText(const std::string& text) {
    return text.size() == 32 && std::all_of(text.begin(), text.end(),
                                            [](unsigned char c) { return std::isxdigit(c) != 0; });
}

} // namespace zelmox
