// The control table's rows (ui/control_table.h), made from the main window's control list.
#include <array>

#include "app/form/form_controls.h"
#include "ui/control_table.h"

namespace zelvio {

namespace {

#define ZELVIO_CONTROL_ROW(kind, member, parent, made, id, place, ...) \
  ControlRow{DesignNameOf(#member), id, ControlPlace ZELVIO_BRACED place},
#define ZELVIO_BRACED(...) \
  { __VA_ARGS__ }

constexpr ControlRow kRows[] = {
    ZELVIO_MAIN_WINDOW_CONTROLS(ZELVIO_CONTROL_ROW)
    // The spin edit's arrows are a window of their own beside the edit, wherever it is,
    // with no control of the form behind them.
    ControlRow{kSpinArrowsName, 1114, kNoWindowPlace},
};

}  // namespace

std::span<const ControlRow> ControlRows() { return kRows; }

}  // namespace zelvio
