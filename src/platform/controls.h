#pragma once
// The controls the windows are built from (each in its own header).
#include "platform/button.h"
#include "platform/combobox.h"
#include "platform/control.h"
#include "platform/label.h"
#include "platform/shapes.h"
