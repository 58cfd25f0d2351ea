// What screen readers are told about the controls, through Qt's
// accessibility. Labels and buttons keep Qt's own interfaces (static text
// named by its text, a button named by its caption); this adds what Qt
// cannot know: a canvas is a graphic named after the picture it shows, a
// rounded rectangle groups the controls on it, and a text area is named by
// its tooltip or, without one, by the caption label just left of it on its
// row. It changes nothing that is drawn or how a control behaves.
#pragma once

#include <QWidget>

#include "framework/Controls.h"

namespace fw::detail {

// Once, when the QApplication exists.
void InstallAccessibility();

// Called for each control when its widget is made.
void RegisterAccessible(const Ref<Control>& control, QWidget* widget);

}  // namespace fw::detail
