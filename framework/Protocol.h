// The texts and numbers that the program and its framework must spell alike:
// the signature texts of delegates, the index of a control that is not part
// of a control array, and the values of the enumerated keys.
//
// Each stands here once; the framework checks signatures against these, and
// the program's layout data and bindings use the same names.
#pragma once

#include <cstdint>

#include "framework/Properties.h"

namespace fw {

// Signature texts of the delegates the framework calls.
inline constexpr const char* kTextAreaKeyDownSignature = "( TextArea, String ) as Boolean";
inline constexpr const char* kPushButtonActionSignature = "( PushButton )";
inline constexpr const char* kPushButtonMouseDownSignature = "( PushButton, Integer, Integer ) as Boolean";
inline constexpr const char* kTimerActionSignature = "( Timer )";
inline constexpr const char* kMenuHandlerSignature = "(  ) as Boolean";
inline constexpr const char* kReadyCallbackSignature = "(  )";
inline constexpr const char* kExceptionHelperSignature = "( Ptr, Ptr ) as Object";

// The Index of a control that is not part of a control array.
inline constexpr std::int64_t kNoIndex = -2147483648LL;

// Window types of a window's Type key.
inline constexpr std::int64_t kDocumentWindow = 0;  // a normal window with a title bar
inline constexpr std::int64_t kDialogWindow = 2;    // a dialog frame, shown without blocking

// A window's DefaultLocation: centred on the screen; any other value
// places it at its Left and Top.
inline constexpr std::int64_t kCentredOnScreen = 0;

// A label's or text area's TextAlignment.
inline constexpr std::int64_t kAlignDefault = 0;  // as the platform aligns text: left here
inline constexpr std::int64_t kAlignLeft = 1;
inline constexpr std::int64_t kAlignCentre = 2;
inline constexpr std::int64_t kAlignRight = 3;

// A control's FontUnit: the default unit, the point. The framework keeps
// the key and draws every size in points, one layout unit each.
inline constexpr EnumByte kFontUnitDefault{0};

// A push button's MacButtonStyle, an option of another platform that the
// framework keeps: the default style.
inline constexpr std::int64_t kButtonStyleDefault = 0;

// A timer's RunMode.
inline constexpr std::int64_t kTimerOff = 0;
inline constexpr std::int64_t kTimerOnce = 1;
inline constexpr std::int64_t kTimerRepeating = 2;

}  // namespace fw
