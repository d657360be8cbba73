// Resource identifiers shared by the resource script and the code.
#pragma once

#define IDI_APP 107

// Toolbar icons, 24 x 24 (res/icons/tb_*.svg).
#define IDI_TB_PREFERENCES 5101
#define IDI_TB_MICROSCOPE 5102
#define IDI_TB_RECORD 5104      // also the Source section's record button
#define IDI_TB_GALLERY 5105
#define IDI_TB_RESOLUTION 5106
#define IDI_TB_CALIBRATION 5108
#define IDI_TB_CROSS 5109
#define IDI_TB_LINE 5110
#define IDI_TB_PARALLELS 5111
#define IDI_TB_CIRCLE 5112
#define IDI_TB_RECTANGLE 5113
#define IDI_TB_ANGLE 5114
#define IDI_TB_FREEHAND 5115
#define IDI_TB_TEXT 5116
#define IDI_TB_REMOVE_LAST 5117
#define IDI_TB_REMOVE_ALL 5118
#define IDI_TB_POINTER 5119
#define IDI_TB_HELP 5120
#define IDI_TB_LANGUAGE 5121
#define IDI_TB_PANEL 5122
#define IDI_TB_GRID 5123
#define IDI_TB_CIRCLES 5124
#define IDI_TB_SNAPSHOT 5125
#define IDI_TB_GRAY 5127
#define IDI_TB_BLACKWHITE 5128
#define IDI_TB_NEGATIVE 5129
#define IDI_TB_EMBOSS 5130
#define IDI_TB_ZOOM100 5131
#define IDI_TB_SCALEBAR 5132
#define IDI_TB_FREEZE 5133
#define IDI_TB_OPEN_PICTURE 5134

// The Source section's snapshot button: the toolbar's camera, same size as the
// record button beside it.
#define IDI_SRC_SNAPSHOT 5103
