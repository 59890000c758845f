// A shown graph text in Helvetica, as the example documents use for titles and axis names.
#pragma once

#include <cstdio>

#include <labarc/labarc.h>

inline _TEXT SampleText(const char* wording, LONG height) {
  _TEXT text;
  text.bShow = 1;
  text.lfFont.lfHeight = height;
  text.lfFont.lfWeight = 400;
  std::snprintf(text.lfFont.lfFaceName, LF_FACESIZE, "%s", "Helvetica");
  text.strWording = wording;
  return text;
}
