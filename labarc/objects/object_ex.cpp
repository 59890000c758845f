#include <labarc/objects/object_ex.h>

#include <labarc/archive/archive_ex.h>

IMPLEMENT_SERIAL(CObjectEx, CObject, CObjectEx::VERSION)

void CObjectEx::Serialize(CArchiveEx&) {}
