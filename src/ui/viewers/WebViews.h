#pragma once

namespace zelmox {

// The scheme under which the comparison window serves stored pages to its web views.
inline constexpr const char* SnapshotScheme = "zelmox-snapshot";

// What the web views need before the application object exists: the stored-page scheme, shared
// OpenGL contexts, and, for a process running as root, the engine's sandbox switched off (the
// engine refuses to start as root otherwise).
void PrepareWebViews();

} // namespace zelmox
