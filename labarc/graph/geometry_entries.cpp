// Geometries: the run of graph/geometry_describe.h.
#include <labarc/archive/internal/entry_io.h>
#include <labarc/graph/geometry_describe.h>

int CArchiveEx::Write(const _GEOMETRY& geometry) { return labarc::WriteRun(*this, geometry); }

int CArchiveEx::Read(_GEOMETRY& geometry) { return labarc::ReadRun(*this, geometry, geometry); }
