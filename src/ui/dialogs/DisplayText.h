#pragma once

#include <QString>
#include <string>

namespace zelmox {

// Bytes from data files and pages, shown as UTF-8, or as Windows-1252 when they are not valid
// UTF-8.
QString ShowText(const std::string& bytes);

// What the user typed, stored as UTF-8.
std::string StoreText(const QString& text);

} // namespace zelmox
