// Geometries: the run of graph/geometry_describe.h.
#include "archive/entry_io.h"
#include "graph/geometry_describe.h"

int CArchiveEx::Write(const _GEOMETRY& geometry) { return labarc::WriteRun(*this, geometry); }

int CArchiveEx::Read(_GEOMETRY& geometry) { return labarc::ReadRun(*this, geometry, geometry); }
