#include <labarc/framework/object.h>

inline namespace labarc_framework {

// The root cannot be created by name and has no schema of its own.
CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF,
                                       nullptr,   nullptr,         nullptr};

static const AFX_CLASSINIT g_initCObject(&CObject::classCObject);

}  // namespace labarc_framework
