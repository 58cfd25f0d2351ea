// The texts and numbers that the program and its framework must spell alike:
// the signature texts of delegates, the index of a control that is not part
// of a control array, and the window types.
//
// Each stands here once; the framework checks signatures against these, and
// the program's layout data and bindings use the same names.
#pragma once

#include <cstdint>

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

}  // namespace fw
