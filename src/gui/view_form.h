// SPDX-License-Identifier: MIT
// The prompt/value pairs of a converter window laid out as a form: as many pairs side by side
// as fit in the room given (at most three), each value field wide enough for its record field's
// width and for the value it shows, and a long field (a name, an address) on a row of its own.
#pragma once

#include <QWidget>
#include <vector>

#include "core/conversion/operator.h"

namespace tolvex::gui {

// The form of `fields` for a width of `room` pixels.
QWidget* view_form(const std::vector<core::ViewField>& fields, int room, QWidget* parent = nullptr);

}  // namespace tolvex::gui
