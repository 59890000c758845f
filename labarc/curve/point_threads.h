// How many threads read and write the points of large curves. The point lines of a curve's three
// groups are handled in batches of whole lines, each batch split across the threads; the bytes
// written, the curve read and every failure reported are those of the single-threaded path.
#pragma once

#include <labarc/framework/export.h>

namespace labarc {

struct PointThreading {
  // The most threads a batch runs on, the caller's included. 0: the number in the environment
  // variable LABARC_THREADS when it holds one from 1 up, else the machine's hardware threads.
  // 1: no thread is ever started.
  int threads = 0;
  // Curves with fewer points are read and written on the caller's thread alone: for them a
  // thread costs more than it saves.
  int minimumPoints = 16384;
  // The lines of one group in a batch. Besides a batch's threads, a read holds up to 1 MiB of
  // text ahead of the read position and a write about 410 bytes per line of a batch (the longest
  // a point line can be): about 1.7 MB at the default, whatever the curve's size.
  int batchLines = 4096;
};

// The setting for the whole process; values below 0 (threads, points) or 1 (lines) are raised
// to those bounds. Safe to call from any thread; curves read or written meanwhile keep the
// setting they started with.
LABARC_API void SetPointThreading(const PointThreading& threading);
LABARC_API PointThreading GetPointThreading();

// The setting as it applies to a curve of `points` points, read once so that the whole curve
// keeps it: `threads` resolved to a count from 1 up, and 1 below the minimum.
LABARC_API PointThreading PointThreadingFor(int points);

}  // namespace labarc
