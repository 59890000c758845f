// Everything a host needs: the labelled text archive, its value types and the framework layer.
#pragma once

#include "archive/archive_ex.h"
#include "archive/value_controls.h"
#include "curve/curve_obj.h"
#include "framework/archive.h"
#include "framework/cstring.h"
#include "framework/exceptions.h"
#include "framework/file.h"
#include "framework/mem_file.h"
#include "framework/message_box.h"
#include "framework/ob_array.h"
#include "framework/object.h"
#include "framework/runtime_class.h"
#include "framework/string_table.h"
#include "framework/win_types.h"
#include "objects/ob_ex_array.h"
#include "objects/object_ex.h"
