// Every composite's description, for programs that walk composites with a direction of their own
// (archive/describe.h lists the steps a direction offers).
#pragma once

#include <labarc/curve/curve_describe.h>
#include <labarc/graph/axis_describe.h>
#include <labarc/graph/geometry_describe.h>
#include <labarc/graph/legend_describe.h>
#include <labarc/graph/results_describe.h>
#include <labarc/graph/ticks_describe.h>
#include <labarc/graph/window_describe.h>
#include <labarc/values/font_describe.h>
#include <labarc/values/text_describe.h>
#include <labarc/values/tracker_describe.h>
