#pragma once

#include <string>
#include <string_view>

namespace zelmox {

// What the About box says about the operating system it runs on.
struct SystemVersion {
    std::string Name;
    std::string ServicePack;
    long long Build = 0;
};

// Name, a space, the service-pack text, " (Build ", the build number and ")".
std::string SystemText(const SystemVersion& system);

// The PRETTY_NAME of an os-release file's text, its quoting and escapes undone; empty when the
// text has none.
std::string PrettyNameOf(std::string_view osRelease);

// A kernel release ("6.1.0-18-amd64") as one number, the way the kernel numbers its own
// versions: major * 65536 + minor * 256 + patch, the patch held at 255. 0 when the release does
// not begin with a number.
long long KernelVersionCode(std::string_view release);

// The running system: the distribution's pretty name ("Linux" when it names none), the kernel
// release as the service pack and the kernel's version number as the build.
SystemVersion RunningSystem();

} // namespace zelmox
