// The reports the main window writes.
#pragma once

void Report_SaveXlsx(); // command 1020
void Report_SaveRtf();  // command 1021
