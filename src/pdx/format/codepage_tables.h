// The single-byte code pages the engine converts, as tables of their upper halves.
#pragma once

namespace pdx::codepages {

extern const char16_t cp437[128];
extern const char16_t cp850[128];
extern const char16_t cp852[128];
extern const char16_t cp866[128];
extern const char16_t cp1250[128];
extern const char16_t cp1251[128];
extern const char16_t cp1252[128];
extern const char16_t roman8[128];

}  // namespace pdx::codepages
