#include "ImportedWatch.h"

#include "Address.h"
#include "Digest.h"
#include "PageText.h"

namespace zelmox {

namespace {

std::string AutomaticDescription(std::string_view content, const ImportOptions& options) {
    if (!options.AutoDescription) {
        return {};
    }
    switch (options.AutoDescriptionType) {
    case 1:
        return SingleLine(GetPageTitle(content));
    case 2:
        return SingleLine(GetMetaDescription(content));
    default:
        return {};
    }
}

} // namespace

void RecordFirstContent(TWatch& watch, std::string_view content, const Clock& clock) {
    watch.AddressMD5 = ComputeAddressMD5(watch);
    switch (watch.ScanType) {
    case ScanTextBetweenTags:
        watch.MD5 = ProcessNonTaggedContent(content);
        break;
    case ScanKeywords:
        watch.MD5.clear();
        break;
    default:
        watch.MD5 = MD5Print(MD5String(content));
        break;
    }
    watch.Added = GetTimeStamp(clock);
    watch.LastScan = GetTimeStamp(clock);
    watch.LastChange = "n/a";
    watch.BeforeChange = "n/a";
    const auto size = static_cast<std::int32_t>(content.size());
    watch.OriginalSize = size;
    watch.BeforeSize = size;
    watch.AfterSize = size;
}

TWatchObject MakeImportedWatch(const std::string& address, const ImportContent& content,
                               const ImportOptions& options, const Clock& clock) {
    TWatchObject object;
    TWatch& watch = object.Watch;
    watch.Address = address;
    watch.ScanType = options.ScanType;
    const std::string_view bytes =
        content.Ok ? std::string_view(content.Bytes) : std::string_view();
    if (!content.Ok) {
        watch.Manual = 1;
    } else if (IsWebAddress(address)) {
        watch.Description = AutomaticDescription(bytes, options);
    }
    RecordFirstContent(watch, bytes, clock);
    return object;
}

} // namespace zelmox
