// Defines the three label forms of one public entry operation, CArchiveEx::Operation(Parameter,
// label), as forwarders to the private Implementation(Parameter, labarc::Label&), and the resolved
// form, which calls it directly.
#pragma once

#include <labarc/archive/internal/label.h>

#define LABARC_DEFINE_LABEL_FORMS(Operation, Parameter, Implementation) \
  int CArchiveEx::Operation(Parameter value, CString* label) {          \
    labarc::Label resolved = labarc::Label::Pointer(label);             \
    return Implementation(value, resolved);                             \
  }                                                                     \
  int CArchiveEx::Operation(Parameter value, const CString& label) {    \
    labarc::Label resolved = labarc::Label::Fixed(label);               \
    return Implementation(value, resolved);                             \
  }                                                                     \
  int CArchiveEx::Operation(Parameter value, UINT nID) {                \
    labarc::Label resolved = labarc::Label::Resource(nID);              \
    return Implementation(value, resolved);                             \
  }                                                                     \
  int CArchiveEx::Operation(Parameter value, labarc::Label& label) {    \
    return Implementation(value, label);                                \
  }
