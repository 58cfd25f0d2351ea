// The two logo pictures, loaded by file name on first use and kept for the
// run. A picture that cannot be loaded yields none and is looked up again
// on the next call.
#pragma once

#include "framework/Picture.h"

fw::Ref<fw::Picture> BMIsmall();
fw::Ref<fw::Picture> BMImedium();
