// A curve's steps as the schema direction lists them: its name and point count, its 29
// characteristics, then its point lines.
#pragma once

#include <labarc/archive/schema.h>
#include <labarc/curve/curve_describe.h>

namespace labarc {

inline Schema CurveSchema() {
  Schema steps;
  const SchemaRecorder io(steps);
  CCurveObj curve;
  CString name;
  int count = 0;
  io(kCurveNameLabel, name);
  io(kCurvePointCountLabel, count);
  Describe(io, CurveCharacteristics{curve});
  io.PointLines();
  return steps;
}

}  // namespace labarc
