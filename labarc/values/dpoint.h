// A point of two doubles, as the application's graphs use for positions in data units.
#pragma once

struct DPOINT {
  double x;
  double y;

  bool operator==(const DPOINT&) const = default;
};
