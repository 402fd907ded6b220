#pragma once
// The main dialog's application messages and flag bits. Application messages are plain
// decimal numbers; in Qt they travel as events whose type is the number itself (20012..20045
// lie inside Qt's user event range).

#include <cstdint>

#include "device/LinkState.h"

namespace roviro {

inline constexpr std::uint32_t kMsgRepaint = 20012;       // wParam: erase the background
inline constexpr std::uint32_t kMsgSwitchScreen = 20026;  // wParam: the target screen id
inline constexpr std::uint32_t kMsgFirstAppMessage = 20012;
inline constexpr std::uint32_t kMsgLastAppMessage = 20045;  // kMsgOperatingData

// The dialog's flag word (m_state).
inline constexpr std::uint32_t kStateBoxPresent = 0x100;
inline constexpr std::uint32_t kStateDataLoaded = kDialogDataLoaded;  // 0x200
inline constexpr std::uint32_t kStateCloseConfirmed = 0x80000;
inline constexpr std::uint32_t kStateShiftHeld = 0x100000;

// Control IDs of the dialog frame.
enum DialogControlId : int {
  kIdTab0 = 1000,       // 1000..1004: the main tabs
  kIdLanguage0 = 1006,  // 1006..1010: the language buttons, in the order of the folders
  kIdBack = 1011,
  kIdNext = 1012,
  kIdStart = 1013,
  kIdTitle = 1016,
};

// The languages the start view offers (main description object 5, lines 0 to 4: Deutsch,
// English, Francais, Italiano, Nederlands); any other index means that none is chosen.
inline constexpr int kLanguageCount = 5;
inline constexpr int kNoLanguage = kLanguageCount;

inline constexpr int kDialogWidth = 800;
inline constexpr int kDialogHeight = 600;

}  // namespace roviro
