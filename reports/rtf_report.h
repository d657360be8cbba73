// The rich-text report's document: the title, the date and time, the
// picture (with the items' numbers), the calibration used and one line per
// measuring item, numbered as the picture numbers them.
#pragma once
#include "base/clock.h"
#include "reports/rtf_writer.h"
#include <string>

enum {
    REPORT_DEFAULT_TITLE_TEXT = 1600,
    REPORT_TEXT_FACE_TEXT = 1700,  // the date line and the item lines
    REPORT_TITLE_FACE_TEXT = 1701,
    REPORT_TITLE_LENGTH = 63,
};

// The report title: the user's, else text 1600; at most 63 characters.
void Report_Title(wchar_t title[REPORT_TITLE_LENGTH + 1]);

// The whole document, dated when; picture may be null (no snapshot).
void Report_ComposeRtf(const LocalTime &when, const RtfPicture *picture, std::string *out);
