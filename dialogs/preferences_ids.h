// Template and control ids of the Preferences and Open-microscope dialogs,
// shared by the resource script and the dialog procedures.
#pragma once

#define IDD_PREFERENCES 2001
#define IDC_PREF_MEASURE_GROUP 101
#define IDC_PREF_RULER_COLOR 1000
#define IDC_PREF_LINE_COLOR 1001
#define IDC_PREF_LINE_WIDTH 1002
#define IDC_PREF_TEXT_COLOR 1003
#define IDC_PREF_TEXT_SIZE 1004
#define IDC_PREF_FOLDER 3001
#define IDC_PREF_BROWSE 3002
#define IDC_PREF_IMAGE_FORMAT 1016
#define IDC_PREF_SNAPSHOT_AS_SHOWN 1019
#define IDC_PREF_ITEM_NUMBERS 1020
#define IDC_PREF_VIDEO_FORMAT 1017

#define IDD_OPEN_MICROSCOPE 132
#define IDC_OPEN_DEVICES 3005
#define IDC_OPEN_COMPRESSION 1018
#define IDC_OPEN_RESOLUTION 3014
