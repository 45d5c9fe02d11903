#include "ui/control_table.h"

namespace zelvio {

namespace {

const ControlRow* RowOf(std::string_view name) {
  for (const ControlRow& row : ControlRows()) {
    if (row.name == name) return &row;
  }
  return nullptr;
}

}  // namespace

int ControlIdFor(std::string_view designName) {
  const ControlRow* row = RowOf(designName);
  return row ? row->id : 0;
}

std::string_view ControlNameFor(int id) {
  for (const ControlRow& row : ControlRows()) {
    if (row.id == id) return row.name;
  }
  return {};
}

const ControlPlace* PlaceOf(std::string_view name) {
  const ControlRow* row = RowOf(name);
  if (!row || (row->place.flags & kLayoutNoWindow) != 0) return nullptr;
  return &row->place;
}

}  // namespace zelvio
