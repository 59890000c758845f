// CObjectEx: the base of host objects that store themselves in a labelled text archive.
#pragma once

#include <labarc/framework/export.h>
#include <labarc/framework/object.h>

class CArchiveEx;

class LABARC_API CObjectEx : public CObject {
  DECLARE_SERIAL(CObjectEx)

  // The schema of the class record.
  static const int VERSION = 1;

  CObjectEx() = default;
  ~CObjectEx() override = default;

  using CObject::Serialize;
  // Writes the object's entries to a storing archive, or reads them back in the same order from
  // a loading one. The base has no entries; host classes override it.
  virtual void Serialize(CArchiveEx& ar);
};
