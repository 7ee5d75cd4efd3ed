#pragma once
// The line break of the program's texts, boxes and files: CR LF.

namespace kelvara {

inline constexpr char kCrLf[] = "\r\n";

} // namespace kelvara
