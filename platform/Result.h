#pragma once
// HRESULT-style status codes used by every fallible operation of the core.

#include <cstdint>

#ifdef _WIN32
#include <winerror.h>
#endif

namespace roviro {

using HResult = std::int32_t;

#ifndef _WIN32
inline constexpr HResult S_OK = 0;
inline constexpr HResult E_FAIL = static_cast<HResult>(0x80004005u);
#else
inline constexpr HResult kOk = S_OK;
#endif

inline constexpr bool Succeeded(HResult r) { return r >= 0; }
inline constexpr bool Failed(HResult r) { return r < 0; }

}  // namespace roviro
