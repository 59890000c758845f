// Everything a host needs: the labelled text archive, its value types and the framework layer.
#pragma once

#include "archive/archive_ex.h"
#include "archive/value_controls.h"
#include "framework/archive.h"
#include "framework/cstring.h"
#include "framework/exceptions.h"
#include "framework/file.h"
#include "framework/logfont.h"
#include "framework/mem_file.h"
#include "framework/message_box.h"
#include "framework/rect_tracker.h"
#include "framework/string_table.h"
#include "framework/win_types.h"
#include "values/date.h"
#include "values/dpoint.h"
#include "values/text_object.h"
